#include "lesson/TChallengeIncorrect.h"

#include "skin/TWindowPlacement.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"

TChallengeIncorrect::TChallengeIncorrect(QWidget* parent) : QDialog(parent) {
    MakeSkinnedWindow(this, QSize(325, 165), false);
    Background = new TGifImage(this);
    Background->setGeometry(0, 0, 325, 165);
    Background->SetAutoSize(true);
    btnTryAgain = new TSkinButton(this);
    btnTryAgain->setGeometry(18, 106, 132, 35);
    btnCoachMe = new TSkinButton(this);
    btnCoachMe->setGeometry(171, 106, 132, 35);
    connect(btnTryAgain, &TSkinButton::clicked, this, [this] { btnClick(btnTryAgain); });
    connect(btnCoachMe, &TSkinButton::clicked, this, [this] { btnClick(btnCoachMe); });
}

void TChallengeIncorrect::btnClick(QObject* sender) {
    CoachMe = sender == btnCoachMe;
    accept();
}

// Centred by the size it has, then sized to its picture.
void TChallengeIncorrect::showEvent(QShowEvent* event) {
    CentreOverMainWindow(this);
    if (!Background->IsEmpty())
        resize(Background->PictureSize());
    QDialog::showEvent(event);
}
