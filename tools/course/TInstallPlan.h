#pragma once
// Plans the swap of an installation's staged files into place: fills the
// intent journal with one entry per file and keeps a hard link to every live
// file that will be replaced or removed, so the swap can be undone. Nothing
// live changes here; the journal's roll forward does the swap.
#include <QByteArray>
#include <QString>

#include "data/TInstallJournal.h"

class TInstallPlan {
public:
    TInstallPlan(TInstallJournal& journal, QString backupDir);

    // Every staged file below stagedRoot replaces its live counterpart below
    // liveRoot. A table is a set of files sharing a base name (data, memo,
    // tags, any letter case): the staged set replaces the whole live set.
    bool AddTree(const QString& stagedRoot, const QString& liveRoot);
    // One file outside the trees, its new contents written (synced) beside it.
    bool AddFile(const QString& live, const QByteArray& contents);
    // Removes what the plan wrote outside its work directories.
    void Abandon();
    QString Error() const { return m_error; }

private:
    bool BackUp(const QString& live, QString& backup);
    void NoteMissingDirs(const QString& dir);

    TInstallJournal& m_journal;
    QString m_backupDir;
    QString m_error;
    int m_backups = 0;
};
