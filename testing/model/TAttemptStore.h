#pragma once
// Where an attempt lives in the tables: the last active session of the
// learner's assignment to the course test holds the attempt to resume; each
// new attempt adds a session row; saving writes the answers block and, after
// a closed-book attempt, the post-test scores of the assignment.
#include <QByteArray>
#include <QString>

class TAssignment;
class TTestSession;
class TTestRun;

struct TSavedAttempt {
    int SessionId = 0;
    int SessionType = 0; // 1 open book, otherwise closed book
    QByteArray Block;    // empty when there is none
    bool Resumable() const;
};

// The attempt saved in the last active session of the current assignment.
TSavedAttempt FindSavedAttempt(TAssignment& assignment, TTestSession& sessions);

// Adds the session row of a new attempt to the current assignment, makes it
// the assignment's last active session and starts it with the attempt's kind
// and number of questions. The run remembers the row.
int StartAttemptSession(TTestRun& run, TAssignment& assignment, TTestSession& sessions);

// Saves the attempt into its session row: ended, or left to be continued at
// the current question. For a closed-book attempt the learner's assignment to
// the test (`userId`, `testId`) gets the last post-test percentage and keeps
// the best. False when the row or the block could not be written.
bool SaveAttempt(const TTestRun& run, bool finished, TTestSession& sessions, TAssignment& assignments,
                 int userId, const QString& testId);
