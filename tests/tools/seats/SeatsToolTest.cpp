// The training room: eight seats at once on one database directory keep every
// ID once and every row as written; and the room check catches the duplicate
// IDs that reading the highest ID before the append (without the table's
// append lock) gives several processes.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "data/Codebase2.h"
#include "data/TAssignment.h"
#include "data/TCourses.h"
#include "data/TEngineSession.h"
#include "data/TTestSession.h"
#include "data/TUser.h"
#include "platform/TDynamicLibrary.h"

namespace {

struct TRun {
    int Exit = -1;
    QString Out;
};

TRun RunProgram(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    EXPECT_TRUE(p.waitForFinished(300000)) << program.toStdString();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAll())};
}

QString Bin(const char* program) {
    return qEnvironmentVariable("ALTAVO_BIN") + "/" + program;
}

// Lines of each kind in the seats' own records of what they wrote.
QMap<QString, int> SeatRecordCounts(const QString& room) {
    QMap<QString, int> counts;
    for (const QString& name : QDir(room).entryList({"seat-*.log"})) {
        QFile f(QDir(room).filePath(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        for (const QByteArray& line : f.readAll().split('\n'))
            if (!line.isEmpty())
                ++counts[QString::fromLatin1(line.left(line.indexOf('\t')))];
    }
    return counts;
}

TEST(SeatsTest, EightSeatsKeepEveryIdOnceAndEveryRowAsWritten) {
    QTemporaryDir dir;
    const QString room = dir.filePath("room");
    const TRun run = RunProgram(Bin("altavo-seats"), {"run", room, "--seats", "8", "--sessions", "24"});
    ASSERT_EQ(run.Exit, 0) << run.Out.toStdString();
    EXPECT_TRUE(run.Out.contains("    8       192")) << run.Out.toStdString();

    // A reader nobody here wrote sees each ID once, and as many rows as the
    // seats say they added.
    const TRun read = RunProgram("/usr/bin/python3",
                                 {"-c",
                                  "import sys, dbfread\n"
                                  "for t in ('Users', 'Assign', 'TestSess'):\n"
                                  "    ids = [r['ID'] for r in dbfread.DBF(sys.argv[1] + '/' + t + '.dbf')]\n"
                                  "    print(t, len(ids), len(set(ids)))\n",
                                  room + "/db"});
    ASSERT_EQ(read.Exit, 0) << read.Out.toStdString();
    const QMap<QString, int> written = SeatRecordCounts(room);
    const QString expected = QString("Users %1 %1\nAssign %2 %2\nTestSess %3 %3\n")
                                 .arg(written["user"])
                                 .arg(written["assign"])
                                 .arg(written["session"]);
    EXPECT_EQ(read.Out, expected);
    // 8 seats x 12 sessions: two of three a new learner, each with a lesson and a test attempt.
    EXPECT_EQ(written["user"], 8 * 16);
    EXPECT_EQ(written["session"], 8 * 24 * 2);
}

// Several processes adding test sessions at once, each ID allocated one way.
enum class TAllocation { HighestReadBeforeAppend, TableObject };

void AddSessions(TDynamicLibrary& library, const QString& db, TAllocation how, int count) {
    TEngineSession session(library);
    if (how == TAllocation::TableObject) {
        TTestSession sessions(library, db, session.Engine());
        for (int i = 0; i < count; ++i) {
            sessions.AddTestSession(1);
            usleep(300);
        }
        return;
    }
    // The allocation the table objects used before: the highest ID is read,
    // and another process may append before this one does.
    Codebase2 cb(library, session.Engine(), {});
    DATA4* data = cb.Open(db + "TestSess");
    FIELD4* id = cb.Field(data, "ID");
    for (int i = 0; i < count; ++i) {
        cb.TagSelect(data, cb.Tag(data, "ID"));
        const long next = cb.Bottom(data) == R4_SUCCESS ? cb.Long(id) + 1 : 1;
        usleep(300);
        cb.AppendBlank(data);
        cb.AssignLong(id, next);
        cb.Unlock(data);
    }
    cb.Close(data);
}

struct TAllocationCase {
    const char* Name;
    TAllocation How;
    int CheckExit;
};

void PrintTo(const TAllocationCase& c, std::ostream* os) {
    *os << c.Name;
}

class SeatsAllocationTest : public ::testing::TestWithParam<TAllocationCase> {};

TEST_P(SeatsAllocationTest, RoomCheckFindsDuplicateIdsOnlyWithoutTheAppendLock) {
    constexpr int Processes = 4, Each = 40;
    QTemporaryDir dir;
    const QString db = dir.path() + "/";
    TDynamicLibrary library;
    ASSERT_TRUE(library.Load(EngineLibraryFileName(), EngineLibraryDirs()));
    {
        TEngineSession session(library);
        TUser users(library, db, session.Engine());
        TAssignment assignments(library, db, session.Engine());
        TTestSession sessions(library, db, session.Engine());
        TCourses courses(library, db, session.Engine());
    }
    int start[2];
    ASSERT_EQ(pipe(start), 0);
    std::vector<pid_t> children;
    for (int p = 0; p < Processes; ++p) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // All children begin together, when the parent closes the pipe.
            close(start[1]);
            char c;
            while (read(start[0], &c, 1) > 0) {
            }
            AddSessions(library, db, GetParam().How, Each);
            _exit(0);
        }
        children.push_back(pid);
    }
    close(start[0]);
    close(start[1]);
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const TRun check = RunProgram(Bin("altavo-seats"), {"check", db});
    EXPECT_EQ(check.Exit, GetParam().CheckExit) << check.Out.toStdString();
    EXPECT_EQ(check.Out.contains("TestSess: ID"), GetParam().CheckExit != 0) << check.Out.toStdString();

    // Every process's rows arrived, whatever their IDs.
    TEngineSession session(library);
    Codebase2 cb(library, session.Engine(), {});
    DATA4* data = cb.Open(db + "TestSess");
    EXPECT_EQ(cb.RecCount(data), Processes * Each);
    cb.Close(data);
}

INSTANTIATE_TEST_SUITE_P(Allocations, SeatsAllocationTest,
                         ::testing::Values(TAllocationCase{"HighestReadBeforeAppend",
                                                           TAllocation::HighestReadBeforeAppend, 1},
                                           TAllocationCase{"TableObject", TAllocation::TableObject, 0}),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
