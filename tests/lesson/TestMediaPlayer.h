#pragma once
// A player double that keeps the TMediaPlayer contract (the notify switch,
// notices queued until the event loop would deliver them, notices of an older
// clip dropped at open and close) and logs every command.
#include <QStringList>
#include <vector>

#include "platform/TMediaPlayer.h"

class TTestMediaPlayer : public TMediaPlayer {
public:
    QStringList Log;
    // File names whose open succeeds but whose play fails with this text.
    QString FailingFile;
    QString FailText = QStringLiteral("Could not determine type of stream.");

    bool Open() override {
        if (FileName().isEmpty())
            return Fail(QStringLiteral("No clip file given"));
        const bool notice = TakeNotify();
        Log << "Open " + FileName();
        ++m_generation;
        m_mode = TMediaMode::Stopped;
        m_playNotice = false;
        if (notice)
            Queue();
        return true;
    }
    bool Play() override {
        if (m_mode == TMediaMode::Notready)
            return Fail(NoDeviceText);
        m_playNotice = TakeNotify();
        Log << "Play";
        m_mode = TMediaMode::Playing;
        if (!FailingFile.isEmpty() && FileName().endsWith(FailingFile)) {
            m_mode = TMediaMode::Notready;
            ++m_generation;
            if (OnError)
                OnError(FailText);
        }
        return true;
    }
    bool Stop() override { return Command("Stop", TMediaMode::Stopped); }
    bool Pause() override {
        if (m_mode == TMediaMode::Paused) {
            m_playNotice = TakeNotify();
            Log << "Resume";
            m_mode = TMediaMode::Playing;
            return true;
        }
        if (m_mode == TMediaMode::Stopped) {
            TakeNotify();
            return true;
        }
        return Command("Pause", TMediaMode::Paused);
    }
    bool Close() override {
        const bool ok = Command("Close", TMediaMode::Notready);
        ++m_generation;
        return ok;
    }
    TMediaMode Mode() const override { return m_mode; }

    // The open clip plays to its end.
    void EndClip() {
        if (m_mode != TMediaMode::Playing)
            return;
        m_mode = TMediaMode::Stopped;
        if (m_playNotice)
            Queue();
        m_playNotice = false;
        Deliver();
    }
    // What the event loop would deliver now.
    void Deliver() {
        const std::vector<int> queued = std::exchange(m_queued, {});
        for (int generation : queued)
            if (generation == m_generation && OnNotify)
                OnNotify();
    }
    // Files opened, in order.
    QStringList Opened() const {
        QStringList files;
        for (const QString& entry : Log)
            if (entry.startsWith("Open "))
                files << entry.mid(5);
        return files;
    }

private:
    bool Command(const char* name, TMediaMode next) {
        if (m_mode == TMediaMode::Notready)
            return Fail(NoDeviceText);
        const bool notice = TakeNotify();
        Log << name;
        if (next != TMediaMode::Playing)
            m_playNotice = false;
        m_mode = next;
        if (notice)
            Queue();
        return true;
    }
    void Queue() { m_queued.push_back(m_generation); }

    TMediaMode m_mode = TMediaMode::Notready;
    bool m_playNotice = false;
    int m_generation = 0;
    std::vector<int> m_queued;
};
