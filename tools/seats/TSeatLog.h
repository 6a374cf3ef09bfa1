#pragma once
// A seat's own record of what it wrote: every learner it registered, every
// assignment and session row it added, and the last values it stored in each
// of its assignments. The room check compares the tables with these records.
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QVector>

struct TSeatUser {
    int Id = 0;
    QString Name;
    QString Password;
};

struct TSeatAssignment {
    int Id = 0;
    int UserId = 0;
    int ProdType = 0;
    QString ProdId;
};

struct TSeatSession {
    int Id = 0;
    int AssignId = 0;
    int Kind = 0;
    int Taken = 0;
    int Right = 0;
    QByteArray Answers;
};

// The last values a seat stored in one assignment.
struct TSeatAssignmentState {
    int LastActive = 0;
    int LastPost = -1;
    int BestPost = -1;
    QByteArray Bookmarks; // the marks, one byte per row
};

struct TSeatLog {
    QVector<TSeatUser> Users;
    QVector<TSeatAssignment> Assignments;
    QVector<TSeatSession> Sessions;
    // Keyed by user ID and product ID.
    QMap<QPair<int, QString>, TSeatAssignmentState> States;

    // One line per fact, tab-separated; binary values in hex.
    QByteArray Write() const;
    // False (with the reason in error) when the text is not a seat log.
    static bool Read(const QByteArray& text, TSeatLog& log, QString& error);
};
