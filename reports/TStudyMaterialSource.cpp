#include "reports/TStudyMaterialSource.h"

#include "data/TAssignment.h"
#include "data/TTestSession.h"
#include "data/TTesting.h"
#include "data/TUser.h"

namespace {

std::nullopt_t Fail(QString* error, const QString& text) {
    if (error)
        *error = text;
    return std::nullopt;
}

} // namespace

TStudyEntry CurrentStudyEntry(TTesting& testing, bool correct) {
    const TTestQuestion& q = testing.CurrentQuestion();
    TStudyEntry entry;
    entry.Question = q.Question;
    entry.Type = q.Type;
    entry.Answer = testing.GetTestQuestionCorrectAnswer();
    entry.References = q.Ref;
    entry.Correct = correct;
    for (int k = 1; k <= q.NumAnswer; ++k)
        entry.Choices << testing.GetTestQuestionAnswerText(k);
    return entry;
}

std::optional<TStudyMaterialData> ReadStudyMaterial(const TAnswersBlock& block, const QString& candidate,
                                                    TTesting& testing, const QString& testId,
                                                    QString* error) {
    const QString id = testId.trimmed();
    if (testing.OpenTest(id) != 0)
        return Fail(error, QStringLiteral("test \"%1\" is not in the tests store").arg(id));
    TStudyMaterialData data;
    data.Candidate = candidate;
    data.TestTitle = testing.GetOpenTitle();
    for (const TAnswerRecord& record : block.Records) {
        if (testing.GoToTestQuestionId(record.QuestionId) != 0)
            continue;
        data.Entries.push_back(CurrentStudyEntry(testing, record.Correct));
    }
    testing.CloseTest();
    return data;
}

std::optional<TStudyMaterialData> ReadSessionStudyMaterial(int sessionId, TTestSession& sessions,
                                                           TAssignment& assignments, TUser& users,
                                                           TTesting& testing, QString* error) {
    if (!sessions.OpenTestSession(sessionId))
        return Fail(error, QStringLiteral("session %1 does not exist").arg(sessionId));
    const int kind = sessions.GetTestType();
    if (kind != TTestSession::OpenBookSession && kind != TTestSession::ClosedBookSession)
        return Fail(error, QStringLiteral("session %1 is not a test attempt").arg(sessionId));
    const std::optional<TAnswersBlock> block = TAnswersBlock::Read(sessions.GetAnswers());
    if (!block)
        return Fail(error, QStringLiteral("session %1 has no readable answers").arg(sessionId));
    const int assignmentId = sessions.GetAssignId();
    if (!assignments.GoToRecord(assignmentId))
        return Fail(error, QStringLiteral("the assignment %1 of session %2 does not exist")
                               .arg(assignmentId)
                               .arg(sessionId));
    UserInfoStruct user;
    user.ID = assignments.GetUserId();
    if (!users.GetUser(user))
        return Fail(error, QStringLiteral("the learner of session %1 does not exist").arg(sessionId));
    return ReadStudyMaterial(*block, user.FirstName + QLatin1Char(' ') + user.LastName, testing,
                             assignments.GetProdId(), error);
}
