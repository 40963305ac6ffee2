#include "sheet_component/widget/CellWidget.h"

#include "sheet_component/engine/DisplayFormat.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/render/CellFonts.h"
#include "sheet_component/render/SheetPrinter.h"
#include "sheet_component/widget/FindDialog.h"
#include "sheet_component/widget/PageSetupDialog.h"
#include "sheet_component/widget/PrintPreview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QToolBar>

#include <algorithm>
#include <cmath>

namespace vantor {

namespace {

constexpr int kResizeGrip = 3;
const QColor kSelectionFill(0, 102, 204, 40);
const QColor kSelectionFrame(0, 84, 166);

// The text the editor starts with: the formula as written, or the value as stored.
QString editText(const Workbook &wb, int col, int row)
{
    const Sheet &s = wb.sheet(wb.CurrentSheet());
    if (s.hasFormula(col, row))
        return QStringLiteral("=") + QString::fromStdString(s.formulaText(col, row));
    const CellValue v = s.value(col, row);
    if (v.isNumber())
        return QString::fromStdString(formatGeneralNumber(v.number()));
    if (v.isText())
        return QString::fromStdString(v.text());
    if (v.isError())
        return QString::fromLatin1(cellErrorText(v.error()));
    return {};
}

} // namespace

CellWidget::CellWidget(Workbook &workbook, QWidget *parent)
    : QAbstractScrollArea(parent), m_workbook(workbook), m_renderer(workbook)
{
    setObjectName(QStringLiteral("Cell1"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_editor = new QLineEdit(viewport());
    m_editor->setFrame(false);
    m_editor->hide();
    m_editor->installEventFilter(this);
    connect(m_editor, &QLineEdit::textEdited, this,
            [this](const QString &text) { emit textChanged(m_editCol, m_editRow, text); });

    m_workbook.setTextMeasurer(&m_measurer);
    m_workbook.setChangeListener([this](const WorkbookChange &change) { onWorkbookChanged(change); });
    m_extentCol = m_workbook.CurrentCol();
    m_extentRow = m_workbook.CurrentRow();
    applyLayout();
}

CellWidget::~CellWidget()
{
    // An open edit is dropped; the editor must not report its focus loss to a view being torn down.
    m_editor->removeEventFilter(this);
    m_editing = false;
    m_workbook.setChangeListener(nullptr);
    m_workbook.setTextMeasurer(nullptr);
}

const Sheet &CellWidget::currentSheet() const
{
    return m_workbook.sheet(m_workbook.CurrentSheet());
}

// --- workbook changes and layout ---

void CellWidget::onWorkbookChanged(const WorkbookChange &change)
{
    switch (change.kind) {
    case WorkbookChange::Reset:
    case WorkbookChange::Sheets:
        if (m_editing && !m_committing)
            cancelEditing();
        m_renderer.clearCaches();
        m_geometryDirty = true;
        m_scrollResetPending = true;
        scheduleLayout();
        break;
    case WorkbookChange::Layout:
        m_geometryDirty = true;
        scheduleLayout();
        break;
    case WorkbookChange::Selection:
        if (!m_selecting) {
            // Selected from code (全选, find): extending continues from the far corner.
            const CellRange sel = m_workbook.DoGetSelection();
            m_extentCol = m_workbook.CurrentCol() == sel.col1 ? sel.col2 : sel.col1;
            m_extentRow = m_workbook.CurrentRow() == sel.row1 ? sel.row2 : sel.row1;
        }
        break;
    case WorkbookChange::Cells:
        if (m_replay != Replay::None && change.sheet == m_workbook.CurrentSheet() && !change.range.isEmpty() &&
            (m_replay == Replay::KeepLast || m_replayed.isEmpty()))
            m_replayed = change.range;
        break;
    }
    viewport()->update();
}

void CellWidget::scheduleLayout()
{
    // Code that changes the layout in a loop (thousands of row insertions) reports each step;
    // the geometry is rebuilt once, when control returns to the event loop or at the next paint.
    if (m_layoutPending)
        return;
    m_layoutPending = true;
    QMetaObject::invokeMethod(
        this, [this] { applyLayout(); }, Qt::QueuedConnection);
}

void CellWidget::applyLayout()
{
    m_layoutPending = false;
    m_geometryDirty = true;
    ensureGeometry();
    updateScrollBars();
    if (m_scrollResetPending) {
        m_scrollResetPending = false;
        verticalScrollBar()->setValue(firstScrollRow());
        horizontalScrollBar()->setValue(0);
        m_extentCol = m_workbook.CurrentCol();
        m_extentRow = m_workbook.CurrentRow();
    }
    placeEditor();
    viewport()->update();
}

void CellWidget::ensureGeometry() const
{
    const Sheet &s = currentSheet();
    if (m_geometryDirty || m_geometrySheet != &s || m_geometry.isStale(s)) {
        m_geometry.rebuild(s);
        m_geometrySheet = &s;
        m_geometryDirty = false;
    }
}

void CellWidget::updateScrollBars()
{
    ensureGeometry();
    const Sheet &s = currentSheet();
    const double z = m_options.zoom;
    const int first = firstScrollRow();
    const double roomY = std::max(1.0, (viewport()->height() - headerHeight() - bandHeight()) / z);
    const double roomX = std::max(1.0, (viewport()->width() - headerWidth()) / z);
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
    verticalScrollBar()->setRange(first, std::max(first, maxTop));
    verticalScrollBar()->setPageStep(std::max(1, visibleBodyRows() - 1));
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, maxLeft);
    horizontalScrollBar()->setPageStep(std::max(1, lastVisibleCol() - leftCol()));
    horizontalScrollBar()->setSingleStep(1);
}

void CellWidget::DoRedraw()
{
    viewport()->update();
}

void CellWidget::DoRefreshLayout()
{
    applyLayout();
    ensureVisible(m_workbook.CurrentCol(), m_workbook.CurrentRow());
}

bool CellWidget::ReadOnly() const
{
    return m_workbook.ReadOnly();
}

void CellWidget::SetReadOnly(bool readOnly)
{
    if (readOnly && m_editing)
        cancelEditing();
    m_workbook.SetReadOnly(readOnly);
}

void CellWidget::setZoom(double zoom)
{
    m_options.zoom = std::clamp(zoom, 0.25, 4.0);
    applyLayout();
}

void CellWidget::setShowHeaders(bool show)
{
    m_options.showHeaders = show;
    applyLayout();
}

void CellWidget::setShowGrid(bool show)
{
    m_options.showGrid = show;
    viewport()->update();
}

// --- geometry ---

int CellWidget::headerWidth() const
{
    return m_options.showHeaders ? CellRenderer::rowHeaderWidth(currentSheet().rows(), m_options.zoom) : 0;
}

int CellWidget::headerHeight() const
{
    return m_options.showHeaders ? CellRenderer::columnHeaderHeight(m_options.zoom) : 0;
}

int CellWidget::bandFirst() const
{
    const FrozenRows &f = currentSheet().frozenRows();
    if (!f.any() || f.first >= currentSheet().rows())
        return -1;
    return f.first;
}

int CellWidget::bandLast() const
{
    return bandFirst() < 0 ? -1 : std::min(currentSheet().frozenRows().last, currentSheet().rows() - 1);
}

int CellWidget::bandHeight() const
{
    if (bandFirst() < 0)
        return 0;
    ensureGeometry();
    return static_cast<int>(
        std::lround((m_geometry.rowY(bandLast() + 1) - m_geometry.rowY(bandFirst())) * m_options.zoom));
}

int CellWidget::firstScrollRow() const
{
    const int last = bandLast();
    return last < 0 ? 0 : std::min(last + 1, std::max(currentSheet().rows() - 1, 0));
}

int CellWidget::topRow() const
{
    return std::max(verticalScrollBar()->value(), firstScrollRow());
}

int CellWidget::leftCol() const
{
    return std::max(horizontalScrollBar()->value(), 0);
}

int CellWidget::colLeft(int col) const
{
    ensureGeometry();
    return headerWidth() +
           static_cast<int>(std::lround((m_geometry.colX(col) - m_geometry.colX(leftCol())) * m_options.zoom));
}

int CellWidget::rowTop(int row) const
{
    ensureGeometry();
    const int bf = bandFirst();
    if (bf >= 0 && row >= bf && row <= bandLast())
        return headerHeight() +
               static_cast<int>(std::lround((m_geometry.rowY(row) - m_geometry.rowY(bf)) * m_options.zoom));
    return headerHeight() + bandHeight() +
           static_cast<int>(std::lround((m_geometry.rowY(row) - m_geometry.rowY(topRow())) * m_options.zoom));
}

int CellWidget::lastVisibleCol() const
{
    ensureGeometry();
    const int room = static_cast<int>((viewport()->width() - headerWidth()) / m_options.zoom);
    const int c = m_geometry.colAt(m_geometry.colX(leftCol()) + std::max(room, 0));
    return c < 0 ? -1 : c;
}

int CellWidget::lastVisibleRow() const
{
    ensureGeometry();
    const int room = static_cast<int>((viewport()->height() - headerHeight() - bandHeight()) / m_options.zoom);
    const int r = m_geometry.rowAt(m_geometry.rowY(topRow()) + std::max(room, 0));
    return r < 0 ? -1 : r;
}

int CellWidget::visibleBodyRows() const
{
    ensureGeometry();
    const int room = static_cast<int>((viewport()->height() - headerHeight() - bandHeight()) / m_options.zoom);
    int n = 0;
    for (int r = topRow(), used = 0; r < currentSheet().rows(); ++r) {
        used += m_geometry.rowHeight(r);
        if (used > room)
            break;
        ++n;
    }
    return std::max(n, 1);
}

QRect CellWidget::cellRect(int col, int row) const
{
    int c2 = col, r2 = row;
    if (auto m = currentSheet().mergeAt(col, row)) {
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

CellWidget::Hit CellWidget::hitTest(const QPoint &pos) const
{
    ensureGeometry();
    const Sheet &s = currentSheet();
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

bool CellWidget::cellAt(const QPoint &pos, int *col, int *row) const
{
    const Hit hit = hitTest(pos);
    if (hit.area != Area::Cells)
        return false;
    *col = hit.col;
    *row = hit.row;
    return true;
}

int CellWidget::resizeTarget(const QPoint &pos, Area area) const
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

// --- painting ---

void CellWidget::paintEvent(QPaintEvent *)
{
    ensureGeometry();
    QPainter p(viewport());
    const QRect all = viewport()->rect();
    p.fillRect(all, QColor(250, 250, 250));
    const Sheet &s = currentSheet();
    if (s.cols() <= 0 || s.rows() <= 0)
        return;
    const int sheetIndex = m_workbook.CurrentSheet();
    const int hw = headerWidth();
    const int hh = headerHeight();
    const int bh = bandHeight();
    const int c1 = leftCol();
    const int c2 = lastVisibleCol();
    const CellRange sel = m_workbook.DoGetSelection();

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
        m_renderer.paintCells(p, sheetIndex, m_geometry, CellRange{c1, part.row1, c2, part.row2}, part.area.topLeft(),
                              m_options);
        paintSelection(p, part.area);
        p.restore();
        if (m_options.showHeaders)
            m_renderer.paintRowHeaders(p, m_geometry, part.row1, part.row2,
                                       QRectF(0, part.area.top(), hw, part.area.height()), m_options, sel.row1,
                                       sel.row2);
    }
    if (bh > 0) {
        // A firm line under the frozen rows shows where scrolling starts.
        p.fillRect(QRect(0, hh + bh - 1, all.width(), 1), QColor(96, 96, 96));
    }
    if (m_options.showHeaders) {
        m_renderer.paintColumnHeaders(p, m_geometry, c1, c2, QRectF(hw, 0, all.width() - hw, hh), m_options, sel.col1,
                                      sel.col2);
        p.fillRect(QRect(0, 0, hw, hh), QColor(240, 240, 240));
    }
    if (m_resizeGuide >= 0) {
        if (m_drag == Drag::ResizeColumn)
            p.fillRect(QRect(m_resizeGuide, 0, 1, all.height()), Qt::black);
        else
            p.fillRect(QRect(0, m_resizeGuide, all.width(), 1), Qt::black);
    }
}

void CellWidget::paintSelection(QPainter &p, const QRect &clip) const
{
    const Sheet &s = currentSheet();
    CellRange sel = m_workbook.DoGetSelection();
    sel.col2 = std::min(sel.col2, s.cols() - 1);
    sel.row2 = std::min(sel.row2, s.rows() - 1);
    if (sel.isEmpty())
        return;
    const QRect first = cellRect(sel.col1, sel.row1);
    const QRect last = cellRect(sel.col2, sel.row2);
    QRect area = first.united(last);
    const QRect current = cellRect(m_workbook.CurrentCol(), m_workbook.CurrentRow());
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

void CellWidget::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    placeEditor();
}

void CellWidget::scrollContentsBy(int, int)
{
    placeEditor();
    viewport()->update();
}

// --- selection and movement ---

void CellWidget::ensureVisible(int col, int row)
{
    ensureGeometry();
    const Sheet &s = currentSheet();
    if (!s.isValid(col, row))
        return;
    if (!(bandFirst() >= 0 && row >= bandFirst() && row <= bandLast())) {
        if (row < topRow())
            verticalScrollBar()->setValue(row);
        else if (row > lastVisibleRow() || rowTop(row + 1) > viewport()->height()) {
            // Scroll so that the row is the last one fully shown.
            const double room = (viewport()->height() - headerHeight() - bandHeight()) / m_options.zoom;
            int top = row;
            double used = m_geometry.rowHeight(row);
            while (top > firstScrollRow() && used + m_geometry.rowHeight(top - 1) <= room) {
                --top;
                used += m_geometry.rowHeight(top);
            }
            verticalScrollBar()->setValue(top);
        }
    }
    if (col < leftCol())
        horizontalScrollBar()->setValue(col);
    else if (colLeft(col + 1) > viewport()->width()) {
        const double room = (viewport()->width() - headerWidth()) / m_options.zoom;
        int left = col;
        double used = m_geometry.colWidth(col);
        while (left > 0 && used + m_geometry.colWidth(left - 1) <= room) {
            --left;
            used += m_geometry.colWidth(left);
        }
        horizontalScrollBar()->setValue(left);
    }
}

void CellWidget::moveTo(int col, int row, bool extend)
{
    const Sheet &s = currentSheet();
    if (s.cols() <= 0 || s.rows() <= 0)
        return;
    col = std::clamp(col, 0, s.cols() - 1);
    row = std::clamp(row, 0, s.rows() - 1);
    const int oldCol = m_workbook.CurrentCol();
    const int oldRow = m_workbook.CurrentRow();
    m_selecting = true;
    if (extend) {
        m_extentCol = col;
        m_extentRow = row;
        CellRange r = CellRange::normalized(oldCol, oldRow, col, row);
        // A selection never cuts a merged block in two.
        for (bool grown = true; grown;) {
            grown = false;
            for (const CellRange &m : s.merges()) {
                if (m.intersects(r) && !(r.contains(m.col1, m.row1) && r.contains(m.col2, m.row2))) {
                    r = CellRange{std::min(r.col1, m.col1), std::min(r.row1, m.row1), std::max(r.col2, m.col2),
                                  std::max(r.row2, m.row2)};
                    grown = true;
                }
            }
        }
        m_workbook.DoSelectRange(r.col1, r.row1, r.col2, r.row2);
    } else {
        if (auto m = s.mergeAt(col, row)) {
            col = m->col1;
            row = m->row1;
        }
        m_workbook.DoGotoCell(col, row);
        if (auto m = s.mergeAt(col, row))
            m_workbook.DoSelectRange(m->col1, m->row1, m->col2, m->row2);
        m_extentCol = col;
        m_extentRow = row;
    }
    m_selecting = false;
    ensureVisible(extend ? m_extentCol : col, extend ? m_extentRow : row);
    viewport()->update();
    const int newCol = m_workbook.CurrentCol();
    const int newRow = m_workbook.CurrentRow();
    if (newCol != oldCol || newRow != oldRow) {
        // Whatever the handler changes in response belongs to the user's action.
        UndoGroup group(m_workbook);
        emit activeCellChanged(oldCol, oldRow, newCol, newRow);
    }
}

void CellWidget::moveBy(int dCol, int dRow, bool extend)
{
    const Sheet &s = currentSheet();
    int col = extend ? m_extentCol : m_workbook.CurrentCol();
    int row = extend ? m_extentRow : m_workbook.CurrentRow();
    if (!extend) {
        // Step out of a merged block from its far edge.
        if (auto m = s.mergeAt(col, row)) {
            if (dCol > 0)
                col = m->col2;
            if (dRow > 0)
                row = m->row2;
        }
    }
    moveTo(col + dCol, row + dRow, extend);
}

void CellWidget::selectColumns(int col1, int col2)
{
    const Sheet &s = currentSheet();
    const int oldCol = m_workbook.CurrentCol();
    const int oldRow = m_workbook.CurrentRow();
    m_workbook.DoSelectRange(col1, 0, col2, s.rows() - 1);
    viewport()->update();
    if (m_workbook.CurrentCol() != oldCol || m_workbook.CurrentRow() != oldRow) {
        UndoGroup group(m_workbook);
        emit activeCellChanged(oldCol, oldRow, m_workbook.CurrentCol(), m_workbook.CurrentRow());
    }
}

void CellWidget::selectRows(int row1, int row2)
{
    const Sheet &s = currentSheet();
    const int oldCol = m_workbook.CurrentCol();
    const int oldRow = m_workbook.CurrentRow();
    m_workbook.DoSelectRange(0, row1, s.cols() - 1, row2);
    viewport()->update();
    if (m_workbook.CurrentCol() != oldCol || m_workbook.CurrentRow() != oldRow) {
        UndoGroup group(m_workbook);
        emit activeCellChanged(oldCol, oldRow, m_workbook.CurrentCol(), m_workbook.CurrentRow());
    }
}

// --- editing ---

bool CellWidget::askMayAct(int col, int row)
{
    bool allowed = true;
    emit mayAct(col, row, &allowed);
    return allowed;
}

bool CellWidget::askMayEdit(int col, int row)
{
    // A locked cell is never changed by the user, whatever the handlers say.
    if (m_workbook.DoGetCellLock(col, row))
        return false;
    bool allowed = true;
    emit mayEdit(col, row, &allowed);
    return allowed;
}

bool CellWidget::startEditing(const QString &text, bool replace)
{
    if (m_editing)
        return true;
    if (ReadOnly())
        return false;
    const int col = m_workbook.CurrentCol();
    const int row = m_workbook.CurrentRow();
    if (!currentSheet().isValid(col, row))
        return false;
    if (!askMayAct(col, row) || !askMayEdit(col, row))
        return false;
    ensureVisible(col, row);
    const CellFormat &format = m_workbook.cellFormat(col, row);
    m_editCol = col;
    m_editRow = row;
    m_editOriginal = editText(m_workbook, col, row);
    m_typingMode = replace;
    m_editor->setFont(CellFonts::makeFont(m_workbook.DoGetCellFont(col, row), m_options.zoom));
    switch (format.alignment) {
    case AlignRight:
    case AlignRight2:
        m_editor->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case AlignCenter:
        m_editor->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        break;
    default:
        m_editor->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }
    m_editor->setInputMask(QString::fromStdString(format.inputMask));
    m_editing = true;
    if (replace) {
        m_editor->setText(QString());
        m_editor->setCursorPosition(0);
        if (!text.isEmpty())
            m_editor->insert(text); // raises textEdited, hence textChanged
    } else {
        m_editor->setText(m_editOriginal);
        m_editor->end(false);
    }
    placeEditor();
    m_editor->show();
    m_editor->setFocus();
    return true;
}

void CellWidget::placeEditor()
{
    if (!m_editing)
        return;
    QRect rect = cellRect(m_editCol, m_editRow);
    const int top = headerHeight();
    m_editor->setGeometry(rect.adjusted(1, 1, -1, -1));
    m_editor->setVisible(rect.bottom() > top && rect.right() > headerWidth());
}

bool CellWidget::commitEditing()
{
    if (!m_editing || m_committing)
        return false;
    QString text = m_editor->text();
    if (!m_editor->inputMask().isEmpty() && !m_editor->hasAcceptableInput() && text != m_editOriginal) {
        // A mask with nothing typed in clears the cell; a half-filled one would store a broken
        // value: the user completes it or presses Escape.
        const bool blank = std::none_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); });
        if (!blank) {
            m_editor->setFocus();
            return false;
        }
        text.clear();
    }
    const bool changed = m_typingMode || text != m_editOriginal;
    if (changed) {
        bool allowed = true;
        m_committing = true; // the handler's message box must not commit again
        emit inputToStore(m_editCol, m_editRow, &text, &allowed);
        m_committing = false;
        if (!allowed) {
            m_editor->setFocus();
            return false;
        }
    }
    m_committing = true;
    m_editing = false;
    m_editor->hide();
    {
        UndoGroup group(m_workbook);
        if (changed && currentSheet().isValid(m_editCol, m_editRow))
            m_workbook.setCellInput(m_editCol, m_editRow, text.toStdString());
        emit editCommitted(m_editCol, m_editRow);
    }
    m_committing = false;
    setFocus();
    viewport()->update();
    if (changed)
        emit repaintRequest();
    return true;
}

void CellWidget::cancelEditing()
{
    if (!m_editing)
        return;
    m_editing = false;
    m_editor->hide();
    setFocus();
    viewport()->update();
}

void CellWidget::commitAndMove(int dCol, int dRow)
{
    // The edit and the recomputation that leaving the cell triggers are one undo step.
    UndoGroup group(m_workbook);
    if (commitEditing())
        moveBy(dCol, dRow, false);
}

void CellWidget::clearSelectionContents()
{
    if (ReadOnly())
        return;
    const Sheet &s = currentSheet();
    CellRange sel = m_workbook.DoGetSelection();
    if (!askMayAct(m_workbook.CurrentCol(), m_workbook.CurrentRow()))
        return;
    sel.row2 = std::min(sel.row2, std::max(s.lastUsedRow(), sel.row1));
    UndoGroup group(m_workbook);
    const WriteGuard guard = writeGuard();
    int leftOut = 0;
    for (int r = sel.row1; r <= sel.row2; ++r)
        for (int c = sel.col1; c <= std::min(sel.col2, s.storedCols(r) - 1); ++c)
            if (!s.value(c, r).isEmpty() || s.hasFormula(c, r)) {
                if (guard.allows(c, r))
                    m_workbook.DoClearCell(c, r, ClearContents);
                else
                    ++leftOut;
            }
    emit cellsWritten(sel.col1, sel.row1, sel.col2, sel.row2, leftOut);
    emit repaintRequest();
}

bool CellWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor && m_editing) {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            const bool shift = key->modifiers() & Qt::ShiftModifier;
            switch (key->key()) {
            case Qt::Key_Escape:
                cancelEditing();
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                commitAndMove(0, shift ? -1 : 1);
                return true;
            case Qt::Key_Tab:
                commitAndMove(1, 0);
                return true;
            case Qt::Key_Backtab:
                commitAndMove(-1, 0);
                return true;
            case Qt::Key_Up:
                commitAndMove(0, -1);
                return true;
            case Qt::Key_Down:
                commitAndMove(0, 1);
                return true;
            case Qt::Key_Left:
            case Qt::Key_Right:
                // With Shift or Ctrl the key selects or jumps inside the text and leaves the
                // cell alone; only a plain arrow ends a typed entry.
                if (m_typingMode && !(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
                    commitAndMove(key->key() == Qt::Key_Left ? -1 : 1, 0);
                    return true;
                }
                break;
            default:
                break;
            }
        } else if (event->type() == QEvent::FocusOut) {
            auto *focus = static_cast<QFocusEvent *>(event);
            // Leaving for a pop-up (the editor's own context menu) keeps editing.
            if (focus->reason() != Qt::PopupFocusReason)
                commitEditing();
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

bool CellWidget::focusNextPrevChild(bool)
{
    // Tab moves between cells, not out of the sheet.
    return false;
}

void CellWidget::keyPressEvent(QKeyEvent *event)
{
    if (m_editing) {
        // A key the editor did not use comes back up from it: it goes on to the window (and its
        // shortcuts), never back into the editor. Keys that reach the view while the editor
        // is open but has no focus (scrolled out of sight) belong to the editor, once.
        if (m_forwardingKey || m_editor->hasFocus()) {
            event->ignore();
            return;
        }
        m_forwardingKey = true;
        QApplication::sendEvent(m_editor, event);
        m_forwardingKey = false;
        return;
    }
    if (m_hostShortcuts && (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut) ||
                            event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Undo) ||
                            event->matches(QKeySequence::Redo) || event->matches(QKeySequence::SelectAll))) {
        event->ignore();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        DoCopy();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        DoCut();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        DoPaste(m_workbook.CurrentCol(), m_workbook.CurrentRow(), true);
        return;
    }
    if (event->matches(QKeySequence::Undo)) {
        DoUndo();
        return;
    }
    if (event->matches(QKeySequence::Redo)) {
        DoRedo();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        const Sheet &s = currentSheet();
        m_workbook.DoSelectRange(0, 0, s.cols() - 1, s.rows() - 1);
        viewport()->update();
        return;
    }
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const Sheet &s = currentSheet();
    switch (event->key()) {
    case Qt::Key_Left:
        moveBy(-1, 0, shift);
        return;
    case Qt::Key_Right:
        moveBy(1, 0, shift);
        return;
    case Qt::Key_Up:
        moveBy(0, -1, shift);
        return;
    case Qt::Key_Down:
        moveBy(0, 1, shift);
        return;
    case Qt::Key_Tab:
        moveBy(1, 0, false);
        return;
    case Qt::Key_Backtab:
        moveBy(-1, 0, false);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        moveBy(0, shift ? -1 : 1, false);
        return;
    case Qt::Key_PageDown:
    case Qt::Key_PageUp: {
        const int rows = visibleBodyRows();
        const int d = event->key() == Qt::Key_PageDown ? rows : -rows;
        verticalScrollBar()->setValue(verticalScrollBar()->value() + d);
        moveTo(shift ? m_extentCol : m_workbook.CurrentCol(), (shift ? m_extentRow : m_workbook.CurrentRow()) + d,
               shift);
        return;
    }
    case Qt::Key_Home:
        moveTo(0, ctrl ? 0 : (shift ? m_extentRow : m_workbook.CurrentRow()), shift);
        // A1 may lie in the frozen rows, always in sight: the body goes back to its top too.
        if (ctrl)
            verticalScrollBar()->setValue(firstScrollRow());
        return;
    case Qt::Key_End:
        moveTo(s.cols() - 1, ctrl ? std::max(s.lastUsedRow(), 0) : (shift ? m_extentRow : m_workbook.CurrentRow()),
               shift);
        return;
    case Qt::Key_F2:
        startEditing(QString(), false);
        return;
    case Qt::Key_Delete:
        clearSelectionContents();
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        startEditing(text, true);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CellWidget::inputMethodEvent(QInputMethodEvent *event)
{
    if (!m_editing && !event->commitString().isEmpty()) {
        startEditing(event->commitString(), true);
        event->accept();
        return;
    }
    QAbstractScrollArea::inputMethodEvent(event);
}

// --- mouse ---

void CellWidget::mousePressEvent(QMouseEvent *event)
{
    if (m_editing)
        commitEditing();
    setFocus();
    const QPoint pos = event->position().toPoint();
    const Hit hit = hitTest(pos);
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const Sheet &s = currentSheet();

    if (event->button() == Qt::RightButton) {
        if (hit.area == Area::Cells) {
            if (!m_workbook.DoGetSelection().contains(hit.col, hit.row))
                moveTo(hit.col, hit.row, false);
            emit rightClick(hit.col, hit.row, event->globalPosition().toPoint());
        }
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;

    if (hit.area == Area::ColumnHeader || hit.area == Area::RowHeader) {
        const int target = resizeTarget(pos, hit.area);
        if (target >= 0 && !ReadOnly()) {
            bool allowed = true;
            emit permission(&allowed);
            if (allowed) {
                m_drag = hit.area == Area::ColumnHeader ? Drag::ResizeColumn : Drag::ResizeRow;
                m_resizeIndex = target;
                m_resizeStart = hit.area == Area::ColumnHeader ? pos.x() : pos.y();
                m_resizeOriginal = hit.area == Area::ColumnHeader ? s.colWidth(target) : s.rowHeight(target);
                m_resizeGuide = m_resizeStart;
                viewport()->update();
                return;
            }
        }
    }
    switch (hit.area) {
    case Area::Corner:
        m_workbook.DoSelectRange(0, 0, s.cols() - 1, s.rows() - 1);
        viewport()->update();
        break;
    case Area::ColumnHeader: {
        const int anchor = shift ? m_workbook.CurrentCol() : hit.col;
        m_dragAnchor = anchor;
        selectColumns(std::min(anchor, hit.col), std::max(anchor, hit.col));
        m_drag = Drag::Columns;
        break;
    }
    case Area::RowHeader: {
        const int anchor = shift ? m_workbook.CurrentRow() : hit.row;
        m_dragAnchor = anchor;
        selectRows(std::min(anchor, hit.row), std::max(anchor, hit.row));
        m_drag = Drag::Rows;
        break;
    }
    case Area::Cells:
        moveTo(hit.col, hit.row, shift);
        m_drag = Drag::Cells;
        break;
    case Area::None:
        break;
    }
}

void CellWidget::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_drag == Drag::None) {
        const Hit hit = hitTest(pos);
        if (hit.area == Area::ColumnHeader && resizeTarget(pos, hit.area) >= 0)
            viewport()->setCursor(Qt::SplitHCursor);
        else if (hit.area == Area::RowHeader && resizeTarget(pos, hit.area) >= 0)
            viewport()->setCursor(Qt::SplitVCursor);
        else
            viewport()->unsetCursor();
        return;
    }
    if (m_drag == Drag::ResizeColumn || m_drag == Drag::ResizeRow) {
        m_resizeGuide = m_drag == Drag::ResizeColumn ? pos.x() : pos.y();
        viewport()->update();
        return;
    }
    // Dragging past the bottom or right edge scrolls.
    if (pos.y() > viewport()->height())
        verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
    else if (pos.y() < headerHeight() + bandHeight() && pos.y() > headerHeight() && m_drag != Drag::Columns &&
             topRow() > firstScrollRow())
        verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
    if (pos.x() > viewport()->width())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + 1);
    const Hit hit =
        hitTest(QPoint(std::clamp(pos.x(), headerWidth(), std::max(headerWidth(), viewport()->width() - 1)),
                       std::clamp(pos.y(), headerHeight(), std::max(headerHeight(), viewport()->height() - 1))));
    if (hit.col < 0 || hit.row < 0)
        return;
    switch (m_drag) {
    case Drag::Cells:
        if (hit.col != m_extentCol || hit.row != m_extentRow)
            moveTo(hit.col, hit.row, true);
        break;
    case Drag::Columns:
        selectColumns(std::min(m_dragAnchor, hit.col), std::max(m_dragAnchor, hit.col));
        break;
    case Drag::Rows:
        selectRows(std::min(m_dragAnchor, hit.row), std::max(m_dragAnchor, hit.row));
        break;
    default:
        break;
    }
}

void CellWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_drag == Drag::ResizeColumn || m_drag == Drag::ResizeRow) {
        const QPoint pos = event->position().toPoint();
        const int delta = (m_drag == Drag::ResizeColumn ? pos.x() : pos.y()) - m_resizeStart;
        const int size = std::max(0, m_resizeOriginal + static_cast<int>(std::lround(delta / m_options.zoom)));
        {
            UndoGroup group(m_workbook);
            if (m_drag == Drag::ResizeColumn)
                m_workbook.DoSetColWidth(m_resizeIndex, size);
            else
                m_workbook.DoSetRowHeight(m_resizeIndex, size);
        }
        m_resizeGuide = -1;
        applyLayout();
        emit repaintRequest();
    }
    m_drag = Drag::None;
}

void CellWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    const Hit hit = hitTest(event->position().toPoint());
    if (hit.area != Area::Cells || event->button() != Qt::LeftButton)
        return;
    if (hit.col != m_workbook.CurrentCol() || hit.row != m_workbook.CurrentRow())
        moveTo(hit.col, hit.row, false);
    startEditing(QString(), false);
}

// --- clipboard and undo ---

void CellWidget::DoCopy()
{
    const CellRange sel = m_workbook.DoGetSelection();
    if (sel.isEmpty())
        return;
    m_workbook.DoCopy();
    m_ownClipboardText = QString::fromStdString(m_workbook.copyRangeAsText(sel.col1, sel.row1, sel.col2, sel.row2));
    QApplication::clipboard()->setText(m_ownClipboardText);
}

