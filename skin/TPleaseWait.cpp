#include "skin/TPleaseWait.h"

#include "skin/TWindowPlacement.h"
#include "widgets/TGifImage.h"
#include "widgets/TLabelEffect.h"

TPleaseWait::TPleaseWait(QWidget* parent) : QWidget(parent) {
    MakeSkinnedWindow(this, QSize(320, 200));
    Background = new TGifImage(this);
    Background->move(0, 0);
    Background->SetAutoSize(true);
    Spin = new TGifImage(this);
    Spin->move(188, 10);
    Spin->SetAutoSize(true);
    lblMessage = new TLabelEffect(this);
    lblMessage->setGeometry(26, 97, 267, 92);
    lblMessage->SetAlignment(Qt::AlignCenter);
    lblMessage->SetWordWrap(true);
    lblMessage->SetFontColor(QColor(128, 128, 128));
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(27);
    lblMessage->setFont(font);
    lblMessage->SetCaption(QStringLiteral("Loading Training Information Please Wait.."));
}

void TPleaseWait::showEvent(QShowEvent* event) {
    if (!Background->IsEmpty())
        resize(Background->PictureSize());
    CentreOverMainWindow(this);
    QWidget::showEvent(event);
}
