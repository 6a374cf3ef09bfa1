#include "TSpecialListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace {

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;

// Height of one line as the wrapped-text measurement counts it (leading included).
int LineHeight(const QFont& font) {
    return QFontMetrics(font).boundingRect(QRect(0, 0, 1000, 1000), kTextFlags, "A").height();
}

bool IsHeading(int state) {
    return state == 20 || state == 21;
}

} // namespace

TSpecialListBox::TSpecialListBox(QWidget* parent) : QAbstractScrollArea(parent), sectionFont_(font()) {
    sectionFont_.setBold(true);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(16);
}

int TSpecialListBox::AddItem(const QString& text, qint64 object, int state) {
    rows_.append({text, object, {}, 0, state});
    heights_.append(0);
    if (isVisible())
        Remeasure(int(rows_.size()) - 1);
    else
        stale_ = true; // a hidden list is filled first and measured when shown
    UpdateScrollRange();
    return int(rows_.size()) - 1;
}

void TSpecialListBox::Clear() {
    rows_.clear();
    heights_.clear();
    totalHeight_ = 0;
    stale_ = false;
    itemIndex_ = -1;
    UpdateScrollRange();
}

QString TSpecialListBox::Item(int row) const {
    return Valid(row) ? rows_[row].text : QString();
}

void TSpecialListBox::SetItem(int row, const QString& text) {
    if (Valid(row)) {
        rows_[row].text = text;
        Remeasure(row);
        UpdateScrollRange();
    }
}

qint64 TSpecialListBox::ItemObject(int row) const {
    return Valid(row) ? rows_[row].object : 0;
}

void TSpecialListBox::SetItemObject(int row, qint64 object) {
    if (Valid(row))
        rows_[row].object = object;
}

QString TSpecialListBox::NewItem(int row) const {
    return Valid(row) ? rows_[row].label : QString();
}

qint64 TSpecialListBox::NewItemObject(int row) const {
    return Valid(row) ? rows_[row].labelObject : 0;
}

void TSpecialListBox::SetNewItem(int row, const QString& label, qint64 object) {
    if (Valid(row)) {
        rows_[row].label = label;
        rows_[row].labelObject = object;
        Remeasure(row);
        UpdateScrollRange();
    }
}

int TSpecialListBox::State(int row) const {
    return Valid(row) ? rows_[row].state : 0;
}

void TSpecialListBox::SetState(int row, int state) {
    if (Valid(row)) {
        rows_[row].state = state;
        Remeasure(row);
        UpdateScrollRange();
    }
}

void TSpecialListBox::SetItemIndex(int row) {
    itemIndex_ = Valid(row) ? row : -1;
    EnsureMeasured();
    UpdateScrollRange();
    if (itemIndex_ >= 0) {
        // Scroll the selected row into view.
        const QRect r = ItemRect(itemIndex_);
        QScrollBar* bar = verticalScrollBar();
        if (r.top() < 0)
            bar->setValue(bar->value() + r.top());
        else if (r.bottom() > viewport()->height())
            bar->setValue(bar->value() + r.bottom() - viewport()->height() + 1);
    }
    viewport()->update();
}

void TSpecialListBox::SetImageList(const QList<QPixmap>& images) {
    imageList_ = images;
    RemeasureAll();
}

void TSpecialListBox::SetSectionFont(const QFont& font) {
    sectionFont_ = font;
    RemeasureAll();
}

void TSpecialListBox::SetSpacing(int pixels) {
    spacing_ = pixels;
    RemeasureAll();
}

void TSpecialListBox::SetColor(const QColor& colour) {
    color_ = colour;
    viewport()->update();
}

void TSpecialListBox::SetFontColor(const QColor& colour) {
    fontColor_ = colour;
    viewport()->update();
}

int TSpecialListBox::ImageWidth() const {
    return imageList_.isEmpty() ? 0 : imageList_.first().width();
}

int TSpecialListBox::ImageHeight() const {
    return imageList_.isEmpty() ? 0 : imageList_.first().height();
}

TSpecialListBox::TextPlace TSpecialListBox::PlaceText(const Row& row) const {
    TextPlace place{0, 0, font()};
    if (row.state == 2) {
        if (!row.label.isEmpty())
            place.top = LineHeight(font()); // the label's line
        place.left = QFontMetrics(font()).horizontalAdvance(row.label);
    } else if (IsHeading(row.state)) {
        place.font = sectionFont_;
    } else if (row.state == 22) {
        // Measured where it is drawn, so the wrapped text always fits its row.
        place.left = 3 * spacing_;
    } else if (!imageList_.isEmpty()) {
        place.left = ImageWidth();
        const int line = LineHeight(font());
        if (line < ImageHeight())
            place.top = (ImageHeight() - line) / 2;
    }
    place.left += spacing_;
    return place;
}

