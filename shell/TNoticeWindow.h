// The notice window: one message in large white type over a skin picture, and
// a close button. Callers set the text, then show it modally.
#pragma once

#include <QDialog>

class QLabel;
class TGifImage;
class TSkinButton;

class TNoticeWindow : public QDialog {
    Q_OBJECT
public:
    explicit TNoticeWindow(QWidget* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const;

    TGifImage* GIFImage1; // the skin's "Misc"/"Notice" picture
    QLabel* lblMessage;
    TSkinButton* btnClose;

protected:
    void showEvent(QShowEvent* event) override;
};
