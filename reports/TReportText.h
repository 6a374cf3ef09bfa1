#pragma once
// Text measuring for layout. Every measurement is taken on one reference
// device of 1200 dots per inch, whatever device the report is painted on
// later, and returned in 1/96 inch, so that layout never depends on a screen.
#include <QStringList>

#include "reports/TReportDocument.h"

// The height of one line of text in the font.
double LineSpacing(const TReportFont& font);
// The advance of the text on one line.
double TextWidth(const TReportFont& font, const QString& text);
// The text broken into lines no wider than `width`: line breaks in the text
// are kept ("\r\n", "\r" and "\n"), words that do not fit move to the next
// line and a word wider than the line is broken inside.
QStringList WrapText(const TReportFont& font, const QString& text, double width);