void CellWidget::DoCut()
{
    if (ReadOnly() || m_workbook.DoGetSelection().isEmpty())
        return;
    if (!askMayAct(m_workbook.CurrentCol(), m_workbook.CurrentRow()))
        return;
    const CellRange sel = m_workbook.DoGetSelection();
    m_ownClipboardText = QString::fromStdString(m_workbook.copyRangeAsText(sel.col1, sel.row1, sel.col2, sel.row2));
    {
        UndoGroup group(m_workbook);
        const int kept = m_workbook.DoCut(writeGuard());
        emit cellsWritten(sel.col1, sel.row1, sel.col2, sel.row2, kept);
    }
    QApplication::clipboard()->setText(m_ownClipboardText);
    emit repaintRequest();
}

void CellWidget::DoPaste(int col, int row, bool whole)
{
    if (ReadOnly() || !currentSheet().isValid(col, row))
        return;
    if (m_editing)
        commitEditing();
    if (!askMayAct(col, row) || !askMayEdit(col, row))
        return;
    const QString text = QApplication::clipboard()->text();
    // Our own copy pastes with formats and formulas; anything else as tab-separated text.
    const bool own = m_workbook.hasClipboard() && (text.isEmpty() || text == m_ownClipboardText);
    if (!own && text.isEmpty())
        return;
    {
        UndoGroup group(m_workbook);
        const WriteGuard guard = writeGuard();
        int leftOut = 0;
        int cols = 1, rows = 1;
        if (own) {
            leftOut = m_workbook.DoPaste(col, row, whole, guard);
            const CellRange src = m_workbook.clipboardRange();
            cols = src.colCount();
            rows = src.rowCount();
        } else {
            QString block = text;
            block.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            if (block.endsWith(QLatin1Char('\n')))
                block.chop(1);
            const QStringList lines = block.split(QLatin1Char('\n'));
            rows = static_cast<int>(lines.size());
            for (const QString &line : lines)
                cols = std::max(cols, static_cast<int>(line.count(QLatin1Char('\t'))) + 1);
            if (!takePastedInput(col, row, block, guard))
                return; // refused, and said why, before any cell changed
            leftOut = m_workbook.pasteText(col, row, block.toStdString(), -1, guard);
        }
        const CellRange written =
            CellRange{col, row, std::min(col + cols - 1, guard.lastCol), std::min(row + rows - 1, guard.lastRow)};
        emit cellsWritten(written.col1, written.row1, written.col2, written.row2, leftOut);
    }
    applyLayout();
    emit repaintRequest();
}

