#pragma once

// The spreadsheet view (the instance the main window names `Cell1`): shows the current sheet of a
// workbook with column and row headers and frozen rows, lets the user select cells with the mouse
// and the keyboard, edit cells in place (typing, F2 or a double-click start; Enter commits; Escape
// cancels; a cell's input mask applies), and exchange tab-separated text with the system
// clipboard. Every change the user makes is one undo step, together with whatever the handlers of
// the signals below change in response (the row recomputation run on leaving a cell).
//
// The workbook stays the model and holds no view state: the selection and the current cell live in
// a Selection (the view's own, or one the caller keeps beside the workbook), the cells copied in
// the view in its CellClipboard. The view listens to the workbook and to the selection and
// repaints when either reports a change.
//
// Signals mirror the component's events. The refusable ones carry a bool* that starts true; a
// handler connected directly sets it to false to refuse. A refused edit never opens the editor.

#include "sheet_component/engine/Selection.h"
#include "sheet_component/engine/SheetTypes.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/render/CellRenderer.h"
#include "sheet_component/render/QtTextMeasurer.h"
#include "sheet_component/render/RenderOptions.h"
#include "sheet_component/widget/SheetViewport.h"
#include "sheet_component/widget/ViewClipboard.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPointer>

#include <memory>
#include <vector>

class QLineEdit;

namespace vantor {

class Workbook;
class CellEditor;
class FindDialog;
struct WorkbookChange;

class CellWidget : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Shows `workbook` (not owned; it must outlive the view) with a selection of its own.
    explicit CellWidget(Workbook &workbook, QWidget *parent = nullptr);
    // Shows the selection's workbook and moves the given selection (both must outlive the view).
    explicit CellWidget(Selection &selection, QWidget *parent = nullptr);
    ~CellWidget() override;

    Workbook &workbook() { return m_workbook; }
    Selection &selection() { return m_selection; }

    // --- display ---
    void DoRedraw();
    // Re-reads widths, heights, frozen rows and the sheet size after they were changed.
    void DoRefreshLayout();
    // True: the user cannot change cells (calls from code still do).
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    double zoom() const { return m_options.zoom; }
    void setZoom(double zoom);
    void setShowHeaders(bool show);
    void setShowGrid(bool show);
    const RenderOptions &renderOptions() const { return m_options; }

    // --- the component's commands that work through the view ---
    void DoCut();
    void DoCopy();
    // Pastes with its top-left at (col, row): tab-separated text from another program fills a
    // block; the view's own copy pastes with formats (values only when `whole` is false).
    void DoPaste(int col, int row, bool whole = true);
    void DoUndo();
    void DoRedo();
    void DoFind(bool matchCase = false);
    void DoPageSetup();
    // Numbers of columns with a display style of their own show in it (see ColumnNumberStyles).
    void setColumnStyleRule(ColumnStyleRule rule)
    {
        m_renderer.setColumnStyleRule(std::move(rule));
        update();
    }
    // Print preview of the current sheet's print range; print or save as PDF from there.
    void DoPrintPreview(bool modal = true);
    // The current sheet's printed pages without any dialog.
    bool exportPdf(const QString &path, QString *error = nullptr);
    std::vector<QImage> renderPages(double dpi = 96);

    // --- moving and editing as the user does ---
    // Makes (col, row) current (extend: extends the selection from the current cell instead),
    // scrolls it into view and raises activeCellChanged when the current cell changed.
    void moveTo(int col, int row, bool extend = false);
    void ensureVisible(int col, int row);
    // Opens the editor on the current cell, asking mayAct and mayEdit first. `text` replaces the
    // cell's content when `replace` is set (typing), else the editor starts with the content (F2).
    bool startEditing(const QString &text = QString(), bool replace = false);
    // Stores the editor's text; false when nothing was being edited or the text is refused (an
    // input mask not filled in), in which case the editor stays open.
    bool commitEditing();
    // Ends an open edit as leaving the cell would: true when no edit is open any more.
    bool endEditing() { return !isEditing() || commitEditing(); }
    void cancelEditing();
    bool isEditing() const;
    // When set, the clipboard, undo and select-all keys are left to the window's shortcuts (and
    // its rules for when they apply) instead of being handled here.
    void setHostShortcuts(bool host) { m_hostShortcuts = host; }
    QLineEdit *editor() const;

