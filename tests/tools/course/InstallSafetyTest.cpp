// Installations into one database directory at the same time are serialised,
// and an installation killed at any moment leaves its course entirely
// installed or entirely absent once the next run (here the player's start-up
// recovery) has looked at the journal; every other course and shared table
// stays intact.
#include <QElapsedTimer>
#include <QJsonArray>
#include <csignal>
#include <random>

#include "CourseToolSupport.h"
#include "data/TCourses.h"
#include "data/TIndex.h"
#include "data/TInstallJournal.h"
#include "data/TTesting.h"
#include "data/TUser.h"

namespace {

class InstallSafetyTest : public CourseToolTest {
protected:
    // The sample course under another ID, directory, test and question table.
    QString Variant(const QString& id) {
        return EditedSample(
            [&](QJsonObject& root) {
                root["id"] = id;
                root["path"] = id + "/";
                QJsonObject test = root["test"].toObject();
                test["id"] = id + "T";
                test["path"] = id + "T/";
                test["table"] = id + "Q";
                root["test"] = test;
            },
            id);
    }

    QProcess* Start(const QString& description, const QString& database) {
        auto* process = new QProcess();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ALTAVO_REGISTRY", RegistryFile());
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        process->setProcessEnvironment(env);
        process->start(qEnvironmentVariable("ALTAVO_BIN") + "/altavo-course",
                       {"install", description, "--database", database});
        process->waitForStarted();
        return process;
    }

    // "" when the course is wholly there, "absent" when wholly absent, else
    // what is half there.
    QString CourseState(const QString& database, const QString& id) {
        TCourses courses(EngineLibrary(), database, Engine);
        TTesting testing(EngineLibrary(), database, Engine);
        TIndex index(EngineLibrary(), database + id + "/", Engine);
        const bool row = courses.GoToCourseId(id);
        const bool test = testing.OpenTest(id + "T") == 0 && testing.NumTestQ() == 4;
        const bool pages = index.PageCount() == 2;
        if (row && test && pages)
            return "";
        if (!row && !test && !QFileInfo::exists(database + id + "/index.dbf"))
            return "absent";
        return QString("half installed: row %1, test %2, pages %3").arg(row).arg(test).arg(pages);
    }

    // Every shared table opens without a fault, and no work files are left.
    void ExpectSound(const QString& database) {
        TUser users(EngineLibrary(), database, Engine);
        TCourses courses(EngineLibrary(), database, Engine);
        TTesting testing(EngineLibrary(), database, Engine);
        EXPECT_EQ(users.OpenFault() + courses.OpenFault() + testing.OpenFault(), "");
        for (const QString& entry :
             QDir(database).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot))
            EXPECT_TRUE(!entry.startsWith(".altavo-course") && entry != TInstallJournal::FileName)
                << entry.toStdString();
    }

    // altavo-db check passes on every table below the directory.
    void ExpectTablesPassCheck(const QString& database) {
        QDirIterator it(database, {"*.dbf"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString table = it.next();
            QProcess check;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("ASAN_OPTIONS", "detect_leaks=0");
            check.setProcessEnvironment(env);
            check.start(qEnvironmentVariable("ALTAVO_BIN") + "/altavo-db", {"check", table});
            check.waitForFinished(30000);
            EXPECT_EQ(check.exitCode(), 0) << table.toStdString() << ": " << check.readAll().toStdString();
        }
    }

    static void CopyTree(const QString& from, const QString& to) {
        QDir().mkpath(to);
        QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString target = to + QDir(from).relativeFilePath(path);
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(path, target);
        }
    }
};

TEST_F(InstallSafetyTest, ConcurrentInstallsAreSerialised) {
    const QString first = Variant("AA101"), second = Variant("BB101");
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE(round);
        const QString database = Scratch() + QString("concurrent%1/").arg(round);
        std::unique_ptr<QProcess> a(Start(first, database)), b(Start(second, database));
        ASSERT_TRUE(a->waitForFinished(120000) && b->waitForFinished(120000));
        EXPECT_EQ(a->exitCode(), 0) << a->readAllStandardError().toStdString();
        EXPECT_EQ(b->exitCode(), 0) << b->readAllStandardError().toStdString();
        EXPECT_EQ(CourseState(database, "AA101"), "");
        EXPECT_EQ(CourseState(database, "BB101"), "");
        ExpectSound(database);
    }
    ExpectTablesPassCheck(Scratch() + "concurrent0/");
}

