// altavo-seats: the training room on one machine. N seats (processes) do
// learner sessions at once through the player's table objects on one
// database directory; afterwards every table must hold each ID once, every
// row a seat wrote exactly as it wrote it, no other row, and pass
// `altavo-db check`.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTextStream>
#include <memory>
#include <vector>

#include "TRoomCheck.h"
#include "TSeat.h"
#include "data/TAssignment.h"
#include "data/TCourses.h"
#include "data/TEngineSession.h"
#include "data/TTestSession.h"
#include "data/TUser.h"
#include "platform/TDynamicLibrary.h"

namespace {

enum ExitCode { Clean = 0, Faults = 1, Usage = 2, NotAvailable = 3 };

const char* const UsageText =
    "Usage:\n"
    "  altavo-seats run DIR [--seats N] [--sessions M]   N seats (8) of M learner sessions (100) each\n"
    "  altavo-seats bench DIR [--sessions M]             1, 2, 4 and 8 seats, each on a fresh room\n"
    "  altavo-seats check DBDIR                          duplicate IDs and altavo-db check alone\n"
    "\n"
    "DIR is made (it must not exist or be empty); the shared database is DIR/db (bench: DIR/seats-N/db).\n"
    "Exit status: 0 clean, 1 a duplicate, lost or changed row or a failed table check, 2 bad command\n"
    "line, 3 the engine or the directory not available.\n";

QString WithSlash(const QString& dir) {
    return dir.endsWith('/') ? dir : dir + '/';
}

// A fresh database directory with the installation's tables and two courses,
// as the player leaves it once courses are installed.
bool PrepareRoom(const QString& dbDir, QTextStream& err) {
    TDynamicLibrary library;
    if (!library.Load(EngineLibraryFileName(), EngineLibraryDirs())) {
        err << "altavo-seats: the engine library cannot be loaded: " << library.ErrorString() << "\n";
        return false;
    }
    TEngineSession session(library);
    if (!session.Engine()) {
        err << "altavo-seats: the engine cannot be started\n";
        return false;
    }
    TUser users(library, dbDir, session.Engine());
    TAssignment assignments(library, dbDir, session.Engine());
    TTestSession sessions(library, dbDir, session.Engine());
    TCourses courses(library, dbDir, session.Engine());
    for (int c = 1; c <= 2; ++c)
        courses.AddCourse(QString::number(c), QString("Course %1").arg(c), QString("T%1").arg(c), QString(),
                          QString("course%1/").arg(c), "genesis.avi", 1, 0, 0);
    if (courses.ErrorFlag || courses.GetNumCourses() != 2) {
        err << "altavo-seats: the courses cannot be added: " << courses.ErrorText << "\n";
        return false;
    }
    return true;
}

struct TRunResult {
    bool Ran = false;
    double Seconds = 0;
    QStringList Faults;
};

TRunResult RunRoom(const QString& dir, int seats, int sessionsPerSeat, QTextStream& err) {
    TRunResult result;
    QDir top(dir);
    if (top.exists() && !top.isEmpty()) {
        err << "altavo-seats: " << dir << " is not empty\n";
        return result;
    }
    const QString dbDir = WithSlash(QDir(dir).absoluteFilePath("db"));
    if (!QDir().mkpath(dbDir) || !PrepareRoom(dbDir, err))
        return result;
    std::vector<std::unique_ptr<QProcess>> running;
    QElapsedTimer clock;
    clock.start();
    for (int k = 1; k <= seats; ++k) {
        auto seat = std::make_unique<QProcess>();
        seat->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        seat->start(QCoreApplication::applicationFilePath(),
                    {"seat", dbDir, QString::number(k), QString::number(sessionsPerSeat),
                     QDir(dir).absoluteFilePath(QString("seat-%1.log").arg(k))});
        running.push_back(std::move(seat));
    }
    for (size_t k = 0; k < running.size(); ++k) {
        QProcess& seat = *running[k];
        if (!seat.waitForFinished(-1) || seat.exitStatus() != QProcess::NormalExit || seat.exitCode() != 0)
            result.Faults
                << QString("seat %1 did not finish its sessions (exit %2)").arg(k + 1).arg(seat.exitCode());
    }
    result.Seconds = double(clock.nsecsElapsed()) / 1e9;
    result.Ran = true;
    QVector<TSeatLog> logs;
    for (int k = 1; k <= seats; ++k) {
        QFile file(QDir(dir).absoluteFilePath(QString("seat-%1.log").arg(k)));
        TSeatLog log;
        QString error;
        if (!file.open(QIODevice::ReadOnly) || !TSeatLog::Read(file.readAll(), log, error))
            result.Faults << QString("seat %1: its record cannot be read %2").arg(k).arg(error);
        logs.append(log);
    }
    result.Faults << CheckUniqueIds(dbDir) << CheckSeatRecords(dbDir, logs)
                  << CheckWithTableTool(dbDir, QCoreApplication::applicationDirPath() + "/altavo-db");
    return result;
}

void PrintFaults(const QStringList& faults, QTextStream& out) {
    constexpr int Shown = 40;
    for (int i = 0; i < faults.size() && i < Shown; ++i)
        out << "  " << faults[i] << "\n";
    if (faults.size() > Shown)
        out << "  ... and " << faults.size() - Shown << " more\n";
}

int Seat(const QStringList& args, QTextStream& err) {
    bool okSeat = false, okSessions = false;
    TSeatRequest request{WithSlash(args.value(1)), args.value(2).toInt(&okSeat),
                         args.value(3).toInt(&okSessions)};
    if (args.size() != 5 || !okSeat || !okSessions)
        return Usage;
    TSeatLog log;
    QString error;
    const bool done = RunSeat(request, log, error);
    // The record is written also after a refusal: the check still compares what was done.
    QFile file(args[4]);
    if (!file.open(QIODevice::WriteOnly) || file.write(log.Write()) < 0) {
        err << "altavo-seats: seat " << request.Seat << ": its record cannot be written\n";
        return NotAvailable;
    }
    if (!done) {
        err << "altavo-seats: seat " << request.Seat << ": " << error << "\n";
        return Faults;
    }
    return Clean;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    QStringList args = app.arguments().mid(1);
    const QString command = args.value(0);
    if (command == "seat")
        return Seat(args, err);
    int seats = 8, sessions = 100;
    QStringList plain;
    for (qsizetype i = 0; i < args.size(); ++i) {
        bool ok = true;
        if ((args[i] == "--seats" || args[i] == "--sessions") && i + 1 < args.size())
            (args[i] == "--seats" ? seats : sessions) = args[i + 1].toInt(&ok), ++i;
        else if (args[i].startsWith('-'))
            ok = false;
        else
            plain << args[i];
        if (!ok || seats < 1 || sessions < 1) {
            err << UsageText;
            return Usage;
        }
    }
    if (plain.size() != 2 || (command == "check" && args.size() != 2) ||
        (command == "bench" && args.contains("--seats"))) {
        err << UsageText;
        return Usage;
    }
    const QString dir = plain[1];
    if (command == "check") {
        const QString dbDir = WithSlash(dir);
        const QStringList faults =
            CheckUniqueIds(dbDir) +
            CheckWithTableTool(dbDir, QCoreApplication::applicationDirPath() + "/altavo-db");
        out << (faults.isEmpty() ? "clean\n" : "faults:\n");
        PrintFaults(faults, out);
        return faults.isEmpty() ? Clean : Faults;
    }
    if (command != "run" && command != "bench") {
        err << UsageText;
        return Usage;
    }
    const QList<int> rooms = command == "run" ? QList<int>{seats} : QList<int>{1, 2, 4, 8};
    out << "seats  sessions  seconds  sessions/s  result\n";
    out.flush();
    bool clean = true;
    for (int n : rooms) {
        const QString roomDir =
            command == "run" ? dir : QDir(dir).absoluteFilePath(QString("seats-%1").arg(n));
        const TRunResult r = RunRoom(roomDir, n, sessions, err);
        if (!r.Ran)
            return NotAvailable;
        out << QString("%1  %2  %3  %4  %5\n")
                   .arg(n, 5)
                   .arg(n * sessions, 8)
                   .arg(r.Seconds, 7, 'f', 2)
                   .arg(n * sessions / r.Seconds, 10, 'f', 1)
                   .arg(r.Faults.isEmpty() ? "clean" : QString("%1 faults").arg(r.Faults.size()));
        PrintFaults(r.Faults, out);
        out.flush();
        clean = clean && r.Faults.isEmpty();
    }
    return clean ? Clean : Faults;
}