    // --- geometry in viewport coordinates ---
    int topRow() const { return m_grid.topRow(); } // first scrolled row shown under the frozen rows
    int leftCol() const { return m_grid.leftCol(); }
    QRect cellRect(int col, int row) const { return m_grid.cellRect(col, row); } // a merge: the whole block
    // Cell under a viewport point; false outside the cells (headers, beyond the sheet).
    bool cellAt(const QPoint &pos, int *col, int *row) const;

signals:
    void mayEdit(int col, int row, bool *allowed);
    void mayAct(int col, int row, bool *allowed);
    // Asked before the user resizes a column or row by dragging a header border.
    void permission(bool *allowed);
    // While the user types in a cell: the editor's text so far.
    void textChanged(int col, int row, const QString &text);
    void activeCellChanged(int oldCol, int oldRow, int newCol, int newRow);
    void rightClick(int col, int row, const QPoint &globalPos);
    // Before an edit or a pasted field is stored: a handler may rewrite the text, or refuse it (the
    // editor stays open; a paste writes nothing).
    void inputToStore(int col, int row, QString *text, bool *allowed);
    // An edit was stored, inside the edit's undo step: what leaving the cell recomputes belongs here.
    void editCommitted(int col, int row);
    // Before a cut or paste: the last column and row the user may write (a handler narrows them).
    void writeLimit(int *lastCol, int *lastRow);
    // After a paste, cut or clear wrote cells of `range`; `leftOut` cells were not written
    // because the guards refuse them or they lie beyond the limit.
    void cellsWritten(int col1, int row1, int col2, int row2, int leftOut);
    // After a user action changed the sheet (an edit stored, a paste, a cut, an undo). Raised by
    // user actions only, never by painting or DoRedraw, so a handler may call DoRedraw safely.
    void repaintRequest();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    enum class Drag { None, Cells, Columns, Rows, ResizeColumn, ResizeRow };
    CellWidget(std::unique_ptr<Selection> own, QWidget *parent, Selection *shared = nullptr);
    const Sheet &currentSheet() const;
    void onWorkbookChanged(const WorkbookChange &change);
    void onSelectionChanged();
    void scheduleLayout();
    void applyLayout();

    void moveBy(int dCol, int dRow, bool extend);
    void selectColumns(int col1, int col2);
    void selectRows(int row1, int row2);
    bool askMayAct(int col, int row);
    bool askMayEdit(int col, int row);
    void clearSelectionContents();
    void commitAndMove(int dCol, int dRow);
    void replayStep(bool redo);
    WriteGuard writeGuard();

    std::unique_ptr<Selection> m_ownSelection;
    Selection &m_selection;
    Workbook &m_workbook;
    int m_subscription = -1;
    ViewClipboard m_clipboard;
    QtTextMeasurer m_measurer;
    CellRenderer m_renderer;
    RenderOptions m_options;
    SheetViewport m_grid;
    bool m_layoutPending = false;
    bool m_scrollResetPending = false;

    // The far corner of the selection while extending; the current cell is the other corner.
    int m_extentCol = 0, m_extentRow = 0;
    bool m_selecting = false; // the view itself is changing the selection

    CellEditor *m_editor = nullptr; // a child object
    bool m_hostShortcuts = false;

    Drag m_drag = Drag::None;
    int m_dragAnchor = 0;
    int m_resizeIndex = -1;
    int m_resizeStart = 0;
    int m_resizeOriginal = 0;
    int m_resizeGuide = -1;

    // While an undo step is replayed: which of the changed ranges it reports is kept.
    enum class Replay { None, KeepFirst, KeepLast };
    Replay m_replay = Replay::None;
    CellRange m_replayed;

    QPointer<FindDialog> m_find;
};

} // namespace vantor
