#include "TDirectory.h"

#include "TMovieButtonX.h"
#include "TSideWindowParts.h"
#include "TSpecialListBox.h"
#include "WinColor.h"

#include <QMouseEvent>
#include <QVBoxLayout>

namespace {

constexpr int kHeadingState = 20;

} // namespace

TDirectory::TDirectory(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    resize(167, 306);
    const TSideWindowParts parts = MakeSideWindowParts(this);
    Panel1 = parts.Panel;
    lblTitle = parts.Title;
    ListBox1 = parts.List;
    // A click on the window itself (not the list) hides it.
    lblTitle->setAttribute(Qt::WA_TransparentForMouseEvents);
    Panel1->setAttribute(Qt::WA_TransparentForMouseEvents);
    QFont sectionFont("Times New Roman");
    sectionFont.setPixelSize(16);
    sectionFont.setBold(true);
    ListBox1->SetSectionFont(sectionFont);
    ListBox1->OnClick = [this](QObject*) { ListBox1Click(); };
    ListBox1->OnMouseUp = [this](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
        ListBox1MouseUp(button, x, y);
    };
}

void TDirectory::Clear() {
    ListBox1->Clear();
}

void TDirectory::AddPageRow(const QString& title, int page) {
    ListBox1->AddItem(title, page, kHeadingState);
}

void TDirectory::AddButtonRow(const QString& title, int page, int button, int mark) {
    ListBox1->AddItem(title, qint64(button) * 65536 + page, mark);
}

void TDirectory::SetCourseTitle(const QString& title) {
    lblTitle->setText(title);
}

void TDirectory::FollowAnchor() {
    if (anchor_)
        move(anchor_->x() + 300, anchor_->y() + 30);
}

void TDirectory::showEvent(QShowEvent* event) {
    FollowAnchor();
    QWidget::showEvent(event);
}

void TDirectory::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        hide();
}

void TDirectory::ListBox1Click() {
    hide();
    const int row = ListBox1->ItemIndex();
    if (row < 0)
        return;
    const qint64 object = ListBox1->ItemObject(row);
    if (OnGoToButton)
        OnGoToButton(this, int(object % 65536), int(object / 65536));
}

void TDirectory::ListBox1MouseUp(Qt::MouseButton button, int x, int y) {
    if (button == Qt::RightButton)
        ToggleMark(ListBox1->ItemAtPos({x, y}));
}

void TDirectory::ToggleMark(int row) {
    if (row < 0 || row >= ListBox1->Count() || ListBox1->State(row) == kHeadingState)
        return;
    const int mark = ListBox1->State(row) ^ 1;
    ListBox1->SetState(row, mark);
    if (marks_ != nullptr) {
        // A marks string shorter than the directory grows rather than losing the mark.
        if (marks_->size() <= row)
            marks_->append(QByteArray(row + 1 - marks_->size(), '\0'));
        (*marks_)[row] = char(mark);
    }
    const qint64 object = ListBox1->ItemObject(row);
    if (movieButtons_ && CurrentPage && object % 65536 == CurrentPage())
        movieButtons_->SetButtonMark(int(object / 65536) - 1, mark);
}
