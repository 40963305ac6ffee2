#pragma once

// The one painter of sheet cells. The widget, the print preview and PDF output all call it with a
// cell range, the sheet's geometry and render options; it draws backgrounds (locked cells pink,
// 3D faces), cell texts in their fonts, alignments, wrapping and number styles, the grid without
// lines inside merged blocks, and cell borders. It also draws column and row headers.
//
// All drawing is in sheet pixels (96 dpi) scaled by RenderOptions::zoom; the caller translates
// and clips the painter. Work per call is proportional to the cells drawn and the sheet's merged
// blocks, never to the whole sheet.

#include "sheet_component/engine/ColumnNumberStyles.h"
#include "sheet_component/engine/SheetTypes.h"
#include "sheet_component/render/CellFonts.h"
#include "sheet_component/render/RenderOptions.h"

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <vector>

class QPainter;

namespace vantor {

class Workbook;
class SheetGeometry;

class CellRenderer {
public:
    explicit CellRenderer(const Workbook &workbook);

    // Paints the cells of `range` of sheet `sheetIndex` so that the top-left corner of
    // (range.col1, range.row1) lands on `origin` (painter coordinates). Merged blocks that only
    // partly overlap the range are drawn whole: the caller clips to the area it owns.
    void paintCells(QPainter &painter, int sheetIndex, const SheetGeometry &geometry, const CellRange &range,
                    QPointF origin, const RenderOptions &options);

    // Column letters for columns col1..col2 in `area` (its left edge is the left of col1);
    // columns selCol1..selCol2 are highlighted.
    void paintColumnHeaders(QPainter &painter, const SheetGeometry &geometry, int col1, int col2, const QRectF &area,
                            const RenderOptions &options, int selCol1 = -1, int selCol2 = -2);
    // Row numbers (1-based) for rows row1..row2 in `area` (its top edge is the top of row1).
    void paintRowHeaders(QPainter &painter, const SheetGeometry &geometry, int row1, int row2, const QRectF &area,
                         const RenderOptions &options, int selRow1 = -1, int selRow2 = -2);

    // "A" … "Z", "AA" …
    static QString columnName(int col);
    static int columnHeaderHeight(double zoom = 1.0);
    static int rowHeaderWidth(int rowCount, double zoom = 1.0);

    // Numbers of columns with a display style of their own (see ColumnNumberStyles) show in it.
    void setColumnStyleRule(ColumnStyleRule rule) { m_columnRule = std::move(rule); }

    // Text too long for its cell wraps over the lines the cell holds, in a smaller size if need be
    // down to MinimumPoints; only at that size is the rest cut off with "…". Line breaks stored
    // as CR, CR LF or LF start new lines. The same on screen and on paper.
    static constexpr int MinimumPoints = 6;
    struct FittedText {
        QFont font;
        QStringList lines;
    };
    static FittedText fitText(const QString &text, const QFont &font, const QSizeF &room);

    // Drops cached fonts (after the workbook was replaced or its default font changed).
    void clearCaches() { m_fonts.clear(); }

private:
    struct CellBox;
    void paintCell(QPainter &painter, const CellBox &box, const RenderOptions &options);
    static void paintFitted(QPainter &painter, const QString &text, const QFont &font, const QRectF &rect, int hflags);

    const Workbook &m_workbook;
    CellFonts m_fonts;
    ColumnStyleRule m_columnRule;
    std::vector<CellRange> m_merges; // merged blocks meeting the range; reused between calls
};

} // namespace vantor
