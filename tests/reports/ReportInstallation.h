#pragma once
// An installation made for report tests: a registry store naming a database
// directory ($ALTAVO_REGISTRY is set while it lives) and the table objects on
// it, to fill learners, tests, assignments and sessions.
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "data/TAnswersBlock.h"
#include "data/TAssignment.h"
#include "data/TEngineSession.h"
#include "data/TTestSession.h"
#include "data/TTesting.h"
#include "data/TUser.h"
#include "platform/TDynamicLibrary.h"

TDynamicLibrary& ReportEngineLibrary();

struct TQuestionSpec {
    int Type = TTesting::SingleChoice;
    QString Question;
    QString Answer;
    QStringList Choices; // choices or steps, 1 first
    QString Ref;
};

class TReportInstallation {
public:
    TReportInstallation();
    ~TReportInstallation();

    QString Path(const QString& relative) const { return m_dir.filePath(relative); }
    QString DatabaseDir() const { return Path("db/"); }

    int AddLearner(const QString& userName, const QString& first, const QString& last,
                   const QString& password = "secret");
    // A test with its questions in positions 1, 2, ...; returns their IDs.
    std::vector<int> AddTest(const QString& id, const QString& title,
                             const std::vector<TQuestionSpec>& questions);
    // A test assignment with its post-test scores (-1: none); its ID.
    int AssignTest(int userId, const QString& testId, int lastPost = -1, int bestPost = -1);
    // A finished test session of `kind` holding `block`; its ID.
    int AddSession(int assignmentId, int kind, const TAnswersBlock& block);

    // The table objects (opened on first use).
    TUser& Users();
    TAssignment& Assignments();
    TTestSession& Sessions();
    TTesting& Testing();
    // Frees the table objects and the engine session, so another program
    // sees complete tables.
    void Close();

private:
    void Open();

    QTemporaryDir m_dir;
    std::unique_ptr<TEngineSession> m_engine;
    std::unique_ptr<TUser> m_users;
    std::unique_ptr<TAssignment> m_assignments;
    std::unique_ptr<TTestSession> m_sessions;
    std::unique_ptr<TTesting> m_testing;
    bool m_parentMade = false;
};

// An answers block of the given questions, each right or wrong.
TAnswersBlock Attempt(const QString& testId, const std::vector<std::pair<int, bool>>& questionsRight);
