#include "SimulationFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "GifWriter.h"

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

// giflib writes files; the picture travels inside the simulation as base64.
QByteArray GifBytes(const QImage& picture, QString& error) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("step.gif"));
    error = WriteGif(path, picture);
    if (!error.isEmpty())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return {};
    }
    return file.readAll();
}

QJsonArray RectArray(const QRect& r) {
    return {r.x(), r.y(), r.width(), r.height()};
}

} // namespace

QByteArray SimulationJson(const TSimulation& simulation, QString& error) {
    const QRect area(QPoint(0, 0), simulation.Size);
    QJsonArray steps;
    for (int i = 0; i < simulation.Steps.size(); ++i) {
        const TSimulationStep& s = simulation.Steps[i];
        const QString where = QStringLiteral("step %1: ").arg(i + 1);
        if (s.Picture.size() != simulation.Size) {
            error = where + QStringLiteral("the picture is not %1 by %2")
                                .arg(simulation.Size.width())
                                .arg(simulation.Size.height());
            return {};
        }
        const bool needsTarget = s.Expected == TSimulationStep::Action::Click ||
                                 s.Expected == TSimulationStep::Action::DoubleClick;
        if ((needsTarget || !s.Target.isNull()) && (!s.Target.isValid() || !area.contains(s.Target))) {
            error = where + QStringLiteral("the target lies outside the picture");
            return {};
        }
        if (s.Expected == TSimulationStep::Action::Key && s.Key.isEmpty()) {
            error = where + QStringLiteral("a key step names no key");
            return {};
        }
        if (s.Expected == TSimulationStep::Action::Type && s.Text.isEmpty()) {
            error = where + QStringLiteral("a typing step has no text");
            return {};
        }
        const QByteArray gif = GifBytes(s.Picture, error);
        if (gif.isEmpty()) {
            error = where + error;
            return {};
        }
        QJsonObject action{{"kind", ActionName(s.Expected)}};
        if (!s.Target.isNull())
            action["target"] = RectArray(s.Target);
        if (s.Expected == TSimulationStep::Action::Key)
            action["key"] = s.Key;
        if (s.Expected == TSimulationStep::Action::Type)
            action["text"] = s.Text;
        steps.append(QJsonObject{{"instruction", s.Instruction},
                                 {"picture", QString::fromLatin1(gif.toBase64())},
                                 {"action", action}});
    }
    QJsonObject root{{"format", "altavo-simulation"},      {"version", 1},
                     {"title", simulation.Title},          {"width", simulation.Size.width()},
                     {"height", simulation.Size.height()}, {"steps", steps}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
