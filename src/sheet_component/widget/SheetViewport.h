#pragma once

// Where things are in a sheet view, in viewport pixels: the headers, the frozen band and the
// scrolled body, each cell's rectangle, what lies under a point, and the scroll bars that keep a
// cell in sight, and the painting of what is in sight. It reads the view's scroll position and
// size, the workbook's current sheet and the render options, and caches the sheet's geometry
// until told it changed.

#include "sheet_component/render/RenderOptions.h"
#include "sheet_component/render/SheetGeometry.h"

#include <QRect>

class QAbstractScrollArea;
class QPainter;
class QPoint;

namespace vantor {

class CellRenderer;
class Selection;
class Sheet;
class Workbook;

class SheetViewport {
public:
    enum class Area { None, Corner, ColumnHeader, RowHeader, Cells };
    struct Hit {
        Area area = Area::None;
        int col = -1, row = -1;
    };

    // All three must outlive the viewport.
    SheetViewport(QAbstractScrollArea &area, const Workbook &workbook, const RenderOptions &options);

    const Sheet &sheet() const; // the workbook's current sheet
    // Sizes or the sheet changed: the geometry is rebuilt when next needed.
    void invalidate() { m_dirty = true; }
    void ensureGeometry() const;
    const SheetGeometry &geometry() const;
    void updateScrollBars();
    // Scrolls so that the cell is fully shown (rows of the frozen band always are).
    void ensureVisible(int col, int row);

    int headerWidth() const;
    int headerHeight() const;
    // Frozen band: rows bandFirst..bandLast (none when bandFirst < 0).
    int bandFirst() const;
    int bandLast() const;
    int bandHeight() const;
    int firstScrollRow() const;
    int topRow() const; // first scrolled row shown under the frozen rows
    int leftCol() const;
    int colLeft(int col) const;
    int rowTop(int row) const;
    int lastVisibleCol() const;
    int lastVisibleRow() const;
    int visibleBodyRows() const;
    QRect cellRect(int col, int row) const; // the merged block when the cell is merged
    Hit hitTest(const QPoint &pos) const;
    // The column (row) whose right (bottom) border lies under a header point, or -1.
    int resizeTarget(const QPoint &pos, Area area) const;

    // Paints the headers, the frozen band and the body with the selection over them.
    void paint(QPainter &painter, CellRenderer &renderer, const Selection &selection) const;

private:
    void paintSelection(QPainter &painter, const QRect &clip, const Selection &selection) const;

    QAbstractScrollArea &m_area;
    const Workbook &m_workbook;
    const RenderOptions &m_options;
    mutable SheetGeometry m_geometry;
    mutable const Sheet *m_geometrySheet = nullptr;
    mutable bool m_dirty = true;
};

} // namespace vantor
