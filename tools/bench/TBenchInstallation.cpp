#include "TBenchInstallation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "data/TEngineSession.h"
#include "data/TUser.h"
#include "platform/TConfiguration.h"
#include "platform/TDynamicLibrary.h"
#include "platform/TRegistry.h"
#include "platform/media/bench/BenchClip.h"

namespace {

QString WithSlash(const QString& dir) {
    return dir.endsWith('/') ? dir : dir + '/';
}

// Every button plays the same short lesson clip: the index still has one clip
// row per button, which is what course start reads.
QJsonObject CourseDescription() {
    QJsonArray pages;
    for (int p = 1; p <= TBenchInstallation::Pages; ++p) {
        QJsonArray buttons;
        for (int b = 1; b <= TBenchInstallation::ButtonsPerPage; ++b)
            buttons.append(
                QJsonObject{{"title", QString("Topic %1.%2").arg(p).arg(b)},
                            {"clips", QJsonArray{QJsonObject{{"file", "lesson"},
                                                             {"title", QString("Clip %1.%2").arg(p).arg(b)},
                                                             {"type", 257}}}}});
        pages.append(QJsonObject{{"title", QString("Page %1").arg(p)}, {"buttons", buttons}});
    }
    QJsonArray glossary;
    for (int t = 1; t <= TBenchInstallation::GlossaryTerms; ++t)
        glossary.append(QJsonObject{
            {"term", QString("Term %1").arg(t, 3, 10, QChar('0'))},
            {"definition",
             QString("What term %1 means, in a sentence or two of plain words. {see:Term 001}").arg(t)}});
    QJsonArray questions;
    for (int q = 1; q <= TBenchInstallation::Questions; ++q) {
        const QString text =
            QString("Question %1: which of these holds for the sheet in front of you?").arg(q);
        switch (q % 3) {
        case 0:
            questions.append(QJsonObject{{"type", "truefalse"},
                                         {"question", text},
                                         {"answer", true},
                                         {"hint", "A hint"},
                                         {"ref", "A reference"}});
            break;
        case 1:
            questions.append(QJsonObject{{"type", "single"},
                                         {"question", text},
                                         {"choices", QJsonArray{"One", "Two", "Three", "Four"}},
                                         {"answer", 2}});
            break;
        default:
            questions.append(QJsonObject{{"type", "multiple"},
                                         {"question", text},
                                         {"choices", QJsonArray{"One", "Two", "Three", "Four"}},
                                         {"answer", QJsonArray{1, 3}}});
        }
    }
    return QJsonObject{
        {"id", TBenchInstallation::CourseId},
        {"title", "Benchmark course"},
        {"description", "Fifty pages of twenty buttons."},
        {"path", "BENCH/"},
        {"genesis", "intro"},
        {"pages", pages},
        {"glossary", glossary},
        {"test",
         QJsonObject{{"id", "BENCHT"},
                     {"title", "Benchmark test"},
                     {"path", "BENCHT/"},
                     {"table", "BENCHQ"},
                     {"parent", QJsonObject{{"id", "BENCHP"}, {"title", "Benchmarks"}, {"time", "1:00"}}},
                     {"questions", questions}}}};
}

} // namespace

TBenchInstallation::TBenchInstallation(QString dir, QString binDir, QString skinsDir)
    : m_dir(std::move(dir)), m_binDir(std::move(binDir)), m_skinsDir(std::move(skinsDir)) {}

QString TBenchInstallation::RegistryFile() const {
    return QDir(m_dir).absoluteFilePath("registry.ini");
}
QString TBenchInstallation::DatabaseDir() const {
    return WithSlash(QDir(m_dir).absoluteFilePath("db"));
}
QString TBenchInstallation::CourseDir() const {
    return DatabaseDir() + "BENCH/";
}
QString TBenchInstallation::MediaDir() const {
    return WithSlash(QDir(m_dir).absoluteFilePath("media"));
}

bool TBenchInstallation::Fail(const QString& error) {
    m_error = error;
    return false;
}

bool TBenchInstallation::Make() {
    if (!QDir().mkpath(m_dir) || !QDir().mkpath(DatabaseDir()) || !QDir().mkpath(MediaDir()))
        return Fail("cannot make " + m_dir);
    if (!QFileInfo::exists(m_skinsDir + "/Default/scheme.ini"))
        return Fail("no demo skin in " + m_skinsDir +
                    " (build the altavo_demo_skins target, or name one with --skins)");
    const QString done = QDir(m_dir).absoluteFilePath(".bench-installed");
    if (!QFileInfo::exists(done)) {
        if (!WriteRegistry() || !InstallCourse() || !AddLearner())
            return false;
        QFile(done).open(QIODevice::WriteOnly);
    }
    m_hasClips = MakeClips();
    return true;
}

bool TBenchInstallation::WriteRegistry() {
    TRegistry registry(RegistryFile());
    if (!registry.OpenKey(ConfigurationKey, true) || !registry.WriteString("DatabaseDir", DatabaseDir()) ||
        !registry.WriteString("GraphicDir", WithSlash(QDir(m_skinsDir).absolutePath())) ||
        !registry.WriteString("SkinDir", "Default/") ||
        !registry.WriteString("HelpDir", WithSlash(QDir(m_dir).absoluteFilePath("help"))))
        return Fail("cannot write " + RegistryFile());
    return true;
}

bool TBenchInstallation::InstallCourse() {
    const QString description = QDir(m_dir).absoluteFilePath("course.json");
    QFile file(description);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(CourseDescription()).toJson()) < 0)
        return Fail("cannot write " + description);
    file.close();
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("ALTAVO_REGISTRY", RegistryFile());
    env.insert("ALTAVO_ENGINE_DIR", m_binDir);
    tool.setProcessEnvironment(env);
    tool.start(m_binDir + "/altavo-course",
               {"install", description, "--database", DatabaseDir(), "--media", MediaDir() + CourseId});
    if (!tool.waitForFinished(300000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return Fail("altavo-course could not install the bench course: " +
                    QString::fromLocal8Bit(tool.readAll()).trimmed());
    return true;
}

bool TBenchInstallation::AddLearner() {
    TDynamicLibrary library;
    if (!library.Load(EngineLibraryFileName(), EngineLibraryDirs()))
        return Fail("the engine library cannot be loaded: " + library.ErrorString());
    TEngineSession session(library);
    if (!session.Engine())
        return Fail("the engine cannot be started");
    TUser users(library, DatabaseDir(), session.Engine());
    UserInfoStruct learner;
    learner.UserName = Learner;
    learner.Password = Password;
    learner.FirstName = "Bench";
    learner.LastName = "Learner";
    if (users.AddUser(learner) < 1)
        return Fail("the learner cannot be added to the users table");
    return true;
}

bool TBenchInstallation::MakeClips() {
    const QString media = MediaDir() + CourseId + "/";
    for (const auto& [name, seconds] : {std::pair{"intro.avi", 6}, std::pair{"lesson.avi", 3}})
        if (!QFileInfo::exists(media + name) && !MakeBenchClip(media + name, "cinepak", seconds))
            return false;
    return true;
}
