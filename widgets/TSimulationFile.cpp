#include "TSimulationFile.h"

#include "GifDecoder.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QKeySequence>

#include <cmath>
#include <limits>

namespace {

// Refusals carry their message up to ReadSimulation, which marks the file damaged.
struct TFault {
    QString message;
};

QString Quoted(const QString& key) {
    return QStringLiteral("\"%1\"").arg(key);
}

// JSON numbers are doubles; a count or a coordinate must be a whole number in range.
bool WholeNumber(const QJsonValue& value, qint64 low, qint64 high, qint64& out) {
    if (!value.isDouble())
        return false;
    const double d = value.toDouble();
    if (!std::isfinite(d) || d != std::floor(d) || d < double(low) || d > double(high))
        return false;
    out = qint64(d);
    return true;
}

QJsonValue Required(const QJsonObject& object, const QString& key, const QString& where) {
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        throw TFault{where + QStringLiteral("the key %1 is missing").arg(Quoted(key))};
    return value;
}

int RequiredInt(const QJsonObject& object, const QString& key, int low, int high, const QString& where) {
    qint64 n = 0;
    if (!WholeNumber(Required(object, key, where), low, high, n))
        throw TFault{
            where +
            QStringLiteral("%1 must be a whole number from %2 to %3").arg(Quoted(key)).arg(low).arg(high)};
    return int(n);
}

QString RequiredText(const QJsonObject& object, const QString& key, int maxLength, const QString& where) {
    const QJsonValue value = Required(object, key, where);
    if (!value.isString())
        throw TFault{where + QStringLiteral("%1 must be text").arg(Quoted(key))};
    const QString text = value.toString();
    if (text.size() > maxLength)
        throw TFault{where +
                     QStringLiteral("%1 is longer than %2 characters").arg(Quoted(key)).arg(maxLength)};
    return text;
}

int LittleEndian16(const QByteArray& bytes, qsizetype at) {
    return uchar(bytes[at]) | (uchar(bytes[at + 1]) << 8);
}

// Walks the GIF's blocks without decoding any pixels: a step's picture is exactly one
// image on a canvas of the simulation's size, ending in the trailer. A cut, padded or
// animated picture is refused here, before the decoder spends any time on it.
void CheckGifStructure(const QByteArray& gif, QSize size, const QString& where) {
    const QString cut = where + QStringLiteral("the picture is cut short");
    if (gif.size() < 13 || !(gif.startsWith("GIF87a") || gif.startsWith("GIF89a")))
        throw TFault{where + QStringLiteral("the picture is not a GIF")};
    const QSize canvas(LittleEndian16(gif, 6), LittleEndian16(gif, 8));
    if (canvas != size)
        throw TFault{where + QStringLiteral("the picture is %1 by %2, not %3 by %4")
                                 .arg(canvas.width())
                                 .arg(canvas.height())
                                 .arg(size.width())
                                 .arg(size.height())};
    qsizetype at = 13;
    const auto colourTable = [](uchar flags) -> qsizetype {
        return (flags & 0x80) ? 3 << ((flags & 7) + 1) : 0;
    };
    at += colourTable(uchar(gif[10]));
    // Skips a chain of data sub-blocks ended by an empty one.
    const auto skipSubBlocks = [&] {
        for (;;) {
            if (at >= gif.size())
                throw TFault{cut};
            const int length = uchar(gif[at++]);
            if (length == 0)
                return;
            at += length;
        }
    };
    int images = 0;
    for (;;) {
        if (at >= gif.size())
            throw TFault{cut};
        const uchar block = uchar(gif[at++]);
        if (block == 0x3B) // trailer
            break;
        if (block == 0x21) { // extension: label, then sub-blocks
            if (++at > gif.size())
                throw TFault{cut};
            skipSubBlocks();
        } else if (block == 0x2C) { // image: descriptor, colour table, code size, data
            if (at + 9 > gif.size())
                throw TFault{cut};
            const uchar flags = uchar(gif[at + 8]);
            at += 9 + colourTable(flags) + 1;
            skipSubBlocks();
            if (++images > 1)
                throw TFault{where + QStringLiteral("the picture holds more than one image")};
        } else {
            throw TFault{where +
                         QStringLiteral("the picture is damaged (unknown block at byte %1)").arg(at - 1)};
        }
    }
    if (images == 0)
        throw TFault{where + QStringLiteral("the picture holds no image")};
    if (at != gif.size())
        throw TFault{where + QStringLiteral("the picture has data after its end")};
}

QImage DecodePicture(const QJsonObject& step, QSize size, const QString& where) {
    const QJsonValue value = Required(step, QStringLiteral("picture"), where);
    if (!value.isString())
        throw TFault{where + QStringLiteral("\"picture\" must be base64 text")};
    const QByteArray text = value.toString().toLatin1();
    const auto decoded = QByteArray::fromBase64Encoding(text, QByteArray::Base64Encoding |
                                                                  QByteArray::AbortOnBase64DecodingErrors);
    // Qt accepts base64 without padding; the format asks for it, so a cut text is caught.
    if (!decoded || text.size() % 4 != 0 || text.isEmpty())
        throw TFault{where + QStringLiteral("the picture is not valid base64")};
    CheckGifStructure(decoded.decoded, size, where);
    const TGifAnimation gif = DecodeGif(reinterpret_cast<const uint8_t*>(decoded.decoded.constData()),
                                        size_t(decoded.decoded.size()));
    if (gif.Frames.size() != 1 || QSize(gif.Width, gif.Height) != size)
        throw TFault{where + QStringLiteral("the picture cannot be decoded")};
    const QImage frame(reinterpret_cast<const uchar*>(gif.Frames[0].Pixels.data()), gif.Width, gif.Height,
                       gif.Width * 4, QImage::Format_ARGB32_Premultiplied);
    return frame.copy();
}

QRect ReadTarget(const QJsonValue& value, QSize size, const QString& where) {
    const QString wrong =
        where + QStringLiteral("\"target\" must be four whole numbers: left, top, width, height");
    if (!value.isArray() || value.toArray().size() != 4)
        throw TFault{wrong};
    const QJsonArray a = value.toArray();
    qint64 n[4];
    for (int i = 0; i < 4; ++i)
        if (!WholeNumber(a[i], std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), n[i]))
            throw TFault{wrong};
    if (n[2] < 1 || n[3] < 1 || n[0] < 0 || n[1] < 0 || n[0] + n[2] > size.width() ||
        n[1] + n[3] > size.height())
        throw TFault{where + QStringLiteral("the target %1,%2,%3,%4 lies outside the %5 by %6 picture")
                                 .arg(n[0])
                                 .arg(n[1])
                                 .arg(n[2])
                                 .arg(n[3])
                                 .arg(size.width())
                                 .arg(size.height())};
    return QRect(int(n[0]), int(n[1]), int(n[2]), int(n[3]));
}

