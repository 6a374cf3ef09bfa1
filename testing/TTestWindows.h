// The hint and reference windows of the test screen: sizeable stay-on-top
// tool windows, each filled by one read-only memo.
#pragma once

#include <QWidget>

class QPlainTextEdit;

// A sizeable stay-on-top tool window filled by one read-only memo.
class TMemoWindow : public QWidget {
    Q_OBJECT
public:
    TMemoWindow(const QString& caption, QSize size, const char* memoName, QWidget* parent = nullptr);
    QPlainTextEdit* Memo;
    // Replaces the text and scrolls to the top.
    void SetText(const QString& text);
    QString Text() const;
};

class THintForm : public TMemoWindow {
    Q_OBJECT
public:
    explicit THintForm(QWidget* parent = nullptr);
    QPlainTextEdit* Hint;
};

class TRefForm : public TMemoWindow {
    Q_OBJECT
public:
    explicit TRefForm(QWidget* parent = nullptr);
    QPlainTextEdit* Help;
};
