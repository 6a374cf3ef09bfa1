#include "TMovieButtonX.h"

#include "PictureFile.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace {

// Captions and marks are kept per index; an absurd index from a caller must not grow
// the list without bound.
constexpr int kMaxButtons = 4096;

} // namespace

TMovieButtonX::TMovieButtonX(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::white);
    setPalette(colours);
}

void TMovieButtonX::SetBackground(const QString& path) {
    background_ = path;
    backgroundImage_ = LoadPictureFile(path);
    update();
}

void TMovieButtonX::SetStretchBackground(bool on) {
    stretchBackground_ = on;
    update();
}

void TMovieButtonX::SetButtonFilename(const QString& path) {
    buttonFilename_ = path;
    buttonImage_ = LoadPictureFile(path);
    LayoutChanged();
}

void TMovieButtonX::SetArrowFilename(const QString& path) {
    arrowFilename_ = path;
    arrowImage_ = LoadPictureFile(path);
    LayoutChanged();
}

void TMovieButtonX::SetLinesVisible(int count) {
    linesVisible_ = std::clamp(count, 0, kMaxButtons);
    if (buttons_.size() < linesVisible_)
        buttons_.resize(linesVisible_);
    focusedButton_ = std::clamp(focusedButton_, 0, std::max(linesVisible_ - 1, 0));
    LayoutChanged();
}

void TMovieButtonX::SetMaxNumInColumn(int count) {
    maxNumInColumn_ = std::max(count, 0);
    LayoutChanged();
}

void TMovieButtonX::SetLeftMargin(int pixels) {
    leftMargin_ = pixels;
    LayoutChanged();
}

void TMovieButtonX::SetTopMargin(int pixels) {
    topMargin_ = pixels;
    LayoutChanged();
}

void TMovieButtonX::SetArrowLeftMargin(int pixels) {
    arrowLeftMargin_ = pixels;
    LayoutChanged();
}

void TMovieButtonX::SetArrowTopMargin(int pixels) {
    arrowTopMargin_ = pixels;
    LayoutChanged();
}

void TMovieButtonX::SetColor(const QColor& colour) {
    color_ = colour;
    update();
}

void TMovieButtonX::SetActiveButton(int index) {
    activeButton_ = index;
    if (index >= 0 && index < linesVisible_)
        focusedButton_ = index;
    update();
    if (OnActiveButtonChanged)
        OnActiveButtonChanged(this, index);
    // The handler may have changed the page; the pointer follows what is active now.
    MovePointer();
}

void TMovieButtonX::SetButtonCaption(int index, const QString& caption) {
    if (index < 0 || index >= kMaxButtons)
        return;
    if (index >= buttons_.size())
        buttons_.resize(index + 1);
    buttons_[index].caption = caption;
    update();
}

void TMovieButtonX::SetButtonMark(int index, int mark) {
    if (index < 0 || index >= kMaxButtons)
        return;
    if (index >= buttons_.size())
        buttons_.resize(index + 1);
    buttons_[index].mark = mark;
    update();
}

QString TMovieButtonX::ButtonCaption(int index) const {
    return index >= 0 && index < buttons_.size() ? buttons_[index].caption : QString();
}

int TMovieButtonX::ButtonMark(int index) const {
    return index >= 0 && index < buttons_.size() ? buttons_[index].mark : 0;
}

QSize TMovieButtonX::ButtonSize() const {
    if (!buttonImage_.isNull())
        return buttonImage_.size();
    return {std::max(width() - leftMargin_ - 4, 40), fontMetrics().height() + 6};
}

int TMovieButtonX::RowsPerColumn() const {
    if (maxNumInColumn_ > 0)
        return maxNumInColumn_;
    return std::max(1, (height() - topMargin_) / std::max(ButtonSize().height(), 1));
}

QRect TMovieButtonX::ButtonRect(int index) const {
    if (index < 0 || index >= linesVisible_)
        return {};
    const QSize size = ButtonSize();
    const int rows = RowsPerColumn();
    const int column = index / rows, row = index % rows;
    return QRect(
        QPoint(leftMargin_ + column * (size.width() + leftMargin_), topMargin_ + row * size.height()), size);
}