TEST_F(InstallSafetyTest, AnInstallKilledAnywhereIsWholeOrAbsent) {
    const QString kept = Variant("AA101"), killed = Variant("BB101");
    const QString base = Scratch() + "base/";
    ASSERT_EQ(Run({"install", kept, "--database", base}).exitCode, 0);
    // How long an undisturbed installation of the second course takes.
    const QString timed = Scratch() + "timed/";
    CopyTree(base, timed);
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(Run({"install", killed, "--database", timed}).exitCode, 0);
    const qint64 whole = timer.elapsed();

    std::mt19937 random(20261210);
    std::uniform_real_distribution<double> moment(0.1, 1.1);
    int whole_ = 0, absent = 0;
    for (int round = 0; round < 16; ++round) {
        const QString database = Scratch() + QString("killed%1/").arg(round);
        CopyTree(base, database);
        std::unique_ptr<QProcess> install(Start(killed, database));
        const int delay = int(whole * moment(random));
        SCOPED_TRACE(
            QString("round %1, killed after %2 of %3 ms").arg(round).arg(delay).arg(whole).toStdString());
        const qint64 pid = install->processId();
        if (!install->waitForFinished(delay) && pid > 0)
            ::kill(pid_t(pid), SIGKILL);
        install->waitForFinished(30000);

        // The player's start-up (or the next run of the tool) finishes or undoes it.
        QString message;
        const TRecovery recovery = RecoverInstallation(database, &message);
        EXPECT_TRUE(recovery != TRecovery::Busy && recovery != TRecovery::Failed) << message.toStdString();
        EXPECT_EQ(CourseState(database, "AA101"), "");
        const QString state = CourseState(database, "BB101");
        EXPECT_TRUE(state == "" || state == "absent") << state.toStdString();
        (state == "" ? whole_ : absent)++;
        ExpectSound(database);
        if (round == 15)
            ExpectTablesPassCheck(database);
    }
    RecordProperty("installed", whole_);
    RecordProperty("absent", absent);
}

TEST_F(InstallSafetyTest, AJournalIsRolledBackWhenItCannotBeFinished) {
    const QString database = Database();
    QDir().mkpath(database + ".altavo-course-stage-x");
    QDir().mkpath(database + ".altavo-course-backup-x/1");
    auto write = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    };
    write(database + "Courses.dbf", "new, already swapped in");
    write(database + ".altavo-course-backup-x/1/Courses.dbf", "old");
    write(database + "gtest.dbf", "old gtest");
    write(database + ".altavo-course-backup-x/1/gtest.dbf", "old gtest");
    TInstallJournal journal;
    journal.Files = {{database + "Courses.dbf", database + ".altavo-course-stage-x/Courses.dbf",
                      database + ".altavo-course-backup-x/1/Courses.dbf"},
                     // A staged file already renamed into place.
                     {database + "gtest.dbf", database + ".altavo-course-stage-x/missing/gtest.dbf",
                      database + ".altavo-course-backup-x/1/gtest.dbf"},
                     {database + "NEW/index.dbf", database + ".altavo-course-stage-x/NEW/index.dbf", ""}};
    journal.WorkDirs = {database + ".altavo-course-stage-x", database + ".altavo-course-backup-x"};
    journal.CreatedDirs = {database + "NEW"};
    QDir().mkpath(database + "NEW");
    write(database + "NEW/index.dbf", "new index");
    // The registry value cannot be written (the store is a directory), so the
    // swap cannot be finished and is undone.
    journal.RegistryFile = Scratch() + "registry-dir";
    QDir().mkpath(journal.RegistryFile);
    journal.RegistryKey = "\\Software\\Quenvik\\Altavo\\Brisel\\NEW";
    journal.RegistryName = "StreamDir";
    ASSERT_TRUE(journal.Write(database, nullptr));

    QString message;
    EXPECT_EQ(RecoverInstallation(database, &message), TRecovery::RolledBack) << message.toStdString();
    auto read = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    };
    EXPECT_EQ(read(database + "Courses.dbf"), "old");
    EXPECT_EQ(read(database + "gtest.dbf"), "old gtest");
    EXPECT_FALSE(QFileInfo::exists(database + "NEW")) << "a directory made for the course is gone";
    EXPECT_EQ(QDir(database).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{".altavo-install.lock", "Courses.dbf", "gtest.dbf"}));
}

TEST_F(InstallSafetyTest, ADamagedSharedTableStopsTheInstallAndIsKept) {
    const QString kept = Variant("AA101"), next = Variant("BB101");
    struct Case {
        const char* what;
        std::function<void(const QString&)> damage;
    } cases[] = {
        {"courses table cut short", [](const QString& dbf) { QFile(dbf).resize(40); }},
        {"courses table a directory",
         [](const QString& dbf) {
             QFile::remove(dbf);
             QDir().mkpath(dbf);
         }},
    };
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString database = Scratch() + QString("damaged%1/").arg(round++);
        ASSERT_EQ(Run({"install", kept, "--database", database}).exitCode, 0);
        c.damage(database + "Courses.dbf");
        const auto before = Snapshot(database);
        TToolRun run = Run({"install", next, "--database", database});
        EXPECT_EQ(run.exitCode, 3);
        EXPECT_TRUE(run.err.contains("Courses.dbf")) << run.err.toStdString();
        EXPECT_EQ(Snapshot(database), before);
        EXPECT_FALSE(QFileInfo::exists(database + "BB101"));
    }
}

} // namespace
