#pragma once
// Runs one of the build's programs (from $ALTAVO_BIN) as a separate process,
// the way an administrator or author runs it, and keeps what it said.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

struct TToolRun {
    int exitCode = -1; // -1: did not finish in time; -2: crashed
    QString out, err;
};

// extraEnv is added to this process's environment; leak reports are off, as in
// the test runs themselves.
inline TToolRun RunBuiltTool(const QString& program, const QStringList& args,
                             const std::vector<std::pair<QString, QString>>& extraEnv = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : extraEnv)
        env.insert(name, value);
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    process.setProcessEnvironment(env);
    process.start(qEnvironmentVariable("ALTAVO_BIN") + "/" + program, args);
    TToolRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
