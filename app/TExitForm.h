// The exit window: the skin's "Misc"/"Exit" picture with Yes and No. Closing
// the program asks here; `ExitRequested` holds the answer.
#pragma once

#include <QDialog>

class TGifImage;
class TSkinButton;

class TExitForm : public QDialog {
    Q_OBJECT
public:
    explicit TExitForm(QWidget* parent = nullptr);

    TGifImage* GIFImage1;
    TSkinButton* btnYes;
    TSkinButton* btnNo;
    bool ExitRequested = false;

    void btnYesClick();
    void btnNoClick();

protected:
    void showEvent(QShowEvent* event) override;
};