bool CellWidget::takePastedInput(int col, int row, QString &block, const WriteGuard &guard)
{
    // Quoted fields may hold tabs and line breaks: those blocks are checked field by field as
    // split here, but written as they came.
    const bool plain = !block.contains(QLatin1Char('"'));
    QStringList lines = block.split(QLatin1Char('\n'));
    for (int r = 0; r < lines.size(); ++r) {
        QStringList fields = lines[r].split(QLatin1Char('\t'));
        for (int c = 0; c < fields.size(); ++c) {
            if (fields[c].isEmpty() || !guard.allows(col + c, row + r))
                continue;
            bool allowed = true;
            emit inputToStore(col + c, row + r, &fields[c], &allowed);
            if (!allowed)
                return false;
        }
        lines[r] = fields.join(QLatin1Char('\t'));
    }
    if (plain)
        block = lines.join(QLatin1Char('\n'));
    return true;
}

WriteGuard CellWidget::writeGuard()
{
    WriteGuard guard;
    int lastCol = guard.lastCol, lastRow = guard.lastRow;
    emit writeLimit(&lastCol, &lastRow);
    guard.lastCol = lastCol;
    guard.lastRow = lastRow;
    guard.accept = [this](int col, int row) { return askMayEdit(col, row); };
    return guard;
}