void ReadAction(const QJsonObject& stepObject, TSimulationStep& step, QSize size, const QString& where) {
    const QJsonValue value = Required(stepObject, QStringLiteral("action"), where);
    if (!value.isObject())
        throw TFault{where + QStringLiteral("\"action\" must be an object")};
    const QJsonObject action = value.toObject();
    const QString kind = RequiredText(action, QStringLiteral("kind"), 20, where);
    if (kind == QLatin1String("click"))
        step.Kind = TSimulationActionKind::Click;
    else if (kind == QLatin1String("doubleclick"))
        step.Kind = TSimulationActionKind::DoubleClick;
    else if (kind == QLatin1String("key"))
        step.Kind = TSimulationActionKind::Key;
    else if (kind == QLatin1String("type"))
        step.Kind = TSimulationActionKind::Type;
    else
        throw TFault{where + QStringLiteral("the action kind %1 is unknown").arg(Quoted(kind))};

    const bool clicks =
        step.Kind == TSimulationActionKind::Click || step.Kind == TSimulationActionKind::DoubleClick;
    if (clicks)
        step.Target = ReadTarget(Required(action, QStringLiteral("target"), where), size, where);
    else if (step.Kind == TSimulationActionKind::Type && action.contains(QLatin1String("target")))
        step.Target = ReadTarget(action.value(QLatin1String("target")), size, where);

    if (step.Kind == TSimulationActionKind::Key) {
        step.KeyName = RequiredText(action, QStringLiteral("key"), kSimulationMaxKeyName, where);
        if (!ParseSimulationKey(step.KeyName, step.Key))
            throw TFault{where + QStringLiteral("%1 names no key").arg(Quoted(step.KeyName))};
    }
    if (step.Kind == TSimulationActionKind::Type) {
        step.Text = RequiredText(action, QStringLiteral("text"), kSimulationMaxText, where);
        if (step.Text.isEmpty())
            throw TFault{where + QStringLiteral("a typing step has no text")};
        for (const QChar c : step.Text)
            if (c.category() == QChar::Other_Control)
                throw TFault{where + QStringLiteral("the text holds a control character")};
    }
}

