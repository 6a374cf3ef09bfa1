#include "TBanner.h"

#include "TBannerError.h"

#include <QPainter>

#include <algorithm>

TBanner::TBanner(QWidget* parent) : QWidget(parent) {
    resize(100, 100);
    timer_.setInterval(scrollInterval_);
    connect(&timer_, &QTimer::timeout, this, &TBanner::Tick);
}

void TBanner::SetBitmap(const QImage& picture) {
    content_ = picture;
    contentFromText_ = false;
    scrollText_.clear();
    lines_.clear();
    if (autoEnable_ && content_.width() > 0)
        SetEnabled(true);
    update();
}

void TBanner::SetScrollText(const QString& text) {
    SetEnabled(false);
    lines_.clear();
    scrollText_ = text;
    RenderText();
    if (autoEnable_)
        EnableWhenShowable();
    update();
}

void TBanner::SetLines(const QStringList& lines) {
    const bool wasEnabled = enabled_;
    lines_ = lines;
    RenderLines();
    if (wasEnabled || autoEnable_)
        EnableWhenShowable();
    update();
}

void TBanner::SetLinesAlign(Qt::Alignment alignment) {
    linesAlign_ = alignment & Qt::AlignHorizontal_Mask;
    if (!lines_.isEmpty())
        RenderLines();
    update();
}

// Assigning empty text or lines must not raise the enabling error: an empty
// line of "info.txt" simply leaves the banner still.
void TBanner::EnableWhenShowable() {
    if (HasContent())
        SetEnabled(true);
}

void TBanner::RenderText() {
    const QFontMetrics metrics(font());
    content_ = QImage(metrics.horizontalAdvance(scrollText_), metrics.height(), QImage::Format_RGB32);
    contentFromText_ = true;
    if (content_.isNull())
        return;
    content_.fill(color_);
    QPainter painter(&content_);
    painter.setFont(font());
    painter.setPen(fontColor_);
    painter.drawText(0, metrics.ascent(), scrollText_);
}

void TBanner::RenderLines() {
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    int width = 0;
    for (const QString& line : lines_)
        width = std::max(width, metrics.horizontalAdvance(line));
    content_ = QImage(width, int(lines_.size()) * lineHeight, QImage::Format_RGB32);
    contentFromText_ = true;
    if (content_.isNull())
        return;
    content_.fill(color_);
    QPainter painter(&content_);
    painter.setFont(font());
    painter.setPen(fontColor_);
    for (int k = 0; k < lines_.size(); ++k) {
        const int lineWidth = metrics.horizontalAdvance(lines_[k]);
        int x = 0;
        if (linesAlign_ & Qt::AlignRight)
            x = width - lineWidth;
        else if (linesAlign_ & Qt::AlignHCenter)
            x = (width - lineWidth) / 2;
        painter.drawText(x, k * lineHeight + metrics.ascent(), lines_[k]);
    }
}

void TBanner::SetEnabled(bool on) {
    if (on) {
        if (!HasContent()) {
            if (!lines_.isEmpty())
                RenderLines();
            else if (!scrollText_.isEmpty())
                RenderText();
            else
                throw TBannerError("Assign a bitmap or text to banner before enabling");
        }
        timer_.start(scrollInterval_);
    } else {
        if (contentFromText_)
            content_ = QImage();
        timer_.stop();
    }
    enabled_ = on;
    update();
    if (on && OnEnable)
        OnEnable(this);
    if (!on && OnDisable)
        OnDisable(this);
}

void TBanner::SetNoGap(bool on) {
    noGap_ = on;
    update();
}

void TBanner::SetScrollDirection(TScrollDirection direction) {
    if (direction == direction_)
        return;
    const bool wasHorizontal = Horizontal();
    const int oldTravel = wasHorizontal ? content_.width() + width() : content_.height() + height();
    direction_ = direction;
    if (wasHorizontal != Horizontal() && oldTravel > 0) {
        // Keep the same share of the way across on the new axis.
        const int newTravel = Horizontal() ? content_.width() + width() : content_.height() + height();
        position_ = int(qint64(position_) * newTravel / oldTravel);
    }
    update();
}

void TBanner::SetScrollInterval(int milliseconds) {
    scrollInterval_ = std::clamp(milliseconds, 1, 65535);
    timer_.setInterval(scrollInterval_);
}

void TBanner::SetScrollPixels(int pixels) {
    scrollPixels_ = std::clamp(pixels, 0, 65535);
}

void TBanner::SetColor(const QColor& colour) {
    color_ = colour;
    update();
}

void TBanner::SetFontColor(const QColor& colour) {
    fontColor_ = colour;
    update();
}

void TBanner::Tick() {
    position_ += scrollPixels_;
    const int extent = Horizontal() ? content_.width() : content_.height();
    const int control = Horizontal() ? width() : height();
    if (noGap_) {
        // Subtracting the extent until the position is within it; a content of no extent
        // would never get there, so it just stays at 0.
        if (extent <= 0)
            position_ = 0;
        else if (position_ > extent)
            position_ = (position_ - 1) % extent + 1;
    } else if (position_ > extent + control) {
        if (onlyOnce_)
            SetEnabled(false);
        else
            position_ = 0;
    }
    update();
    if (OnScroll)
        OnScroll(this);
}

void TBanner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), color_);
    if (!HasContent())
        return;
    const int w = content_.width(), h = content_.height(), p = position_;
    // Leading edge of the content for position p, then copies side by side with NoGap.
    QPoint origin;
    switch (direction_) {
    case sdRightToLeft:
        origin = {width() - p, 0};
        break;
    case sdLeftToRight:
        origin = {p - w, 0};
        break;
    case sdTopToBottom:
        origin = {0, p - h};
        break;
    case sdBottomToTop:
        origin = {0, height() - p};
        break;
    }
    if (!noGap_) {
        painter.drawImage(origin, content_);
        return;
    }
    if (Horizontal()) {
        int x = origin.x() % w;
        if (x > 0)
            x -= w;
        for (; x < width(); x += w)
            painter.drawImage(x, 0, content_);
    } else {
        int y = origin.y() % h;
        if (y > 0)
            y -= h;
        for (; y < height(); y += h)
            painter.drawImage(0, y, content_);
    }
}
