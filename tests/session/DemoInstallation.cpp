#include "DemoInstallation.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

QString RunProgram(const QString& program, const QStringList& args, int* exitCode, int timeoutMs) {
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, args);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        *exitCode = -1;
        return "did not finish: " + QString::fromUtf8(process.readAllStandardError());
    }
    *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    return *exitCode == 0 ? out : out + QString::fromUtf8(process.readAllStandardError());
}

namespace {

QString BuildDir() {
    return QFileInfo(qEnvironmentVariable("ALTAVO_BIN") + "/..").canonicalFilePath();
}

QString SourceFile(const QString& relative) {
    return QDir(qEnvironmentVariable("ALTAVO_SOURCE")).filePath(relative);
}

// The demo installation made by make-demo.sh, once per build and version of
// the demo courses (making its clips takes a while): a folder beside bin/
// named by a hash of the course descriptions and the script. It is made in a
// folder of its own and renamed into place, so a half-made one is never used.
QString DemoTemplate(QString* error) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    QDirIterator courses(SourceFile("demo/courses"), {"course.json"}, QDir::Files,
                         QDirIterator::Subdirectories);
    QStringList files{SourceFile("scripts/make-demo.sh")};
    while (courses.hasNext())
        files << courses.next();
    files.sort();
    for (const QString& name : files) {
        QFile file(name);
        if (file.open(QIODevice::ReadOnly))
            hash.addData(file.readAll());
    }
    const QString dir = BuildDir() + "/session-demo-" + QString::fromLatin1(hash.result().toHex().left(12));
    if (QFile::exists(dir + "/registry.ini"))
        return dir;
    QTemporaryDir staging(BuildDir() + "/session-demo-making-XXXXXX");
    int code = 0;
    const QString out =
        RunProgram("bash", {SourceFile("scripts/make-demo.sh"), BuildDir(), staging.filePath("demo")}, &code);
    if (code != 0) {
        *error = "make-demo.sh failed: " + out;
        return {};
    }
    if (!QDir().rename(staging.filePath("demo"), dir) && !QFile::exists(dir + "/registry.ini")) {
        *error = "cannot move the demo installation to " + dir;
        return {};
    }
    return dir;
}

// Tables that hold learners and their work; a first start has none.
bool IsLearnerTable(const QFileInfo& file) {
    for (const char* table : {"Users", "Assign", "TestSess"})
        if (file.completeBaseName().compare(QLatin1String(table), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool CopyTree(const QString& from, const QString& to, bool databaseTop) {
    if (!QDir().mkpath(to))
        return false;
    for (const QFileInfo& entry : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir()) {
            if (!CopyTree(entry.filePath(), target, false))
                return false;
        } else if (!(databaseTop && IsLearnerTable(entry)) && !QFile::copy(entry.filePath(), target)) {
            return false;
        }
    }
    return true;
}

} // namespace

// The demo installation as it is before anyone has signed in, in `root`: its
// courses, tests, clips and help, the build's skins, no learners. Returns the
// registry file.
QString FirstStartInstallation(const QString& root, QString* error) {
    const QString demo = DemoTemplate(error);
    if (demo.isEmpty())
        return {};
    if (!CopyTree(demo + "/db", root + "/db", true) || !CopyTree(demo + "/media", root + "/media", false) ||
        !CopyTree(demo + "/help", root + "/help", false) ||
        !CopyTree(BuildDir() + "/skins", root + "/skins", false)) {
        *error = "cannot copy the demo installation into " + root;
        return {};
    }
    // The registry store names the template's folders; they become ours.
    QFile in(demo + "/registry.ini");
    if (!in.open(QIODevice::ReadOnly)) {
        *error = "cannot read " + in.fileName();
        return {};
    }
    QString registry = QString::fromUtf8(in.readAll());
    const QRegularExpression databaseDir("DatabaseDir=(.*)/db/?\\s*\\n");
    const QString oldRoot = databaseDir.match(registry).captured(1);
    if (oldRoot.isEmpty()) {
        *error = "no DatabaseDir in " + in.fileName();
        return {};
    }
    registry.replace(oldRoot, root);
    QFile out(root + "/registry.ini");
    if (!out.open(QIODevice::WriteOnly) || out.write(registry.toUtf8()) < 0) {
        *error = "cannot write " + out.fileName();
        return {};
    }
    return out.fileName();
}
