#include "sheet_component/widget/SheetViewport.h"

#include "sheet_component/engine/Selection.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/render/CellRenderer.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace vantor {

namespace {

constexpr int kResizeGrip = 3;
const QColor kSelectionFill(0, 102, 204, 40);
const QColor kSelectionFrame(0, 84, 166);

} // namespace

SheetViewport::SheetViewport(QAbstractScrollArea &area, const Workbook &workbook, const RenderOptions &options)
    : m_area(area), m_workbook(workbook), m_options(options)
{
}

const Sheet &SheetViewport::sheet() const
{
    return m_workbook.sheet(m_workbook.CurrentSheet());
}

const SheetGeometry &SheetViewport::geometry() const
{
    ensureGeometry();
    return m_geometry;
}

void SheetViewport::ensureGeometry() const
{
    const Sheet &s = sheet();
    if (m_dirty || m_geometrySheet != &s || m_geometry.isStale(s)) {
        m_geometry.rebuild(s);
        m_geometrySheet = &s;
        m_dirty = false;
    }
}

void SheetViewport::updateScrollBars()
{
    ensureGeometry();
    const Sheet &s = sheet();
    const double z = m_options.zoom;
    const int first = firstScrollRow();
    const double roomY = std::max(1.0, (m_area.viewport()->height() - headerHeight() - bandHeight()) / z);
    const double roomX = std::max(1.0, (m_area.viewport()->width() - headerWidth()) / z);
    // The largest top row that still fills the view down to the last row.
    int maxTop = std::max(first, s.rows() - 1);
    if (s.rows() > 0) {
        const int bottom = m_geometry.rowY(s.rows());
        maxTop = std::max(first, m_geometry.rowAt(static_cast<int>(bottom - roomY)));
        if (m_geometry.rowY(maxTop) < bottom - roomY && maxTop < s.rows() - 1)
            ++maxTop;
    }
    int maxLeft = 0;
    if (s.cols() > 0) {
        const int right = m_geometry.colX(s.cols());
        maxLeft = std::max(0, m_geometry.colAt(static_cast<int>(right - roomX)));
        if (m_geometry.colX(maxLeft) < right - roomX && maxLeft < s.cols() - 1)
            ++maxLeft;
    }
    m_area.verticalScrollBar()->setRange(first, std::max(first, maxTop));
    m_area.verticalScrollBar()->setPageStep(std::max(1, visibleBodyRows() - 1));
    m_area.verticalScrollBar()->setSingleStep(1);
    m_area.horizontalScrollBar()->setRange(0, maxLeft);
    m_area.horizontalScrollBar()->setPageStep(std::max(1, lastVisibleCol() - leftCol()));
    m_area.horizontalScrollBar()->setSingleStep(1);
}

int SheetViewport::headerWidth() const
{
    return m_options.showHeaders ? CellRenderer::rowHeaderWidth(sheet().rows(), m_options.zoom) : 0;
}

int SheetViewport::headerHeight() const
{
    return m_options.showHeaders ? CellRenderer::columnHeaderHeight(m_options.zoom) : 0;
}

int SheetViewport::bandFirst() const
{
    const FrozenRows &f = sheet().frozenRows();
    if (!f.any() || f.first >= sheet().rows())
        return -1;
    return f.first;
}

int SheetViewport::bandLast() const
{
    return bandFirst() < 0 ? -1 : std::min(sheet().frozenRows().last, sheet().rows() - 1);
}

int SheetViewport::bandHeight() const
{
    if (bandFirst() < 0)
        return 0;
    ensureGeometry();
    return static_cast<int>(
        std::lround((m_geometry.rowY(bandLast() + 1) - m_geometry.rowY(bandFirst())) * m_options.zoom));
}

int SheetViewport::firstScrollRow() const
{
    const int last = bandLast();
    return last < 0 ? 0 : std::min(last + 1, std::max(sheet().rows() - 1, 0));
}

int SheetViewport::topRow() const
{
    return std::max(m_area.verticalScrollBar()->value(), firstScrollRow());
}

int SheetViewport::leftCol() const
{
    return std::max(m_area.horizontalScrollBar()->value(), 0);
}

int SheetViewport::colLeft(int col) const
{
    ensureGeometry();
    return headerWidth() +
           static_cast<int>(std::lround((m_geometry.colX(col) - m_geometry.colX(leftCol())) * m_options.zoom));
}

int SheetViewport::rowTop(int row) const
{
    ensureGeometry();
    const int bf = bandFirst();
    if (bf >= 0 && row >= bf && row <= bandLast())
        return headerHeight() +
               static_cast<int>(std::lround((m_geometry.rowY(row) - m_geometry.rowY(bf)) * m_options.zoom));
    return headerHeight() + bandHeight() +
           static_cast<int>(std::lround((m_geometry.rowY(row) - m_geometry.rowY(topRow())) * m_options.zoom));
}

