#include "TInstallationCopy.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include "platform/TPaths.h"
#include "platform/TRegistry.h"
#include "shell/TForm1.h"

namespace {

// Tables that hold learners and their work; a first start has none.
bool IsLearnerTable(const QFileInfo& file) {
    const QString base = file.completeBaseName();
    for (const char* table : {"Users", "Assign", "TestSess"})
        if (base.compare(QLatin1String(table), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool CopyTree(const QString& from, const QString& to, bool dropLearners, QString& error) {
    if (!QDir().mkpath(to)) {
        error = "cannot make " + to;
        return false;
    }
    const QFileInfoList entries = QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir()) {
            if (!CopyTree(entry.filePath(), target, false, error))
                return false;
        } else if (!(dropLearners && IsLearnerTable(entry)) && !QFile::copy(entry.filePath(), target)) {
            error = "cannot copy " + entry.filePath();
            return false;
        }
    }
    return true;
}

} // namespace

QString MakeInstallationCopy(const QString& registryFile, const QString& dir, TCopyLearners learners,
                             QString& error) {
    TRegistry original(registryFile);
    if (!original.OpenKeyReadOnly(ConfigurationKey)) {
        error = "no settings key in " + registryFile;
        return {};
    }
    const QString database = ResolvePath(FromStoredPath(original.ReadString("DatabaseDir")));
    if (database.isEmpty() || !QFileInfo(database).isDir()) {
        error = "the database directory \"" + database + "\" does not exist";
        return {};
    }
    const QString copyRegistry = QDir(dir).filePath("registry.ini");
    const QString copyDatabase = QDir(dir).filePath("db");
    QFile::remove(copyRegistry);
    if (!QFile::copy(registryFile, copyRegistry)) {
        error = "cannot copy " + registryFile;
        return {};
    }
    QFile::setPermissions(copyRegistry, QFile::ReadOwner | QFile::WriteOwner);
    if (!CopyTree(database, copyDatabase, learners == TCopyLearners::Drop, error))
        return {};
    TRegistry copy(copyRegistry);
    if (!copy.OpenKey(ConfigurationKey, false) || !copy.WriteString("DatabaseDir", copyDatabase + "/")) {
        error = "cannot write " + copyRegistry + ": " + copy.LastError();
        return {};
    }
    return copyRegistry;
}
