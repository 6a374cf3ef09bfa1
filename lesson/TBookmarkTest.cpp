#include "lesson/TBookmarkTest.h"

#include "skin/TWindowPlacement.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"

TBookmarkTest::TBookmarkTest(QWidget* parent) : QDialog(parent) {
    MakeSkinnedWindow(this, QSize(326, 165), false);
    GIFImage1 = new TGifImage(this);
    GIFImage1->setGeometry(0, 0, 326, 165);
    btnYes = new TSkinButton(this);
    btnYes->setGeometry(18, 106, 132, 35);
    btnNo = new TSkinButton(this);
    btnNo->setGeometry(171, 106, 132, 35);
    connect(btnYes, &TSkinButton::clicked, this, &TBookmarkTest::btnYesClick);
    connect(btnNo, &TSkinButton::clicked, this, &TBookmarkTest::btnNoClick);
}

void TBookmarkTest::btnYesClick() {
    Result = true;
    accept();
}

void TBookmarkTest::btnNoClick() {
    Result = false;
    reject();
}

void TBookmarkTest::showEvent(QShowEvent* event) {
    CentreOverMainWindow(this);
    QDialog::showEvent(event);
}
