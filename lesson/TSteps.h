// The steps window: the numbered steps of an exercise question, docked beside
// the main window's right edge.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class TSkinButton;
class TSpecialListBox;

class TSteps : public QWidget {
    Q_OBJECT
public:
    explicit TSteps(QWidget* parent = nullptr);

    QFrame* Panel1;
    TSkinButton* btnSteps;
    QLabel* lblTitle;
    TSpecialListBox* ListBox1;
    QFrame* Panel2;
    TSkinButton* btnClose;
    int Tag = 0; // 1 while opened by the main window's steps button

    void SetTitle(const QString& title);
    void ClearSteps();
    void AddStep(const QString& label, const QString& text);
    // left = main left + main width - own width - 15, top = main top + 127.
    void DockSteps();
    void btnStepsClick();

protected:
    void showEvent(QShowEvent* event) override;
};
