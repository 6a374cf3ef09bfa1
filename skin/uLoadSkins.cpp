#include "skin/uLoadSkins.h"

#include "widgets/TSkinError.h"

namespace {

bool IsDecimal(const QString& text) {
    qsizetype i = (text.startsWith('-') || text.startsWith('+')) ? 1 : 0;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i)
        if (!text[i].isDigit() || text[i].unicode() > '9')
            return false;
    return true;
}

int DecimalPart(const QString& part) {
    bool ok = false;
    const int value = part.toInt(&ok, 10);
    if (!IsDecimal(part) || !ok)
        throw TSkinError(QStringLiteral("'%1' is not a valid integer value").arg(part));
    return value;
}

} // namespace

QRect ParseCoordinateList(const QString& text) {
    int parts[4];
    qsizetype start = 0;
    for (int i = 0; i < 4; ++i) {
        qsizetype comma = i < 3 ? text.indexOf(',', start) : -1;
        const QString part = comma < 0 ? text.mid(start) : text.mid(start, comma - start);
        parts[i] = DecimalPart(part);
        // Without a comma left, the following parts are empty and therefore invalid.
        start = comma < 0 ? text.size() : comma + 1;
    }
    return QRect(parts[0], parts[1], parts[2], parts[3]);
}

void LoadSkin(const TSkinEntries& entries, const QString& skinDirectory) {
    const TSkinScheme scheme(skinDirectory);
    for (int step = int(TSkinStep::MoviePage); step <= int(TSkinStep::Coordinates); ++step)
        for (const TSkinEntry& entry : entries)
            if (int(entry.Step) == step)
                entry.Apply(scheme);
}
