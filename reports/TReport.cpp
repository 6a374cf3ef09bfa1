#include "reports/TReport.h"

#include <QLocale>
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "reports/TReportText.h"

namespace {

// A band laid out for one row: its items relative to the band's top-left
// corner and the height it takes after its memos have grown.
struct TLaidBand {
    double Height = 0;
    std::vector<TPageItem> Items;
};

QString DateText(TElementKind kind, const QDateTime& when) {
    const QLocale c = QLocale::c();
    return kind == TElementKind::Date ? c.toString(when.date(), QStringLiteral("M/d/yyyy"))
                                      : c.toString(when, QStringLiteral("M/d/yyyy h:mm:ss AP"));
}

TPageItem TextItem(const TReportElement& e, const QString& text, double left, double top, double width,
                   double height) {
    TPageItem item;
    item.Type = TPageItemKind::Text;
    item.Rect = QRectF(left, top, width, height);
    item.Text = text;
    item.Font = e.Font;
    item.Flags = int((e.Align & Qt::AlignHorizontal_Mask) | Qt::AlignTop);
    return item;
}

TLaidBand LayBand(const TReportBand& band, double bandWidth, const QDateTime& now) {
    TLaidBand laid;
    double growth = 0;
    for (const TReportElement& e : band.Elements) {
        switch (e.Kind) {
        case TElementKind::Label:
        case TElementKind::Date:
        case TElementKind::DateTime: {
            const QString text = e.Kind == TElementKind::Label ? e.Text : DateText(e.Kind, now);
            const double lineHeight = LineSpacing(e.Font);
            if (e.CentreInBand) {
                TPageItem item = TextItem(e, text, 0, e.Top, bandWidth, lineHeight);
                item.Flags = Qt::AlignHCenter | Qt::AlignTop;
                laid.Items.push_back(item);
            } else {
                const double width = e.Width > 0 ? e.Width : TextWidth(e.Font, text);
                laid.Items.push_back(TextItem(e, text, e.Left, e.Top, width, lineHeight));
            }
            break;
        }
        case TElementKind::Memo: {
            const double left = e.CentreInBand ? 0 : e.Left;
            const double width = e.CentreInBand ? bandWidth : e.Width;
            const double lineHeight = LineSpacing(e.Font);
            const QStringList lines = WrapText(e.Font, e.Text, width);
            for (qsizetype i = 0; i < lines.size(); ++i)
                laid.Items.push_back(TextItem(e, lines[i], left, e.Top + i * lineHeight, width, lineHeight));
            // The band grows by as much as the text needs beyond the memo's box.
            const double box = std::max(e.Height, lineHeight);
            growth = std::max(growth, lines.size() * lineHeight - box);
            break;
        }
        case TElementKind::Line: {
            TPageItem item;
            item.Type = TPageItemKind::Line;
            item.Rect = QRectF(e.Left, e.Top, e.Width, 0);
            laid.Items.push_back(item);
            break;
        }
        case TElementKind::Picture: {
            TPageItem item;
            item.Type = TPageItemKind::Picture;
            item.Rect = QRectF(e.Left, e.Top, e.Width, e.Height);
            item.Image = e.Picture;
            laid.Items.push_back(item);
            break;
        }
        }
    }
    laid.Height = band.Height + growth;
    return laid;
}

// Places bands on pages from top to bottom, starting pages as they fill.
class TPaginator {
public:
    TPaginator(TReportDocument& document, double paperHeight, const TLaidBand* title,
               const TLaidBand* columnHeader)
        : m_doc(document), m_bottom(paperHeight - TReport::Margin), m_title(title), m_header(columnHeader) {}

    // A row's chain stays on one page when it fits on one; a chain taller
    // than a page flows on, band by band, breaking only inside bands that are
    // themselves taller than a page.
    void PlaceRow(const std::vector<TLaidBand>& chain) {
        double total = 0;
        for (const TLaidBand& band : chain)
            total += band.Height;
        if (m_doc.Pages.empty())
            NewPage();
        if (m_y + total > m_bottom && m_pageHasRows && total <= FreshPageRoom())
            NewPage();
        for (const TLaidBand& band : chain)
            PlaceBand(band);
    }

private:
    double FreshPageRoom() const { return m_bottom - TReport::Margin - (m_header ? m_header->Height : 0); }

    void NewPage() {
        const bool first = m_doc.Pages.empty();
        m_doc.Pages.emplace_back();
        m_y = TReport::Margin;
        m_pageHasRows = false;
        if (first && m_title)
            Put(*m_title);
        if (m_header)
            Put(*m_header);
    }

    void Put(const TLaidBand& band) {
        TReportPage& page = m_doc.Pages.back();
        for (TPageItem item : band.Items) {
            item.Rect.translate(TReport::Margin, m_y);
            page.Items.push_back(std::move(item));
        }
        m_y += band.Height;
    }

