#include "TSimulationMaker.h"

#include "TGifEncoding.h"
#include "widgets/TSimulationFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QByteArray Refuse(QString& error, const QString& message) {
    error = message;
    return {};
}

} // namespace

QByteArray MakeSimulation(const QString& descriptionPath, QString& error) {
    QFile file(descriptionPath);
    if (!file.open(QIODevice::ReadOnly))
        return Refuse(error, QStringLiteral("cannot open %1: %2").arg(descriptionPath, file.errorString()));
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return Refuse(error, QStringLiteral("%1 is not valid JSON: %2 at byte %3")
                                 .arg(descriptionPath, parseError.errorString())
                                 .arg(parseError.offset));
    if (!document.isObject())
        return Refuse(error, QStringLiteral("%1 must hold one JSON object").arg(descriptionPath));
    const QJsonObject description = document.object();
    const QJsonArray steps = description.value(QLatin1String("steps")).toArray();
    if (steps.isEmpty())
        return Refuse(error, QStringLiteral("the description lists no \"steps\""));
    const QDir base = QFileInfo(descriptionPath).absoluteDir();

    // The stated size, or else the first picture's.
    const bool sizeStated =
        description.contains(QLatin1String("width")) || description.contains(QLatin1String("height"));
    QSize size(description.value(QLatin1String("width")).toInt(),
               description.value(QLatin1String("height")).toInt());
    QJsonArray outSteps;
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const QString where = QStringLiteral("step %1: ").arg(i + 1);
        const QJsonObject step = steps[i].toObject();
        const QString pictureName = step.value(QLatin1String("picture")).toString();
        if (pictureName.isEmpty())
            return Refuse(error, where + QStringLiteral("the step names no \"picture\" file"));
        QImageReader reader(base.filePath(pictureName));
        const QImage picture = reader.read();
        if (picture.isNull())
            return Refuse(
                error,
                where +
                    QStringLiteral("cannot read the picture %1: %2").arg(pictureName, reader.errorString()));
        if (i == 0 && !sizeStated)
            size = picture.size();
        if (picture.size() != size)
            return Refuse(error, where + QStringLiteral("the picture %1 is %2 by %3, not %4 by %5")
                                             .arg(pictureName)
                                             .arg(picture.width())
                                             .arg(picture.height())
                                             .arg(size.width())
                                             .arg(size.height()));
        const QByteArray gif = EncodeGif(picture, error);
        if (gif.isEmpty())
            return Refuse(error,
                          where + QStringLiteral("cannot encode the picture %1: %2").arg(pictureName, error));
        outSteps.append(QJsonObject{{"instruction", step.value(QLatin1String("instruction"))},
                                    {"picture", QString::fromLatin1(gif.toBase64())},
                                    {"action", step.value(QLatin1String("action"))}});
    }
    const QJsonObject root{{"format", kSimulationFormat},
                           {"version", kSimulationVersion},
                           {"title", description.value(QLatin1String("title"))},
                           {"width", size.width()},
                           {"height", size.height()},
                           {"steps", outSteps}};
    const QByteArray bytes = QJsonDocument(root).toJson(QJsonDocument::Indented);
    // Whatever the description got wrong (a missing instruction, a target outside the
    // picture, a key that is no key) the reader names, with the step.
    const TSimulationRead check = ReadSimulation(bytes);
    if (!check.Playable())
        return Refuse(error, check.Error);
    return bytes;
}
