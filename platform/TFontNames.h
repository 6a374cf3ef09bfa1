#pragma once
// Windows and skins name their fonts by Windows family names ("MS Sans Serif",
// "Times New Roman", "Arial", "Courier New"). On Linux each maps to its
// metric-compatible Liberation family, so captions and printed pages keep the
// line breaks and widths they were laid out for; later entries are fall-backs
// for machines without the Liberation fonts. The player registers them with
// Qt; programs without a window system (report printing) look them up here.
#include <QString>
#include <QStringList>

// The substitutes of a Windows family (matched without regard to case); empty
// for other families.
QStringList WindowsFontSubstitutes(const QString& family);
// The Windows families that have substitutes.
QStringList WindowsFontFamilies();
