#include "app/TExitForm.h"

#include "skin/TWindowPlacement.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"

TExitForm::TExitForm(QWidget* parent) : QDialog(parent) {
    MakeSkinnedWindow(this, QSize(326, 165));
    GIFImage1 = new TGifImage(this);
    GIFImage1->setGeometry(0, 0, 326, 165);
    // The skin draws Yes and No into the picture; the buttons have no faces.
    btnYes = new TSkinButton(this);
    btnYes->setGeometry(18, 106, 132, 35);
    btnNo = new TSkinButton(this);
    btnNo->setGeometry(171, 106, 132, 35);
    for (TSkinButton* b : {btnYes, btnNo})
        b->setCursor(Qt::PointingHandCursor);
    connect(btnYes, &TSkinButton::clicked, this, &TExitForm::btnYesClick);
    connect(btnNo, &TSkinButton::clicked, this, &TExitForm::btnNoClick);
}

void TExitForm::btnYesClick() {
    ExitRequested = true;
    accept();
}

void TExitForm::btnNoClick() {
    ExitRequested = false;
    reject();
}

void TExitForm::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}
