#pragma once
// Runs altavo-course on a scratch database directory with a registry file of
// its own, and opens what it wrote with the table objects.
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "ToolRun.h"
#include "engine/c4dstand.h"
#include "platform/TDynamicLibrary.h"
#include "platform/TMessages.h"

inline TDynamicLibrary& EngineLibrary() {
    static TDynamicLibrary library;
    if (!library.IsLoaded())
        library.Load(EngineLibraryFileName(), {qEnvironmentVariable("ALTAVO_BIN")});
    return library;
}

class CourseToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_scratch.isValid());
        ASSERT_TRUE(EngineLibrary().IsLoaded()) << EngineLibrary().ErrorString().toStdString();
        Engine = EngineLibrary().Bind<CODE4* (*)()>("code4initP")();
        EngineLibrary().Bind<int (*)(CODE4*, int)>("code4errOff")(Engine, 1);
        EngineLibrary().Bind<int (*)(CODE4*, int)>("code4errOpen")(Engine, 0);
        QDir().mkpath(Database());
    }
    void TearDown() override {
        if (Engine)
            EngineLibrary().Bind<int (*)(CODE4*)>("code4initUndoP")(Engine);
    }

    QString Scratch() const { return m_scratch.path() + "/"; }
    QString Database() const { return Scratch() + "db/"; }
    QString RegistryFile() const { return Scratch() + "registry.ini"; }
    static QString CaseDir(const QString& name) {
        return qEnvironmentVariable("ALTAVO_SOURCE") + "/tests/tools/course/cases/" + name + "/";
    }

    TToolRun Run(const QStringList& args, const QString& registry = QString()) {
        return RunBuiltTool("altavo-course", args,
                            {{"ALTAVO_REGISTRY", registry.isEmpty() ? RegistryFile() : registry}});
    }

    TToolRun Install(const QString& description, const QStringList& extra = {}) {
        return Run(QStringList{"install", description, "--database", Database()} + extra);
    }

    // The sample description, changed by `edit`, written beside copies of its files.
    QString EditedSample(const std::function<void(QJsonObject&)>& edit, const QString& name = "edited") {
        const QString dir = Scratch() + name + "/";
        QDir().mkpath(dir);
        for (const QString& file : QDir(CaseDir("spreadsheets")).entryList(QDir::Files))
            QFile::copy(CaseDir("spreadsheets") + file, dir + file);
        QFile in(CaseDir("spreadsheets") + "course.json");
        in.open(QIODevice::ReadOnly);
        QJsonObject root = QJsonDocument::fromJson(in.readAll()).object();
        edit(root);
        QFile out(dir + "course.json");
        out.remove();
        out.open(QIODevice::WriteOnly);
        out.write(QJsonDocument(root).toJson());
        return dir + "course.json";
    }

    // Every file below `dir` with a digest of its contents.
    static QMap<QString, QByteArray> Snapshot(const QString& dir) {
        QMap<QString, QByteArray> files;
        QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            files[QDir(dir).relativeFilePath(path)] =
                QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
        }
        return files;
    }

    CODE4* Engine = nullptr;
    TScriptedMessages Shown;

private:
    QTemporaryDir m_scratch;
};
