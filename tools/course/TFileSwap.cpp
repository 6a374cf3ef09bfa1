#include "TFileSwap.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <map>

namespace {

QString BaseName(const QString& fileName) {
    return fileName.section('.', 0, 0).toLower();
}

} // namespace

TFileSwap::TFileSwap(QString stagedRoot, QString liveRoot, QString backupRoot)
    : m_staged(std::move(stagedRoot)), m_live(std::move(liveRoot)), m_backup(std::move(backupRoot)) {}

// Makes the directory and every missing level above it, remembering each for rollback.
bool TFileSwap::MakeDir(const QString& dir) {
    QStringList missing;
    for (QString d = QDir::cleanPath(dir); !QFileInfo::exists(d); d = QFileInfo(d).path())
        missing.prepend(d);
    if (!QDir().mkpath(dir)) {
        m_error = QString("The directory \"%1\" could not be made.").arg(dir);
        return false;
    }
    m_createdDirs << missing;
    return true;
}

bool TFileSwap::Move(const QString& from, const QString& to) {
    if (!QFile::rename(from, to)) {
        m_error = QString("\"%1\" could not be moved to \"%2\".").arg(from, to);
        return false;
    }
    m_done.push_back({from, to});
    return true;
}

// Moves the live files of one set (same base name, or same whole name) into
// the backup directory.
bool TFileSwap::BackUpMatching(const QString& liveDir, const QString& baseName, const QString& fileName,
                               bool wholeName) {
    const QStringList entries = QDir(liveDir).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        bool matches =
            wholeName ? entry.compare(fileName, Qt::CaseInsensitive) == 0 : BaseName(entry) == baseName;
        if (!matches)
            continue;
        const QString backupDir = m_backup + QString("/%1").arg(++m_backupCount);
        if (!QDir().mkpath(backupDir)) {
            m_error = QString("The backup directory \"%1\" could not be made.").arg(backupDir);
            return false;
        }
        if (!Move(QDir(liveDir).filePath(entry), QDir(backupDir).filePath(entry)))
            return false;
    }
    return true;
}

bool TFileSwap::Apply() {
    // Staged files grouped by directory and table (base name).
    std::map<std::pair<QString, QString>, QStringList> sets;
    QDirIterator it(m_staged, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(m_staged).relativeFilePath(path);
        const QString dir = QFileInfo(relative).path();
        sets[{dir, BaseName(QFileInfo(relative).fileName())}] << QFileInfo(relative).fileName();
    }
    for (const auto& [key, files] : sets) {
        const QString liveDir = key.first == "." ? m_live : QDir(m_live).filePath(key.first);
        if (!MakeDir(liveDir)) {
            RollBack();
            return false;
        }
        if (!BackUpMatching(liveDir, key.second, QString(), false)) {
            RollBack();
            return false;
        }
        for (const QString& file : files) {
            const QString from = QDir(m_staged).filePath(key.first == "." ? file : key.first + "/" + file);
            if (!Move(from, QDir(liveDir).filePath(file))) {
                RollBack();
                return false;
            }
        }
    }
    return true;
}

bool TFileSwap::ReplaceFile(const QString& path, const QByteArray& contents) {
    const QString dir = QFileInfo(path).absolutePath();
    if (!MakeDir(dir))
        return false;
    // Write beside, then swap in by rename, so a failure leaves the old file.
    const QString fresh = path + ".altavo-new";
    QSaveFile out(fresh);
    if (!out.open(QIODevice::WriteOnly) || out.write(contents) != contents.size() || !out.commit()) {
        m_error = QString("\"%1\" could not be written.").arg(path);
        QFile::remove(fresh);
        return false;
    }
    if (!BackUpMatching(dir, QString(), QFileInfo(path).fileName(), true) || !Move(fresh, path)) {
        QFile::remove(fresh);
        return false;
    }
    return true;
}

void TFileSwap::RollBack() {
    for (auto step = m_done.rbegin(); step != m_done.rend(); ++step) {
        if (QFileInfo::exists(step->to))
            QFile::rename(step->to, step->from);
        if (step->from.endsWith(".altavo-new"))
            QFile::remove(step->from);
    }
    m_done.clear();
    // Directories made for the change, newest first, when they are empty again.
    for (auto dir = m_createdDirs.crbegin(); dir != m_createdDirs.crend(); ++dir)
        QDir().rmdir(*dir);
    m_createdDirs.clear();
    QDir(m_backup).removeRecursively();
}

void TFileSwap::Commit() {
    m_done.clear();
    m_createdDirs.clear();
    QDir(m_backup).removeRecursively();
}