int TMovieButtonX::ButtonAt(const QPoint& point) const {
    for (int i = 0; i < linesVisible_; ++i)
        if (ButtonRect(i).contains(point))
            return i;
    return -1;
}

QPoint TMovieButtonX::PointerPosition() const {
    const QRect button = ButtonRect(activeButton_);
    if (button.isNull())
        return {};
    return {button.left() + arrowLeftMargin_ - arrowImage_.width(), button.top() + arrowTopMargin_};
}

void TMovieButtonX::LayoutChanged() {
    update();
    MovePointer();
}

void TMovieButtonX::MovePointer() {
    if (ButtonRect(activeButton_).isNull() || !OnMovePointer)
        return;
    const QPoint pointer = PointerPosition();
    OnMovePointer(this, pointer.x(), pointer.y());
}

void TMovieButtonX::DrawButton(QPainter& painter, int index) const {
    const QRect r = ButtonRect(index);
    if (!buttonImage_.isNull()) {
        painter.drawImage(r.topLeft(), buttonImage_);
    } else {
        painter.setPen(color_.darker(160));
        painter.setBrush(color_.lighter(130));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
    if (index == activeButton_)
        painter.fillRect(r, QColor(255, 255, 255, 60));

    const int markSize = r.height() * 3 / 5;
    const QRect markBox(r.right() - markSize - 4, r.top() + (r.height() - markSize) / 2, markSize, markSize);
    const QRect textBox = r.adjusted(6, 0, -(markSize + 10), 0);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(textBox, Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(buttons_[index].caption, Qt::ElideRight, textBox.width()));
    if (buttons_[index].mark != 0) {
        // A tick, drawn as lines so it does not depend on the fonts installed.
        QPainterPath tick;
        tick.moveTo(markBox.left(), markBox.center().y());
        tick.lineTo(markBox.left() + markSize / 3, markBox.bottom());
        tick.lineTo(markBox.right(), markBox.top());
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(40, 200, 60), std::max(2, markSize / 5), Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(tick);
        painter.restore();
    }
    if (index == focusedButton_ && hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(2, 2, -3, -3));
    }
}

void TMovieButtonX::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), color_);
    if (!backgroundImage_.isNull()) {
        if (stretchBackground_)
            painter.drawImage(rect(), backgroundImage_);
        else
            painter.drawImage(0, 0, backgroundImage_);
    }
    for (int i = 0; i < linesVisible_; ++i)
        DrawButton(painter, i);
    // A host that moves its own pointer picture gets none drawn here.
    if (!OnMovePointer && !arrowImage_.isNull() && !ButtonRect(activeButton_).isNull())
        painter.drawImage(PointerPosition(), arrowImage_);
}

void TMovieButtonX::mousePressEvent(QMouseEvent* event) {
    pressedButton_ = event->button() == Qt::LeftButton ? ButtonAt(event->position().toPoint()) : -1;
}

void TMovieButtonX::mouseReleaseEvent(QMouseEvent* event) {
    const int pressed = pressedButton_;
    pressedButton_ = -1;
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    if (OnClick)
        OnClick(this);
    if (pressed >= 0 && ButtonAt(event->position().toPoint()) == pressed)
        SetActiveButton(pressed);
}

void TMovieButtonX::mouseDoubleClickEvent(QMouseEvent* event) {
    if (OnDblClick)
        OnDblClick(this);
    mousePressEvent(event);
}

void TMovieButtonX::MoveFocus(int delta) {
    if (linesVisible_ == 0)
        return;
    focusedButton_ = std::clamp(focusedButton_ + delta, 0, linesVisible_ - 1);
    update();
}

void TMovieButtonX::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
        MoveFocus(-1);
        break;
    case Qt::Key_Down:
        MoveFocus(1);
        break;
    case Qt::Key_Left:
        MoveFocus(-RowsPerColumn());
        break;
    case Qt::Key_Right:
        MoveFocus(RowsPerColumn());
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (focusedButton_ < linesVisible_)
            SetActiveButton(focusedButton_);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TMovieButtonX::resizeEvent(QResizeEvent*) {
    if (OnResize)
        OnResize(this);
    LayoutChanged();
}
