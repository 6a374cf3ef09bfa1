#include "lesson/TExibitForm.h"

#include <QEvent>

#include "skin/TWindowPlacement.h"
#include "widgets/TGifImage.h"

TExibitForm::TExibitForm(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("Exhibit - Click on graphic to close window."));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    GIFImage1 = new TGifImage(this);
    GIFImage1->SetAutoSize(true);
    GIFImage1->move(0, 0);
    GIFImage1->installEventFilter(this);
}

void TExibitForm::GIFImage1Click() {
    close();
}

void TExibitForm::showEvent(QShowEvent* event) {
    if (!GIFImage1->IsEmpty())
        setFixedSize(GIFImage1->PictureSize());
    CentreOnScreen(this);
    QWidget::showEvent(event);
}

bool TExibitForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == GIFImage1 && event->type() == QEvent::MouseButtonRelease) {
        GIFImage1Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
