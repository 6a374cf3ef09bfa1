#pragma once
// The intent journal of a course installation. An installation builds every
// changed file beside its live place, keeps a hard link to every live file it
// will replace, then writes this journal into the database directory before
// it swaps anything. Until the journal is gone the swap is either finished
// (rolled forward) or undone (rolled back) by whoever comes next: the next
// installation, or the player at start-up. Installations into one database
// directory are serialised by a POSIX lock on its lock file.
#include <QString>
#include <QStringList>
#include <vector>

class TInstallJournal {
public:
    static constexpr const char* FileName = ".altavo-install.journal";
    static constexpr const char* LockFileName = ".altavo-install.lock";

    // One file the installation changes (absolute paths). Staged empty: the
    // live file is removed. Backup empty: there was no live file.
    struct Entry {
        QString Live, Staged, Backup;
    };
    std::vector<Entry> Files;
    // Directories the installation made and removes when it is done.
    QStringList WorkDirs;
    // Directories made for new files, removed (when empty) by a rollback.
    QStringList CreatedDirs;
    // The registry value written last; the old value restores it.
    QString RegistryFile, RegistryKey, RegistryName, RegistryValue, RegistryOldValue;
    bool RegistryKeyExisted = false;

    // Writes the journal durably (synced, renamed into place, directory synced).
    bool Write(const QString& databaseDir, QString* error) const;
    // Reads the journal of a directory; false when there is none or it is unreadable.
    bool Read(const QString& databaseDir, QString* error);

    // Puts every staged file in place, then the registry value.
    bool RollForward(QString* error) const;
    // Puts every backed-up file back and removes files that were new.
    void RollBack() const;
    // Drops the journal, then the work directories (backups included).
    void Finish(const QString& databaseDir) const;
};

// Holds the installation lock of a database directory for its lifetime.
class TInstallLock {
public:
    // wait: block until the lock is free; otherwise fail at once when held.
    TInstallLock(const QString& databaseDir, bool wait);
    ~TInstallLock();
    TInstallLock(const TInstallLock&) = delete;
    TInstallLock& operator=(const TInstallLock&) = delete;
    bool Held() const { return m_fd >= 0 && m_held; }
    // True when another process holds the lock (rather than the lock file
    // being impossible to open or lock).
    bool HeldElsewhere() const { return m_heldElsewhere; }
    QString Error() const { return m_error; }

private:
    int m_fd = -1;
    bool m_held = false;
    bool m_heldElsewhere = false;
    QString m_error;
};

enum class TRecovery {
    Nothing, // no interrupted installation
    RolledForward,
    RolledBack,
    Busy,  // an installation is running right now
    Failed // a journal is there but could not be dealt with
};

// The same for a caller that holds the installation lock already (a second
// lock in one process would drop the first when released).
TRecovery RecoverInstallationLocked(const QString& databaseDir, QString* message = nullptr);

// Finishes or undoes an interrupted installation of databaseDir, and drops
// work directories an installation left before it wrote its journal. Takes
// the installation lock without waiting: Busy when an installation holds it,
// Failed when a journal is there but the lock cannot be taken (a database
// directory the caller cannot write) or the journal cannot be read.
// message: what was done or why not, naming the directory.
TRecovery RecoverInstallation(const QString& databaseDir, QString* message = nullptr);

// True when a journal in the table's directory or one above it names the
// table's data file: the table is being replaced and must not be made anew.
bool TableBeingReplaced(const QString& tablePath);
