// The table objects the main window owns for the whole run, and what shutdown
// saves. Screens bind a table's list events for each listing they ask for.
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include "data/TAssignment.h"
#include "data/TCourses.h"
#include "data/TGlossary.h"
#include "data/TIndex.h"
#include "data/TInstallJournal.h"
#include "data/TTestSession.h"
#include "data/TTesting.h"
#include "data/TUser.h"
#include "platform/TMessages.h"
#include "shell/TForm1.h"

// The table's fault, and what the administrator does about a table the player
// will not touch.
QString TForm1::RefusedTableMessage(const QString& fault) {
    return fault +
           QStringLiteral("\n\nThe player has changed nothing. Ask the administrator to run \"altavo-db "
                          "check\" on this file and, if it is damaged, to restore a copy of it.");
}

// Before any table is opened: the database directory must be there and
// writable (else learners would work while nothing is saved), and an
// installation that was interrupted is finished or undone first.
bool TForm1::CheckDatabaseDirectory() {
    const QFileInfo dir(DatabaseDir);
    if (!dir.exists()) {
        Messages().ShowMessage(QStringLiteral("The database directory %1 does not exist. Set DatabaseDir in "
                                              "the settings store to the installation's database directory.")
                                   .arg(DatabaseDir));
        return false;
    }
    if (!dir.isDir()) {
        Messages().ShowMessage(
            QStringLiteral("The database directory %1 is not a directory. Set DatabaseDir "
                           "in the settings store to the installation's database directory.")
                .arg(DatabaseDir));
        return false;
    }
    QTemporaryFile probe(QDir(DatabaseDir).filePath(QStringLiteral(".altavo-write-check-XXXXXX")));
    if (!probe.open()) {
        Messages().ShowMessage(QStringLiteral("The database directory %1 cannot be written (%2). Learners' "
                                              "work would not be saved: ask the administrator to let the "
                                              "player write there.")
                                   .arg(DatabaseDir, probe.errorString()));
        return false;
    }
    QString message;
    switch (RecoverInstallation(DatabaseDir, &message)) {
    case TRecovery::Busy:
    case TRecovery::Failed:
        Messages().ShowMessage(message);
        return false;
    default:
        return true;
    }
}

// A table whose file exists but cannot be read is never replaced: the player
// names it and stops.
bool TForm1::TablesOpened() {
    const std::pair<bool, QString> tables[] = {
        {Assignment->OpenRefused(), Assignment->OpenFault()},
        {User->OpenRefused(), User->OpenFault()},
        {Courses->OpenRefused(), Courses->OpenFault()},
        {TestSession->OpenRefused(), TestSession->OpenFault()},
        {Testing->OpenRefused(), Testing->OpenFault()},
    };
    for (const auto& [refused, fault] : tables) {
        if (refused) {
            Messages().ShowMessage(RefusedTableMessage(fault));
            return false;
        }
    }
    return true;
}

void TForm1::CreateTableObjects() {
    Assignment = new TAssignment(EngineLibrary, DatabaseDir, EngineHandle);
    User = new TUser(EngineLibrary, DatabaseDir, EngineHandle);
    Courses = new TCourses(EngineLibrary, DatabaseDir, EngineHandle);
    TestSession = new TTestSession(EngineLibrary, DatabaseDir, EngineHandle);
    Testing = new TTesting(EngineLibrary, DatabaseDir, EngineHandle);
}

void TForm1::SaveSessionState() {
    // A running test attempt first: ended, or kept to be continued.
    if (SaveTestAtShutdown)
        SaveTestAtShutdown();
    ListedIds.clear();
    CorrectImage.reset();
    IncorrectImage.reset();
    if (CourseOpen && Assignment->GoToAssignment(CurrentUserId, CurrentCourseId))
        Assignment->SetBookmarks(Marks);
    if (CurrentSessionId != 0) {
        User->SetStatus(CurrentUserId, 0, CurrentSessionId);
        if (TestSession->OpenTestSession(CurrentSessionId))
            TestSession->EndTest(0, QByteArray(), QString());
    }
}

void TForm1::FreeTableObjects() {
    delete Assignment;
    delete Index;
    delete User;
    delete Courses;
    delete TestSession;
    delete Glossary;
    delete Testing;
    Assignment = nullptr;
    Index = nullptr;
    User = nullptr;
    Courses = nullptr;
    TestSession = nullptr;
    Glossary = nullptr;
    Testing = nullptr;
}
