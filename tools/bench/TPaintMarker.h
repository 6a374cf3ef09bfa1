#pragma once
// The marker a benchmark child prints once its window is first painted, with
// its resident memory at that moment. The parent times the child from its
// start to this line. Header-only: the bare window links Qt Widgets alone.
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <functional>

// VmRSS of this process in kB (0 when /proc is not there).
inline long ResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

inline void PrintMarker(const char* what) {
    std::printf("%s %ld\n", what, ResidentKb());
    std::fflush(stdout);
}

// "at-<stage> <ns>": the monotonic clock as a stage of start-up is reached,
// so the parent can place it on its own clock (both read CLOCK_MONOTONIC).
inline long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

inline void PrintStage(const char* stage) {
    std::printf("at-%s %lld\n", stage, MonotonicNs());
    std::fflush(stdout);
}

// Watches every paint of the application; the first paint of a window the
// predicate accepts prints "painted <kB>" once the whole window has been drawn
// (the window's own paint event comes before its children's, so the marker
// waits for the event loop's next turn), then runs `after`.
class TPaintMarker : public QObject {
public:
    TPaintMarker(std::function<bool(QWidget*)> accepts, std::function<void()> after)
        : m_accepts(std::move(accepts)), m_after(std::move(after)) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType()) {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow() && m_accepts(widget)) {
                m_seen = true;
                QTimer::singleShot(0, this, [this] {
                    PrintMarker("painted");
                    m_after();
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(QWidget*)> m_accepts;
    std::function<void()> m_after;
    bool m_seen = false;
};
