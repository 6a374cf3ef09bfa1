#include "lesson/TGlossaryForm.h"

#include <QLabel>
#include <QVBoxLayout>

#include "lesson/TGlossaryScreen.h"
#include "skin/TWindowPlacement.h"
#include "widgets/TSpecialListBox.h"
#include "widgets/WinColor.h"

namespace {
constexpr quint32 SideWindowColour = 44930213;
} // namespace

QString RemoveBraceGroups(QString text) {
    for (qsizetype open = text.indexOf(u'{'); open >= 0; open = text.indexOf(u'{', open)) {
        const qsizetype close = text.indexOf(u'}', open);
        if (close < 0)
            break;
        text.remove(open, close - open + 1);
    }
    return text;
}

TGlossaryForm::TGlossaryForm(QWidget* parent) : QWidget(parent) {
    MakeSkinnedWindow(this, QSize(167, 306));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel1 = new QWidget(this);
    Panel1->setFixedHeight(41);
    Panel1->setAutoFillBackground(true);
    QPalette colours = Panel1->palette();
    colours.setColor(QPalette::Window, WinColor(SideWindowColour));
    Panel1->setPalette(colours);
    lblTitle = new QLabel(Panel1);
    lblTitle->setAlignment(Qt::AlignCenter);
    lblTitle->setWordWrap(true);
    lblTitle->setTextFormat(Qt::PlainText);
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    panelLayout->addWidget(lblTitle);

    ListBox1 = new TSpecialListBox(this);
    ListBox1->setFrameShape(QFrame::NoFrame);
    ListBox1->SetColor(WinColor(SideWindowColour));
    QFont listFont(QStringLiteral("Times New Roman"));
    listFont.setPixelSize(13);
    ListBox1->setFont(listFont);
    ListBox1->SetSectionFont(listFont);
    ListBox1->SetFontColor(Qt::black);
    ListBox1->OnClick = [this](QObject*) { ListBox1Click(); };
    layout->addWidget(Panel1);
    layout->addWidget(ListBox1);
}

void TGlossaryForm::SetCourseTitle(const QString& title) {
    lblTitle->setText(title);
}

void TGlossaryForm::ListBox1Click() {
    const int row = ListBox1->ItemIndex();
    if (row < 0 || !TermWindow)
        return;
    const QString term = ListBox1->Item(row);
    TermWindow->Term->setText(term);
    TermWindow->Definition->setText(RemoveBraceGroups(GetTerm ? GetTerm(term) : QString()));
    if (const QWidget* main = FindMainWindow())
        TermWindow->move(main->x() + 10, main->y() + 11);
    TermWindow->show();
    TermWindow->raise();
    hide();
}

void TGlossaryForm::FollowMainWindow() {
    if (const QWidget* main = FindMainWindow())
        move(main->x() + 460, main->y() + 30);
}

void TGlossaryForm::showEvent(QShowEvent* event) {
    FollowMainWindow();
    QWidget::showEvent(event);
}
