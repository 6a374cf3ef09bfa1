#include "ReportInstallation.h"

#include <QDir>
#include <gtest/gtest.h>

#include "platform/TConfiguration.h"
#include "platform/TRegistry.h"

TDynamicLibrary& ReportEngineLibrary() {
    static TDynamicLibrary library;
    if (!library.IsLoaded())
        library.Load(EngineLibraryFileName(), {qEnvironmentVariable("ALTAVO_BIN")});
    return library;
}

TReportInstallation::TReportInstallation() {
    QDir(m_dir.path()).mkpath("db");
    qputenv("ALTAVO_REGISTRY", Path("registry.ini").toUtf8());
    qputenv("ALTAVO_ENGINE_DIR", qgetenv("ALTAVO_BIN"));
    TRegistry registry(Path("registry.ini"));
    registry.OpenKey(ConfigurationKey, true);
    registry.WriteString("DatabaseDir", DatabaseDir());
    Open();
}

TReportInstallation::~TReportInstallation() {
    Close();
    qunsetenv("ALTAVO_REGISTRY");
    qunsetenv("ALTAVO_ENGINE_DIR");
}

void TReportInstallation::Open() {
    if (m_engine)
        return;
    TDynamicLibrary& library = ReportEngineLibrary();
    EXPECT_TRUE(library.IsLoaded()) << library.ErrorString().toStdString();
    m_engine = std::make_unique<TEngineSession>(library);
    m_users = std::make_unique<TUser>(library, DatabaseDir(), m_engine->Engine());
    m_assignments = std::make_unique<TAssignment>(library, DatabaseDir(), m_engine->Engine());
    m_sessions = std::make_unique<TTestSession>(library, DatabaseDir(), m_engine->Engine());
    m_testing = std::make_unique<TTesting>(library, DatabaseDir(), m_engine->Engine());
}

void TReportInstallation::Close() {
    m_users.reset();
    m_assignments.reset();
    m_sessions.reset();
    m_testing.reset();
    m_engine.reset();
}

TUser& TReportInstallation::Users() {
    Open();
    return *m_users;
}
TAssignment& TReportInstallation::Assignments() {
    Open();
    return *m_assignments;
}
TTestSession& TReportInstallation::Sessions() {
    Open();
    return *m_sessions;
}
TTesting& TReportInstallation::Testing() {
    Open();
    return *m_testing;
}

int TReportInstallation::AddLearner(const QString& userName, const QString& first, const QString& last,
                                    const QString& password) {
    UserInfoStruct info;
    info.UserName = userName;
    info.FirstName = first;
    info.LastName = last;
    info.Password = password;
    info.EmpId = 1;
    const int id = Users().AddUser(info);
    EXPECT_GT(id, 0) << userName.toStdString() << ": " << Users().LastError().toStdString();
    return id;
}

std::vector<int> TReportInstallation::AddTest(const QString& id, const QString& title,
                                              const std::vector<TQuestionSpec>& questions) {
    TTesting& testing = Testing();
    if (!m_parentMade)
        EXPECT_TRUE(testing.AddParent("P", "Parent", "", "1:00", 0));
    m_parentMade = true;
    QDir(DatabaseDir()).mkpath(id);
    EXPECT_TRUE(testing.AddTest(id, "P", id + "/", id + "Q", title)) << testing.LastError().toStdString();
    EXPECT_EQ(testing.OpenTest(id), 0);
    std::vector<int> ids;
    for (std::size_t i = 0; i < questions.size(); ++i) {
        const TQuestionSpec& q = questions[i];
        const int qid = testing.AddTestQuestion(int(i) + 1, q.Type, "Title", q.Question,
                                                int(q.Choices.size()), q.Answer, "", q.Ref, "");
        EXPECT_GT(qid, 0) << testing.LastError().toStdString();
        for (qsizetype k = 0; k < q.Choices.size(); ++k)
            EXPECT_EQ(testing.SetTestQuestionXtra(qid, int(k) + 1, q.Choices[k]), 0);
        ids.push_back(qid);
    }
    testing.CloseTest();
    return ids;
}

int TReportInstallation::AssignTest(int userId, const QString& testId, int lastPost, int bestPost) {
    TAssignment& a = Assignments();
    EXPECT_TRUE(a.AddAssignment(userId, TAssignment::TestProduct, 0, testId));
    EXPECT_TRUE(a.GoToAssignment(userId, testId));
    a.SetLastPost(lastPost);
    a.SetBestPost(bestPost);
    return a.GetAssignmentId();
}

int TReportInstallation::AddSession(int assignmentId, int kind, const TAnswersBlock& block) {
    TTestSession& s = Sessions();
    const int id = s.AddTestSession(assignmentId);
    EXPECT_TRUE(s.OpenTestSession(id));
    s.StartTest(kind, int(block.Records.size()));
    EXPECT_TRUE(s.EndTest(0, block.Write().value_or(QByteArray()), QString()));
    return id;
}

TAnswersBlock Attempt(const QString& testId, const std::vector<std::pair<int, bool>>& questionsRight) {
    TAnswersBlock block;
    block.Finished = true;
    for (const auto& [id, right] : questionsRight) {
        TAnswerRecord record;
        record.QuestionId = id;
        record.TestId = testId;
        record.Correct = right;
        record.Seen = record.Answered = true;
        block.Records.push_back(record);
    }
    return block;
}
