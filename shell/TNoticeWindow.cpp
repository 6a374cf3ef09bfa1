#include "shell/TNoticeWindow.h"

#include <QLabel>

#include "skin/TWindowPlacement.h"
#include "widgets/TGifImage.h"
#include "widgets/TSkinButton.h"
#include "widgets/WinColor.h"

TNoticeWindow::TNoticeWindow(QWidget* parent) : QDialog(parent) {
    MakeSkinnedWindow(this, QSize(326, 166));
    // Without a skin picture the window still reads: the main window's colour behind white text.
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, WinColor(40063587));
    setPalette(palette);

    GIFImage1 = new TGifImage(this);
    GIFImage1->setGeometry(0, 0, 326, 166);

    lblMessage = new QLabel(this);
    lblMessage->setGeometry(16, 12, 294, 88);
    lblMessage->setAlignment(Qt::AlignCenter);
    lblMessage->setWordWrap(true);
    lblMessage->setTextFormat(Qt::PlainText);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(22);
    font.setBold(true);
    lblMessage->setFont(font);
    QPalette text = lblMessage->palette();
    text.setColor(QPalette::WindowText, Qt::white);
    lblMessage->setPalette(text);

    btnClose = new TSkinButton(this);
    btnClose->setGeometry(156, 105, 152, 39);
    btnClose->setCursor(Qt::PointingHandCursor);
    connect(btnClose, &TSkinButton::clicked, this, &QDialog::accept);
}

void TNoticeWindow::SetText(const QString& text) {
    lblMessage->setText(text);
}

QString TNoticeWindow::Text() const {
    return lblMessage->text();
}

void TNoticeWindow::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}
