// A drawn spreadsheet program: the window, its menu and toolbar, and a grid
// of cells. The demo course's exhibits and simulation steps are pictures of it.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

namespace SheetArt {

// The picture size of a simulation step: the test control's area.
inline constexpr QSize StepSize{619, 325};

// Geometry of the drawn window, so callers can name the rectangles a learner
// is asked to click.
struct TSheetLayout {
    QRect Window;
    QRect MenuFile;   // the "File" menu title
    QRect AutoSum;    // the AutoSum toolbar button
    QRect FormulaBar; // where the active cell's content shows
    QRect Grid;       // the cells, headers included
    int ColumnWidth = 72;
    int NarrowColumn = -1; // a column drawn too narrow for its numbers, or -1
    int RowHeight = 20;
    int HeaderWidth = 32;
    // The rectangle of a cell; column 0 is "A", row 1 is the first row.
    QRect Cell(int column, int row) const;
    int ColumnLeft(int column) const;
    int Width(int column) const;
};

// One cell's content as shown.
struct TCellText {
    int Column;
    int Row;
    QString Text;
    bool RightAligned = true;
    bool Bold = false;
};

TSheetLayout Layout(QSize size, int narrowColumn = -1);
// Draws the window with the cells; `active` is the selected cell (column, row)
// whose content the formula bar shows.
void DrawSheet(QPainter& p, const TSheetLayout& layout, const QString& title, const QList<TCellText>& cells,
               QPoint active, const QString& formula);
// An open "File" menu below its title; returns the rectangle of each item in
// `items` order.
QList<QRect> DrawFileMenu(QPainter& p, const TSheetLayout& layout, const QStringList& items);
// A dashed frame around cells, as around the range a formula adds up.
void MarchingFrame(QPainter& p, const QRect& r);

} // namespace SheetArt
