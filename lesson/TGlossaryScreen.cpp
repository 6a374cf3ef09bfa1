#include "lesson/TGlossaryScreen.h"

#include <QLabel>

#include "skin/TWindowPlacement.h"
#include "widgets/TSkinButton.h"
#include "widgets/WinColor.h"

namespace {

QLabel* TermLabel(QWidget* parent, const QRect& bounds, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setGeometry(bounds);
    label->setAlignment(alignment);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText); // no accelerator characters, no markup
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(27);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

} // namespace

TGlossaryScreen::TGlossaryScreen(QWidget* parent) : QWidget(parent) {
    MakeSkinnedWindow(this, QSize(619, 325));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, WinColor(44930213));
    setPalette(palette);
    Term = TermLabel(this, QRect(2, 4, 613, 73), Qt::AlignHCenter | Qt::AlignTop);
    Definition = TermLabel(this, QRect(6, 46, 611, 229), Qt::AlignLeft | Qt::AlignTop);
    btnClose = new TSkinButton(this);
    btnClose->setGeometry(243, 284, 152, 39);
    connect(btnClose, &TSkinButton::clicked, this, &TGlossaryScreen::btnCloseClick);
}

void TGlossaryScreen::btnCloseClick() {
    close();
}
