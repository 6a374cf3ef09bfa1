#include "lesson/TGlossaryForm.h"

#include <QLabel>
#include <QVBoxLayout>

#include "lesson/TGlossaryScreen.h"
#include "skin/TWindowPlacement.h"
#include "widgets/TSideWindowParts.h"
#include "widgets/TSpecialListBox.h"
#include "widgets/WinColor.h"

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
    const TSideWindowParts parts = MakeSideWindowParts(this);
    Panel1 = parts.Panel;
    lblTitle = parts.Title;
    ListBox1 = parts.List;
    ListBox1->SetSectionFont(ListBox1->font());
    ListBox1->OnClick = [this](QObject*) { ListBox1Click(); };
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
