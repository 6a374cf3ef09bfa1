#pragma once
// The layouts of the tests store's tables and the length-prefixed memo
// format, shared by the player's part (TTesting.cpp) and the building
// operations (TTestingAuthoring.cpp).
#include <QByteArray>
#include <QtEndian>

#include "engine/c4dstand.h"

namespace TestingLayout {

inline const char* const NotDeleted = ".NOT. DELETED()";

inline const FIELD4INFO GlobalFields[] = {
    {"PRODID", 'C', 10, 0, 0},  {"PATH", 'M', 10, 0, 0},      {"TABLENAME", 'C', 10, 0, 0},
    {"TITLE", 'M', 10, 0, 0},   {"NUMTESTQ", 'N', 4, 0, 0},   {"NEXTID", 'N', 4, 0, 0},
    {"GRAPHIC", 'M', 10, 0, 0}, {"GRAPHICDT", 'M', 10, 0, 0}, {"DESCRIP", 'M', 10, 0, 0},
    {"PARENT", 'C', 10, 0, 0},  {nullptr, 0, 0, 0, 0},
};
inline const TAG4INFO GlobalTags[] = {
    {"PRODID", "PRODID", NotDeleted, 0, 0},
    {"PARENT", "PARENT", NotDeleted, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

inline const FIELD4INFO ParentFields[] = {
    {"ID", 'C', 10, 0, 0},  {"TITLE", 'M', 10, 0, 0}, {"DESCRIP", 'M', 10, 0, 0}, {"NUM", 'N', 4, 0, 0},
    {"TIME", 'C', 5, 0, 0}, {"NUMQ", 'N', 4, 0, 0},   {nullptr, 0, 0, 0, 0},
};
inline const TAG4INFO ParentTags[] = {
    {"ID", "ID", NotDeleted, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

inline const FIELD4INFO QuestionFields[] = {
    {"NUM", 'N', 4, 0, 0},      {"ID", 'N', 4, 0, 0},         {"TYPE", 'N', 2, 0, 0},
    {"TITLE", 'M', 10, 0, 0},   {"QUESTION", 'M', 10, 0, 0},  {"NUMANSWER", 'N', 2, 0, 0},
    {"ANSWER", 'C', 5, 0, 0},   {"Hint", 'M', 10, 0, 0},      {"REF", 'M', 10, 0, 0},
    {"GRAPHIC", 'M', 10, 0, 0}, {"GRAPHICDT", 'M', 10, 0, 0}, {nullptr, 0, 0, 0, 0},
};
inline const TAG4INFO QuestionTags[] = {
    {"NUM", "NUM", NotDeleted, 0, 0},
    {"ID", "ID", NotDeleted, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

inline const FIELD4INFO ExtraFields[] = {
    {"ID", 'N', 4, 0, 0},
    {"INDEX", 'N', 4, 0, 0},
    {"ANSWER", 'M', 10, 0, 0},
    {nullptr, 0, 0, 0, 0},
};
inline const TAG4INFO ExtraTags[] = {
    {"ID", "ID", NotDeleted, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

// Length-prefixed data: a 32-bit little-endian count, then that many bytes.
inline QByteArray FromLengthPrefixed(const QByteArray& memo) {
    if (memo.size() < 4)
        return {};
    quint32 count = qFromLittleEndian<quint32>(memo.constData());
    // A count beyond the memo's end is damage: no picture rather than half of one.
    if (count > quint32(memo.size() - 4))
        return {};
    return memo.mid(4, qsizetype(count));
}

inline QByteArray ToLengthPrefixed(const QByteArray& data) {
    QByteArray memo(4, '\0');
    qToLittleEndian<quint32>(quint32(data.size()), memo.data());
    return memo + data;
}

} // namespace TestingLayout