void ReadBody(const QJsonObject& root, TSimulation& sim) {
    sim.Title = RequiredText(root, QStringLiteral("title"), kSimulationMaxTitle, {});
    sim.Size = QSize(RequiredInt(root, QStringLiteral("width"), 1, kSimulationMaxSide, {}),
                     RequiredInt(root, QStringLiteral("height"), 1, kSimulationMaxSide, {}));
    const QJsonValue stepsValue = Required(root, QStringLiteral("steps"), {});
    if (!stepsValue.isArray())
        throw TFault{QStringLiteral("\"steps\" must be a list")};
    const QJsonArray steps = stepsValue.toArray();
    if (steps.isEmpty())
        throw TFault{QStringLiteral("the simulation has no steps")};
    if (steps.size() > kSimulationMaxSteps)
        throw TFault{QStringLiteral("the simulation has %1 steps, more than %2")
                         .arg(steps.size())
                         .arg(kSimulationMaxSteps)};
    if (qint64(sim.Size.width()) * sim.Size.height() * steps.size() > kSimulationMaxPixels)
        throw TFault{QStringLiteral("the pictures are too large together (%1 steps of %2 by %3)")
                         .arg(steps.size())
                         .arg(sim.Size.width())
                         .arg(sim.Size.height())};
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const QString where = QStringLiteral("step %1: ").arg(i + 1);
        if (!steps[i].isObject())
            throw TFault{where + QStringLiteral("the step must be an object")};
        const QJsonObject object = steps[i].toObject();
        TSimulationStep step;
        step.Instruction =
            RequiredText(object, QStringLiteral("instruction"), kSimulationMaxInstruction, where);
        // The action first: it is cheap, the picture is not.
        ReadAction(object, step, sim.Size, where);
        step.Picture = DecodePicture(object, sim.Size, where);
        sim.Steps << step;
    }
}

qsizetype FirstSignificantByte(const QByteArray& bytes) {
    qsizetype at = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (at < bytes.size() &&
           (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '\n' || bytes[at] == '\r'))
        ++at;
    return at;
}

TSimulationRead Refused(TSimulationFault fault, const QString& error) {
    TSimulationRead read;
    read.Fault = fault;
    read.Error = error;
    return read;
}

} // namespace

