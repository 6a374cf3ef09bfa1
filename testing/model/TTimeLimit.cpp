#include "testing/model/TTimeLimit.h"

#include <QStringList>
#include <algorithm>

int TimeLimitMinutes(int questions) {
    return std::clamp(MinutesPerQuestion * std::max(questions, 0), 0, MaxTestMinutes);
}

QString TimeLimitText(int questions) {
    int minutes = TimeLimitMinutes(questions);
    return QString::number(minutes / 60) + ":" + QString::number(minutes % 60);
}

int TimeLimitSeconds(const QString& timeLimit) {
    const QStringList parts = timeLimit.split(':');
    if (parts.size() != 2)
        return -1;
    bool hoursOk = false, minutesOk = false;
    int hours = parts[0].toInt(&hoursOk);
    int minutes = parts[1].toInt(&minutesOk);
    if (!hoursOk || !minutesOk || hours < 0 || hours > 23 || minutes < 0 || minutes > 59)
        return -1;
    return (hours * 60 + minutes) * 60;
}

TCountdown CountdownAt(qint64 elapsedMs, int limitSeconds) {
    elapsedMs = std::max<qint64>(elapsedMs, 0);
    const qint64 limitMs = qint64(limitSeconds) * 1000;
    TCountdown countdown;
    if (elapsedMs > limitMs) {
        countdown.TimeIsUp = true;
        return countdown;
    }
    // Whole seconds remaining, the part of a second dropped as a clock does.
    qint64 seconds = (limitMs - elapsedMs) / 1000;
    countdown.Remaining = QString("%1:%2:%3")
                              .arg(seconds / 3600, 2, 10, QChar('0'))
                              .arg(seconds / 60 % 60, 2, 10, QChar('0'))
                              .arg(seconds % 60, 2, 10, QChar('0'));
    return countdown;
}

TCountdown CountdownAt(const QDateTime& testStart, const QDateTime& now, int limitSeconds) {
    return CountdownAt(testStart.msecsTo(now), limitSeconds);
}
