#include "TInstallPlan.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <map>
#include <unistd.h>

namespace {

QString BaseName(const QString& fileName) {
    return fileName.section('.', 0, 0).toLower();
}

// Writes bytes to path and syncs them; a staged file must be whole on disk
// before the journal that names it.
bool WriteSynced(const QString& path, const QByteArray& bytes) {
    QFile out(path);
    bool ok = out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(bytes) == bytes.size() &&
              out.flush() && ::fsync(out.handle()) == 0;
    out.close();
    return ok;
}

bool SyncFile(const QString& path) {
    int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

TInstallPlan::TInstallPlan(TInstallJournal& journal, QString backupDir)
    : m_journal(journal), m_backupDir(std::move(backupDir)) {}

void TInstallPlan::NoteMissingDirs(const QString& dir) {
    QStringList missing;
    for (QString d = QDir::cleanPath(dir); !QFileInfo::exists(d); d = QFileInfo(d).path())
        missing.prepend(d);
    for (const QString& d : missing)
        if (!m_journal.CreatedDirs.contains(d))
            m_journal.CreatedDirs << d;
}

// A hard link keeps the live file's bytes whatever the swap does to its name.
bool TInstallPlan::BackUp(const QString& live, QString& backup) {
    const QString dir = m_backupDir + QString("/%1").arg(++m_backups);
    backup = dir + "/" + QFileInfo(live).fileName();
    if (!QDir().mkpath(dir) ||
        ::link(QFile::encodeName(live).constData(), QFile::encodeName(backup).constData()) != 0) {
        m_error = QString("\"%1\" could not be kept in \"%2\".").arg(live, dir);
        return false;
    }
    return true;
}

bool TInstallPlan::AddTree(const QString& stagedRoot, const QString& liveRoot) {
    // Staged files grouped by directory and table (base name).
    std::map<std::pair<QString, QString>, QStringList> sets;
    QDirIterator it(stagedRoot, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = QDir(stagedRoot).relativeFilePath(it.next());
        sets[{QFileInfo(relative).path(), BaseName(QFileInfo(relative).fileName())}]
            << QFileInfo(relative).fileName();
    }
    for (const auto& [key, files] : sets) {
        const QString liveDir = key.first == "." ? liveRoot : QDir(liveRoot).filePath(key.first);
        const QString stagedDir = key.first == "." ? stagedRoot : QDir(stagedRoot).filePath(key.first);
        NoteMissingDirs(liveDir);
        QStringList unmatched = files;
        const QStringList live =
            QDir(liveDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& entry : live) {
            if (BaseName(entry) != key.second)
                continue;
            const QString livePath = QDir(liveDir).filePath(entry);
            if (!QFileInfo(livePath).isFile() || QFileInfo(livePath).isSymLink()) {
                m_error =
                    QString("\"%1\" is not a file; it is left alone and nothing is installed.").arg(livePath);
                return false;
            }
            QString backup;
            if (!BackUp(livePath, backup))
                return false;
            // The staged file of the same name (any letter case) takes the
            // live file's name; a live file the new set lacks is removed.
            QString staged;
            for (qsizetype i = 0; i < unmatched.size(); ++i)
                if (unmatched[i].compare(entry, Qt::CaseInsensitive) == 0) {
                    staged = QDir(stagedDir).filePath(unmatched.takeAt(i));
                    break;
                }
            m_journal.Files.push_back({livePath, staged, backup});
        }
        for (const QString& file : unmatched)
            m_journal.Files.push_back(
                {QDir(liveDir).filePath(file), QDir(stagedDir).filePath(file), QString()});
    }
    for (const auto& e : m_journal.Files)
        if (!e.Staged.isEmpty() && !SyncFile(e.Staged)) {
            m_error = QString("\"%1\" could not be written to the disk.").arg(e.Staged);
            return false;
        }
    return true;
}

bool TInstallPlan::AddFile(const QString& live, const QByteArray& contents) {
    const QString dir = QFileInfo(live).absolutePath();
    NoteMissingDirs(dir);
    const QString staged = live + ".altavo-new";
    if (!QDir().mkpath(dir) || !WriteSynced(staged, contents)) {
        QFile::remove(staged);
        m_error = QString("\"%1\" could not be written.").arg(live);
        return false;
    }
    QString backup;
    if (QFileInfo::exists(live)) {
        // Kept beside it: the media directory may be on another file system.
        backup = live + ".altavo-old";
        QFile::remove(backup);
        if (::link(QFile::encodeName(live).constData(), QFile::encodeName(backup).constData()) != 0) {
            QFile::remove(staged);
            m_error = QString("\"%1\" could not be kept.").arg(live);
            return false;
        }
    }
    m_journal.Files.push_back({live, staged, backup});
    return true;
}

void TInstallPlan::Abandon() {
    for (const auto& e : m_journal.Files)
        if (e.Staged.endsWith(".altavo-new")) {
            QFile::remove(e.Staged);
            if (!e.Backup.isEmpty())
                QFile::remove(e.Backup);
        }
    for (auto d = m_journal.CreatedDirs.crbegin(); d != m_journal.CreatedDirs.crend(); ++d)
        QDir().rmdir(*d);
}