int SheetViewport::lastVisibleCol() const
{
    ensureGeometry();
    const int room = static_cast<int>((m_area.viewport()->width() - headerWidth()) / m_options.zoom);
    const int c = m_geometry.colAt(m_geometry.colX(leftCol()) + std::max(room, 0));
    return c < 0 ? -1 : c;
}

int SheetViewport::lastVisibleRow() const
{
    ensureGeometry();
    const int room = static_cast<int>((m_area.viewport()->height() - headerHeight() - bandHeight()) / m_options.zoom);
    const int r = m_geometry.rowAt(m_geometry.rowY(topRow()) + std::max(room, 0));
    return r < 0 ? -1 : r;
}

int SheetViewport::visibleBodyRows() const
{
    ensureGeometry();
    const int room = static_cast<int>((m_area.viewport()->height() - headerHeight() - bandHeight()) / m_options.zoom);
    int n = 0;
    for (int r = topRow(), used = 0; r < sheet().rows(); ++r) {
        used += m_geometry.rowHeight(r);
        if (used > room)
            break;
        ++n;
    }
    return std::max(n, 1);
}

QRect SheetViewport::cellRect(int col, int row) const
{
    int c2 = col, r2 = row;
    if (auto m = sheet().mergeAt(col, row)) {
        col = m->col1;
        row = m->row1;
        c2 = m->col2;
        r2 = m->row2;
    }
    ensureGeometry();
    const int left = colLeft(col);
    const int top = rowTop(row);
    const double z = m_options.zoom;
    const int w = static_cast<int>(std::lround((m_geometry.colX(c2 + 1) - m_geometry.colX(col)) * z));
    const int h = static_cast<int>(std::lround((m_geometry.rowY(r2 + 1) - m_geometry.rowY(row)) * z));
    return QRect(left, top, w, h);
}

SheetViewport::Hit SheetViewport::hitTest(const QPoint &pos) const
{
    ensureGeometry();
    const Sheet &s = sheet();
    Hit hit;
    if (s.cols() <= 0 || s.rows() <= 0)
        return hit;
    const double z = m_options.zoom;
    const int hw = headerWidth();
    const int hh = headerHeight();
    const bool inRowHeader = pos.x() < hw;
    const bool inColHeader = pos.y() < hh;
    if (inRowHeader && inColHeader) {
        hit.area = Area::Corner;
        return hit;
    }
    const int sx = m_geometry.colX(leftCol()) + static_cast<int>(std::floor((pos.x() - hw) / z));
    hit.col = m_geometry.colAt(sx);
    const int bh = bandHeight();
    if (bandFirst() >= 0 && pos.y() >= hh && pos.y() < hh + bh)
        hit.row = m_geometry.rowAt(m_geometry.rowY(bandFirst()) + static_cast<int>(std::floor((pos.y() - hh) / z)));
    else
        hit.row = m_geometry.rowAt(m_geometry.rowY(topRow()) + static_cast<int>(std::floor((pos.y() - hh - bh) / z)));
    if (inColHeader)
        hit.area = Area::ColumnHeader;
    else if (inRowHeader)
        hit.area = Area::RowHeader;
    else if (sx < m_geometry.totalWidth())
        hit.area = Area::Cells;
    return hit;
}

int SheetViewport::resizeTarget(const QPoint &pos, Area area) const
{
    if (area == Area::ColumnHeader) {
        for (int c = leftCol(); c <= lastVisibleCol(); ++c) {
            const int edge = colLeft(c + 1);
            if (std::abs(pos.x() - edge) <= kResizeGrip)
                return c;
        }
    } else if (area == Area::RowHeader) {
        const int first = bandFirst() >= 0 ? bandFirst() : topRow();
        for (int r = first; r <= lastVisibleRow(); ++r) {
            if (bandFirst() >= 0 && r > bandLast() && r < topRow())
                continue;
            const int edge = rowTop(r) + static_cast<int>(std::lround(m_geometry.rowHeight(r) * m_options.zoom));
            if (std::abs(pos.y() - edge) <= kResizeGrip)
                return r;
        }
    }
    return -1;
}

