#include "lesson/TChallenges.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "widgets/TSideWindowParts.h"
#include "widgets/TSpecialListBox.h"
#include "widgets/WinColor.h"

namespace {

// The check-mark images: an empty box for an open row, a ticked one for a
// done row (image index = row state).
QList<QPixmap> CheckMarkImages() {
    QList<QPixmap> images;
    for (bool ticked : {false, true}) {
        QPixmap box(14, 14);
        box.fill(Qt::transparent);
        QPainter p(&box);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5, 11, 11));
        if (ticked) {
            p.setPen(QPen(QColor(0, 110, 0), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(QPolygonF({QPointF(3.5, 7.5), QPointF(6, 10.5), QPointF(11, 3.5)}));
        }
        images << box;
    }
    return images;
}

QFont TimesFont(int pixels, bool bold) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}
} // namespace

TChallenges::TChallenges(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setFixedSize(167, 306);
    const TSideWindowParts parts = MakeSideWindowParts(this);
    Panel1 = parts.Panel;
    lblTitle = parts.Title;
    ListBox1 = parts.List;
    lblTitle->setFont(TimesFont(13, true));
    ListBox1->SetSectionFont(TimesFont(13, true));
    ListBox1->SetImageList(CheckMarkImages());
    ListBox1->OnClick = [this](QObject*) { ListBox1Click(); };
    ListBox1->OnMouseUp = [this](QObject*, Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
        ListBox1MouseUp(button, x, y);
    };
}

void TChallenges::SetCourseTitle(const QString& title) {
    lblTitle->setText(title);
}

void TChallenges::AddChallenge(const QString& text, const QuestionAnswer& entry, int state) {
    m_entries.push_back(entry);
    ListBox1->AddItem(text, qint64(m_entries.size() - 1), state);
}

void TChallenges::Clear() {
    ListBox1->Clear();
    m_entries.clear();
}

int TChallenges::Count() const {
    return ListBox1->Count();
}

int TChallenges::State(int row) const {
    return ListBox1->State(row);
}

void TChallenges::SetMark(int row, int state) {
    if (row < 0 || row >= Count())
        return;
    ListBox1->SetState(row, state);
    ListBox1->viewport()->update();
    if (!m_marks)
        return;
    const int byte = (DirectoryRows ? DirectoryRows() : 0) + row;
    if (m_marks->size() <= byte)
        m_marks->append(QByteArray(byte + 1 - m_marks->size(), '\0'));
    (*m_marks)[byte] = char(state);
}

void TChallenges::ToggleMark(int row) {
    if (row < 0 || row >= Count() || State(row) == HeadingState)
        return;
    SetMark(row, State(row) ^ 1);
}

void TChallenges::FollowAnchor() {
    if (m_anchor)
        move(m_anchor->x() + 386, m_anchor->y() + 30);
}

void TChallenges::ApplyMarks() {
    if (!m_marks)
        return;
    const int first = DirectoryRows ? DirectoryRows() : 0;
    for (int row = 0; row < Count(); ++row) {
        if (State(row) == HeadingState)
            continue;
        const int byte = first + row;
        ListBox1->SetState(row, byte < m_marks->size() && m_marks->at(byte) != 0 ? DoneState : OpenState);
    }
    ListBox1->viewport()->update();
}

void TChallenges::showEvent(QShowEvent* event) {
    ApplyMarks();
    FollowAnchor();
    QWidget::showEvent(event);
}

void TChallenges::ListBox1Click() {
    hide();
    const int row = ListBox1->ItemIndex();
    if (row >= 0 && OnChooseChallenge)
        OnChooseChallenge(row);
}

void TChallenges::ListBox1MouseUp(Qt::MouseButton button, int x, int y) {
    if (button == Qt::RightButton)
        ToggleMark(ListBox1->ItemAtPos({x, y}));
}
