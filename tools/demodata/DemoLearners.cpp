#include "DemoLearners.h"

#include <QList>
#include <algorithm>
#include <map>

#include "data/TAnswersBlock.h"
#include "data/TAssignment.h"
#include "data/TCourses.h"
#include "data/TEngineSession.h"
#include "data/TTestSession.h"
#include "data/TTesting.h"
#include "data/TUser.h"
#include "platform/TDynamicLibrary.h"

namespace {

// One attempt at a course's test: finished, or left to be continued.
struct TAttempt {
    QString CourseId;
    int Kind;        // TTestSession::OpenBookSession or ClosedBookSession
    int Right;       // questions answered right
    int LeftAt = -1; // for an attempt left to be continued: the 0-based question then current
};

struct TDemoLearner {
    QString UserName, Password, FirstName, LastName;
    QList<TAttempt> Attempts; // oldest first
};

const QList<TDemoLearner>& DemoLearners() {
    static const QList<TDemoLearner> learners = {
        {"demo",
         "demo",
         "Dana",
         "Miller",
         {{"SS101", TTestSession::OpenBookSession, 11},
          {"SS101", TTestSession::ClosedBookSession, 13},
          {"SS101", TTestSession::ClosedBookSession, 11},
          {"WP101", TTestSession::ClosedBookSession, 4}}},
        {"sam", "sam", "Sam", "Ortiz", {{"WP101", TTestSession::ClosedBookSession, 3}}},
        // Left the open-book test to be continued at question 4: the test
        // button offers to continue it.
        {"lee", "lee", "Lee", "Chen", {{"SS101", TTestSession::OpenBookSession, 2, 3}}},
    };
    return learners;
}

struct TInstalledCourse {
    QString TestId;
    QList<int> QuestionIds; // in the test's order
};

// Every installed course with its test's question IDs.
std::map<QString, TInstalledCourse> InstalledCourses(TCourses& courses, TTesting& testing) {
    QStringList ids;
    courses.OnListItem = [&](const QString&, const QString& id, const QString&) { ids << id; };
    courses.ListCourseTitles();
    courses.OnListItem = nullptr;
    std::map<QString, TInstalledCourse> installed;
    for (const QString& id : ids) {
        if (!courses.GoToCourseId(id))
            continue;
        TInstalledCourse course{courses.GetTestId(), {}};
        if (testing.OpenTest(course.TestId) == 0) {
            for (int n = 1; n <= testing.NumTestQ(); ++n)
                if (testing.GoToTestQuestion(n) == 0)
                    course.QuestionIds << testing.CurrentQuestion().ID;
            testing.CloseTest();
        }
        installed[id] = course;
    }
    return installed;
}

// The answers of an attempt: the first `right` questions answered right, the
// rest wrong; for one left at question `leftAt`, the questions from there on
// not yet seen.
QByteArray AttemptAnswers(const TInstalledCourse& course, int right, int leftAt) {
    TAnswersBlock block;
    block.Finished = leftAt < 0;
    block.CurrentIndex = leftAt;
    for (int i = 0; i < course.QuestionIds.size(); ++i) {
        TAnswerRecord r;
        r.QuestionId = course.QuestionIds[i];
        r.TestId = course.TestId.trimmed().leftJustified(10); // as the player writes it
        r.Seen = r.Answered = leftAt < 0 || i < leftAt;
        r.Correct = r.Answered && i < right;
        r.Answer = r.Correct ? 0 : 1;
        block.Records.push_back(r);
    }
    return block.Write().value_or(QByteArray());
}

} // namespace

bool SeedDemoLearners(TDynamicLibrary& library, const QString& databaseDir, QStringList& notes,
                      QString& error) {
    TEngineSession engine(library);
    if (!engine.Engine()) {
        error = QStringLiteral("the engine cannot be started");
        return false;
    }
    QString dir = databaseDir;
    if (!dir.endsWith('/'))
        dir += '/';
    TUser users(library, dir, engine.Engine());
    TAssignment assignments(library, dir, engine.Engine());
    TCourses courses(library, dir, engine.Engine());
    TTestSession sessions(library, dir, engine.Engine());
    TTesting testing(library, dir, engine.Engine());
    const std::map<QString, TInstalledCourse> installed = InstalledCourses(courses, testing);

    for (const TDemoLearner& learner : DemoLearners()) {
        if (users.UserExists(learner.UserName)) {
            notes << QStringLiteral("Learner %1 exists; left as they are").arg(learner.UserName);
            continue;
        }
        UserInfoStruct info;
        info.UserName = learner.UserName;
        info.Password = learner.Password;
        info.EmpId = 1;
        const int id = users.AddUser(info);
        if (id <= 0) {
            error = QStringLiteral("learner %1 cannot be added: %2").arg(learner.UserName, users.LastError());
            return false;
        }
        info.ID = id;
        info.FirstName = learner.FirstName;
        info.LastName = learner.LastName;
        users.UpdateUser(info);

        // Every course is assigned, as the course selection screen would.
        for (const auto& [courseId, course] : installed) {
            if (assignments.GoToAssignment(id, courseId))
                continue;
            assignments.AddAssignment(id, 258, 0, courseId);
            assignments.AddAssignment(id, 257, 0, course.TestId);
        }
        for (const TAttempt& attempt : learner.Attempts) {
            auto course = installed.find(attempt.CourseId);
            if (course == installed.end() || course->second.QuestionIds.isEmpty() ||
                !assignments.GoToAssignment(id, course->second.TestId))
                continue; // a course the installation does not have
            const int assignId = assignments.GetAssignmentId();
            const int questions = course->second.QuestionIds.size();
            const int leftAt = std::min(attempt.LeftAt, questions - 1);
            const int right = std::min(attempt.Right, leftAt < 0 ? questions : leftAt);
            const int sessionId = sessions.AddTestSession(assignId);
            sessions.StartTest(attempt.Kind, questions);
            sessions.EndTest(right, AttemptAnswers(course->second, right, leftAt), QString());
            assignments.GoToRecord(assignId);
            assignments.SetLastActive(sessionId);
            // Only a finished closed-book attempt is a post-test with a score.
            if (attempt.Kind == TTestSession::ClosedBookSession && leftAt < 0) {
                const int score = Percentage(questions, right);
                assignments.SetLastPost(score);
                if (score > assignments.GetBestPost())
                    assignments.SetBestPost(score);
            }
        }
        notes << QStringLiteral("Learner %1 (password %2) added with %3 test attempts")
                     .arg(learner.UserName, learner.Password)
                     .arg(learner.Attempts.size());
    }
    return true;
}
