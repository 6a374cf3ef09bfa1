// The table objects the main window owns for the whole run, and what shutdown
// saves. Screens bind a table's list events for each listing they ask for.
#include "data/TAssignment.h"
#include "data/TCourses.h"
#include "data/TGlossary.h"
#include "data/TIndex.h"
#include "data/TTestSession.h"
#include "data/TTesting.h"
#include "data/TUser.h"
#include "shell/TForm1.h"

void TForm1::CreateTableObjects() {
    Assignment = new TAssignment(EngineLibrary, DatabaseDir, EngineHandle);
    User = new TUser(EngineLibrary, DatabaseDir, EngineHandle);
    Courses = new TCourses(EngineLibrary, DatabaseDir, EngineHandle);
    TestSession = new TTestSession(EngineLibrary, DatabaseDir, EngineHandle);
    Testing = new TTesting(EngineLibrary, DatabaseDir, EngineHandle);
}

void TForm1::SaveSessionState() {
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
