#include "testing/model/TAttemptStore.h"

#include "data/TAssignment.h"
#include "data/TTestSession.h"
#include "testing/model/TTestRun.h"

bool TSavedAttempt::Resumable() const {
    return TTestRun::IsResumable(Block);
}

TSavedAttempt FindSavedAttempt(TAssignment& assignment, TTestSession& sessions) {
    TSavedAttempt saved;
    int lastActive = assignment.GetLastActive();
    if (lastActive == 0 || !sessions.OpenTestSession(lastActive))
        return saved;
    saved.SessionId = lastActive;
    saved.SessionType = sessions.GetTestType();
    saved.Block = sessions.GetAnswers();
    return saved;
}

int StartAttemptSession(TTestRun& run, TAssignment& assignment, TTestSession& sessions) {
    int id = sessions.AddTestSession(assignment.GetAssignmentId());
    assignment.SetLastActive(id);
    sessions.StartTest(run.ClosedBook ? TTestSession::ClosedBookSession : TTestSession::OpenBookSession,
                       run.Count());
    run.SessionId = id;
    return id;
}

bool SaveAttempt(const TTestRun& run, bool finished, TTestSession& sessions, TAssignment& assignments,
                 int userId, const QString& testId) {
    // Another session (the lesson's) may have become current since the start.
    if (run.SessionId != 0 && !sessions.OpenTestSession(run.SessionId))
        return false;
    std::optional<QByteArray> block = run.AnswersBlock(finished);
    if (!block || !sessions.EndTest(run.RightCount(), *block, QString()))
        return false;
    if (run.ClosedBook && assignments.GoToAssignment(userId, testId)) {
        int percent = run.Score().Percent;
        assignments.SetLastPost(percent);
        if (assignments.GetBestPost() < percent)
            assignments.SetBestPost(percent);
    }
    return true;
}
