#include "reports/TReportText.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTextLayout>
#include <vector>

namespace {

constexpr double ReferenceDpi = 1200;
constexpr double ToLayoutUnits = 96.0 / ReferenceDpi;

// A paint device that only reports its resolution: fonts measured against it
// get the pixel sizes they have in a 1200-dpi PDF.
const QPaintDevice* ReferenceDevice() {
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMeter = qRound(ReferenceDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return &device;
}

// The metrics of the fonts measured last: a report uses a handful of fonts
// for thousands of texts.
const QFontMetricsF& Metrics(const TReportFont& font) {
    struct TEntry {
        TReportFont Font;
        QFontMetricsF Metrics;
    };
    // Kept to the end of the run: fonts must not be released after the
    // application object is gone.
    static auto* cache = new std::vector<TEntry>;
    for (const TEntry& entry : *cache)
        if (entry.Font == font)
            return entry.Metrics;
    if (cache->size() >= 16)
        cache->clear();
    cache->push_back({font, QFontMetricsF(ReportFont(font), ReferenceDevice())});
    return cache->back().Metrics;
}

} // namespace

double LineSpacing(const TReportFont& font) {
    return Metrics(font).lineSpacing() * ToLayoutUnits;
}

double TextWidth(const TReportFont& font, const QString& text) {
    return Metrics(font).horizontalAdvance(text) * ToLayoutUnits;
}

QStringList WrapText(const TReportFont& font, const QString& text, double width) {
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QFont qfont = ReportFont(font);
    const double lineWidth = width / ToLayoutUnits;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);

    QStringList lines;
    for (const QString& paragraph : normalised.split(QLatin1Char('\n'))) {
        if (paragraph.isEmpty()) {
            lines << QString();
            continue;
        }
        QTextLayout layout(paragraph, qfont, ReferenceDevice());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(lineWidth);
            // The blank a line was broken at stays with the line; it is not drawn.
            QString piece = paragraph.mid(line.textStart(), line.textLength());
            while (!piece.isEmpty() && piece.back().isSpace())
                piece.chop(1);
            lines << piece;
        }
        layout.endLayout();
    }
    return lines;
}
