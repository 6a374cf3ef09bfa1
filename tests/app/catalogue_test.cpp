// The course list and course start, driven through the real main window.
#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "TInstallation.h"
#include "app/TCatalogueScreen.h"
#include "data/TAssignment.h"
#include "data/TCourses.h"
#include "data/TIndex.h"
#include "data/TTesting.h"
#include "data/TUser.h"
#include "lesson/TBufferingForm.h"
#include "widgets/TSkinButton.h"

namespace {
const QString kNotInTray =
    "Spreadsheets is currently not in the CD-ROM tray. Please insert it and then click on OK.";

void WriteFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}
} // namespace

class Catalogue : public ::testing::Test {
protected:
    void SetUp() override {
        TForm1& f = install.Start();
        UserInfoStruct ann;
        ann.UserName = "Ann";
        ann.Password = "pw";
        ASSERT_EQ(f.User->AddUser(ann), 1);
        ASSERT_EQ(f.Courses->AddCourse("SS101", "Spreadsheets", "SS101T", "", "SS101/", "intro", 1, 0, 0),
                  "SS101");
        // Written on Windows: another letter case than the directory on disk.
        ASSERT_EQ(f.Courses->AddCourse("WP101", "Word processing", "WP101T", "", "wp101\\", "intro", 1, 0, 0),
                  "WP101");
        ASSERT_TRUE(f.Testing->AddTest("SS101T", "", "", "SS101Q", "Spreadsheets Test"));
        QDir(install.Path("db")).mkpath("SS101");
        QDir(install.Path("db")).mkpath("WP101");
        // The movie page needs a page: a course without any is refused.
        for (const char* dir : {"SS101/", "WP101/"})
            TIndex(f.EngineLibrary, install.Path("db/") + dir, f.EngineHandle).AddPageByIndex("Welcome");
        install.Stop();
    }

    TForm1& SignIn() { return install.StartSignedIn("Ann", "pw"); }

    int AssignmentCount(TForm1& f, int type) {
        int n = 0;
        f.Assignment->OnListItem = [&](const QString&, const QString&) { ++n; };
        f.Assignment->ListAssignmentsByTypes(1, type);
        return n;
    }

    TInstallation install;
};

TEST_F(Catalogue, EveryCourseAssignedOnceAcrossRuns) {
    {
        TForm1& f = SignIn();
        ASSERT_EQ(f.CurrentScreen, ScreenCourseSelection);
        ASSERT_EQ(f.Module<TCatalogueScreen>()->CourseListbox->count(), 2);
        EXPECT_EQ(f.Module<TCatalogueScreen>()->CourseListbox->item(0)->text(), "Spreadsheets");
        EXPECT_EQ(f.ListedIds, (QStringList{"SS101", "WP101"}));
        EXPECT_EQ(f.Module<TCatalogueScreen>()->CourseListbox->currentRow(), 0);
        install.Stop();
    }
    TForm1& f = SignIn();
    EXPECT_EQ(f.Module<TCatalogueScreen>()->CourseListbox->count(), 2);
    EXPECT_EQ(AssignmentCount(f, 258), 2);
    EXPECT_EQ(AssignmentCount(f, 257), 2);
    EXPECT_TRUE(f.Assignment->GoToAssignment(1, "SS101T"));
}

TEST_F(Catalogue, MissingCourseKeyStaysOnSelection) {
    TForm1& f = SignIn();
    QTest::mouseClick(f.Module<TCatalogueScreen>()->btnSelectCourse, Qt::LeftButton);
    EXPECT_EQ(install.Messages.Shown, QStringList{"Registry entry not found for the Course directory SS101"});
    EXPECT_EQ(f.CurrentScreen, ScreenCourseSelection);
}

TEST_F(Catalogue, CourseIniNamingAnotherCourseKeepsPromptingUntilCancel) {
    const QString media = install.Path("media") + "/";
    WriteFile(media + "Course.ini", "[Main]\nCourseId=WP101\n");
    WriteFile(media + "intro.avi", "x");
    install.SetStreamDir("SS101", media);
    TForm1& f = SignIn();
    install.Messages.Answers = {true, true, false}; // OK, OK, Cancel
    QTest::mouseClick(f.Module<TCatalogueScreen>()->btnSelectCourse, Qt::LeftButton);
    EXPECT_EQ(install.Messages.Asked, (QStringList{kNotInTray, kNotInTray, kNotInTray}));
    EXPECT_EQ(f.CurrentScreen, ScreenCourseSelection);
    EXPECT_EQ(f.StreamDir, media);
}

TEST_F(Catalogue, CourseIdInCourseIniIsCaseSensitive) {
    const QString media = install.Path("media") + "/";
    WriteFile(media + "Course.ini", "[main]\ncourseid=ss101\n");
    install.SetStreamDir("SS101", media);
    TForm1& f = SignIn();
    QTest::mouseClick(f.Module<TCatalogueScreen>()->btnSelectCourse, Qt::LeftButton);
    EXPECT_EQ(install.Messages.Asked, QStringList{kNotInTray});
    EXPECT_EQ(f.CurrentScreen, ScreenCourseSelection);
}

TEST_F(Catalogue, MatchingCourseIniOrGenesisClipOpensTheCourse) {
    const QString withIni = install.Path("media") + "/";
    WriteFile(withIni + "Course.ini", "[Main]\nCourseId=SS101\n");
    install.SetStreamDir("SS101", withIni);
    QDir(install.Path("")).mkpath("cd");
    const QString withClip = install.Path("cd") + "/";
    WriteFile(withClip + "intro.avi", "x");
    install.SetStreamDir("WP101", withClip);

    TForm1& f = SignIn();
    QTest::mouseClick(f.Module<TCatalogueScreen>()->btnSelectCourse, Qt::LeftButton);
    EXPECT_EQ(f.CurrentScreen, ScreenGenesis);
    EXPECT_EQ(f.CurrentCourseId, "SS101");
    EXPECT_EQ(f.CourseTestId, "SS101T");
    EXPECT_NE(f.Index, nullptr);
    EXPECT_TRUE(QFile::exists(install.Path("db/SS101/index.dbf")))
        << "the course's index lives in its directory";
    EXPECT_EQ(f.windowTitle(), "Spreadsheets Test");

    // Leaving the genesis screen takes the buffering window with it.
    f.BufferingForm->show();
    f.ShowScreen(ScreenCourseSelection);
    EXPECT_FALSE(f.BufferingForm->isVisible());
    f.Module<TCatalogueScreen>()->CourseListbox->setCurrentRow(1);
    QTest::keyClick(f.Module<TCatalogueScreen>()->CourseListbox, Qt::Key_Return);
    EXPECT_EQ(f.CurrentScreen, ScreenGenesis);
    EXPECT_EQ(f.CurrentCourseId, "WP101");
    EXPECT_TRUE(QFile::exists(install.Path("db/WP101/index.dbf")))
        << "a course directory named in another letter case is found";
    EXPECT_EQ(f.windowTitle(), "Altavo") << "a course without its test keeps no earlier test's title";
    EXPECT_TRUE(install.Messages.Asked.isEmpty());
    EXPECT_TRUE(install.Messages.Shown.isEmpty());
}
