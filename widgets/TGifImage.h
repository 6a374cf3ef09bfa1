// The GIF picture control: shows a still or animated GIF from a file or a memory buffer.
#pragma once

#include "GifDecoder.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>

class TGifImage : public QWidget {
    Q_OBJECT
public:
    explicit TGifImage(QWidget* parent = nullptr);

    // A file that does not exist (or cannot be read) leaves the picture and the file
    // name as they were; a file that is not a valid GIF shows nothing.
    void SetFileName(const QString& path);
    QString FileName() const { return fileName_; }
    // Shows the GIF held in `data`; invalid data shows nothing. Clears FileName.
    void LoadFromData(const QByteArray& data);
    void Clear();

    // Percentage of the recorded frame timing: 100 as recorded, 200 twice as fast.
    void SetSpeed(int percent);
    int Speed() const { return speed_; }
    void SetAutoSize(bool on);
    bool AutoSize() const { return autoSize_; }
    void SetAnimate(bool on);
    bool Animate() const { return animate_; }
    // Draw the picture scaled to the whole control (full-window backgrounds).
    void SetStretch(bool on);
    bool Stretch() const { return stretch_; }

    bool IsEmpty() const { return frames_.empty(); }
    QSize PictureSize() const { return pictureSize_; }
    int FrameCount() const { return int(frames_.size()); }
    int CurrentFrame() const { return current_; }
    // How long frame `index` stays on screen at the current speed, in milliseconds.
    int FrameInterval(int index) const;
    QImage CurrentImage() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Show(TGifAnimation animation);
    void ShowNextFrame();
    void ScheduleNextFrame();

    QString fileName_;
    QList<QImage> frames_;
    QList<int> delaysMs_;
    QSize pictureSize_;
    int loopCount_ = -1;
    int loopsDone_ = 0;
    int current_ = 0;
    int speed_ = 100;
    bool autoSize_ = false;
    bool animate_ = true;
    bool stretch_ = false;
    QTimer frameTimer_;
};
