#pragma once
// A laid-out report: its pages as lists of texts, lines and pictures at fixed
// places in 1/96 inch from the paper's top-left corner. The same pages are
// painted on any device (preview, printer, PDF), so page breaks and line
// breaks never differ between them.
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <vector>

class QIODevice;
class QPagedPaintDevice;
class QPainter;

struct TReportFont {
    QString Family = QStringLiteral("Arial");
    double PointSize = 10;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;

    bool operator==(const TReportFont&) const = default;
};

// The font a report names, drawn with the metric-compatible family the program
// maps that Windows family to.
QFont ReportFont(const TReportFont& font);

enum class TPageItemKind { Text, Line, Picture };

struct TPageItem {
    TPageItemKind Type = TPageItemKind::Text;
    QRectF Rect; // a line runs along the top edge of its rectangle
    QString Text;
    TReportFont Font;
    int Flags = 0; // Qt alignment flags for a text
    QImage Image;
};

struct TReportPage {
    std::vector<TPageItem> Items;
};

struct TReportDocument {
    QString Title;
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    std::vector<TReportPage> Pages;

    bool IsEmpty() const { return Pages.empty(); }
    QPageLayout PageLayout() const; // US Letter, no device margins
};

// Paints one page with the painter's device at its own resolution; the
// painter's origin is the paper's top-left corner.
void PaintPage(QPainter& painter, const TReportPage& page);
// Paints pages first..last (1-based, inclusive), a new page between them.
// False when the painter cannot start on the device.
bool PaintDocument(QPagedPaintDevice& device, const TReportDocument& document, int first = 1, int last = -1);

// Writes the document as a PDF with its fonts embedded. The file at `path` is
// replaced only once the new one is complete. False with `error` set when the
// document is empty or the file cannot be written.
bool WritePdf(const TReportDocument& document, const QString& path, QString* error = nullptr);
bool WritePdf(const TReportDocument& document, QIODevice& device);

// Writes `bytes` to `path`, replacing an existing file only once the new one
// is complete.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);
