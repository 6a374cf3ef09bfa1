#include "TLabelEffect.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kDegreesToRadians = std::numbers::pi / 180.0;

// Truncation toward zero, as the drawing arithmetic asks for.
int T(double value) {
    return int(std::trunc(value));
}

} // namespace

TLabelEffect::TLabelEffect(QWidget* parent) : QWidget(parent) {
    const QColor white(255, 255, 255), black(0, 0, 0), grey(128, 128, 128);
    schemes_[csCustom] = {white, black, grey};
    schemes_[csText] = {white, grey, black};
    schemes_[csWindows] = {white, black, grey};
    schemes_[csEmbossed] = {white, black, QColor(192, 192, 192)};
    schemes_[csGold] = {QColor(255, 255, 0), black, QColor(128, 128, 0)};
    schemes_[csSteel] = {QColor(0, 255, 255), QColor(0, 0, 128), QColor(0, 128, 128)};
    QFont labelFont("Times New Roman");
    labelFont.setPointSize(20);
    setFont(labelFont);
    resize(142, 33);
}

QPoint TLabelEffect::DirectionStep(TEffectDirection direction) {
    static constexpr int kSteps[9][2] = {{0, 0}, {0, -1}, {1, -1}, {1, 0},  {1, 1},
                                         {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
    const int i = std::clamp(int(direction), 0, 8);
    return {kSteps[i][0], kSteps[i][1]};
}

void TLabelEffect::SetDepthHighlight(int depth) {
    depth = std::clamp(depth, 0, 10);
    if (depth == depthHighlight_)
        return;
    depthHighlight_ = depth;
    if (!applyingStyle_)
        SetEffectStyle(esCustom);
    update();
}

void TLabelEffect::SetDepthShadow(int depth) {
    depth = std::clamp(depth, 0, 10);
    if (depth == depthShadow_)
        return;
    depthShadow_ = depth;
    if (!applyingStyle_)
        SetEffectStyle(esCustom);
    update();
}

void TLabelEffect::SetDirectionHighlight(TEffectDirection direction) {
    if (direction == directionHighlight_)
        return;
    directionHighlight_ = direction;
    if (!applyingStyle_)
        SetEffectStyle(esCustom);
    update();
}

void TLabelEffect::SetDirectionShadow(TEffectDirection direction) {
    if (direction == directionShadow_)
        return;
    directionShadow_ = direction;
    if (!applyingStyle_)
        SetEffectStyle(esCustom);
    update();
}

void TLabelEffect::SetColourHighlight(const QColor& colour) {
    if (colour == colourHighlight_)
        return;
    colourHighlight_ = colour;
    schemes_[csCustom].highlight = colour;
    if (!applyingScheme_)
        SetColourScheme(csCustom);
    update();
}

void TLabelEffect::SetColourShadow(const QColor& colour) {
    if (colour == colourShadow_)
        return;
    colourShadow_ = colour;
    schemes_[csCustom].shadow = colour;
    if (!applyingScheme_)
        SetColourScheme(csCustom);
    update();
}

void TLabelEffect::SetColourScheme(TColourScheme scheme) {
    if (scheme == colourScheme_)
        return;
    applyingScheme_ = true;
    colourScheme_ = scheme;
    const SchemeColours colours = schemes_[scheme];
    SetColourHighlight(colours.highlight);
    SetFontColor(colours.face);
    SetColourShadow(colours.shadow);
    if (scheme != csCustom)
        schemes_[csCustom] = colours;
    applyingScheme_ = false;
    update();
}

void TLabelEffect::SetEffectStyle(TEffectStyle style) {
    if (style == effectStyle_)
        return;
    // Both flags up, so the setters below keep the style and the scheme as they are.
    applyingStyle_ = applyingScheme_ = true;
    effectStyle_ = style;
    SetColourHighlight(schemes_[colourScheme_].highlight);
    switch (style) {
    case esNone:
        SetDirectionHighlight(edNone);
        SetDirectionShadow(edNone);
        SetDepthHighlight(0);
        SetDepthShadow(0);
        SetAsButton(false);
        break;
    case esCustom:
        SetAsButton(false);
        break;
    case esRaised:
        SetDirectionHighlight(edUpLeft);
        SetDirectionShadow(edDownRight);
        SetDepthHighlight(1);
        SetDepthShadow(1);
        break;
    case esSunken:
        SetDirectionHighlight(edDownRight);
        SetDirectionShadow(edUpLeft);
        SetDepthHighlight(1);
        SetDepthShadow(1);
        break;
    case esShadow:
        SetDirectionHighlight(edNone);
        SetDepthHighlight(0);
        SetDirectionShadow(edDownRight);
        SetDepthShadow(2);
        SetAsButton(false);
        break;
    case esFlying:
        SetDirectionHighlight(edDownRight);
        SetDepthHighlight(1);
        SetDirectionShadow(edDownRight);
        SetDepthShadow(5);
        SetColourHighlight(schemes_[colourScheme_].shadow);
        SetAsButton(false);
        break;
    }
    applyingStyle_ = applyingScheme_ = false;
    update();
}

void TLabelEffect::SetAsButton(bool on) {
    if (on == asButton_)
        return;
    asButton_ = on;
    if (on)
        SetEffectStyle(esRaised);
}

void TLabelEffect::SetAngle(int degrees) {
    degrees = std::clamp(degrees, 0, 360);
    if (degrees == angle_)
        return;
    angle_ = degrees;
    cosine_ = std::cos(degrees * kDegreesToRadians);
    sine_ = std::sin(degrees * kDegreesToRadians);
    if (degrees != 0)
        alignment_ = Qt::AlignLeft;
    update();
}

void TLabelEffect::SetCaption(const QString& caption) {
    caption_ = caption;
    update();
}

void TLabelEffect::SetAlignment(Qt::Alignment alignment) {
    alignment_ = alignment & Qt::AlignHorizontal_Mask;
    update();
}

void TLabelEffect::SetFontColor(const QColor& colour) {
    fontColor_ = colour;
    update();
}

void TLabelEffect::SetColor(const QColor& colour) {
    color_ = colour;
    update();
}

void TLabelEffect::SetTransparent(bool on) {
    transparent_ = on;
    update();
}

void TLabelEffect::SetShowAccelChar(bool on) {
    showAccelChar_ = on;
    update();
}

void TLabelEffect::paintEvent(QPaintEvent*) {
    const QPoint h = DirectionStep(directionHighlight_), s = DirectionStep(directionShadow_);
    const int dh = depthHighlight_, ds = depthShadow_;
    // Lift every copy so that none is drawn above or left of the client area.
    const int lift = std::min({0, h.x() * dh, s.x() * ds, h.y() * dh, s.y() * ds});

    QPainter painter(this);
    painter.setFont(font());
    const QFontMetrics metrics(font());
    const int q = metrics.horizontalAdvance(caption_ + "   ") / 2;
    int r = metrics.horizontalAdvance(caption_);
    int textHeight = metrics.height();
    const double co = cosine_, si = sine_;

    int originX = 0, originY = 0;
    if (angle_ != 0) {
        originX = q - T(r * 0.5 * co) - T(textHeight * 0.5 * si);
        originY = q + T(r * 0.5 * si) - T(textHeight * 0.5 * co);
    }

    if (!transparent_) {
        if (angle_ == 0) {
            painter.fillRect(rect(), color_);
        } else {
            r += 7;
            textHeight += 5;
            const double hw = r / 2.0, hh = textHeight / 2.0;
            const QPolygon box({QPoint(q - T(hw * co) - T(hh * si), q + T(hw * si) - T(hh * co)),
                                QPoint(q + T(hw * co) - T(hh * si), q - T(hw * si) - T(hh * co)),
                                QPoint(q + T(hw * co) + T(hh * si), q - T(hw * si) + T(hh * co)),
                                QPoint(q - T(hw * co) + T(hh * si), q + T(hw * si) + T(hh * co))});
            painter.setPen(Qt::NoPen);
            painter.setBrush(color_);
            painter.drawPolygon(box);
        }
    }
    painter.setBrush(Qt::NoBrush);

    const struct {
        QPoint offset;
        QColor colour;
    } copies[3] = {{QPoint(s.x() * ds - lift, s.y() * ds - lift), colourShadow_},
                   {QPoint(h.x() * dh - lift, h.y() * dh - lift), colourHighlight_},
                   {QPoint(-lift, -lift), fontColor_}};

    int flags =
        int(alignment_ & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextWordWrap | Qt::TextExpandTabs;
    if (showAccelChar_)
        flags |= Qt::TextShowMnemonic;
    const QString shown = caption_.left(255);
    for (const auto& copy : copies) {
        painter.setPen(copy.colour);
        if (angle_ == 0) {
            painter.drawText(rect().translated(copy.offset), flags, shown);
        } else {
            // One line from its top-left corner, turned counter-clockwise about that corner.
            painter.save();
            painter.translate(originX + copy.offset.x(), originY + copy.offset.y());
            painter.rotate(-angle_);
            painter.drawText(QPoint(0, metrics.ascent()), caption_);
            painter.restore();
        }
    }
}

bool TLabelEffect::InsideClient(const QPoint& point) const {
    return point.x() >= 0 && point.x() <= width() && point.y() >= 0 && point.y() <= height();
}

void TLabelEffect::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    clickPending_ = event->button() == Qt::LeftButton;
    if (asButton_) {
        if (event->button() == Qt::LeftButton && effectStyle_ != esSunken && isEnabled()) {
            SetEffectStyle(esSunken);
            return; // a pressed button label does not report the mouse-down
        }
    }
    if (OnMouseDown)
        OnMouseDown(this, event->button(), event->modifiers(), point.x(), point.y());
}

void TLabelEffect::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (asButton_ && event->buttons() == Qt::LeftButton && event->modifiers() == Qt::NoModifier)
        SetEffectStyle(InsideClient(point) ? esSunken : esRaised);
    if (OnMouseMove)
        OnMouseMove(this, event->modifiers(), point.x(), point.y());
}

void TLabelEffect::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    const bool inside = InsideClient(point);
    if (asButton_ && inside)
        SetEffectStyle(esRaised);
    if (OnMouseUp)
        OnMouseUp(this, event->button(), event->modifiers(), point.x(), point.y());
    if (event->button() == Qt::LeftButton && clickPending_ && inside && OnClick)
        OnClick(this);
    clickPending_ = false;
}

void TLabelEffect::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && OnDblClick)
        OnDblClick(this);
    mousePressEvent(event);
}