int TSpecialListBox::MeasureItem(int index) const {
    if (!Valid(index))
        return 0;
    const Row& row = rows_[index];
    const TextPlace place = PlaceText(row);
    const QFontMetrics metrics(place.font);
    const int width = std::max(viewport()->width() - place.left, 1);
    // An empty text still takes one line, so that every row can be clicked.
    const int text =
        std::max(metrics.boundingRect(QRect(0, 0, width, 1 << 20), kTextFlags, row.text).height(),
                 LineHeight(place.font));
    int height = text + place.top;
    if (!imageList_.isEmpty() && height < ImageHeight())
        height = ImageHeight() + place.top;
    return height;
}

QRect TSpecialListBox::ItemRect(int index) const {
    if (!Valid(index))
        return {};
    EnsureMeasured();
    int top = -verticalScrollBar()->value();
    for (int i = 0; i < index; ++i)
        top += heights_[i];
    return QRect(0, top, viewport()->width(), heights_[index]);
}

int TSpecialListBox::ItemAtPos(const QPoint& point) const {
    if (point.x() < 0 || point.x() >= viewport()->width())
        return -1;
    EnsureMeasured();
    int top = -verticalScrollBar()->value();
    for (int i = 0; i < rows_.size(); ++i) {
        const int height = heights_[i];
        if (point.y() >= top && point.y() < top + height)
            return i;
        top += height;
    }
    return -1;
}

void TSpecialListBox::Remeasure(int row) {
    if (stale_)
        return;
    totalHeight_ -= heights_[row];
    heights_[row] = MeasureItem(row);
    totalHeight_ += heights_[row];
}

void TSpecialListBox::RemeasureAll() {
    stale_ = true;
    if (!isVisible())
        return;
    EnsureMeasured();
    UpdateScrollRange();
}

void TSpecialListBox::EnsureMeasured() const {
    if (!stale_)
        return;
    totalHeight_ = 0;
    for (int i = 0; i < rows_.size(); ++i) {
        heights_[i] = MeasureItem(i);
        totalHeight_ += heights_[i];
    }
    stale_ = false;
}

void TSpecialListBox::UpdateScrollRange() {
    if (stale_)
        return; // set when the rows are measured
    verticalScrollBar()->setRange(0, std::max(totalHeight_ - viewport()->height(), 0));
    verticalScrollBar()->setPageStep(viewport()->height());
    if (!Valid(itemIndex_))
        itemIndex_ = -1;
    viewport()->update();
}

void TSpecialListBox::DrawRow(QPainter& painter, int index, const QRect& rect) const {
    const Row& row = rows_[index];
    const bool highlighted = index == itemIndex_ && row.state != 2;
    painter.fillRect(rect, highlighted ? palette().color(QPalette::Highlight) : color_);
    painter.setPen(highlighted ? palette().color(QPalette::HighlightedText) : fontColor_);

    const TextPlace place = PlaceText(row);
    const int textLeft = place.left;
    int textTop = place.top;
    if (row.state == 2) {
        painter.setFont(sectionFont_);
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, row.label);
        textTop = 0; // the text starts on the label's line; the extra line keeps rows apart
    } else if (!IsHeading(row.state) && row.state != 22 && !imageList_.isEmpty()) {
        if (row.state >= 0 && row.state < imageList_.size()) {
            const int line = LineHeight(font());
            const int imageTop = line > ImageHeight() ? (line - ImageHeight()) / 2 : 0;
            painter.drawPixmap(rect.left(), rect.top() + imageTop, imageList_[row.state]);
        }
    }
    painter.setFont(place.font);
    painter.drawText(rect.adjusted(textLeft, textTop, 0, 0), kTextFlags, row.text);
}

void TSpecialListBox::paintEvent(QPaintEvent*) {
    EnsureMeasured();
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), color_);
    int top = -verticalScrollBar()->value();
    for (int i = 0; i < rows_.size() && top < viewport()->height(); ++i) {
        const int height = heights_[i];
        if (top + height > 0)
            DrawRow(painter, i, QRect(0, top, viewport()->width(), height));
        top += height;
    }
}

void TSpecialListBox::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    RemeasureAll();
}

void TSpecialListBox::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    EnsureMeasured();
    UpdateScrollRange();
}

void TSpecialListBox::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        RemeasureAll();
}

void TSpecialListBox::mousePressEvent(QMouseEvent* event) {
    pressedRow_ = -1;
    if (event->button() != Qt::LeftButton)
        return;
    pressedRow_ = ItemAtPos(event->position().toPoint());
    if (pressedRow_ >= 0)
        SetItemIndex(pressedRow_);
}

void TSpecialListBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (OnMouseUp)
        OnMouseUp(this, event->button(), event->modifiers(), point.x(), point.y());
    if (event->button() == Qt::LeftButton && pressedRow_ >= 0 && ItemAtPos(point) == pressedRow_ && OnClick)
        OnClick(this);
    pressedRow_ = -1;
}

void TSpecialListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && OnDblClick)
        OnDblClick(this);
    mousePressEvent(event);
}

void TSpecialListBox::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        SetItemIndex(std::max(itemIndex_ - 1, 0));
        break;
    case Qt::Key_Down:
        SetItemIndex(std::min(itemIndex_ + 1, int(rows_.size()) - 1));
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (itemIndex_ >= 0 && OnClick)
            OnClick(this);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}
