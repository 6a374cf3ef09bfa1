// Learners' records are never replaced, mixed up or written outside the
// database directory by the player: damaged shared tables, a database the
// player cannot write, and course paths from tables that lead out.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

#include "TInstallation.h"
#include "app/TCatalogueScreen.h"
#include "data/TCourses.h"
#include "data/TUser.h"
#include "widgets/TSkinButton.h"

namespace {

// Every entry below a directory with its kind and, for a file, its bytes' hash.
QMap<QString, QByteArray> Snapshot(const QString& root) {
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QByteArray value = info.isDir() ? "dir" : info.isFile() ? "file " : "other";
        QFile file(path);
        if (info.isFile() && file.open(QIODevice::ReadOnly))
            value += QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
        entries.insert(QDir(root).relativeFilePath(path), value);
    }
    return entries;
}

// Makes a directory unwritable even for root (immutable), or by its mode for
// others; false when the machine allows neither.
bool MakeUnwritable(const QString& dir, bool unwritable) {
    if (geteuid() == 0)
        return QProcess::execute("chattr", {unwritable ? "+i" : "-i", dir}) == 0;
    return QFile::setPermissions(dir, unwritable ? QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                                 : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                       QFileDevice::ExeOwner);
}

class DataSafety : public ::testing::Test {
protected:
    // A first start makes the shared tables; one learner is registered.
    void SetUp() override {
        TForm1& f = install.Start();
        ASSERT_FALSE(f.StartFailed);
        UserInfoStruct ann;
        ann.UserName = "Ann";
        ann.Password = "pw";
        ASSERT_EQ(f.User->AddUser(ann), 1);
        install.Stop();
        install.Messages.Shown.clear();
    }
    QString Db(const QString& name = {}) const { return install.Path("db/" + name); }

    TInstallation install;
};

} // namespace

// Each damage of the users table: two starts change no file of the database,
// each start stops with a message naming the file, and no first-user screen
// offers to give away learner 1's ID.
TEST_F(DataSafety, DamagedUsersTableIsReportedAndNeverReplaced) {
    const struct {
        const char* name;
        std::function<bool(const QString& path)> damage;
    } cases[] = {
        {"cut to 40 bytes", [](const QString& p) { return QFile::resize(p, 40); }},
        {"cut to half", [](const QString& p) { return QFile::resize(p, QFileInfo(p).size() / 2); }},
        {"a directory", [](const QString& p) { return QFile::remove(p) && QDir().mkdir(p); }},
        {"a FIFO", [](const QString& p) { return QFile::remove(p) && mkfifo(qPrintable(p), 0600) == 0; }},
    };
    const QString users = Db("Users.dbf");
    QFile::copy(users, install.Path("Users.dbf.sound"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFileInfo(users).isDir() ? (void)QDir(users).removeRecursively() : (void)QFile::remove(users);
        ASSERT_TRUE(QFile::copy(install.Path("Users.dbf.sound"), users));
        ASSERT_TRUE(c.damage(users));
        const auto before = Snapshot(Db());
        for (int start = 0; start < 2; ++start) {
            install.Messages.Shown.clear();
            TForm1& f = install.Start();
            EXPECT_TRUE(f.StartFailed);
            EXPECT_FALSE(f.isVisible());
            ASSERT_FALSE(install.Messages.Shown.isEmpty());
            EXPECT_TRUE(install.Messages.Shown.last().contains("Users.dbf"))
                << install.Messages.Shown.join(" | ").toStdString();
            EXPECT_TRUE(install.Messages.Shown.last().contains("altavo-db check"));
            install.Stop();
            EXPECT_EQ(Snapshot(Db()), before) << "start " << start + 1;
        }
    }
}

TEST_F(DataSafety, MissingDatabaseDirectoryIsNamedAtStart) {
    ASSERT_TRUE(QDir(Db()).removeRecursively());
    TForm1& f = install.Start();
    EXPECT_TRUE(f.StartFailed);
    ASSERT_EQ(install.Messages.Shown.size(), 1);
    EXPECT_TRUE(install.Messages.Shown[0].contains(Db())) << install.Messages.Shown[0].toStdString();
    EXPECT_FALSE(QFileInfo::exists(Db())) << "nothing is made in its place";
}

// Learners must not work while nothing can be saved: the player says so at
// once and starts no screen.
TEST_F(DataSafety, UnwritableDatabaseIsReportedBeforeAnyWork) {
    if (!MakeUnwritable(Db(), true))
        GTEST_SKIP() << "this machine cannot make a directory unwritable";
    const auto before = Snapshot(Db());
    TForm1& f = install.Start();
    const bool failed = f.StartFailed;
    const bool visible = f.isVisible();
    install.Stop();
    MakeUnwritable(Db(), false);
    EXPECT_TRUE(failed);
    EXPECT_FALSE(visible);
    ASSERT_EQ(install.Messages.Shown.size(), 1);
    EXPECT_TRUE(install.Messages.Shown[0].contains("cannot be written"))
        << install.Messages.Shown[0].toStdString();
    EXPECT_EQ(Snapshot(Db()), before);
}

// A course whose PATH leads out of the database directory is refused at
// course start, and nothing is written anywhere.
TEST_F(DataSafety, CoursePathLeadingOutIsRefused) {
    {
        TForm1& f = install.Start();
        ASSERT_EQ(f.Courses->AddCourse("EV101", "Evil", "EV101T", "", "..\\..\\outside\\", "intro", 1, 0, 0),
                  "EV101");
        install.Stop();
    }
    TForm1& f = install.StartSignedIn("Ann", "pw");
    ASSERT_EQ(f.CurrentScreen, ScreenCourseSelection);
    const auto listed = Snapshot(install.Path(""));
    install.Messages.Shown.clear();
    EXPECT_FALSE(f.Module<TCatalogueScreen>()->StartSelectedCourse());
    EXPECT_EQ(f.CurrentScreen, ScreenCourseSelection);
    ASSERT_EQ(install.Messages.Shown.size(), 1);
    EXPECT_TRUE(install.Messages.Shown[0].contains("EV101")) << install.Messages.Shown[0].toStdString();
    EXPECT_EQ(f.Index, nullptr);
    EXPECT_EQ(Snapshot(install.Path("")), listed) << "course start wrote nothing";
    EXPECT_FALSE(QFileInfo::exists(install.Path("../outside")));
}
