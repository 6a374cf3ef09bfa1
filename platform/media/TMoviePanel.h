#pragma once
// The clip panel: the player's display window. Black with the caption
// "One Moment Please..." in white italic Times New Roman while a clip loads,
// then the clip's current frame stretched over the whole panel.
#include <QImage>
#include <QWidget>

class TMoviePanel : public QWidget {
    Q_OBJECT
public:
    static inline const QString LoadingCaption = QStringLiteral("One Moment Please...");

    explicit TMoviePanel(QWidget* parent = nullptr);

    // The picture to show; a null image brings the loading caption back.
    void ShowFrame(const QImage& frame);
    void Clear() { ShowFrame({}); }
    const QImage& Frame() const { return m_frame; }
    // Frames shown since construction (the benchmark and tests count them).
    qint64 FramesShown() const { return m_framesShown; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_frame;
    qint64 m_framesShown = 0;
};
