// Colour numbers as skins and window descriptions write them: bits 0-7 red, 8-15 green,
// 16-23 blue, 24-31 flags (0 plain colour, 2 nearest palette colour). On a true-colour
// display both flag values mean the same colour, so the flags are ignored.
#pragma once

#include <QColor>

inline QColor WinColor(quint32 value) {
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

// The colour number of a plain colour (flags 0).
inline quint32 WinColorValue(const QColor& colour) {
    return quint32(colour.red()) | (quint32(colour.green()) << 8) | (quint32(colour.blue()) << 16);
}
