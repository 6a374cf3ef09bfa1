#include "TQtMediaPlayer.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>
#include <QVideoFrame>
#include <QVideoSink>

#include "platform/media/TFrameConverter.h"

void TQtMediaPlayer::UseGStreamer() {
    qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

void TQtMediaPlayer::WarmUp() {
    UseGStreamer();
    QMediaPlayer player;
}

TQtMediaPlayer::TQtMediaPlayer(TMoviePanel* display, QObject* parent) : QObject(parent), m_display(display) {
    UseGStreamer();
}

QMediaPlayer& TQtMediaPlayer::Backend() {
    if (m_player)
        return *m_player;
    m_player = std::make_unique<QMediaPlayer>();
    m_sink = std::make_unique<QVideoSink>();
    m_player->setVideoSink(m_sink.get());
    // Without an audio device an audio output only fills the log with errors
    // (and other backends crash): attach one only when the machine has one.
    if (!QMediaDevices::audioOutputs().isEmpty()) {
        m_audio = new QAudioOutput(this);
        m_player->setAudioOutput(m_audio);
    }
    connect(m_sink.get(), &QVideoSink::videoFrameChanged, this, &TQtMediaPlayer::FrameArrived);
    connect(m_player.get(), &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus s) {
        if (s == QMediaPlayer::EndOfMedia)
            ReachedEnd();
    });
    connect(m_player.get(), &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error, const QString& text) { Failed(text); });
    return *m_player;
}

TQtMediaPlayer::~TQtMediaPlayer() {
    if (!m_player)
        return;
    // The sink goes before the player lets go of it: detach it first.
    disconnect(m_sink.get(), nullptr, this, nullptr);
    m_player->setVideoSink(nullptr);
}

void TQtMediaPlayer::SetDisplay(TMoviePanel* display) {
    m_display = display;
}

bool TQtMediaPlayer::Open() {
    if (FileName().isEmpty())
        return Fail(QStringLiteral("No clip file given"));
    const bool notice = TakeNotify();
    ClearError();
    ++m_generation;
    m_open = true;
    m_state = TState::Stopped;
    m_playNotice = false;
    if (m_display)
        m_display->Clear();
    Backend().setSource(QUrl::fromLocalFile(FileName()));
    if (notice)
        QueueNotice();
    return true;
}

bool TQtMediaPlayer::Play() {
    if (!m_open)
        return Fail(NoDeviceText);
    m_playNotice = TakeNotify();
    m_state = TState::Playing;
    m_player->play();
    return true;
}

bool TQtMediaPlayer::Stop() {
    if (!m_open)
        return Fail(NoDeviceText);
    const bool notice = TakeNotify();
    m_playNotice = false;
    m_state = TState::Stopped;
    m_player->stop();
    if (notice)
        QueueNotice();
    return true;
}

bool TQtMediaPlayer::Pause() {
    if (!m_open)
        return Fail(NoDeviceText);
    const bool notice = TakeNotify();
    switch (m_state) {
    case TState::Playing:
        m_state = TState::Paused;
        m_player->pause();
        break;
    case TState::Paused: // resuming is playing on: its notice comes at the end
        m_state = TState::Playing;
        m_playNotice = notice;
        m_player->play();
        return true;
    case TState::Stopped:
        // Nothing to pause, so nothing completes: a notice here would reach
        // the end-of-clip handler as if the clip had just ended.
        return true;
    }
    if (notice)
        QueueNotice();
    return true;
}

bool TQtMediaPlayer::Close() {
    if (!m_open)
        return Fail(NoDeviceText);
    const bool notice = TakeNotify();
    Unload();
    if (notice)
        QueueNotice();
    return true;
}

TMediaMode TQtMediaPlayer::Mode() const {
    if (!m_open)
        return TMediaMode::Notready;
    switch (m_state) {
    case TState::Playing:
        return TMediaMode::Playing;
    case TState::Paused:
        return TMediaMode::Paused;
    case TState::Stopped:
        break;
    }
    return TMediaMode::Stopped;
}

void TQtMediaPlayer::Unload() {
    ++m_generation;
    m_open = false;
    m_state = TState::Stopped;
    m_playNotice = false;
    if (m_player)
        m_player->setSource(QUrl());
    if (m_display)
        m_display->Clear();
}

void TQtMediaPlayer::QueueNotice() {
    const quint64 generation = m_generation;
    QMetaObject::invokeMethod(
        this,
        [this, generation] {
            if (generation == m_generation && OnNotify)
                OnNotify();
        },
        Qt::QueuedConnection);
}

void TQtMediaPlayer::ReachedEnd() {
    if (!m_open || m_state != TState::Playing)
        return;
    m_state = TState::Stopped;
    if (m_playNotice) {
        m_playNotice = false;
        QueueNotice();
    }
}

void TQtMediaPlayer::Failed(const QString& text) {
    if (!m_open)
        return; // a second report of the same failure, or one of a closed clip
    // Qt still says "playing" after an error: the play ends here, and the
    // device counts as closed, as after a failed open.
    const QString message = text.isEmpty() ? QStringLiteral("The clip cannot be played") : text;
    m_open = false;
    m_state = TState::Stopped;
    m_playNotice = false;
    const quint64 generation = ++m_generation;
    // Tearing the pipeline down inside its own error report is not safe:
    // finish on the next turn of the event loop, unless another clip has been
    // opened meanwhile.
    QMetaObject::invokeMethod(
        this,
        [this, generation, message] {
            if (generation != m_generation)
                return;
            m_player->setSource(QUrl());
            Fail(message);
            if (OnError)
                OnError(message);
        },
        Qt::QueuedConnection);
}

void TQtMediaPlayer::FrameArrived(const QVideoFrame& frame) {
    // Every change of source sends an empty frame first: nothing to show.
    if (!m_open || !frame.isValid() || !m_display)
        return;
    m_display->ShowFrame(ConvertVideoFrame(frame));
    emit FrameShown();
}