    void PlaceBand(TLaidBand band) {
        for (;;) {
            if (m_y + band.Height <= m_bottom) {
                Put(band);
                m_pageHasRows = true;
                return;
            }
            if (band.Height <= FreshPageRoom() && m_pageHasRows) {
                NewPage();
                continue;
            }
            // Too tall for the room left: what fits stays here, the rest moves
            // to the next page, so no line of a long memo is lost.
            const double room = m_bottom - m_y;
            TLaidBand here, rest;
            for (TPageItem& item : band.Items)
                (item.Rect.bottom() <= room ? here : rest).Items.push_back(std::move(item));
            if (here.Items.empty() && !m_pageHasRows && !rest.Items.empty()) {
                // Nothing fits even on a fresh page: take the first item anyway.
                here.Items.push_back(rest.Items.front());
                rest.Items.erase(rest.Items.begin());
            }
            if (rest.Items.empty()) {
                here.Height = std::min(band.Height, room);
                Put(here);
                m_pageHasRows = true;
                return;
            }
            here.Height = room;
            if (!here.Items.empty()) {
                Put(here);
                m_pageHasRows = true;
            }
            double shift = band.Height;
            for (const TPageItem& item : rest.Items)
                shift = std::min(shift, item.Rect.top());
            for (TPageItem& item : rest.Items)
                item.Rect.translate(0, -shift);
            rest.Height = band.Height - shift;
            band = std::move(rest);
            NewPage();
        }
    }

    TReportDocument& m_doc;
    double m_bottom;
    const TLaidBand* m_title;
    const TLaidBand* m_header;
    double m_y = 0;
    bool m_pageHasRows = false;
};

} // namespace

TReportElement Label(const QString& text, double left, double top, TReportFont font) {
    TReportElement e;
    e.Text = text;
    e.Left = left;
    e.Top = top;
    e.Font = std::move(font);
    return e;
}

TReportElement CentredLabel(const QString& text, double top, TReportFont font) {
    TReportElement e = Label(text, 0, top, std::move(font));
    e.CentreInBand = true;
    return e;
}

TReportElement Field(const QString& name, double left, double top, double width, Qt::Alignment align,
                     TReportFont font) {
    TReportElement e = Label(QString(), left, top, std::move(font));
    e.Name = name;
    e.Width = width;
    e.Align = align;
    return e;
}

TReportElement Memo(const QString& name, double left, double top, double width, double height,
                    TReportFont font) {
    TReportElement e = Field(name, left, top, width, Qt::AlignLeft, std::move(font));
    e.Kind = TElementKind::Memo;
    e.Height = height;
    return e;
}

TReportElement HorizontalLine(double left, double top, double length) {
    TReportElement e;
    e.Kind = TElementKind::Line;
    e.Left = left;
    e.Top = top;
    e.Width = length;
    return e;
}

TReportElement DateField(TElementKind kind, double left, double top, double width, Qt::Alignment align,
                         TReportFont font) {
    TReportElement e = Label(QString(), left, top, std::move(font));
    e.Kind = kind;
    e.Width = width;
    e.Align = align;
    return e;
}

TReportElement PictureBox(const QImage& picture, double left, double top, double width, double height) {
    TReportElement e;
    e.Kind = TElementKind::Picture;
    e.Picture = picture;
    e.Left = left;
    e.Top = top;
    e.Width = width;
    e.Height = height;
    return e;
}

TReportElement& TReportBand::Add(TReportElement element) {
    Elements.push_back(std::move(element));
    return Elements.back();
}

TReportElement* TReportBand::Find(const QString& name) {
    for (TReportElement& e : Elements)
        if (!e.Name.isEmpty() && e.Name == name)
            return &e;
    return nullptr;
}

TReport::TReport(QString title, QPageLayout::Orientation orientation)
    : m_titleText(std::move(title)), m_orientation(orientation) {}

TReportBand& TReport::AddDetailBand(double height) {
    m_detail.emplace_back();
    m_detail.back().Height = height;
    return m_detail.back();
}

TReportElement& TReport::Element(const QString& name) {
    if (TReportElement* e = m_title.Find(name))
        return *e;
    if (TReportElement* e = m_columnHeader.Find(name))
        return *e;
    for (TReportBand& band : m_detail)
        if (TReportElement* e = band.Find(name))
            return *e;
    qFatal("report \"%s\" has no element \"%s\"", qPrintable(m_titleText), qPrintable(name));
    std::abort();
}

double TReport::PaperWidth() const {
    return m_orientation == QPageLayout::Portrait ? 816 : 1056;
}

double TReport::PaperHeight() const {
    return m_orientation == QPageLayout::Portrait ? 1056 : 816;
}

TReportDocument TReport::Run() {
    TReportDocument document;
    document.Title = m_titleText;
    document.Orientation = m_orientation;
    if (BeforePrint)
        BeforePrint();
    const QDateTime now = Clock();
    const double width = PrintableWidth();

    std::optional<TLaidBand> title, header;
    if (!m_title.Elements.empty() || m_title.Height > 0)
        title = LayBand(m_title, width, now);
    if (!m_columnHeader.Elements.empty() || m_columnHeader.Height > 0)
        header = LayBand(m_columnHeader, width, now);
    TPaginator pages(document, PaperHeight(), title ? &*title : nullptr, header ? &*header : nullptr);
    while (NeedData && NeedData()) {
        std::vector<TLaidBand> chain;
        chain.reserve(m_detail.size());
        for (const TReportBand& band : m_detail)
            chain.push_back(LayBand(band, width, now));
        pages.PlaceRow(chain);
    }
    return document;
}
