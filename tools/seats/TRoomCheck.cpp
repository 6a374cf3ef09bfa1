#include "TRoomCheck.h"

#include <QDir>
#include <QMap>
#include <QProcess>
#include <memory>

#include "data/Codebase2.h"
#include "data/TAssignment.h"
#include "data/TEngineSession.h"
#include "data/TTestSession.h"
#include "data/TUser.h"
#include "platform/TDynamicLibrary.h"

namespace {

// The engine, started for one check.
struct TEngine {
    TEngine() {
        if (library.Load(EngineLibraryFileName(), EngineLibraryDirs()))
            session = std::make_unique<TEngineSession>(library);
    }
    CODE4* Engine() const { return session ? session->Engine() : nullptr; }
    TDynamicLibrary library;
    std::unique_ptr<TEngineSession> session;
};

// The live rows of a table in record order: each row's ID and record number.
bool ReadIds(Codebase2& cb, const QString& path, QMap<QString, QList<long>>& ids, QString& error) {
    DATA4* data = cb.Open(path);
    if (!data) {
        error = path + ".dbf cannot be opened: " + cb.ErrorText();
        cb.ErrorCode();
        return false;
    }
    FIELD4* id = cb.Field(data, "ID");
    cb.TagSelect(data, nullptr);
    for (int rc = cb.Top(data); rc == R4_SUCCESS; rc = cb.Skip(data, 1))
        if (!cb.Deleted(data))
            ids[QString::fromLatin1(TrimTrailingBlanks(cb.Str(id)).trimmed())].append(cb.RecNo(data));
    cb.Close(data);
    return true;
}

} // namespace

QStringList CheckUniqueIds(const QString& dir) {
    TEngine engine;
    if (!engine.Engine())
        return {"the engine cannot be started"};
    Codebase2 cb(engine.library, engine.Engine(), {});
    QStringList faults;
    for (const char* table : RoomTables) {
        QMap<QString, QList<long>> ids;
        QString error;
        if (!ReadIds(cb, dir + table, ids, error)) {
            faults << error;
            continue;
        }
        for (auto it = ids.begin(); it != ids.end(); ++it) {
            if (it->size() < 2)
                continue;
            QStringList rows;
            for (long r : *it)
                rows << QString::number(r);
            faults << QString("%1: ID %2 is given to %3 rows (records %4)")
                          .arg(table, it.key())
                          .arg(it->size())
                          .arg(rows.join(", "));
        }
    }
    return faults;
}

QStringList CheckSeatRecords(const QString& dir, const QVector<TSeatLog>& logs) {
    TEngine engine;
    if (!engine.Engine())
        return {"the engine cannot be started"};
    QStringList faults;
    // No row lost and none made up: each table holds exactly the seats' rows.
    {
        Codebase2 cb(engine.library, engine.Engine(), {});
        qsizetype expected[3] = {};
        for (const TSeatLog& log : logs) {
            expected[0] += log.Users.size();
            expected[1] += log.Assignments.size();
            expected[2] += log.Sessions.size();
        }
        for (int i = 0; i < 3; ++i) {
            QMap<QString, QList<long>> ids;
            QString error;
            if (!ReadIds(cb, dir + RoomTables[i], ids, error)) {
                faults << error;
                continue;
            }
            qsizetype rows = 0;
            for (const auto& r : ids)
                rows += r.size();
            if (rows != expected[i])
                faults << QString("%1: %2 live rows, the seats wrote %3")
                              .arg(RoomTables[i])
                              .arg(rows)
                              .arg(expected[i]);
        }
    }
    TUser users(engine.library, dir, engine.Engine());
    TAssignment assignments(engine.library, dir, engine.Engine());
    TTestSession sessions(engine.library, dir, engine.Engine());
    for (int seat = 0; seat < logs.size(); ++seat) {
        const TSeatLog& log = logs[seat];
        const QString who = QString("seat %1: ").arg(seat + 1);
        for (const TSeatUser& u : log.Users) {
            UserInfoStruct info;
            info.ID = u.Id;
            if (!users.GetUser(info) || info.UserName != u.Name || info.Password != u.Password ||
                users.Authenticate(u.Name, u.Password) != u.Id)
                faults << who + QString("learner %1 (%2) is not as written").arg(u.Id).arg(u.Name);
        }
        for (const TSeatAssignment& a : log.Assignments)
            if (!assignments.GoToRecord(a.Id) || assignments.GetUserId() != a.UserId ||
                assignments.GetProdType() != a.ProdType || assignments.GetProdId().trimmed() != a.ProdId)
                faults << who + QString("assignment %1 (learner %2, %3) is not as written")
                                    .arg(a.Id)
                                    .arg(a.UserId)
                                    .arg(a.ProdId);
        for (const TSeatSession& s : log.Sessions)
            if (!sessions.OpenTestSession(s.Id) || sessions.GetAssignId() != s.AssignId ||
                sessions.GetTestType() != s.Kind || sessions.GetTaken() != s.Taken ||
                sessions.GetRight() != s.Right || sessions.GetAnswers() != s.Answers)
                faults << who + QString("session %1 (assignment %2, kind %3) is not as written")
                                    .arg(s.Id)
                                    .arg(s.AssignId)
                                    .arg(s.Kind);
        for (auto it = log.States.begin(); it != log.States.end(); ++it) {
            const auto& [userId, prodId] = it.key();
            if (!assignments.GoToAssignment(userId, prodId) ||
                assignments.GetLastActive() != it->LastActive || assignments.GetLastPost() != it->LastPost ||
                assignments.GetBestPost() != it->BestPost || assignments.GetBookmarks() != it->Bookmarks)
                faults << who +
                              QString(
                                  "the assignment of %1 to learner %2 does not hold the last values written")
                                  .arg(prodId)
                                  .arg(userId);
        }
    }
    return faults;
}

QStringList CheckWithTableTool(const QString& dir, const QString& tableTool) {
    QStringList faults;
    for (const char* table : RoomTables) {
        QProcess tool;
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(tableTool, {"check", dir + table});
        if (!tool.waitForFinished(120000)) {
            faults << QString("%1: the table tool did not finish: %2").arg(table, tool.errorString());
            continue;
        }
        if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
            faults << QString("%1: altavo-db check: %2")
                          .arg(table, QString::fromLocal8Bit(tool.readAll()).trimmed());
    }
    return faults;
}
