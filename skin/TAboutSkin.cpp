#include "skin/TAboutSkin.h"

#include <QEvent>
#include <QLabel>

#include "platform/gui/TShell.h"
#include "skin/TClick.h"
#include "skin/TWindowPlacement.h"
#include "widgets/TGifImage.h"

TAboutSkin::TAboutSkin(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Skin"));
    MakeSkinnedWindow(this, QSize(320, 200));
    Background = new TGifImage(this);
    Background->setGeometry(0, 0, 320, 200);
    Background->installEventFilter(this);
    Link = new QLabel(this);
    Link->setAttribute(Qt::WA_TranslucentBackground);
    Link->setCursor(Qt::PointingHandCursor);
    Link->hide();
    Link->installEventFilter(this);
}

void TAboutSkin::BackgroundClick() {
    accept();
}

void TAboutSkin::LinkClick() {
    ShellOpen(LinkAddress);
}

void TAboutSkin::showEvent(QShowEvent* event) {
    CentreOverMainWindow(this);
    QDialog::showEvent(event);
}

bool TAboutSkin::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Background && IsLeftClick(Background, event))
        BackgroundClick();
    else if (watched == Link && IsLeftClick(Link, event))
        LinkClick();
    return QDialog::eventFilter(watched, event);
}
