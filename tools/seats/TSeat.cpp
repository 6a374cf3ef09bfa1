#include "TSeat.h"

#include <QRandomGenerator>

#include "data/TAnswersBlock.h"
#include "data/TAssignment.h"
#include "data/TCourses.h"
#include "data/TEngineSession.h"
#include "data/TTestSession.h"
#include "data/TUser.h"
#include "platform/TDynamicLibrary.h"

namespace {

struct TCourseIds {
    QString CourseId;
    QString TestId;
};

struct TTables {
    TTables(TDynamicLibrary& library, const QString& dir, CODE4* engine)
        : Users(library, dir, engine), Assignments(library, dir, engine), Sessions(library, dir, engine),
          Courses(library, dir, engine) {}
    TUser Users;
    TAssignment Assignments;
    TTestSession Sessions;
    TCourses Courses;
};

// One learner's session at a seat, as the player does it: sign-in, course
// selection, a lesson with its marks, a test attempt and its scores.
class TLearnerSession {
public:
    TLearnerSession(TTables& t, TSeatLog& log, QRandomGenerator& random, const QVector<TCourseIds>& courses)
        : t(t), log(log), random(random), courses(courses) {}

    bool Register(int seat, int number, TSeatUser& user) {
        UserInfoStruct info;
        info.UserName = QString("s%1u%2").arg(seat).arg(number);
        info.Password = QString("pw%1-%2").arg(seat).arg(random.bounded(1000000));
        info.FirstName = "Seat";
        info.LastName = QString::number(seat);
        info.Company = "Training room";
        const int id = t.Users.AddUser(info);
        if (id < 0)
            return Fail("registering " + info.UserName + " was refused");
        user = {id, info.UserName, info.Password};
        log.Users.append(user);
        return true;
    }

    bool Run(const TSeatUser& user) {
        if (t.Users.Authenticate(user.Name, user.Password) != user.Id)
            return Fail(user.Name + " cannot sign in as learner " + QString::number(user.Id));
        t.Users.SetStatus(user.Id, 1, 0);
        for (const TCourseIds& c : courses)
            if (!Assign(user.Id, TAssignment::CourseProduct, c.CourseId) ||
                !Assign(user.Id, TAssignment::TestProduct, c.TestId))
                return false;
        const TCourseIds& c = courses[int(random.bounded(courses.size()))];
        if (!Lesson(user.Id, c.CourseId) || !TestAttempt(user.Id, c.TestId))
            return false;
        t.Users.SetStatus(user.Id, 0, 0);
        return true;
    }

    QString Error;

private:
    bool Fail(const QString& text) {
        Error = text;
        return false;
    }

    TSeatAssignmentState& State(int userId, const QString& prodId) { return log.States[{userId, prodId}]; }

    bool Assign(int userId, int type, const QString& prodId) {
        if (t.Assignments.GoToAssignment(userId, prodId))
            return true;
        if (!t.Assignments.AddAssignment(userId, type, 0, prodId) ||
            !t.Assignments.GoToAssignment(userId, prodId))
            return Fail(QString("assigning %1 to learner %2 was refused").arg(prodId).arg(userId));
        log.Assignments.append({t.Assignments.GetAssignmentId(), userId, type, prodId});
        State(userId, prodId);
        return true;
    }

    // Adds a session to the assignment and makes it the assignment's last active one.
    int StartSession(int userId, const QString& prodId, int kind, int questions) {
        if (!t.Assignments.GoToAssignment(userId, prodId))
            return -1;
        const int assignId = t.Assignments.GetAssignmentId();
        const int id = t.Sessions.AddTestSession(assignId);
        if (id < 0 || !t.Assignments.GoToAssignment(userId, prodId))
            return -1;
        t.Assignments.SetLastActive(id);
        State(userId, prodId).LastActive = id;
        t.Sessions.StartTest(kind, questions);
        log.Sessions.append({id, assignId, kind, questions, 0, {}});
        return id;
    }

    bool EndSession(int id, int right, const QByteArray& answers) {
        if (!t.Sessions.OpenTestSession(id) || !t.Sessions.EndTest(right, answers, QString()))
            return Fail(QString("session %1 cannot be ended").arg(id));
        log.Sessions.last().Right = right;
        log.Sessions.last().Answers = answers;
        return true;
    }

