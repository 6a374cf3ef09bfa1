#pragma once
// Moves a staged tree of files into place, keeping every file it replaces in a
// backup directory so that the whole change can be rolled back. A table is a
// set of files sharing a base name (data, memo, tags, any letter case): the
// staged set replaces the whole live set.
#include <QString>
#include <QStringList>
#include <vector>

class TFileSwap {
public:
    TFileSwap(QString stagedRoot, QString liveRoot, QString backupRoot);

    // Moves every staged file into the live tree. False (with Error()) when a
    // move failed; the live tree is then already rolled back.
    bool Apply();
    // Replaces one file by new contents, the old one (any letter case) kept for rollback.
    bool ReplaceFile(const QString& path, const QByteArray& contents);
    // Undoes everything Apply and ReplaceFile did, newest first.
    void RollBack();
    // Drops the backups: the change stays.
    void Commit();
    QString Error() const { return m_error; }

private:
    struct Step {
        QString from, to; // a rename done; undone by renaming back
    };
    bool Move(const QString& from, const QString& to);
    bool MakeDir(const QString& dir);
    bool BackUpMatching(const QString& liveDir, const QString& baseName, const QString& fileName,
                        bool wholeName);

    QString m_staged, m_live, m_backup;
    std::vector<Step> m_done;
    QStringList m_createdDirs;
    QString m_error;
    int m_backupCount = 0;
};
