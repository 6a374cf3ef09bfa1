// The bad-login window: the skin's "Misc"/"BadLogin" picture with one close
// button over it. A wrong password and an unknown name both show it.
#pragma once

#include <QDialog>

class TGifImage;
class TSkinButton;

class TBadLogin : public QDialog {
    Q_OBJECT
public:
    explicit TBadLogin(QWidget* parent = nullptr);

    TGifImage* GIFImage1;
    TSkinButton* btnClose;

protected:
    void showEvent(QShowEvent* event) override;
};
