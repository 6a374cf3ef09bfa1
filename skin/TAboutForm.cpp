#include "skin/TAboutForm.h"

#include <QEvent>
#include <QLabel>

#include "platform/gui/TShell.h"
#include "skin/BuiltInFace.h"
#include "skin/TClick.h"
#include "skin/TWindowPlacement.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"
#include "widgets/WinColor.h"

const char* const TAboutForm::MakerAddress = "https://www.quenvik.com/";

namespace {

QLabel* WhiteLabel(QWidget* parent, const QString& text, int pixelSize) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    QFont font(QStringLiteral("Nimbus Sans"));
    font.setPixelSize(pixelSize);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    return label;
}

} // namespace

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Brisel"));
    MakeSkinnedWindow(this, QSize(326, 166));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, WinColor(40063587));
    setPalette(palette);

    GIFImage1 = new TGifImage(this);
    GIFImage1->setGeometry(0, 0, 326, 166);

    Label1 = WhiteLabel(this, QStringLiteral("Altavo Video Training\nCopyright \u00A9 Quenvik, Inc."), 12);
    Label1->setGeometry(148, 14, 165, 85);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);

    lblVersion = WhiteLabel(this, QString(), 11);
    lblVersion->setGeometry(258, 86, 60, 16);
    lblVersion->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Label2 = WhiteLabel(this, QStringLiteral("www.quenvik.com"), 12);
    QFont link = Label2->font();
    link.setUnderline(true);
    Label2->setFont(link);
    Label2->move(150, 50);
    Label2->adjustSize();
    Label2->setCursor(Qt::PointingHandCursor);
    Label2->installEventFilter(this);

    btnClose = new TSkinButton(this);
    btnClose->setGeometry(156, 105, 152, 39);
    LoadBuiltInFace(btnClose, QSize(152, 39), QStringLiteral("Close"));
    connect(btnClose, &TSkinButton::clicked, this, &TAboutForm::btnCloseClick);
    FormCreate();
}

void TAboutForm::FormCreate() {
    lblVersion->setText(QStringLiteral("Version 1.0"));
}

void TAboutForm::btnCloseClick() {
    accept();
}

// What the desktop makes of the request is not reported.
void TAboutForm::Label2Click() {
    ShellOpen(QString::fromLatin1(MakerAddress));
}

void TAboutForm::showEvent(QShowEvent* event) {
    CentreOverMainWindow(this);
    QDialog::showEvent(event);
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label2 && IsLeftClick(Label2, event))
        Label2Click();
    return QDialog::eventFilter(watched, event);
}
