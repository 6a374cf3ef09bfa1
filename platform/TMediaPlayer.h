#pragma once
// The clip player as the lesson screens see it: a device that opens one clip
// file, plays it from the current position, stops, pauses and resumes, closes,
// reports its mode and sends a completion notice through OnNotify.
//
// The notify switch works per command: SetNotify(value) decides whether the
// next command sends a notice and is then forgotten; a command issued while
// the switch is not set sends one. Open, Stop, Pause and Close send their
// notice as soon as they are done (it arrives through the event loop, never
// inside the call); Play sends it when the clip has played to its end. A
// notice still waiting when the device is closed or another clip is opened is
// dropped, so the end of an old clip can never reach the handler of a new one.
//
// A clip that cannot be played (missing, damaged, no decoder) ends its play
// with OnError and the media layer's text instead of a notice; the device is
// closed then, as after a failed open.
//
// Header-only and free of widgets (the player on Qt Multimedia is in media/),
// so GUI-free models can drive a player and tests can replace it with a double.
#include <QString>
#include <functional>
#include <optional>

enum class TMediaMode {
    Notready = 0,
    Stopped = 1,
    Playing = 2,
    Recording = 3,
    Seeking = 4,
    Paused = 5,
    Open = 6,
};

// The names the diagnostics window shows for the modes.
inline QString MediaModeName(TMediaMode mode) {
    switch (mode) {
    case TMediaMode::Notready:
        return QStringLiteral("Notready");
    case TMediaMode::Stopped:
        return QStringLiteral("Stopped");
    case TMediaMode::Playing:
        return QStringLiteral("Playing");
    case TMediaMode::Recording:
        return QStringLiteral("Recording");
    case TMediaMode::Seeking:
        return QStringLiteral("Seeking");
    case TMediaMode::Paused:
        return QStringLiteral("Paused");
    case TMediaMode::Open:
        return QStringLiteral("Open");
    }
    return {};
}

class TMediaPlayer {
public:
    // What Stop, Pause, Close and Play report on a player with no open device.
    static inline const QString NoDeviceText = QStringLiteral("No MCI device open");

    virtual ~TMediaPlayer() = default;

    void SetFileName(const QString& fileName) { m_fileName = fileName; }
    QString FileName() const { return m_fileName; }

    // Opens FileName (closing a clip already open). False only when there is
    // no file name; a file that turns out unplayable reports through OnError.
    virtual bool Open() = 0;
    // Plays from the current position (from the start after Open or Stop).
    virtual bool Play() = 0;
    // Stops and goes back to the start; the clip stays open.
    virtual bool Stop() = 0;
    // Pauses when playing, resumes when paused (a resume is a play: its
    // notice comes at the clip's end); nothing, and no notice, when stopped.
    virtual bool Pause() = 0;
    virtual bool Close() = 0;
    virtual TMediaMode Mode() const = 0;

    // The text of the last command that failed (NoDeviceText or the media layer's).
    QString LastError() const { return m_lastError; }

    void SetNotify(bool value) { m_notifySwitch = value; }
    std::optional<bool> NotifySwitch() const { return m_notifySwitch; }

    std::function<void()> OnNotify;
    std::function<void(const QString& text)> OnError;

protected:
    // Reads and clears the switch: does the command being run send a notice?
    bool TakeNotify() {
        const bool wanted = m_notifySwitch.value_or(true);
        m_notifySwitch.reset();
        return wanted;
    }
    bool Fail(const QString& text) {
        m_lastError = text;
        return false;
    }
    void ClearError() { m_lastError.clear(); }

private:
    QString m_fileName;
    QString m_lastError;
    std::optional<bool> m_notifySwitch;
};
