#pragma once
// The clip player on Qt Multimedia with the GStreamer backend: frames come
// from a QVideoSink, are converted by our own code and painted by the clip
// panel given as display; sound goes to the machine's audio output when it
// has one. The modes and notices follow TMediaPlayer; the mode is kept here
// rather than read from Qt, whose playback state still says playing after an
// error.
#include <QObject>
#include <QPointer>
#include <memory>

#include "platform/TMediaPlayer.h"
#include "platform/media/TMoviePanel.h"

class QAudioOutput;
class QMediaPlayer;
class QVideoFrame;
class QVideoSink;

class TQtMediaPlayer : public QObject, public TMediaPlayer {
    Q_OBJECT
public:
    // Pins Qt's media backend to GStreamer; effective only before the first
    // multimedia object of the process (the constructor calls it too). The
    // FFmpeg backend shows the old codecs in wrong colours and crashes
    // without an audio device.
    static void UseGStreamer();
    // Loads the media backend (GStreamer and its plug-in registry, some 25 ms
    // the first time in a process), so that the first clip opens at once. The
    // player calls it once its first screen is painted; a clip player makes
    // its own Qt player only when it first opens a clip.
    static void WarmUp();

    explicit TQtMediaPlayer(TMoviePanel* display = nullptr, QObject* parent = nullptr);
    ~TQtMediaPlayer() override;

    // The panel the clip is painted into (not owned; may be null).
    void SetDisplay(TMoviePanel* display);
    // Whether sound goes to an audio output (known once a clip was opened).
    bool HasAudioOutput() const { return m_audio != nullptr; }

    bool Open() override;
    bool Play() override;
    bool Stop() override;
    bool Pause() override;
    bool Close() override;
    TMediaMode Mode() const override;

signals:
    // A frame of the open clip was handed to the display.
    void FrameShown();

private:
    enum class TState { Stopped, Playing, Paused };

    void QueueNotice();
    void ReachedEnd();
    void Failed(const QString& text);
    void FrameArrived(const QVideoFrame& frame);
    void Unload();
    QMediaPlayer& Backend();

    std::unique_ptr<QMediaPlayer> m_player;
    std::unique_ptr<QVideoSink> m_sink;
    QAudioOutput* m_audio = nullptr;
    QPointer<TMoviePanel> m_display;
    bool m_open = false;
    TState m_state = TState::Stopped;
    bool m_playNotice = false;
    // Grows at every open and close: notices and error reports of an older
    // clip compare it and are dropped.
    quint64 m_generation = 0;
};
