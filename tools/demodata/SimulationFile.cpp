#include "SimulationFile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {

const char* ActionName(TSimulationStep::Action a) {
    switch (a) {
    case TSimulationStep::Action::Click:
        return "click";
    case TSimulationStep::Action::DoubleClick:
        return "doubleclick";
    case TSimulationStep::Action::Key:
        return "key";
    case TSimulationStep::Action::Type:
        return "type";
    }
    return "";
}

QString PictureName(int index) {
    return QStringLiteral("step%1.png").arg(index + 1);
}

// The description `altavo-sim make` reads, naming step1.png, step2.png, ...
QByteArray SimulationSteps(const TSimulation& simulation) {
    QJsonArray steps;
    for (int i = 0; i < simulation.Steps.size(); ++i) {
        const TSimulationStep& s = simulation.Steps[i];
        QJsonObject action{{"kind", ActionName(s.Expected)}};
        if (!s.Target.isNull())
            action["target"] = QJsonArray{s.Target.x(), s.Target.y(), s.Target.width(), s.Target.height()};
        if (s.Expected == TSimulationStep::Action::Key)
            action["key"] = s.Key;
        if (s.Expected == TSimulationStep::Action::Type)
            action["text"] = s.Text;
        steps.append(
            QJsonObject{{"picture", PictureName(i)}, {"instruction", s.Instruction}, {"action", action}});
    }
    const QJsonObject root{{"title", simulation.Title},
                           {"width", simulation.Size.width()},
                           {"height", simulation.Size.height()},
                           {"steps", steps}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace

bool MakeSimulation(const TSimulation& simulation, const QString& simTool, const QString& outPath,
                    QString& error) {
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        error = scratch.errorString();
        return false;
    }
    for (int i = 0; i < simulation.Steps.size(); ++i) {
        const QString picture = scratch.filePath(PictureName(i));
        if (!simulation.Steps[i].Picture.save(picture, "PNG")) {
            error = QStringLiteral("cannot write %1").arg(picture);
            return false;
        }
    }
    const QString steps = scratch.filePath(QStringLiteral("steps.json"));
    QSaveFile description(steps);
    const QByteArray json = SimulationSteps(simulation);
    if (!description.open(QIODevice::WriteOnly) || description.write(json) != json.size() ||
        !description.commit()) {
        error = description.errorString();
        return false;
    }
    QProcess tool;
    tool.start(simTool, {QStringLiteral("make"), steps, outPath});
    if (!tool.waitForFinished(120000)) {
        error = QStringLiteral("%1: %2").arg(simTool, tool.errorString());
        tool.kill();
        return false;
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        error = QString::fromLocal8Bit(tool.readAllStandardError()).trimmed();
        if (error.isEmpty())
            error = QStringLiteral("%1 make failed").arg(simTool);
        return false;
    }
    return true;
}
