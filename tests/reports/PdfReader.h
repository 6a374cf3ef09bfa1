#pragma once
// Reads our PDFs back with poppler's tools (pdftotext, pdfinfo, pdffonts,
// pdftoppm), never with our own code.
#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

struct TPdfWord {
    QString Text;
    int Page = 0;                                  // 1-based
    double XMin = 0, YMin = 0, XMax = 0, YMax = 0; // points from the page's top-left corner
    double CentreX() const { return (XMin + XMax) / 2; }
};

// The text of one page (or every page for 0), with -layout.
QString PdfText(const QString& pdf, int page = 0);
// Every word with its box (pdftotext -bbox).
std::vector<TPdfWord> PdfWords(const QString& pdf);
// The words of `text` (split at blanks) as one run, left to right: the first
// word's box widened to the last's. Empty Text when not found.
TPdfWord FindPhrase(const std::vector<TPdfWord>& words, const QString& text);
int PdfPageCount(const QString& pdf);
// "612 x 792" for portrait US Letter.
QString PdfPageSize(const QString& pdf);
// pdffonts' table, one line per font.
QString PdfFonts(const QString& pdf);
// The page rendered by pdftoppm at `dpi`.
QImage PdfPage(const QString& pdf, int page, int dpi = 48);
