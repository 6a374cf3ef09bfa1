#include "SheetArt.h"

#include <QFont>
#include <QList>

namespace SheetArt {
namespace {

const QColor kFace(236, 236, 232);
const QColor kShadow(160, 160, 156);
const QColor kTitle(38, 84, 140);
const QColor kGridLine(208, 208, 204);
const QColor kHeader(226, 228, 232);
const QColor kSelect(38, 110, 200);

QFont UiFont(int pixelSize, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

void Raised(QPainter& p, const QRect& r) {
    p.fillRect(r, kFace);
    p.setPen(Qt::white);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(kShadow);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

QString ColumnName(int column) {
    return QString(QChar('A' + column));
}

} // namespace

int TSheetLayout::Width(int column) const {
    return column == NarrowColumn ? ColumnWidth / 2 : ColumnWidth;
}

int TSheetLayout::ColumnLeft(int column) const {
    int x = Grid.left() + HeaderWidth;
    for (int c = 0; c < column; ++c)
        x += Width(c);
    return x;
}

QRect TSheetLayout::Cell(int column, int row) const {
    return QRect(ColumnLeft(column), Grid.top() + RowHeight * row, Width(column), RowHeight);
}

TSheetLayout Layout(QSize size, int narrowColumn) {
    TSheetLayout l;
    l.Window = QRect(QPoint(0, 0), size);
    l.MenuFile = QRect(6, 24, 34, 18);
    l.AutoSum = QRect(176, 46, 74, 24);
    l.FormulaBar = QRect(6, 74, size.width() - 12, 20);
    l.Grid = QRect(6, 98, size.width() - 12, size.height() - 98 - 22);
    l.NarrowColumn = narrowColumn;
    return l;
}

void DrawSheet(QPainter& p, const TSheetLayout& l, const QString& title, const QList<TCellText>& cells,
               QPoint active, const QString& formula) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.fillRect(l.Window, kFace);

    // Title bar.
    const QRect titleBar(0, 0, l.Window.width(), 22);
    p.fillRect(titleBar, kTitle);
    p.setPen(Qt::white);
    p.setFont(UiFont(12, true));
    p.drawText(titleBar.adjusted(8, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
    for (int i = 0; i < 3; ++i)
        Raised(p, QRect(l.Window.width() - 22 - i * 20, 3, 17, 15));

    // Menu bar.
    p.setPen(Qt::black);
    p.setFont(UiFont(12));
    int x = l.MenuFile.left();
    for (const char* item : {"File", "Edit", "View", "Insert", "Format", "Tools", "Data", "Help"}) {
        const int w = QFontMetrics(p.font()).horizontalAdvance(item) + 14;
        p.drawText(QRect(x, l.MenuFile.top(), w, l.MenuFile.height()), Qt::AlignCenter, item);
        x += w;
    }

    // Toolbar: a few plain buttons, then AutoSum.
    const char* tools[] = {"New", "Open", "Save", "Print"};
    for (int i = 0; i < 4; ++i) {
        const QRect b(6 + i * 42, 46, 38, 24);
        Raised(p, b);
        p.setPen(Qt::black);
        p.setFont(UiFont(10));
        p.drawText(b, Qt::AlignCenter, tools[i]);
    }
    Raised(p, l.AutoSum);
    p.setPen(Qt::black);
    p.setFont(UiFont(12, true));
    p.drawText(l.AutoSum, Qt::AlignCenter, QStringLiteral("\u03A3 AutoSum"));
    for (int i = 0; i < 3; ++i) {
        const QRect b(l.AutoSum.right() + 6 + i * 28, 46, 24, 24);
        Raised(p, b);
        p.setPen(Qt::black);
        p.setFont(UiFont(12, i == 0));
        p.drawText(b, Qt::AlignCenter, i == 0 ? "B" : i == 1 ? "I" : "U");
    }

    // Formula bar: the active cell's name and content.
    const QRect nameBox(l.FormulaBar.left(), l.FormulaBar.top(), 56, l.FormulaBar.height());
    const QRect content = l.FormulaBar.adjusted(62, 0, 0, 0);
    p.fillRect(nameBox, Qt::white);
    p.fillRect(content, Qt::white);
    p.setPen(kShadow);
    p.drawRect(nameBox.adjusted(0, 0, -1, -1));
    p.drawRect(content.adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);
    p.setFont(UiFont(12));
    if (active.x() >= 0)
        p.drawText(nameBox, Qt::AlignCenter, ColumnName(active.x()) + QString::number(active.y()));
    p.drawText(content.adjusted(6, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, formula);

    // Grid with headers.
    p.fillRect(l.Grid, Qt::white);
    const int rows = l.Grid.height() / l.RowHeight;
    p.fillRect(QRect(l.Grid.left(), l.Grid.top(), l.Grid.width(), l.RowHeight), kHeader);
    p.fillRect(QRect(l.Grid.left(), l.Grid.top(), l.HeaderWidth, l.Grid.height()), kHeader);
    p.setFont(UiFont(11));
    for (int c = 0; l.ColumnLeft(c) < l.Grid.right(); ++c) {
        const QRect head(l.ColumnLeft(c), l.Grid.top(), l.Width(c), l.RowHeight);
        p.setPen(kGridLine);
        p.drawLine(head.right(), l.Grid.top(), head.right(), l.Grid.bottom());
        p.setPen(Qt::black);
        p.drawText(head, Qt::AlignCenter, ColumnName(c));
    }
    for (int r = 1; r < rows; ++r) {
        const int y = l.Grid.top() + r * l.RowHeight;
        p.setPen(kGridLine);
        p.drawLine(l.Grid.left(), y + l.RowHeight - 1, l.Grid.right(), y + l.RowHeight - 1);
        p.setPen(Qt::black);
        p.drawText(QRect(l.Grid.left(), y, l.HeaderWidth, l.RowHeight), Qt::AlignCenter, QString::number(r));
    }
    p.setPen(kShadow);
    p.drawRect(l.Grid.adjusted(0, 0, -1, -1));

    for (const TCellText& cell : cells) {
        QRect r = l.Cell(cell.Column, cell.Row).adjusted(4, 0, -4, 0);
        // Text runs on into the empty cells to its right, as it would.
        if (!cell.RightAligned)
            r.setRight(l.Grid.right() - 4);
        p.setPen(Qt::black);
        p.setFont(UiFont(12, cell.Bold));
        QString text = cell.Text;
        // A number too wide for its column shows as hash marks, as it would.
        if (cell.RightAligned && QFontMetrics(p.font()).horizontalAdvance(text) > r.width())
            text = QString(r.width() / QFontMetrics(p.font()).horizontalAdvance('#'), '#');
        p.drawText(r, Qt::AlignVCenter | (cell.RightAligned ? Qt::AlignRight : Qt::AlignLeft), text);
    }
    if (active.x() >= 0) {
        p.setPen(QPen(kSelect, 2));
        p.drawRect(l.Cell(active.x(), active.y()).adjusted(0, 0, -1, -1));
    }

    // Status bar.
    const QRect status(0, l.Window.height() - 20, l.Window.width(), 20);
    p.fillRect(status, kFace);
    p.setPen(kShadow);
    p.drawLine(status.topLeft(), status.topRight());
    p.setPen(Qt::black);
    p.setFont(UiFont(11));
    p.drawText(status.adjusted(8, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Ready"));
}

QList<QRect> DrawFileMenu(QPainter& p, const TSheetLayout& l, const QStringList& items) {
    // The open title shows pressed.
    p.fillRect(l.MenuFile, kSelect);
    p.setPen(Qt::white);
    p.setFont(UiFont(12));
    p.drawText(l.MenuFile, Qt::AlignCenter, QStringLiteral("File"));

    const int itemHeight = 22;
    const QRect menu(l.MenuFile.left(), l.MenuFile.bottom() + 1, 150, itemHeight * items.size() + 6);
    p.fillRect(menu.translated(3, 3), QColor(0, 0, 0, 60));
    p.fillRect(menu, Qt::white);
    p.setPen(kShadow);
    p.drawRect(menu.adjusted(0, 0, -1, -1));
    QList<QRect> rects;
    for (int i = 0; i < items.size(); ++i) {
        const QRect item(menu.left() + 3, menu.top() + 3 + i * itemHeight, menu.width() - 6, itemHeight);
        p.setPen(Qt::black);
        p.drawText(item.adjusted(20, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, items[i]);
        rects << item;
    }
    return rects;
}

void MarchingFrame(QPainter& p, const QRect& r) {
    QPen pen(kSelect, 2, Qt::DashLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(1, 1, -2, -2));
}

} // namespace SheetArt
