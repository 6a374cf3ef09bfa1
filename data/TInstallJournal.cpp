#include "data/TInstallJournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/TRegistry.h"

namespace {

// Work directories an installation makes inside the database directory.
const QStringList WorkDirPatterns = {".altavo-course-stage-*", ".altavo-course-backup-*"};

bool SyncPath(const QString& path, bool directory) {
    int fd =
        ::open(QFile::encodeName(path).constData(), (directory ? O_DIRECTORY : 0) | O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool Exists(const QString& path) {
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0;
}

bool Rename(const QString& from, const QString& to) {
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

QString JournalPath(const QString& databaseDir) {
    return QDir(databaseDir).filePath(TInstallJournal::FileName);
}

} // namespace

bool TInstallJournal::Write(const QString& databaseDir, QString* error) const {
    QJsonArray files;
    for (const Entry& e : Files)
        files.append(QJsonObject{{"live", e.Live}, {"staged", e.Staged}, {"backup", e.Backup}});
    QJsonObject root{{"version", 1},
                     {"files", files},
                     {"workDirs", QJsonArray::fromStringList(WorkDirs)},
                     {"createdDirs", QJsonArray::fromStringList(CreatedDirs)},
                     {"registry", QJsonObject{{"file", RegistryFile},
                                              {"key", RegistryKey},
                                              {"name", RegistryName},
                                              {"value", RegistryValue},
                                              {"old", RegistryOldValue},
                                              {"keyExisted", RegistryKeyExisted}}}};
    const QString path = JournalPath(databaseDir);
    const QString fresh = path + ".new";
    QFile out(fresh);
    const QByteArray bytes = QJsonDocument(root).toJson();
    bool ok = out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size() &&
              out.flush() && ::fsync(out.handle()) == 0;
    out.close();
    // Only a whole, synced journal ever carries the journal's name.
    ok = ok && Rename(fresh, path) && SyncPath(databaseDir, true);
    if (!ok) {
        QFile::remove(fresh);
        if (error)
            *error = QString("The installation journal \"%1\" could not be written.").arg(path);
    }
    return ok;
}

bool TInstallJournal::Read(const QString& databaseDir, QString* error) {
    QFile in(JournalPath(databaseDir));
    if (!in.exists())
        return false;
    QJsonParseError parse{};
    const QJsonDocument doc =
        in.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(in.read(1 << 24), &parse) : QJsonDocument();
    const QJsonObject root = doc.object();
    if (doc.isNull() || root.value("version").toInt() != 1) {
        if (error)
            *error = QString("The installation journal \"%1\" cannot be read.").arg(in.fileName());
        return false;
    }
    Files.clear();
    for (const QJsonValue& v : root.value("files").toArray()) {
        const QJsonObject o = v.toObject();
        Files.push_back(
            {o.value("live").toString(), o.value("staged").toString(), o.value("backup").toString()});
    }
    WorkDirs.clear();
    for (const QJsonValue& v : root.value("workDirs").toArray())
        WorkDirs << v.toString();
    CreatedDirs.clear();
    for (const QJsonValue& v : root.value("createdDirs").toArray())
        CreatedDirs << v.toString();
    const QJsonObject reg = root.value("registry").toObject();
    RegistryFile = reg.value("file").toString();
    RegistryKey = reg.value("key").toString();
    RegistryName = reg.value("name").toString();
    RegistryValue = reg.value("value").toString();
    RegistryOldValue = reg.value("old").toString();
    RegistryKeyExisted = reg.value("keyExisted").toBool();
    return true;
}

bool TInstallJournal::RollForward(QString* error) const {
    // Each step may already be done (a run that was interrupted itself): a
    // staged file that is gone has been renamed into place.
    for (const Entry& e : Files) {
        if (e.Staged.isEmpty()) {
            if (Exists(e.Live) && ::unlink(QFile::encodeName(e.Live).constData()) != 0) {
                if (error)
                    *error = QString("\"%1\" could not be removed.").arg(e.Live);
                return false;
            }
        } else if (Exists(e.Staged)) {
            QDir().mkpath(QFileInfo(e.Live).path());
            if (!Rename(e.Staged, e.Live)) {
                if (error)
                    *error = QString("\"%1\" could not be moved to \"%2\".").arg(e.Staged, e.Live);
                return false;
            }
        }
    }
    for (const Entry& e : Files)
        SyncPath(QFileInfo(e.Live).path(), true);
    if (!RegistryKey.isEmpty()) {
        TRegistry registry(RegistryFile);
        if (!registry.OpenKey(RegistryKey, true) || !registry.WriteString(RegistryName, RegistryValue)) {
            if (error)
                *error = QString("The registry key \"%1\" could not be written to \"%2\". %3")
                             .arg(RegistryKey, RegistryFile, registry.LastError());
            return false;
        }
    }
    return true;
}

void TInstallJournal::RollBack() const {
    for (auto e = Files.rbegin(); e != Files.rend(); ++e) {
        if (!e->Backup.isEmpty()) {
            if (Exists(e->Backup))
                Rename(e->Backup, e->Live);
        } else if (!e->Staged.isEmpty() && !Exists(e->Staged)) {
            // A new file that was already put in place.
            ::unlink(QFile::encodeName(e->Live).constData());
        }
    }
    for (const Entry& e : Files)
        SyncPath(QFileInfo(e.Live).path(), true);
    for (auto dir = CreatedDirs.crbegin(); dir != CreatedDirs.crend(); ++dir)
        QDir().rmdir(*dir);
    if (!RegistryKey.isEmpty()) {
        TRegistry registry(RegistryFile);
        if (!RegistryKeyExisted)
            registry.DeleteKey(RegistryKey);
        else if (registry.OpenKey(RegistryKey, false) &&
                 registry.ReadString(RegistryName) != RegistryOldValue)
            registry.WriteString(RegistryName, RegistryOldValue);
    }
}

void TInstallJournal::Finish(const QString& databaseDir) const {
    QFile::remove(JournalPath(databaseDir));
    SyncPath(databaseDir, true);
    for (const Entry& e : Files) {
        // Leftovers outside the work directories (a Course.ini kept beside).
        if (!e.Backup.isEmpty())
            ::unlink(QFile::encodeName(e.Backup).constData());
        if (!e.Staged.isEmpty())
            ::unlink(QFile::encodeName(e.Staged).constData());
    }
    for (const QString& dir : WorkDirs)
        QDir(dir).removeRecursively();
}

TInstallLock::TInstallLock(const QString& databaseDir, bool wait) {
    const QString path = QDir(databaseDir).filePath(TInstallJournal::LockFileName);
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (m_fd < 0) {
        m_error = QString("The lock file \"%1\" cannot be opened: %2")
                      .arg(path, QString::fromLocal8Bit(strerror(errno)));
        return;
    }
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    for (;;) {
        if (::fcntl(m_fd, wait ? F_SETLKW : F_SETLK, &fl) == 0) {
            m_held = true;
            return;
        }
        if (errno != EINTR)
            break;
    }
    m_heldElsewhere = errno == EAGAIN || errno == EACCES;
    m_error = m_heldElsewhere ? QString("Another installation into \"%1\" is running.").arg(databaseDir)
                              : QString("The lock file \"%1\" cannot be locked: %2")
                                    .arg(path, QString::fromLocal8Bit(strerror(errno)));
}

TInstallLock::~TInstallLock() {
    if (m_fd >= 0)
        ::close(m_fd); // closing drops the lock
}

TRecovery RecoverInstallation(const QString& databaseDir, QString* message) {
    if (message)
        message->clear();
    if (!QFileInfo(databaseDir).isDir())
        return TRecovery::Nothing;
    const bool hasJournal = Exists(JournalPath(databaseDir));
    if (!hasJournal && QDir(databaseDir)
                           .entryList(WorkDirPatterns, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot)
                           .isEmpty())
        return TRecovery::Nothing;
    TInstallLock lock(databaseDir, false);
    if (!lock.Held()) {
        if (message)
            *message = lock.Error();
        if (!hasJournal)
            return TRecovery::Nothing;
        return lock.HeldElsewhere() ? TRecovery::Busy : TRecovery::Failed;
    }
    return RecoverInstallationLocked(databaseDir, message);
}

TRecovery RecoverInstallationLocked(const QString& databaseDir, QString* message) {
    auto say = [&](const QString& text) {
        if (message)
            *message = text;
    };
    say(QString());
    TInstallJournal journal;
    QString error;
    TRecovery result = TRecovery::Nothing;
    if (Exists(JournalPath(databaseDir))) {
        if (!journal.Read(databaseDir, &error)) {
            say(error);
            return TRecovery::Failed;
        }
        if (journal.RollForward(&error)) {
            result = TRecovery::RolledForward;
            say(QString("An interrupted installation into \"%1\" was completed.").arg(databaseDir));
        } else {
            journal.RollBack();
            result = TRecovery::RolledBack;
            say(QString("An interrupted installation into \"%1\" was undone: %2").arg(databaseDir, error));
        }
        journal.Finish(databaseDir);
    }
    // Work directories of an installation that ended before its journal.
    for (const QString& dir :
         QDir(databaseDir).entryList(WorkDirPatterns, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        QDir(QDir(databaseDir).filePath(dir)).removeRecursively();
    return result;
}

bool TableBeingReplaced(const QString& tablePath) {
    const QString dbf = QFileInfo(tablePath + ".dbf").absoluteFilePath();
    for (QDir dir = QFileInfo(dbf).absoluteDir();;) {
        TInstallJournal journal;
        if (Exists(JournalPath(dir.path()))) {
            if (!journal.Read(dir.path(), nullptr))
                return true; // an unreadable journal may name it
            for (const auto& e : journal.Files)
                if (e.Live.compare(dbf, Qt::CaseInsensitive) == 0)
                    return true;
        }
        if (!dir.cdUp())
            return false;
    }
}