void CellWidget::DoUndo()
{
    replayStep(false);
}

void CellWidget::DoRedo()
{
    replayStep(true);
}

void CellWidget::replayStep(bool redo)
{
    if (ReadOnly())
        return;
    cancelEditing();
    if (redo ? !m_workbook.CanRedo() : !m_workbook.CanUndo())
        return;
    // A step's first command holds the cells the user changed, the later ones what that change
    // recomputed: undo replays it last, redo first. The current cell goes there afterwards.
    m_replay = redo ? Replay::KeepFirst : Replay::KeepLast;
    m_replayed = CellRange{};
    if (redo)
        m_workbook.DoRedo();
    else
        m_workbook.DoUndo();
    m_replay = Replay::None;
    if (!m_replayed.isEmpty())
        moveTo(m_replayed.col1, m_replayed.row1, false);
    emit repaintRequest();
}

// --- dialogs and printing ---

void CellWidget::DoFind(bool matchCase)
{
    if (!m_find) {
        m_find = new FindDialog(m_workbook, this);
        connect(m_find, &FindDialog::found, this, [this](int col, int row) { moveTo(col, row, false); });
        // Closing the dialog gives the keyboard back to the sheet and its window's shortcuts.
        connect(m_find, &QDialog::finished, this, [this] {
            window()->activateWindow();
            setFocus();
        });
    }
    m_find->setMatchCase(matchCase);
    m_find->show();
    m_find->raise();
    m_find->activateWindow();
}

void CellWidget::DoPageSetup()
{
    PageSetupDialog dialog(m_workbook.printSettings(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    UndoGroup group(m_workbook);
    m_workbook.setPrintSettings(dialog.settings());
}

void CellWidget::DoPrintPreview(bool)
{
    if (m_editing)
        commitEditing();
    PrintPreview::exec(m_workbook, m_workbook.CurrentSheet(), this);
}

bool CellWidget::exportPdf(const QString &path, QString *error)
{
    SheetPrinter pages(m_workbook, m_workbook.CurrentSheet());
    return pages.exportPdf(path, error);
}

std::vector<QImage> CellWidget::renderPages(double dpi)
{
    SheetPrinter pages(m_workbook, m_workbook.CurrentSheet());
    return pages.renderImages(dpi);
}

} // namespace vantor
