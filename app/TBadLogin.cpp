#include "app/TBadLogin.h"

#include "skin/TWindowPlacement.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"

TBadLogin::TBadLogin(QWidget* parent) : QDialog(parent) {
    MakeSkinnedWindow(this, QSize(326, 166));
    GIFImage1 = new TGifImage(this);
    GIFImage1->setGeometry(0, 0, 326, 166);
    // The skin draws the button into the picture; the button itself has no face.
    btnClose = new TSkinButton(this);
    btnClose->setGeometry(156, 105, 152, 39);
    btnClose->setCursor(Qt::PointingHandCursor);
    connect(btnClose, &TSkinButton::clicked, this, &QDialog::accept);
}

void TBadLogin::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}
