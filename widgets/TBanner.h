// A strip that scrolls a picture, a line of text or a block of lines through its area,
// one step every ScrollInterval milliseconds while enabled.
#pragma once

#include <QImage>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

enum TScrollDirection { sdRightToLeft, sdLeftToRight, sdTopToBottom, sdBottomToTop };

class TBanner : public QWidget {
    Q_OBJECT
public:
    explicit TBanner(QWidget* parent = nullptr);

    // Start scrolling as soon as content is assigned.
    bool AutoEnable() const { return autoEnable_; }
    void SetAutoEnable(bool on) { autoEnable_ = on; }
    QImage Bitmap() const { return content_; }
    void SetBitmap(const QImage& picture);
    QString ScrollText() const { return scrollText_; }
    void SetScrollText(const QString& text);
    QStringList Lines() const { return lines_; }
    void SetLines(const QStringList& lines);
    Qt::Alignment LinesAlign() const { return linesAlign_; }
    void SetLinesAlign(Qt::Alignment alignment);

    // Scrolling on or off (not QWidget's enabled state). Enabling with nothing to show
    // throws TBannerError "Assign a bitmap or text to banner before enabling".
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);

    bool NoGap() const { return noGap_; }
    void SetNoGap(bool on);
    bool OnlyOnce() const { return onlyOnce_; }
    void SetOnlyOnce(bool on) { onlyOnce_ = on; }
    TScrollDirection ScrollDirection() const { return direction_; }
    void SetScrollDirection(TScrollDirection direction);
    int ScrollInterval() const { return scrollInterval_; }
    void SetScrollInterval(int milliseconds);
    int ScrollPixels() const { return scrollPixels_; }
    void SetScrollPixels(int pixels);
    QColor Color() const { return color_; }
    void SetColor(const QColor& colour);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& colour);

    // Current scroll position and one timer step (the timer calls it).
    int Position() const { return position_; }
    void Tick();

    std::function<void(QObject* sender)> OnScroll;
    std::function<void(QObject* sender)> OnEnable;
    std::function<void(QObject* sender)> OnDisable;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool Horizontal() const { return direction_ == sdRightToLeft || direction_ == sdLeftToRight; }
    bool HasContent() const { return !content_.isNull() && content_.width() > 0 && content_.height() > 0; }
    void RenderText();
    void RenderLines();
    void EnableWhenShowable();

    bool autoEnable_ = true;
    bool enabled_ = false;
    bool noGap_ = false;
    bool onlyOnce_ = false;
    bool contentFromText_ = false;
    TScrollDirection direction_ = sdRightToLeft;
    int scrollInterval_ = 200;
    int scrollPixels_ = 4;
    int position_ = 0;
    QImage content_;
    QString scrollText_;
    QStringList lines_;
    Qt::Alignment linesAlign_ = Qt::AlignHCenter;
    QColor color_{Qt::lightGray};
    QColor fontColor_{Qt::black};
    QTimer timer_;
};
