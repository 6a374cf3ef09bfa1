#pragma once
// Installs one checked course description into a database directory.
//
// Nothing is half-installed: every table is built in a staging directory
// inside the database directory (copies of the shared catalogue tables, the
// course's own tables built fresh), then the staged files replace the live
// ones by rename, each replaced file kept in a backup directory until the
// course's Course.ini and registry key are written too. Any failure moves the
// backups back, so the database directory, Course.ini and the registry are as
// they were.
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
