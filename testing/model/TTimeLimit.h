#pragma once
// The closed-book time limit (2 minutes a question, at most 90) and the
// countdown shown beside it.
#include <QDateTime>
#include <QString>

constexpr int MinutesPerQuestion = 2;
constexpr int MaxTestMinutes = 90;

int TimeLimitMinutes(int questions);
// Hours, a colon, minutes, without leading zeros: "0:40", "1:30", "0:4".
QString TimeLimitText(int questions);
// The limit text read as a time of day, in seconds; -1 when it is not one.
int TimeLimitSeconds(const QString& timeLimit);

struct TCountdown {
    bool TimeIsUp = false; // the elapsed time exceeds the limit
    QString Remaining;     // "hh:nn:ss", while time remains
};

// The countdown at `elapsedMs` since the start. A clock set back counts as no
// time elapsed.
TCountdown CountdownAt(qint64 elapsedMs, int limitSeconds);
TCountdown CountdownAt(const QDateTime& testStart, const QDateTime& now, int limitSeconds);
