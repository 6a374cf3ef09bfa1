#include "lesson/TInfoForm.h"

#include <QEvent>

#include "skin/TWindowPlacement.h"
#include "widgets/TGifImage.h"

TInfoForm::TInfoForm(QWidget* parent) : QDialog(parent) {
    MakeSkinnedWindow(this, QSize(100, 100));
    GIFImage1 = new TGifImage(this);
    GIFImage1->SetAutoSize(true);
    GIFImage1->move(0, 0);
    GIFImage1->installEventFilter(this);
    Timer1.setInterval(2000);
}

void TInfoForm::ShowImage(const QByteArray& stream) {
    GIFImage1->LoadFromData(stream);
    setFixedSize(GIFImage1->IsEmpty() ? QSize(100, 100) : GIFImage1->PictureSize());
    Timer1.disconnect(this);
    connect(&Timer1, &QTimer::timeout, this, &TInfoForm::GIFImage1Click);
    if (ModalShow)
        Timer1.start();
    CentreOverMainWindow(this);
    if (ModalShow)
        exec();
    else
        show();
}

void TInfoForm::GIFImage1Click() {
    if (!ModalShow)
        return;
    Timer1.disconnect(this);
    Timer1.stop();
    close();
}

bool TInfoForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GIFImage1 && event->type() == QEvent::MouseButtonRelease) {
        GIFImage1Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