void SheetViewport::ensureVisible(int col, int row)
{
    ensureGeometry();
    const Sheet &s = sheet();
    if (!s.isValid(col, row))
        return;
    if (!(bandFirst() >= 0 && row >= bandFirst() && row <= bandLast())) {
        if (row < topRow())
            m_area.verticalScrollBar()->setValue(row);
        else if (row > lastVisibleRow() || rowTop(row + 1) > m_area.viewport()->height()) {
            // Scroll so that the row is the last one fully shown.
            const double room = (m_area.viewport()->height() - headerHeight() - bandHeight()) / m_options.zoom;
            int top = row;
            double used = m_geometry.rowHeight(row);
            while (top > firstScrollRow() && used + m_geometry.rowHeight(top - 1) <= room) {
                --top;
                used += m_geometry.rowHeight(top);
            }
            m_area.verticalScrollBar()->setValue(top);
        }
    }
    if (col < leftCol())
        m_area.horizontalScrollBar()->setValue(col);
    else if (colLeft(col + 1) > m_area.viewport()->width()) {
        const double room = (m_area.viewport()->width() - headerWidth()) / m_options.zoom;
        int left = col;
        double used = m_geometry.colWidth(col);
        while (left > 0 && used + m_geometry.colWidth(left - 1) <= room) {
            --left;
            used += m_geometry.colWidth(left);
        }
        m_area.horizontalScrollBar()->setValue(left);
    }
}

void SheetViewport::paint(QPainter &p, CellRenderer &renderer, const Selection &selection) const
{
    ensureGeometry();
    const QRect all = m_area.viewport()->rect();
    p.fillRect(all, QColor(250, 250, 250));
    const Sheet &s = sheet();
    if (s.cols() <= 0 || s.rows() <= 0)
        return;
    const int sheetIndex = m_workbook.CurrentSheet();
    const int hw = headerWidth();
    const int hh = headerHeight();
    const int bh = bandHeight();
    const int c1 = leftCol();
    const int c2 = lastVisibleCol();
    const CellRange sel = selection.DoGetSelection();

    // The frozen band stays put; the body below it scrolls.
    struct Part {
        QRect area;
        int row1, row2;
    };
    Part parts[2];
    int partCount = 0;
    if (bandFirst() >= 0)
        parts[partCount++] = {QRect(hw, hh, all.width() - hw, bh), bandFirst(), bandLast()};
    parts[partCount++] = {QRect(hw, hh + bh, all.width() - hw, all.height() - hh - bh), topRow(), lastVisibleRow()};

    for (int i = 0; i < partCount; ++i) {
        const Part &part = parts[i];
        if (part.area.isEmpty() || part.row2 < part.row1)
            continue;
        p.save();
        p.setClipRect(part.area);
        renderer.paintCells(p, sheetIndex, m_geometry, CellRange{c1, part.row1, c2, part.row2}, part.area.topLeft(),
                            m_options);
        paintSelection(p, part.area, selection);
        p.restore();
        if (m_options.showHeaders)
            renderer.paintRowHeaders(p, m_geometry, part.row1, part.row2,
                                     QRectF(0, part.area.top(), hw, part.area.height()), m_options, sel.row1, sel.row2);
    }
    if (bh > 0) {
        // A firm line under the frozen rows shows where scrolling starts.
        p.fillRect(QRect(0, hh + bh - 1, all.width(), 1), QColor(96, 96, 96));
    }
    if (m_options.showHeaders) {
        renderer.paintColumnHeaders(p, m_geometry, c1, c2, QRectF(hw, 0, all.width() - hw, hh), m_options, sel.col1,
                                    sel.col2);
        p.fillRect(QRect(0, 0, hw, hh), QColor(240, 240, 240));
    }
}

void SheetViewport::paintSelection(QPainter &p, const QRect &clip, const Selection &selection) const
{
    const Sheet &s = sheet();
    CellRange sel = selection.DoGetSelection();
    sel.col2 = std::min(sel.col2, s.cols() - 1);
    sel.row2 = std::min(sel.row2, s.rows() - 1);
    if (sel.isEmpty())
        return;
    const QRect first = cellRect(sel.col1, sel.row1);
    const QRect last = cellRect(sel.col2, sel.row2);
    QRect area = first.united(last);
    const QRect current = cellRect(selection.CurrentCol(), selection.CurrentRow());
    if (area != current) {
        // Everything but the current cell is tinted.
        p.save();
        QRegion tinted = QRegion(area.intersected(clip)).subtracted(QRegion(current));
        p.setClipRegion(tinted, Qt::IntersectClip);
        p.fillRect(area.intersected(clip), kSelectionFill);
        p.restore();
    }
    QPen pen(kSelectionFrame);
    pen.setWidth(2);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(area.adjusted(0, 0, -1, -1));
    if (area != current) {
        pen.setWidth(1);
        p.setPen(pen);
        p.drawRect(current.adjusted(0, 0, -1, -1));
    }
}

} // namespace vantor
