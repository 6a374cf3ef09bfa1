#include "lesson/TMoviesDone.h"

#include "skin/TWindowPlacement.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"

TMoviesDone::TMoviesDone(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Training Complete"));
    MakeSkinnedWindow(this, QSize(326, 249));
    GIFImage1 = new TGifImage(this);
    GIFImage1->setGeometry(0, 0, 326, 249);
    // Flat buttons over the picture, which draws their looks.
    button1 = new TSkinButton(this);
    button1->setGeometry(26, 78, 60, 62);
    Button2 = new TSkinButton(this);
    Button2->setGeometry(26, 159, 60, 62);
    for (TSkinButton* b : {button1, Button2})
        b->setCursor(Qt::PointingHandCursor);
    connect(button1, &TSkinButton::clicked, this, &TMoviesDone::Button1Click);
    connect(Button2, &TSkinButton::clicked, this, &TMoviesDone::Button2Click);
}

void TMoviesDone::Button1Click() {
    close();
    if (OnChallenges)
        OnChallenges();
}

void TMoviesDone::Button2Click() {
    close();
    if (OnTest)
        OnTest();
}

void TMoviesDone::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}
