// A table file that exists but cannot be read is never replaced by the table
// objects: opening the database twice leaves every file as it was, and the
// object tells the engine's message naming the file. A table an interrupted
// installation is replacing is not made anew either.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <sys/stat.h>
#include <unistd.h>

#include "DataTestSupport.h"
#include "data/TAssignment.h"
#include "data/TCourses.h"
#include "data/TInstallJournal.h"
#include "data/TTestSession.h"
#include "data/TTesting.h"
#include "data/TUser.h"

namespace {

class DamagedTableTest : public DataTest {
protected:
    // Every shared table, as the player opens them at start-up; the users
    // table's complaint.
    QString OpenAll() {
        TUser users(Library(), Dir(), Engine);
        EXPECT_EQ(users.OpenRefused(), !users.OpenFault().isEmpty());
        TAssignment assign(Library(), Dir(), Engine);
        TTestSession sessions(Library(), Dir(), Engine);
        TCourses courses(Library(), Dir(), Engine);
        TTesting testing(Library(), Dir(), Engine);
        return users.OpenFault();
    }
    // Names, kinds and bytes of everything in the database directory.
    QMap<QString, QByteArray> Snapshot() {
        QMap<QString, QByteArray> files;
        QDirIterator it(Dir(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            struct stat st;
            lstat(QFile::encodeName(path).constData(), &st);
            QFile f(path);
            files[path] = S_ISREG(st.st_mode) && f.open(QIODevice::ReadOnly) ? f.readAll()
                                                                             : QByteArray::number(st.st_mode);
        }
        return files;
    }
    QByteArray Path(const QString& name) { return QFile::encodeName(Dir() + name); }
};

TEST_F(DamagedTableTest, ADamagedUsersTableIsReportedAndLeftAsItIs) {
    {
        TUser users(Library(), Dir(), Engine);
        UserInfoStruct ann;
        ann.UserName = "Ann";
        ASSERT_EQ(users.AddUser(ann), 1);
    }
    ASSERT_EQ(OpenAll(), "");
    QFile::copy(Dir() + "Users.dbf", Dir() + "sound.dbf");
    struct Case {
        const char* what;
        std::function<void()> damage;
    };
    const std::vector<Case> cases = {
        {"cut to 40 bytes", [&] { truncate(Path("Users.dbf"), 40); }},
        {"cut into the header", [&] { truncate(Path("Users.dbf"), 400); }},
        {"a directory", [&] { unlink(Path("Users.dbf")), mkdir(Path("Users.dbf"), 0755); }},
        {"a FIFO", [&] { unlink(Path("Users.dbf")), mkfifo(Path("Users.dbf"), 0644); }},
        {"unreadable", [&] { chmod(Path("Users.dbf"), 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (std::string(c.what) == "unreadable" && geteuid() == 0)
            continue; // permissions do not stop root
        rmdir(Path("Users.dbf"));
        unlink(Path("Users.dbf"));
        ASSERT_TRUE(QFile::copy(Dir() + "sound.dbf", Dir() + "Users.dbf"));
        c.damage();
        const auto before = Snapshot();
        for (int start = 0; start < 2; ++start) {
            const QString fault = OpenAll();
            EXPECT_TRUE(fault.contains("Users.dbf")) << fault.toStdString();
        }
        EXPECT_EQ(Snapshot(), before) << "nothing was renamed, replaced or added";
        chmod(Path("Users.dbf"), 0644);
    }
}

TEST_F(DamagedTableTest, AMissingMemoFileIsNamedBeforeBad) {
    { TUser users(Library(), Dir(), Engine); }
    QFile::remove(Dir() + "Users.fpt");
    TUser users(Library(), Dir(), Engine);
    ASSERT_EQ(Shown.Shown.size(), 2) << Shown.Shown.join("|").toStdString();
    EXPECT_TRUE(Shown.Shown[0].contains("Users.fpt: memo file is missing")) << Shown.Shown[0].toStdString();
    EXPECT_EQ(Shown.Shown[1], "bad");
    EXPECT_EQ(users.OpenFault(), Shown.Shown[0]);
    EXPECT_FALSE(users.OpenRefused()) << "the table is there, only its memos are not";
    EXPECT_FALSE(QFile::exists(Dir() + "Users.fpt")) << "no memo file is made in its place";
}

TEST_F(DamagedTableTest, ATableAnInstallationIsReplacingIsNotMadeAnew) {
    TInstallJournal journal;
    journal.Files.push_back({Dir() + "Courses.dbf", Dir() + ".altavo-course-stage-x/Courses.dbf", ""});
    ASSERT_TRUE(journal.Write(Dir(), nullptr));
    TCourses courses(Library(), Dir(), Engine);
    EXPECT_TRUE(courses.OpenFault().contains("installation")) << courses.OpenFault().toStdString();
    EXPECT_TRUE(courses.OpenRefused());
    EXPECT_FALSE(QFile::exists(Dir() + "Courses.dbf"));
    TUser users(Library(), Dir(), Engine); // not named: made as usual
    EXPECT_EQ(users.OpenFault(), "");
    EXPECT_TRUE(QFile::exists(Dir() + "Users.dbf"));
}

} // namespace
