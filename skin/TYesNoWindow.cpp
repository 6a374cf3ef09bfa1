#include "skin/TYesNoWindow.h"

#include <QKeyEvent>

#include "skin/TWindowPlacement.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"

TYesNoWindow::TYesNoWindow(bool stayOnTop, TPlacement placement, QWidget* parent)
    : QDialog(parent), m_placement(placement) {
    MakeSkinnedWindow(this, QSize(326, 165), stayOnTop);
    GIFImage1 = new TGifImage(this);
    GIFImage1->setGeometry(0, 0, 326, 165);
    // A skin may draw Yes and No into the picture and give the buttons no faces.
    btnYes = new TSkinButton(this);
    btnYes->setGeometry(18, 106, 132, 35);
    btnNo = new TSkinButton(this);
    btnNo->setGeometry(171, 106, 132, 35);
    for (TSkinButton* b : {btnYes, btnNo})
        b->setCursor(Qt::PointingHandCursor);
    connect(btnYes, &TSkinButton::clicked, this, &TYesNoWindow::btnYesClick);
    connect(btnNo, &TSkinButton::clicked, this, &TYesNoWindow::btnNoClick);
}

void TYesNoWindow::btnYesClick() {
    SetAnswer(true);
    accept();
}

void TYesNoWindow::btnNoClick() {
    SetAnswer(false);
    reject();
}

void TYesNoWindow::showEvent(QShowEvent* event) {
    if (m_placement == TPlacement::CentredOnScreen)
        CentreOnScreen(this);
    else
        CentreOverMainWindow(this);
    QDialog::showEvent(event);
}

void TYesNoWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
