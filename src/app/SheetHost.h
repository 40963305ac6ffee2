#pragma once

// What the main window needs from the spreadsheet view it shows (Cell1): the widget
// itself, the workbook it displays, the view-side operations (redraw, layout, the
// component's find, page set-up and print-preview dialogs, cut/copy/paste with the
// system clipboard) and a place to hand over the window's event handlers.
// createSheetHost() decides which view is used; it is the one place to change when
// the view changes.

#include <functional>
#include <memory>
#include <string>

class QPoint;
class QWidget;

namespace vantor {

class Selection;
class Workbook;

// The events the view raises. Unset handlers count as "allowed" / "do nothing".
struct SheetEvents {
    std::function<bool(int col, int row)> mayEdit; // before a cell is edited
    std::function<bool(int col, int row)> mayAct;  // before the user acts on a cell
    std::function<bool()> permission;              // the window always answers false
    std::function<void(int col, int row, const std::string &text)> textChanged;
    std::function<void(int oldCol, int oldRow, int newCol, int newRow)> activeCellChanged;
    std::function<void(int col, int row, const QPoint &globalPos)> rightClick;
    std::function<void()> repainted;
    // Before an edit is stored: may rewrite the text; false refuses it and keeps the editor open.
    std::function<bool(int col, int row, std::string &text)> inputToStore;
    // An edit was stored (inside its undo step): what leaving the cell recomputes runs here.
    std::function<void(int col, int row)> editCommitted;
    // The last column and row a cut or paste may write on the sheet shown.
    std::function<void(int *lastCol, int *lastRow)> writeLimit;
    // A paste, cut or clear wrote the block; leftOut cells were refused or beyond the limit.
    std::function<void(int col1, int row1, int col2, int row2, int leftOut)> cellsWritten;
};

class SheetHost {
public:
    virtual ~SheetHost() = default;

    virtual QWidget *widget() = 0;
    virtual Workbook &workbook() = 0;
    virtual void setEvents(SheetEvents events) = 0;

    // The cell editor is open.
    virtual bool isEditing() const = 0;
    // Ends an open edit as leaving the cell would; false when the value is refused and the
    // editor stays open.
    virtual bool endEditing() = 0;
    virtual void cancelEditing() = 0;

    virtual void DoRedraw() = 0;
    virtual void DoRefreshLayout() = 0;
    virtual void DoUndo() = 0;
    virtual void DoRedo() = 0;
    virtual void DoCut() = 0;
    virtual void DoCopy() = 0;
    virtual void DoPaste(int col, int row, bool whole) = 0;
    virtual void DoFind(bool matchCase) = 0;
    virtual void DoPageSetup() = 0;
    virtual void DoPrintPreview(bool modal) = 0;
};

// The view shown in the main window, displaying `workbook` (not owned).
std::unique_ptr<SheetHost> createSheetHost(Selection &selection, QWidget *parent);

} // namespace vantor
