// Content the player did not write: course and test paths that would lead
// out of the database directory are refused, and texts read from course and
// test tables are cut to their limits. Recovery of an interrupted
// installation leaves a running one alone.
#include <QDir>
#include <QFile>
#include <sys/wait.h>
#include <unistd.h>

#include "DataTestSupport.h"
#include "data/TCourses.h"
#include "data/TGlossary.h"
#include "data/TInstallJournal.h"
#include "data/TSafePath.h"
#include "data/TTesting.h"

namespace {

class ForeignContentTest : public DataTest {};

TEST_F(ForeignContentTest, PathsFromTablesStayBelowTheDatabaseDirectory) {
    struct Case {
        const char* path;
        const char* directory; // "" when refused
    } cases[] = {
        {"", "/db/"},       {"SS101\\", "/db/SS101/"}, {"a/./b/", "/db/a/b/"},
        {"../../etc/", ""}, {"..\\..\\etc\\", ""},     {"a/../../b", ""},
        {"/etc/", ""},      {"\\etc\\", ""},           {"C:\\Windows\\", ""},
    };
    for (const Case& c : cases) {
        QString fault;
        EXPECT_EQ(CourseTablesDirectory("/db/", "C1", c.path, &fault), c.directory) << c.path;
        EXPECT_EQ(fault.isEmpty(), *c.directory != 0) << c.path;
        if (!fault.isEmpty())
            EXPECT_TRUE(fault.contains("C1") && fault.contains(c.path)) << fault.toStdString();
    }
}

TEST_F(ForeignContentTest, ATestWhosePathLeadsOutIsNotOpened) {
    {
        TTesting testing(Library(), Dir(), Engine);
        ASSERT_TRUE(testing.AddParent("P", "Parent", "", "", 0));
        QDir().mkpath(Dir() + "sub");
        ASSERT_TRUE(testing.AddTest("T1", "P", "sub/", "T1Q", "Test one"));
    }
    // A question table outside the database directory, named by the catalogue.
    QDir().mkpath(Dir() + "outside");
    QFile::copy(Dir() + "sub/T1Q.dbf", Dir() + "outside/T1Q.dbf");
    QFile::copy(Dir() + "sub/T1QX.dbf", Dir() + "outside/T1QX.dbf");
    QFile::copy(Dir() + "sub/T1Q.fpt", Dir() + "outside/T1Q.fpt");
    QFile::copy(Dir() + "sub/T1QX.fpt", Dir() + "outside/T1QX.fpt");
    auto setField = Entry<int (*)(FIELD4*, const char*)>("f4memoAssign");
    auto open = Entry<DATA4* (*)(CODE4*, const char*)>("d4open");
    auto field = Entry<FIELD4* (*)(DATA4*, const char*)>("d4field");
    auto top = Entry<int (*)(DATA4*)>("d4top");
    auto close = Entry<int (*)(DATA4*)>("d4close");
    for (const char* path : {"../outside/", "/tmp/", "sub/../../outside/"}) {
        DATA4* gtest = open(Engine, QFile::encodeName(Dir() + "gtest").constData());
        ASSERT_NE(gtest, nullptr);
        top(gtest);
        setField(field(gtest, "PATH"), path);
        close(gtest);
        TTesting store(Library(), Dir(), Engine);
        EXPECT_EQ(store.OpenTest("T1"), -1) << path;
    }
}

TEST_F(ForeignContentTest, TextsFromCourseTablesAreCutToTheirLimits) {
    const QString huge(100000, 'x');
    {
        TCourses courses(Library(), Dir(), Engine);
        courses.AddCourse("C1", huge, "", "", "C1/", "", 0, 0, 0);
        ASSERT_TRUE(courses.GoToCourseId("C1"));
        ASSERT_TRUE(courses.SetCourseDetails(huge, 1, "", "", ""));
        QDir().mkpath(Dir() + "C1");
        TGlossary glossary(Library(), Dir() + "C1/", Engine);
        ASSERT_TRUE(glossary.AddTerm("Cell", huge));
    }
    TCourses courses(Library(), Dir(), Engine);
    ASSERT_TRUE(courses.GoToCourseId("C1"));
    EXPECT_EQ(courses.GetTitle().size(), TextLimits::Title);
    EXPECT_EQ(courses.GetDescription().size(), TextLimits::Text);
    QStringList titles;
    courses.OnListItem = [&](const QString& title, const QString&, const QString&) { titles << title; };
    courses.ListCourseTitles();
    ASSERT_EQ(titles.size(), 1);
    EXPECT_EQ(titles[0].size(), TextLimits::Title);
    TGlossary glossary(Library(), Dir() + "C1/", Engine);
    EXPECT_EQ(glossary.GetTerm("Cell").size(), TextLimits::Text);
}

TEST_F(ForeignContentTest, RecoveryLeavesARunningInstallationAlone) {
    TInstallJournal journal;
    journal.Files.push_back({Dir() + "Courses.dbf", Dir() + "staged.dbf", ""});
    ASSERT_TRUE(journal.Write(Dir(), nullptr));
    QFile staged(Dir() + "staged.dbf");
    ASSERT_TRUE(staged.open(QIODevice::WriteOnly));
    staged.close();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    if (child == 0) {
        // An installation in another process holds the lock for a while.
        TInstallLock lock(Dir(), false);
        char c = lock.Held() ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        usleep(500000);
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    QString message;
    EXPECT_EQ(RecoverInstallation(Dir(), &message), TRecovery::Busy);
    EXPECT_TRUE(message.contains("Another installation")) << message.toStdString();
    EXPECT_TRUE(QFile::exists(Dir() + TInstallJournal::FileName)) << "the journal is left to its owner";
    int status = 0;
    waitpid(child, &status, 0);
    // Once it is gone, the next start finishes the installation.
    EXPECT_EQ(RecoverInstallation(Dir(), &message), TRecovery::RolledForward) << message.toStdString();
    EXPECT_TRUE(QFile::exists(Dir() + "Courses.dbf"));
    EXPECT_FALSE(QFile::exists(Dir() + TInstallJournal::FileName));
    close(ready[0]);
    close(ready[1]);
}

} // namespace