TSimulationRead ReadSimulation(const QByteArray& bytes, TSimulationReadOptions options) {
    if (bytes.size() > kSimulationMaxFileBytes)
        return Refused(TSimulationFault::Damaged,
                       QStringLiteral("the file is larger than %1 MiB").arg(kSimulationMaxFileBytes >> 20));
    // A document that opens like JSON but does not parse is a damaged simulation (most
    // often one cut short); anything else is a file of another kind.
    const qsizetype first = FirstSignificantByte(bytes);
    if (first >= bytes.size() || (bytes[first] != '{' && bytes[first] != '[')) {
        TSimulationRead read =
            Refused(TSimulationFault::NotSimulation, QStringLiteral("the file is not a simulation"));
        read.FileType = kSimulationFileNotJson;
        return read;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return Refused(TSimulationFault::Damaged,
                       QStringLiteral("the file is damaged or cut short: %1 at byte %2")
                           .arg(parseError.errorString())
                           .arg(parseError.offset));
    const QJsonObject root = document.object();
    if (!document.isObject() || (!options.IgnoreFormat && root.value(QLatin1String("format")).toString() !=
                                                              QLatin1String(kSimulationFormat))) {
        TSimulationRead read = Refused(TSimulationFault::NotSimulation,
                                       QStringLiteral("the file is a JSON document but not a simulation"));
        read.FileType = kSimulationFileOtherJson;
        return read;
    }

    TSimulationRead read;
    try {
        qint64 version = 0;
        const QJsonValue versionValue = root.value(QLatin1String("version"));
        if (!WholeNumber(versionValue, 0, std::numeric_limits<int>::max(), version) && !options.IgnoreVersion)
            throw TFault{versionValue.isUndefined() ? QStringLiteral("the key \"version\" is missing")
                                                    : QStringLiteral("\"version\" must be a whole number")};
        read.Version = int(version);
        if (version != kSimulationVersion && !options.IgnoreVersion) {
            read.Fault = TSimulationFault::UnknownVersion;
            read.Error = QStringLiteral("the file is of version %1; this program plays version %2")
                             .arg(version)
                             .arg(kSimulationVersion);
            return read;
        }
        read.Simulation.Version = read.Version;
        ReadBody(root, read.Simulation);
    } catch (const TFault& fault) {
        TSimulationRead refused = Refused(TSimulationFault::Damaged, fault.message);
        refused.Version = read.Version;
        return refused;
    }
    return read;
}

TSimulationRead ReadSimulationFile(const QString& path, TSimulationReadOptions options) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Refused(TSimulationFault::Damaged,
                       QStringLiteral("the file cannot be opened: %1").arg(file.errorString()));
    if (file.size() > kSimulationMaxFileBytes)
        return Refused(TSimulationFault::Damaged,
                       QStringLiteral("the file is larger than %1 MiB").arg(kSimulationMaxFileBytes >> 20));
    // Read one byte beyond the limit so a file that grows meanwhile is still caught.
    return ReadSimulation(file.read(kSimulationMaxFileBytes + 1), options);
}

QString SimulationActionName(TSimulationActionKind kind) {
    switch (kind) {
    case TSimulationActionKind::Click:
        return QStringLiteral("click");
    case TSimulationActionKind::DoubleClick:
        return QStringLiteral("doubleclick");
    case TSimulationActionKind::Key:
        return QStringLiteral("key");
    case TSimulationActionKind::Type:
        return QStringLiteral("type");
    }
    return {};
}

QKeyCombination NormalisedSimulationKey(int key, Qt::KeyboardModifiers modifiers) {
    modifiers &= ~Qt::KeypadModifier;
    // The main keyboard's Enter reports Return; Shift+Tab reports Backtab.
    if (key == Qt::Key_Return)
        key = Qt::Key_Enter;
    if (key == Qt::Key_Backtab) {
        key = Qt::Key_Tab;
        modifiers |= Qt::ShiftModifier;
    }
    return QKeyCombination(modifiers, Qt::Key(key));
}

bool ParseSimulationKey(const QString& name, QKeyCombination& key) {
    const QKeySequence sequence = QKeySequence::fromString(name, QKeySequence::PortableText);
    if (sequence.count() != 1)
        return false;
    const QKeyCombination combination = sequence[0];
    const Qt::Key k = combination.key();
    if (k == Qt::Key_unknown || k == 0 || k == Qt::Key_Shift || k == Qt::Key_Control || k == Qt::Key_Alt ||
        k == Qt::Key_Meta || k == Qt::Key_AltGr)
        return false;
    key = NormalisedSimulationKey(k, combination.keyboardModifiers());
    return true;
}
