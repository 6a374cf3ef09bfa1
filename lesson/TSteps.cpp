#include "lesson/TSteps.h"

#include <QFrame>
#include <QLabel>

#include "skin/TWindowPlacement.h"
#include "widgets/TSkinButton.h"
#include "widgets/TSpecialListBox.h"
#include "widgets/WinColor.h"

namespace {

constexpr int LabelledRow = 2; // a row with its section label in front

QFont TimesFont(int pixelSize, bool bold) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFrame* ColouredPanel(QWidget* parent, const QRect& bounds) {
    auto* panel = new QFrame(parent);
    panel->setGeometry(bounds);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, WinColor(44930213));
    panel->setPalette(palette);
    return panel;
}

} // namespace

TSteps::TSteps(QWidget* parent) : QWidget(parent) {
    MakeSkinnedWindow(this, QSize(171, 242));

    Panel1 = ColouredPanel(this, QRect(0, 0, 171, 51));
    btnSteps = new TSkinButton(Panel1);
    btnSteps->setGeometry(0, 0, 51, 51);
    lblTitle = new QLabel(Panel1);
    lblTitle->setGeometry(53, 2, 116, 47);
    lblTitle->setAlignment(Qt::AlignCenter);
    lblTitle->setWordWrap(true);
    lblTitle->setTextFormat(Qt::PlainText);
    lblTitle->setFont(TimesFont(13, true));

    ListBox1 = new TSpecialListBox(this);
    ListBox1->setGeometry(0, 51, 171, 161);
    ListBox1->SetColor(WinColor(44930213));
    ListBox1->SetSectionFont(TimesFont(13, true));
    ListBox1->setFont(TimesFont(13, false));

    Panel2 = ColouredPanel(this, QRect(0, 212, 171, 30));
    btnClose = new TSkinButton(Panel2);
    btnClose->setGeometry(45, 3, 80, 24);

    connect(btnSteps, &TSkinButton::clicked, this, &TSteps::btnStepsClick);
    connect(btnClose, &TSkinButton::clicked, this, &TSteps::btnStepsClick);
}

void TSteps::SetTitle(const QString& title) {
    lblTitle->setText(title);
}

void TSteps::ClearSteps() {
    ListBox1->Clear();
}

void TSteps::AddStep(const QString& label, const QString& text) {
    const int row = ListBox1->AddItem(text, 0, LabelledRow);
    ListBox1->SetNewItem(row, label);
}

void TSteps::DockSteps() {
    const QWidget* main = FindMainWindow();
    if (!main)
        return;
    const QRect m = main->geometry();
    move(m.left() + m.width() - width() - 15, m.top() + 127);
}

// Either button inside closes the window when the main window's button opened it.
void TSteps::btnStepsClick() {
    const int was = Tag;
    Tag = was ^ 1;
    if (was == 1)
        hide();
}

void TSteps::showEvent(QShowEvent* event) {
    Tag = 0;
    DockSteps();
    QWidget::showEvent(event);
}
