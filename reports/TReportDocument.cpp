#include "reports/TReportDocument.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <optional>

#include "platform/TFontNames.h"

namespace {

// Device units per 1/96 inch.
double Scale(const QPaintDevice* device) {
    return device->logicalDpiX() / 96.0;
}

QRectF Scaled(const QRectF& r, double s) {
    return QRectF(r.x() * s, r.y() * s, r.width() * s, r.height() * s);
}

void PaintPicture(QPainter& painter, const TPageItem& item, double s) {
    if (item.Image.isNull() || item.Rect.isEmpty())
        return;
    // Scaled to fit its box, keeping its proportions, centred in the box.
    QSizeF size = QSizeF(item.Image.size()).scaled(item.Rect.size(), Qt::KeepAspectRatio);
    QRectF target(QPointF(), size);
    target.moveCenter(item.Rect.center());
    painter.drawImage(Scaled(target, s), item.Image);
}

} // namespace

QFont ReportFont(const TReportFont& font) {
    QFont f;
    f.setFamilies(WindowsFontSubstitutes(font.Family) << font.Family);
    f.setPointSizeF(font.PointSize);
    f.setBold(font.Bold);
    f.setItalic(font.Italic);
    f.setUnderline(font.Underline);
    // Unhinted outlines scale linearly, so widths measured at one resolution
    // hold at every other.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QPageLayout TReportDocument::PageLayout() const {
    return QPageLayout(QPageSize(QPageSize::Letter), Orientation, QMarginsF(0, 0, 0, 0));
}

void PaintPage(QPainter& painter, const TReportPage& page) {
    const double s = Scale(painter.device());
    std::optional<TReportFont> current; // setting a font is costly; most items share one
    for (const TPageItem& item : page.Items) {
        switch (item.Type) {
        case TPageItemKind::Text:
            if (current != item.Font) {
                painter.setFont(ReportFont(item.Font));
                current = item.Font;
            }
            painter.setPen(Qt::black);
            painter.drawText(Scaled(item.Rect, s), item.Flags, item.Text);
            break;
        case TPageItemKind::Line:
            painter.setPen(QPen(Qt::black, s));
            painter.drawLine(QPointF(item.Rect.left() * s, item.Rect.top() * s),
                             QPointF(item.Rect.right() * s, item.Rect.top() * s));
            break;
        case TPageItemKind::Picture:
            PaintPicture(painter, item, s);
            break;
        }
    }
}

bool PaintDocument(QPagedPaintDevice& device, const TReportDocument& document, int first, int last) {
    const int count = int(document.Pages.size());
    if (last < 0 || last > count)
        last = count;
    first = std::max(first, 1);
    if (first > last)
        return false;
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device.newPage();
        PaintPage(painter, document.Pages[page - 1]);
    }
    return painter.end();
}

bool WritePdf(const TReportDocument& document, QIODevice& device) {
    QPdfWriter writer(&device);
    writer.setResolution(1200);
    writer.setPageLayout(document.PageLayout());
    writer.setTitle(document.Title);
    writer.setCreator(QStringLiteral("Altavo"));
    return PaintDocument(writer, document);
}

bool WritePdf(const TReportDocument& document, const QString& path, QString* error) {
    if (document.IsEmpty()) {
        if (error)
            *error = QStringLiteral("the report has no rows to print");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    if (!WritePdf(document, file) || !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
