#include "platform/TFontNames.h"

#include <utility>

namespace {
const std::pair<const char*, QStringList>& Entry(int i) {
    static const std::pair<const char*, QStringList> table[] = {
        {"MS Sans Serif", {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")}},
        {"Times New Roman", {QStringLiteral("Liberation Serif"), QStringLiteral("Nimbus Roman")}},
        {"Arial", {QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")}},
        {"Courier New", {QStringLiteral("Liberation Mono"), QStringLiteral("Nimbus Mono PS")}},
    };
    return table[i];
}
constexpr int EntryCount = 4;
} // namespace

QStringList WindowsFontSubstitutes(const QString& family) {
    for (int i = 0; i < EntryCount; ++i)
        if (family.compare(QLatin1String(Entry(i).first), Qt::CaseInsensitive) == 0)
            return Entry(i).second;
    return {};
}

QStringList WindowsFontFamilies() {
    QStringList families;
    for (int i = 0; i < EntryCount; ++i)
        families << QString::fromLatin1(Entry(i).first);
    return families;
}
