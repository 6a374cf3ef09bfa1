#include "TChildRun.h"

#include "TPaintMarker.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

TChildResult RunChild(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                      const QByteArray& marker, int timeoutMs) {
    TChildResult result;
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    const long long startNs = MonotonicNs();
    child.start(program, args);
    if (!child.waitForStarted(timeoutMs)) {
        result.Error = program + " did not start: " + child.errorString();
        return result;
    }
    QByteArray out;
    // Lines come whole: the child flushes after each marker.
    const auto readLines = [&] {
        while (child.canReadLine()) {
            const QByteArray line = child.readLine().trimmed();
            out += line + '\n';
            if (!result.Ok && line.startsWith(marker + ' ')) {
                result.Ms = clock.nsecsElapsed() / 1e6;
                result.RssMb = line.mid(marker.size() + 1).toDouble() / 1024.0;
                result.Ok = true;
            } else if (line.startsWith("at-")) {
                const QList<QByteArray> parts = line.mid(3).split(' ');
                result.StageMs[QString::fromLatin1(parts.value(0))] =
                    (parts.value(1).toLongLong() - startNs) / 1e6;
            } else if (line.startsWith("failed ")) {
                result.Error = QString::fromLocal8Bit(line.mid(7));
            }
        }
    };
    while (!result.Ok && result.Error.isEmpty() && clock.elapsed() < timeoutMs) {
        const bool running = child.state() != QProcess::NotRunning;
        if (running)
            child.waitForReadyRead(50);
        readLines();
        if (!running)
            break;
    }
    // A child that hangs or crashes on its way out is a fault of the
    // player, not a run to count.
    QString ending;
    if (!child.waitForFinished(10000)) {
        child.kill();
        child.waitForFinished(5000);
        ending = "did not end within 10 s";
    } else if (child.exitStatus() == QProcess::CrashExit) {
        ending = "crashed";
    }
    // A sanitizer build's report makes the run worthless, even when the
    // child went on to print its marker.
    const QString errors = QString::fromLocal8Bit(child.readAllStandardError());
    for (const char* report : {"runtime error:", "Sanitizer"})
        if (errors.contains(QLatin1String(report))) {
            result.Ok = false;
            result.Error = QFileInfo(program).fileName() + " reported: " + errors.right(600).trimmed();
            return result;
        }
    if (result.Ok && !ending.isEmpty()) {
        result.Ok = false;
        result.Error = QFileInfo(program).fileName() + " " + ending + " after its marker";
        return result;
    }
    if (!result.Ok && result.Error.isEmpty()) {
        const QString said = (QString::fromLocal8Bit(out) + errors).trimmed();
        result.Error = QString("%1 printed no \"%2\" line within %3 s%4")
                           .arg(QFileInfo(program).fileName(), QString::fromLatin1(marker))
                           .arg(timeoutMs / 1000)
                           .arg(said.isEmpty() ? QString() : ": " + said.right(300));
    }
    return result;
}
