#include "TGifImage.h"

#include <QFile>
#include <QPainter>

#include <algorithm>

TGifImage::TGifImage(QWidget* parent) : QWidget(parent) {
    frameTimer_.setSingleShot(true);
    connect(&frameTimer_, &QTimer::timeout, this, &TGifImage::ShowNextFrame);
}

void TGifImage::SetFileName(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray data = file.readAll();
    LoadFromData(data);
    fileName_ = path;
}

void TGifImage::LoadFromData(const QByteArray& data) {
    fileName_.clear();
    Show(DecodeGif(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size())));
}

void TGifImage::Clear() {
    fileName_.clear();
    Show(TGifAnimation{});
}

void TGifImage::Show(TGifAnimation animation) {
    frameTimer_.stop();
    frames_.clear();
    delaysMs_.clear();
    for (TGifFrame& frame : animation.Frames) {
        // The decoder's pixels are 0xAARRGGBB with transparent pixels all zero, which is
        // valid premultiplied ARGB; copy so the image owns its memory.
        QImage image(reinterpret_cast<const uchar*>(frame.Pixels.data()), animation.Width, animation.Height,
                     animation.Width * 4, QImage::Format_ARGB32_Premultiplied);
        frames_.append(image.copy());
        delaysMs_.append(frame.DelayMs);
        std::vector<uint32_t>().swap(frame.Pixels);
    }
    pictureSize_ = frames_.isEmpty() ? QSize() : QSize(animation.Width, animation.Height);
    loopCount_ = animation.LoopCount;
    loopsDone_ = 0;
    current_ = 0;
    if (autoSize_ && !frames_.isEmpty())
        resize(pictureSize_);
    updateGeometry();
    ScheduleNextFrame();
    update();
}

int TGifImage::FrameInterval(int index) const {
    if (index < 0 || index >= delaysMs_.size())
        return 0;
    const int speed = std::max(speed_, 1);
    return int(std::min<qint64>(qint64(delaysMs_[index]) * 100 / speed, std::numeric_limits<int>::max()));
}

void TGifImage::ScheduleNextFrame() {
    frameTimer_.stop();
    if (animate_ && frames_.size() > 1)
        frameTimer_.start(std::max(FrameInterval(current_), 1));
}

void TGifImage::ShowNextFrame() {
    if (current_ + 1 < frames_.size()) {
        ++current_;
    } else {
        // After the last frame: play again when the file asks for looping.
        const bool again = loopCount_ == 0 || (loopCount_ > 0 && loopsDone_ < loopCount_);
        if (!again)
            return;
        ++loopsDone_;
        current_ = 0;
    }
    update();
    ScheduleNextFrame();
}

void TGifImage::SetSpeed(int percent) {
    speed_ = percent;
    ScheduleNextFrame();
}

void TGifImage::SetAutoSize(bool on) {
    autoSize_ = on;
    if (autoSize_ && !frames_.isEmpty())
        resize(pictureSize_);
}

void TGifImage::SetAnimate(bool on) {
    animate_ = on;
    ScheduleNextFrame();
}

void TGifImage::SetStretch(bool on) {
    stretch_ = on;
    update();
}

QImage TGifImage::CurrentImage() const {
    return frames_.isEmpty() ? QImage() : frames_[current_];
}

QSize TGifImage::sizeHint() const {
    return pictureSize_.isValid() ? pictureSize_ : QWidget::sizeHint();
}

void TGifImage::paintEvent(QPaintEvent*) {
    if (frames_.isEmpty())
        return;
    QPainter painter(this);
    if (stretch_)
        painter.drawImage(rect(), frames_[current_]);
    else
        painter.drawImage(0, 0, frames_[current_]);
}
