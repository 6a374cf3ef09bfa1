#pragma once
// Installs one checked course description into a database directory.
//
// One installation at a time: a POSIX lock on the database directory's lock
// file serialises installations (a second one waits). Nothing is
// half-installed: under the lock every table is built in a staging directory
// inside the database directory (copies of the shared catalogue tables as
// they are now, the course's own tables built fresh); an intent journal
// (TInstallJournal) names every file to swap and a hard-linked backup of
// every live file it replaces; then the staged files are renamed into place
// and the registry key written. A failure undoes the swap; a killed run is
// finished or undone from the journal by the next run or the player.
#include <QString>
#include <QStringList>

#include "TCourseDescription.h"

class TDynamicLibrary;

class TCourseInstaller {
public:
    // mediaDir empty: the course's own directory. registryFile: the registry
    // store to write the course's key into.
    TCourseInstaller(TDynamicLibrary& engine, const QString& databaseDir, const QString& mediaDir,
                     const QString& registryFile);

    bool Install(const TCourseDescription& course);
    QString Error() const { return m_error; }
    // What the installation did, one line each (replaced course, media directory).
    QStringList Notes() const { return m_notes; }
    QString MediaDir() const { return m_mediaDir; }

private:
    bool Stage(const TCourseDescription& course, const QString& staged);
    bool BuildTest(class TTesting& testing, const TTestDescription& test, const QString& staged,
                   int numPages);

    TDynamicLibrary& m_engine;
    QString m_databaseDir;
    QString m_mediaDir;
    QString m_registryFile;
    QString m_error;
    QStringList m_notes;
};