    bool Lesson(int userId, const QString& courseId) {
        const int id = StartSession(userId, courseId, TTestSession::LessonSession, 0);
        if (id < 0)
            return Fail("a lesson session of learner " + QString::number(userId) + " was refused");
        QByteArray marks(10 + int(random.bounded(40)), '\0');
        for (char& m : marks)
            m = char(random.bounded(2));
        if (!t.Assignments.GoToAssignment(userId, courseId) || !t.Assignments.SetBookmarks(marks))
            return Fail("the marks of learner " + QString::number(userId) + " were refused");
        State(userId, courseId).Bookmarks = marks;
        return EndSession(id, 0, {});
    }

    bool TestAttempt(int userId, const QString& testId) {
        const bool closedBook = random.bounded(2) == 1;
        const int questions = 3 + int(random.bounded(8));
        const int kind = closedBook ? TTestSession::ClosedBookSession : TTestSession::OpenBookSession;
        const int id = StartSession(userId, testId, kind, questions);
        if (id < 0)
            return Fail("a test attempt of learner " + QString::number(userId) + " was refused");
        TAnswersBlock block;
        block.Finished = true;
        int right = 0;
        for (int q = 0; q < questions; ++q) {
            TAnswerRecord r;
            r.QuestionId = q + 1;
            r.TestId = testId;
            r.Correct = random.bounded(3) != 0;
            r.Seen = r.Answered = true;
            r.Marked = random.bounded(4) == 0;
            r.Answer = int32_t(random.bounded(5));
            right += r.Correct ? 1 : 0;
            block.Records.push_back(r);
        }
        const auto answers = block.Write();
        if (!answers || !EndSession(id, right, *answers))
            return Error.isEmpty() ? Fail("an answers block could not be made") : false;
        if (closedBook) {
            if (!t.Assignments.GoToAssignment(userId, testId))
                return Fail("the test assignment of learner " + QString::number(userId) + " is gone");
            const int score = right * 100 / questions;
            const int best = std::max(score, t.Assignments.GetBestPost());
            t.Assignments.SetLastPost(score);
            t.Assignments.SetBestPost(best);
            State(userId, testId).LastPost = score;
            State(userId, testId).BestPost = best;
        }
        return true;
    }

    TTables& t;
    TSeatLog& log;
    QRandomGenerator& random;
    const QVector<TCourseIds>& courses;
};

} // namespace

bool RunSeat(const TSeatRequest& request, TSeatLog& log, QString& error) {
    TDynamicLibrary library;
    if (!library.Load(EngineLibraryFileName(), EngineLibraryDirs())) {
        error = "the engine library cannot be loaded: " + library.ErrorString();
        return false;
    }
    TEngineSession session(library);
    if (!session.Engine()) {
        error = "the engine cannot be started";
        return false;
    }
    TTables tables(library, request.DatabaseDir, session.Engine());
    if (tables.Users.OpenRefused() || tables.Assignments.OpenRefused() || tables.Sessions.OpenRefused() ||
        tables.Courses.OpenRefused()) {
        error = "a table cannot be opened";
        return false;
    }
    QVector<TCourseIds> courses;
    for (int i = 0; i < tables.Courses.GetNumCourses(); ++i) {
        tables.Courses.GoToCourseByIndex(i);
        courses.append({tables.Courses.GetId(), tables.Courses.GetTestId()});
    }
    if (courses.isEmpty()) {
        error = "the courses table is empty";
        return false;
    }
    QRandomGenerator random(quint32(request.Seat) * 7919u + 17u);
    TLearnerSession learner(tables, log, random, courses);
    for (int i = 0; i < request.Sessions; ++i) {
        // Two of three sessions are a new learner's; the third brings back
        // one of the seat's earlier learners.
        TSeatUser user;
        if (log.Users.isEmpty() || i % 3 != 2) {
            if (!learner.Register(request.Seat, i, user)) {
                error = learner.Error;
                return false;
            }
        } else {
            user = log.Users[int(random.bounded(log.Users.size()))];
        }
        if (!learner.Run(user)) {
            error = learner.Error;
            return false;
        }
    }
    return true;
}
