// The table objects the main window owns for the whole run, the assignment
// list events bound to the window, and what shutdown saves.
#include "app/TCatalogueScreen.h"
#include "app/TForm1.h"
#include "app/TSignInScreens.h"
#include "data/TAssignment.h"
#include "data/TCourses.h"
#include "data/TGlossary.h"
#include "data/TIndex.h"
#include "data/TTestSession.h"
#include "data/TTesting.h"
#include "data/TUser.h"

void TForm1::CreateTableObjects() {
    Assignment = new TAssignment(EngineLibrary, DatabaseDir, EngineHandle);
    // The list events serve the screen that asked: the administrator list
    // collects test assignments, the catalogue fills the course list.
    Assignment->OnListItem = [this](const QString& id, const QString& prodId) {
        if (CurrentScreen == ScreenAdmin && SignInScreens)
            SignInScreens->AdminListItem(id);
        else if (CurrentScreen == ScreenCourseSelection && CatalogueScreen)
            CatalogueScreen->CourseListItem(prodId);
    };
    Assignment->OnListStart = [this] {
        if (CurrentScreen == ScreenAdmin && SignInScreens)
            SignInScreens->AdminListStart();
        else if (CurrentScreen == ScreenCourseSelection && CatalogueScreen)
            CatalogueScreen->CourseListStart();
    };
    Assignment->OnListEnd = [this] {
        if (CurrentScreen == ScreenCourseSelection && CatalogueScreen)
            CatalogueScreen->CourseListEnd();
    };
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
