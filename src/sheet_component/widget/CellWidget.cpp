#include "sheet_component/widget/CellWidget.h"

#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/render/SheetPrinter.h"
#include "sheet_component/widget/CellEditor.h"
#include "sheet_component/widget/FindDialog.h"
#include "sheet_component/widget/PageSetupDialog.h"
#include "sheet_component/widget/PrintPreview.h"
#include "sheet_component/widget/ViewClipboard.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace vantor {

CellWidget::CellWidget(Workbook &workbook, QWidget *parent) : CellWidget(std::make_unique<Selection>(workbook), parent)
{
}

CellWidget::CellWidget(Selection &selection, QWidget *parent)
    : CellWidget(std::unique_ptr<Selection>(), parent, &selection)
{
}

CellWidget::CellWidget(std::unique_ptr<Selection> own, QWidget *parent, Selection *shared)
    : QAbstractScrollArea(parent), m_ownSelection(std::move(own)), m_selection(shared ? *shared : *m_ownSelection),
      m_workbook(m_selection.workbook()), m_renderer(m_workbook), m_grid(*this, m_workbook, m_options)
{
    setObjectName(QStringLiteral("Cell1"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_editor = new CellEditor(*this, m_grid);
    connect(m_editor, &CellEditor::leaveRequested, this, [this](int dCol, int dRow) { commitAndMove(dCol, dRow); });

    m_workbook.setTextMeasurer(&m_measurer);
    m_subscription = m_workbook.addChangeListener([this](const WorkbookChange &change) { onWorkbookChanged(change); });
    m_selection.setChangeListener([this](int) { onSelectionChanged(); });
    m_extentCol = m_selection.CurrentCol();
    m_extentRow = m_selection.CurrentRow();
    applyLayout();
}

CellWidget::~CellWidget()
{
    // An open edit is dropped; the editor must not report its focus loss to a view being torn down.
    m_editor->drop();
    m_selection.setChangeListener(nullptr);
    m_workbook.removeChangeListener(m_subscription);
    m_workbook.setTextMeasurer(nullptr);
}

const Sheet &CellWidget::currentSheet() const
{
    return m_workbook.sheet(m_workbook.CurrentSheet());
}

// --- workbook changes and layout ---

void CellWidget::onSelectionChanged()
{
    if (!m_selecting) {
        // Selected from code (全选, find): extending continues from the far corner.
        const CellRange sel = m_selection.DoGetSelection();
        m_extentCol = m_selection.CurrentCol() == sel.col1 ? sel.col2 : sel.col1;
        m_extentRow = m_selection.CurrentRow() == sel.row1 ? sel.row2 : sel.row1;
    }
    viewport()->update();
}

void CellWidget::onWorkbookChanged(const WorkbookChange &change)
{
    switch (change.kind) {
    case WorkbookChange::Reset:
        // Copied cells name styles of the table that was just replaced.
        m_clipboard.forgetCells();
        [[fallthrough]];
    case WorkbookChange::Sheets:
        if (m_editor->isEditing() && !m_editor->isCommitting())
            m_editor->cancel();
        m_renderer.clearCaches();
        m_grid.invalidate();
        m_scrollResetPending = true;
        scheduleLayout();
        break;
    case WorkbookChange::Layout:
        m_grid.invalidate();
        scheduleLayout();
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
    m_grid.invalidate();
    m_grid.ensureGeometry();
    m_grid.updateScrollBars();
    if (m_scrollResetPending) {
        m_scrollResetPending = false;
        verticalScrollBar()->setValue(m_grid.firstScrollRow());
        horizontalScrollBar()->setValue(0);
        m_extentCol = m_selection.CurrentCol();
        m_extentRow = m_selection.CurrentRow();
    }
    m_editor->place();
    viewport()->update();
}

bool CellWidget::cellAt(const QPoint &pos, int *col, int *row) const
{
    const SheetViewport::Hit hit = m_grid.hitTest(pos);
    if (hit.area != SheetViewport::Area::Cells)
        return false;
    *col = hit.col;
    *row = hit.row;
    return true;
}

void CellWidget::DoRedraw()
{
    viewport()->update();
}

void CellWidget::DoRefreshLayout()
{
    applyLayout();
    m_grid.ensureVisible(m_selection.CurrentCol(), m_selection.CurrentRow());
}

bool CellWidget::ReadOnly() const
{
    return m_workbook.ReadOnly();
}

void CellWidget::SetReadOnly(bool readOnly)
{
    if (readOnly)
        m_editor->cancel();
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

// --- painting ---

void CellWidget::paintEvent(QPaintEvent *)
{
    QPainter p(viewport());
    const QRect all = viewport()->rect();
    m_grid.paint(p, m_renderer, m_selection);
    if (m_resizeGuide >= 0) {
        if (m_drag == Drag::ResizeColumn)
            p.fillRect(QRect(m_resizeGuide, 0, 1, all.height()), Qt::black);
        else
            p.fillRect(QRect(0, m_resizeGuide, all.width(), 1), Qt::black);
    }
}

void CellWidget::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_grid.updateScrollBars();
    m_editor->place();
}

void CellWidget::scrollContentsBy(int, int)
{
    m_editor->place();
    viewport()->update();
}

// --- selection and movement ---

void CellWidget::ensureVisible(int col, int row)
{
    m_grid.ensureVisible(col, row);
}

void CellWidget::moveTo(int col, int row, bool extend)
{
    const Sheet &s = currentSheet();
    if (s.cols() <= 0 || s.rows() <= 0)
        return;
    col = std::clamp(col, 0, s.cols() - 1);
    row = std::clamp(row, 0, s.rows() - 1);
    const int oldCol = m_selection.CurrentCol();
    const int oldRow = m_selection.CurrentRow();
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
        m_selection.DoSelectRange(r.col1, r.row1, r.col2, r.row2);
    } else {
        if (auto m = s.mergeAt(col, row)) {
            col = m->col1;
            row = m->row1;
        }
        m_selection.DoGotoCell(col, row);
        if (auto m = s.mergeAt(col, row))
            m_selection.DoSelectRange(m->col1, m->row1, m->col2, m->row2);
        m_extentCol = col;
        m_extentRow = row;
    }
    m_selecting = false;
    m_grid.ensureVisible(extend ? m_extentCol : col, extend ? m_extentRow : row);
    viewport()->update();
    const int newCol = m_selection.CurrentCol();
    const int newRow = m_selection.CurrentRow();
    if (newCol != oldCol || newRow != oldRow) {
        // Whatever the handler changes in response belongs to the user's action.
        UndoGroup group(m_workbook);
        emit activeCellChanged(oldCol, oldRow, newCol, newRow);
    }
}

void CellWidget::moveBy(int dCol, int dRow, bool extend)
{
    const Sheet &s = currentSheet();
    int col = extend ? m_extentCol : m_selection.CurrentCol();
    int row = extend ? m_extentRow : m_selection.CurrentRow();
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
    const int oldCol = m_selection.CurrentCol();
    const int oldRow = m_selection.CurrentRow();
    m_selection.DoSelectRange(col1, 0, col2, s.rows() - 1);
    viewport()->update();
    if (m_selection.CurrentCol() != oldCol || m_selection.CurrentRow() != oldRow) {
        UndoGroup group(m_workbook);
        emit activeCellChanged(oldCol, oldRow, m_selection.CurrentCol(), m_selection.CurrentRow());
    }
}

void CellWidget::selectRows(int row1, int row2)
{
    const Sheet &s = currentSheet();
    const int oldCol = m_selection.CurrentCol();
    const int oldRow = m_selection.CurrentRow();
    m_selection.DoSelectRange(0, row1, s.cols() - 1, row2);
    viewport()->update();
    if (m_selection.CurrentCol() != oldCol || m_selection.CurrentRow() != oldRow) {
        UndoGroup group(m_workbook);
        emit activeCellChanged(oldCol, oldRow, m_selection.CurrentCol(), m_selection.CurrentRow());
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
    if (m_editor->isEditing())
        return true;
    if (ReadOnly())
        return false;
    const int col = m_selection.CurrentCol();
    const int row = m_selection.CurrentRow();
    if (!currentSheet().isValid(col, row))
        return false;
    if (!askMayAct(col, row) || !askMayEdit(col, row))
        return false;
    m_grid.ensureVisible(col, row);
    m_editor->open(col, row, text, replace);
    return true;
}

bool CellWidget::commitEditing()
{
    return m_editor->commit();
}

bool CellWidget::isEditing() const
{
    return m_editor->isEditing();
}

QLineEdit *CellWidget::editor() const
{
    return m_editor->lineEdit();
}

void CellWidget::cancelEditing()
{
    m_editor->cancel();
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
    CellRange sel = m_selection.DoGetSelection();
    if (!askMayAct(m_selection.CurrentCol(), m_selection.CurrentRow()))
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

bool CellWidget::focusNextPrevChild(bool)
{
    // Tab moves between cells, not out of the sheet.
    return false;
}

void CellWidget::keyPressEvent(QKeyEvent *event)
{
    if (m_editor->isEditing()) {
        if (!m_editor->forwardKey(event))
            event->ignore();
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
        DoPaste(m_selection.CurrentCol(), m_selection.CurrentRow(), true);
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
        m_selection.DoSelectRange(0, 0, s.cols() - 1, s.rows() - 1);
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
        const int rows = m_grid.visibleBodyRows();
        const int d = event->key() == Qt::Key_PageDown ? rows : -rows;
        verticalScrollBar()->setValue(verticalScrollBar()->value() + d);
        moveTo(shift ? m_extentCol : m_selection.CurrentCol(), (shift ? m_extentRow : m_selection.CurrentRow()) + d,
               shift);
        return;
    }
    case Qt::Key_Home:
        moveTo(0, ctrl ? 0 : (shift ? m_extentRow : m_selection.CurrentRow()), shift);
        // A1 may lie in the frozen rows, always in sight: the body goes back to its top too.
        if (ctrl)
            verticalScrollBar()->setValue(m_grid.firstScrollRow());
        return;
    case Qt::Key_End:
        moveTo(s.cols() - 1, ctrl ? std::max(s.lastUsedRow(), 0) : (shift ? m_extentRow : m_selection.CurrentRow()),
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
    if (!m_editor->isEditing() && !event->commitString().isEmpty()) {
        startEditing(event->commitString(), true);
        event->accept();
        return;
    }
    QAbstractScrollArea::inputMethodEvent(event);
}

// --- mouse ---

void CellWidget::mousePressEvent(QMouseEvent *event)
{
    if (m_editor->isEditing())
        commitEditing();
    setFocus();
    const QPoint pos = event->position().toPoint();
    const SheetViewport::Hit hit = m_grid.hitTest(pos);
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const Sheet &s = currentSheet();

    if (event->button() == Qt::RightButton) {
        if (hit.area == SheetViewport::Area::Cells) {
            if (!m_selection.DoGetSelection().contains(hit.col, hit.row))
                moveTo(hit.col, hit.row, false);
            emit rightClick(hit.col, hit.row, event->globalPosition().toPoint());
        }
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;

    if (hit.area == SheetViewport::Area::ColumnHeader || hit.area == SheetViewport::Area::RowHeader) {
        const int target = m_grid.resizeTarget(pos, hit.area);
        if (target >= 0 && !ReadOnly()) {
            bool allowed = true;
            emit permission(&allowed);
            if (allowed) {
                m_drag = hit.area == SheetViewport::Area::ColumnHeader ? Drag::ResizeColumn : Drag::ResizeRow;
                m_resizeIndex = target;
                m_resizeStart = hit.area == SheetViewport::Area::ColumnHeader ? pos.x() : pos.y();
                m_resizeOriginal =
                    hit.area == SheetViewport::Area::ColumnHeader ? s.colWidth(target) : s.rowHeight(target);
                m_resizeGuide = m_resizeStart;
                viewport()->update();
                return;
            }
        }
    }
    switch (hit.area) {
    case SheetViewport::Area::Corner:
        m_selection.DoSelectRange(0, 0, s.cols() - 1, s.rows() - 1);
        viewport()->update();
        break;
    case SheetViewport::Area::ColumnHeader: {
        const int anchor = shift ? m_selection.CurrentCol() : hit.col;
        m_dragAnchor = anchor;
        selectColumns(std::min(anchor, hit.col), std::max(anchor, hit.col));
        m_drag = Drag::Columns;
        break;
    }
    case SheetViewport::Area::RowHeader: {
        const int anchor = shift ? m_selection.CurrentRow() : hit.row;
        m_dragAnchor = anchor;
        selectRows(std::min(anchor, hit.row), std::max(anchor, hit.row));
        m_drag = Drag::Rows;
        break;
    }
    case SheetViewport::Area::Cells:
        moveTo(hit.col, hit.row, shift);
        m_drag = Drag::Cells;
        break;
    case SheetViewport::Area::None:
        break;
    }
}

void CellWidget::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_drag == Drag::None) {
        const SheetViewport::Hit hit = m_grid.hitTest(pos);
        if (hit.area == SheetViewport::Area::ColumnHeader && m_grid.resizeTarget(pos, hit.area) >= 0)
            viewport()->setCursor(Qt::SplitHCursor);
        else if (hit.area == SheetViewport::Area::RowHeader && m_grid.resizeTarget(pos, hit.area) >= 0)
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
    else if (pos.y() < m_grid.headerHeight() + m_grid.bandHeight() && pos.y() > m_grid.headerHeight() &&
             m_drag != Drag::Columns && topRow() > m_grid.firstScrollRow())
        verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
    if (pos.x() > viewport()->width())
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + 1);
    const SheetViewport::Hit hit = m_grid.hitTest(
        QPoint(std::clamp(pos.x(), m_grid.headerWidth(), std::max(m_grid.headerWidth(), viewport()->width() - 1)),
               std::clamp(pos.y(), m_grid.headerHeight(), std::max(m_grid.headerHeight(), viewport()->height() - 1))));
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
    const SheetViewport::Hit hit = m_grid.hitTest(event->position().toPoint());
    if (hit.area != SheetViewport::Area::Cells || event->button() != Qt::LeftButton)
        return;
    if (hit.col != m_selection.CurrentCol() || hit.row != m_selection.CurrentRow())
        moveTo(hit.col, hit.row, false);
    startEditing(QString(), false);
}

// --- clipboard and undo ---

void CellWidget::DoCopy()
{
    const CellRange sel = m_selection.DoGetSelection();
    if (!sel.isEmpty())
        m_clipboard.copy(m_workbook, sel);
}

void CellWidget::DoCut()
{
    if (ReadOnly() || m_selection.DoGetSelection().isEmpty())
        return;
    if (!askMayAct(m_selection.CurrentCol(), m_selection.CurrentRow()))
        return;
    const CellRange sel = m_selection.DoGetSelection();
    {
        UndoGroup group(m_workbook);
        const int kept = m_clipboard.cut(m_workbook, sel, writeGuard());
        emit cellsWritten(sel.col1, sel.row1, sel.col2, sel.row2, kept);
    }
    emit repaintRequest();
}

void CellWidget::DoPaste(int col, int row, bool whole)
{
    if (ReadOnly() || !currentSheet().isValid(col, row))
        return;
    if (m_editor->isEditing())
        commitEditing();
    if (!askMayAct(col, row) || !askMayEdit(col, row) || m_clipboard.isEmpty())
        return;
    {
        UndoGroup group(m_workbook);
        const auto check = [this](int c, int r, QString *text) {
            bool allowed = true;
            emit inputToStore(c, r, text, &allowed);
            return allowed;
        };
        const auto pasted = m_clipboard.paste(m_workbook, col, row, whole, writeGuard(), check);
        if (!pasted)
            return;
        const CellRange &b = pasted->block;
        emit cellsWritten(b.col1, b.row1, b.col2, b.row2, pasted->leftOut);
    }
    applyLayout();
    emit repaintRequest();
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
        m_find = new FindDialog(m_selection, this);
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
    if (m_editor->isEditing())
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
