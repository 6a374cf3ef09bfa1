// A skinned question window: a picture from the skin with Yes and No buttons
// over it. The windows that ask (exit, bookmark test) derive from it and keep
// the answer in their own field.
#pragma once

#include <QDialog>

class TGifImage;
class TSkinButton;

class TYesNoWindow : public QDialog {
    Q_OBJECT
public:
    TGifImage* GIFImage1;
    TSkinButton* btnYes;
    TSkinButton* btnNo;

    // Yes closes the window accepted, No rejected; both record the answer first.
    void btnYesClick();
    void btnNoClick();

protected:
    enum class TPlacement { CentredOnScreen, CentredOverMainWindow };
    TYesNoWindow(bool stayOnTop, TPlacement placement, QWidget* parent);

    virtual void SetAnswer(bool yes) = 0;
    void showEvent(QShowEvent* event) override;
    // The question has no cancel: Escape would close the window without an
    // answer and leave the one given last time.
    void keyPressEvent(QKeyEvent* event) override;

private:
    TPlacement m_placement;
};
