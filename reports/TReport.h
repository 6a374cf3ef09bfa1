#pragma once
// A banded report: a title band printed once at the top of the first page, a
// column-header band at the top of every page, and a detail band with its
// chained child bands printed once per row. The report asks for rows through
// NeedData and lets its owner fill the elements' texts before each row; Run()
// lays out every page once, in 1/96 inch, so that the preview, the printer and
// the PDF show exactly the same pages.
#include <QDateTime>
#include <QImage>
#include <QString>
#include <functional>
#include <vector>

#include "reports/TReportDocument.h"

enum class TElementKind {
    Label,    // one line of text
    Memo,     // word-wrapped text that grows its band downwards
    Line,     // a horizontal line `Width` long
    Date,     // the date of the run
    DateTime, // the date and time of the run
    Picture,  // an image centred in its box, scaled down to fit
};

struct TReportElement {
    TElementKind Kind = TElementKind::Label;
    QString Name; // how the report's owner finds the element to fill it
    QString Text;
    // In 1/96 inch from the band's top-left corner. A width of 0 makes a label
    // as wide as its text; a memo's height is at least one line.
    double Left = 0, Top = 0, Width = 0, Height = 0;
    Qt::Alignment Align = Qt::AlignLeft;
    bool CentreInBand = false; // centred across the whole band, Left ignored
    TReportFont Font;
    QImage Picture;
};

// Shorthands for building bands.
TReportElement Label(const QString& text, double left, double top, TReportFont font = {});
// A label centred across its band.
TReportElement CentredLabel(const QString& text, double top, TReportFont font = {});
// A named label the report's owner fills; `width` 0 makes it as wide as its text.
TReportElement Field(const QString& name, double left, double top, double width = 0,
                     Qt::Alignment align = Qt::AlignLeft, TReportFont font = {});
TReportElement Memo(const QString& name, double left, double top, double width, double height = 0,
                    TReportFont font = {});
TReportElement HorizontalLine(double left, double top, double length);
TReportElement DateField(TElementKind kind, double left, double top, double width, Qt::Alignment align,
                         TReportFont font = {});
TReportElement PictureBox(const QImage& picture, double left, double top, double width, double height);

struct TReportBand {
    double Height = 0;
    std::vector<TReportElement> Elements;

    TReportElement& Add(TReportElement element);
    TReportElement* Find(const QString& name);
};

class TReport {
public:
    explicit TReport(QString title, QPageLayout::Orientation orientation = QPageLayout::Portrait);

    TReportBand& TitleBand() { return m_title; }
    TReportBand& ColumnHeaderBand() { return m_columnHeader; }
    // The first band added is the detail band, each further one the child of
    // the one before; the whole chain prints once per row.
    TReportBand& AddDetailBand(double height);

    // The element of that name in any band; filling an unknown name is a
    // programming error and aborts.
    TReportElement& Element(const QString& name);
    void SetText(const QString& name, const QString& text) { Element(name).Text = text; }

    // Called once before output starts.
    std::function<void()> BeforePrint;
    // Called before each row: true when another row follows (its texts filled).
    std::function<bool()> NeedData;
    // The time the date fields show; the current time unless a caller fixes it.
    std::function<QDateTime()> Clock = [] { return QDateTime::currentDateTime(); };

    // Runs the callbacks and lays out every page. No pages when no row follows.
    TReportDocument Run();

    QPageLayout::Orientation Orientation() const { return m_orientation; }
    // Paper and printable widths in 1/96 inch (US Letter, 0.5-inch margins).
    double PaperWidth() const;
    double PaperHeight() const;
    double PrintableWidth() const { return PaperWidth() - 2 * Margin; }
    static constexpr double Margin = 48;

private:
    QString m_titleText;
    QPageLayout::Orientation m_orientation;
    TReportBand m_title, m_columnHeader;
    std::vector<TReportBand> m_detail;
};
