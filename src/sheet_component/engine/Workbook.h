#pragma once

// The spreadsheet component: a workbook of sheets found by label, with the component operations
// under their Do… names. Every operation acts on the current sheet unless a sheet index is passed
// (a trailing `sheet` argument; -1 means the current sheet). Coordinates are 0-based (col, row);
// row -2 in a format setter means the whole column.
//
// Every change is recorded for undo and marks the workbook modified; formulas are recalculated
// synchronously, so when a call returns every dependent formula, on any sheet and through
// getcell, is current. UndoGroup (UndoGroup.h) makes one user action a single undo step.
//
// The workbook is the model only: where the user is (selection, current cell) is kept by a
// Selection (Selection.h), copied cells by a CellClipboard (CellClipboard.h); views listen to both.
//
// Widths and heights are pixels at 96 dpi; font sizes points; margins millimetres.
// ReadOnly is advisory: it tells the widget to refuse user edits; calls from code still apply.

#include "sheet_component/engine/CellFormat.h"
#include "sheet_component/engine/CellValue.h"
#include "sheet_component/engine/Formula.h"
#include "sheet_component/engine/Sheet.h"
#include "sheet_component/engine/SheetTypes.h"
#include "sheet_component/engine/StyleTable.h"
#include "sheet_component/engine/TextMeasurer.h"
#include "sheet_component/engine/UndoStack.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vantor {

struct CellSnapshot;

struct CellPos {
    int col = 0, row = 0;
    bool operator==(const CellPos &) const = default;
};

// What changed, for views that repaint. `sheet` is a sheet index, -1 for the whole workbook.
struct WorkbookChange {
    enum Kind { Cells, Layout, Sheets, Reset };
    Kind kind = Cells;
    int sheet = -1;
    CellRange range; // for Cells; empty when unknown
};

// What DoClearCell clears.
enum ClearWhat : int { ClearContents = 1, ClearFormats = 2, ClearAll = 3 };

class Workbook {
public:
    static constexpr int DefaultCols = 26;
    static constexpr int DefaultRows = 50;

    // A new workbook has one empty sheet labelled "Sheet1".
    Workbook();
    ~Workbook();
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;

    // Replaces the whole content (sheets, styles, default font) with another workbook's, as a
    // file load does. Clears undo history and the modified flag; listeners and measurer stay.
    void assignFrom(Workbook &&other);

    // --- size ---
    int Cols(int sheet = -1) const;
    int Rows(int sheet = -1) const;
    void SetCols(int cols, int sheet = -1);
    void SetRows(int rows, int sheet = -1);

    // --- cells ---
    void DoSetCellData(int col, int row, const CellValue &value, int sheet = -1);
    void DoSetCellData(int col, int row, double number, int sheet = -1);
    void DoSetCellData(int col, int row, const std::string &text, int sheet = -1);
    void DoSetCellData(int col, int row, const char *text, int sheet = -1);
    CellValue DoGetCellData(int col, int row) const;
    CellValue DoGetSheetCellData(int col, int row, int sheet) const;
    // Returns false when the text is not a valid formula; the cell then keeps the text and shows
    // #ERROR!.
    bool DoSetCellFormula(int col, int row, const std::string &text, int sheet = -1);
    // Drops the formula and keeps its last value.
    void DoClearCellFormula(int col, int row, int sheet = -1);
    void DoClearCell(int col, int row, int what = ClearContents, int sheet = -1);
    // Takes text as the user typed it: "" clears, "=…" is a formula, a number is a number,
    // anything else text. Returns false for a formula that does not parse.
    bool setCellInput(int col, int row, const std::string &input, int sheet = -1);
    // Repaint request for views; changes nothing.
    void DoRedrawCell(int col, int row);
    std::string formulaText(int sheet, int col, int row) const;
    // The cell's value as the sheet shows it (number style, percent, grouping, hidden zeros,
    // error texts).
    std::string displayText(int sheet, int col, int row) const;

    // --- layout ---
    void DoJoinCells(int col1, int row1, int col2, int row2, int sheet = -1);
    void DoUnjoinCells(int col, int row, int sheet = -1);
    void DoSetColWidth(int col, int width, int sheet = -1);
    int DoGetColWidth(int col, int sheet = -1) const;
    int DoGetBestColWidth(int col, int sheet = -1) const;
    void DoSetColWidthRange(int col1, int col2, int width, int flag = 0, int sheet = -1);
    void DoSetRowHeight(int row, int height, int sheet = -1);
    int DoGetRowHeight(int row, int sheet = -1) const;
    int DoGetBestRowHeight(int row, int sheet = -1) const;
    void DoSetRowHeightRange(int row1, int row2, int height, int flag = 0, int sheet = -1);
    void DoInsertRows(int start, int count, int sheet = -1);
    void DoInsertCols(int start, int count, int sheet = -1);
    void DoDeleteRows(int start, int count, int sheet = -1);
    void DoDeleteCols(int start, int count, int sheet = -1);
    void DoAppendRows(int count, int sheet = -1);
    // Freezes rows first..last; (-1, -1) none.
    void DoSetUnScrollRow(int first, int last, int sheet = -1);

    // --- formats ---
    void DoSetCellFont(int col, int row, int size, int style, const std::string &name, int sheet = -1);
    // The font the cell is drawn with (the default font filled in).
    FontSpec DoGetCellFont(int col, int row, int sheet = -1) const;
    // The font a format is drawn with: the default font fills in what the format leaves open.
    FontSpec resolvedFont(const CellFormat &format) const;
    void DoSetDefaultFont(int size, int style, const std::string &name);
    const FontSpec &defaultFont() const { return m_defaultFont; }
    void DoSetCellAlignment(int col, int row, int code, int sheet = -1);
    int DoGetCellAlignment(int col, int row, int sheet = -1) const;
    void DoSetCell3DState(int col, int row, int state, int sheet = -1);
    void DoSetCellTextStyle(int col, int row, int style, int sheet = -1);
    void DoSetCellLock(int col, int row, bool locked, int sheet = -1);
    bool DoGetCellLock(int col, int row, int sheet = -1) const;
    void DoSetCellZeroDisplay(int col, int row, int show, int sheet = -1);
    void DoSetCellNumberStyle(int col, int row, int kind, bool percent, int decimals, int negative = -1,
                              int grouping = 1, int extra1 = 1, int extra2 = 0, int sheet = -1);
    void DoClearCellNumberStyle(int col, int row, int sheet = -1);
    void DoSetCellInputMask(int col, int row, const std::string &pattern, int sheet = -1);
    // Borders over a block. mode 0: every cell edge (a grid); 1: the outline only.
    // line: 0 none, 1 thin, 2 thick. colour is kept for compatibility and ignored.
    void DoSetRangeBorder(int col1, int row1, int col2, int row2, int mode, int line, int colour, int sheet = -1);
    const CellFormat &cellFormat(int col, int row, int sheet = -1) const;
    void setCellFormat(int col, int row, const CellFormat &format, int sheet = -1);
    const StyleTable &styles() const { return m_styles; }
    StyleTable &styles() { return m_styles; }

    // --- undo ---
    bool CanUndo() const { return m_undo.canUndo(); }
    bool CanRedo() const { return m_undo.canRedo(); }
    void DoUndo();
    void DoRedo();
    void beginUndoGroup();
    void endUndoGroup();
    // The index of the one sheet that the next undo (redo) step changes; nothing when there is
    // no step or the step changes the workbook as a whole.
    std::optional<int> nextUndoSheet() const;
    std::optional<int> nextRedoSheet() const;
    UndoStack &undoStack() { return m_undo; }
    const UndoStack &undoStack() const { return m_undo; }

    // --- find and sort ---
    // Next cell after (fromCol, fromRow) in row order whose shown text contains `text`; wraps
    // round once. Pass fromRow -1 to start at the top-left cell.
    std::optional<CellPos> findNext(const std::string &text, int fromCol, int fromRow, bool matchCase = false,
                                    int sheet = -1) const;
    // Stable sort of rows first..last by one column, whole rows moving: numbers before texts
    // before empty cells (empty cells last in either direction).
    void DoSortRows(int first, int last, int col, bool ascending, int sheet = -1);

    // --- sheets ---
    int SheetCount() const { return static_cast<int>(m_sheets.size()); }
    int CurrentSheet() const { return m_current; }
    void DoSetCurrentSheet(int index);
    std::string DoGetSheetLabel(int index) const;
    // First sheet with the label, or -1.
    int findSheet(const std::string &label) const;
    void setSheetLabel(int index, const std::string &label);
    // Appends `count` sheets, each labelled `label`.
    void DoAddSheet(const std::string &label, int count = 1);
    void DoInsertSheet(const std::string &label, int index, int count = 1);
    void DoDeleteSheets(int index, int count = 1);
    // Replaces the target's content and formatting with a copy of the source (label kept).
    void DoCopySheet(int target, int source);
    const Sheet &sheet(int index) const;
    // For file loaders: a sheet to fill with Sheet::load…(); recalculateAll() afterwards.
    Sheet &sheetForLoading(int index);
    // Adds an empty sheet without undo (file loaders); returns its index.
    int addSheetForLoading(const std::string &label, int cols, int rows);

    // --- files and state ---
    // Replaces the content with the file's (as assignFrom). Throws CllFileError with a message
    // for the user; the workbook is unchanged then.
    void DoOpenFile(const std::string &path);
    // Writes the .cll file atomically. Throws CllFileError; the previous file stays intact.
    void DoSaveFile(const std::string &path) const;
    // Back to one empty sheet; clears undo history and the modified flag.
    void DoResetWorkbook();
    bool IsModified() const { return m_modified; }
    void DoSetModified(bool modified);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }

    // --- print settings ---
    void DoSetPrintRange(int col1, int col2, int row1, int row2, int sheet = -1);
    void DoSetPageHeader(const std::string &left, const std::string &centre, const std::string &right, int sheet = -1);
    void DoSetPageFooter(const std::string &left, const std::string &centre, const std::string &right, int sheet = -1);
    void DoSetPrintScale(int percent, bool flag1, bool flag2, int sheet = -1);
    // left, top, right, bottom in millimetres.
    void DoSetPageMargins(double left, double top, double right, double bottom, int sheet = -1);
    void setRowPageBreaks(std::vector<int> rows, int sheet = -1);
    void setPaper(int paperSize, bool landscape, int sheet = -1);
    void setPrintSettings(const PrintSettings &settings, int sheet = -1);
    const PrintSettings &printSettings(int sheet = -1) const;

    // --- recalculation ---
    // Re-evaluates every formula (after loading).
    void recalculateAll();
    // Number of formulas evaluated by the last recalculation (for tests and diagnostics).
    std::size_t lastRecalcCount() const { return m_lastRecalcCount; }

    // --- collaborators ---
    // Not owned; nullptr restores the crude measurer.
    void setTextMeasurer(const TextMeasurer *measurer) { m_measurer = measurer; }
    const TextMeasurer &textMeasurer() const;
    // Views follow the workbook through listeners, called in the order they were added; the id
    // returned removes one again.
    using ChangeListener = std::function<void(const WorkbookChange &)>;
    int addChangeListener(ChangeListener listener);
    void removeChangeListener(int id);

private:
    friend struct SheetEdit;
    friend struct WorkbookAccess;
    friend class RecalcContext;

    struct CellKey {
        const Sheet *sheet;
        int col, row;
        bool operator==(const CellKey &) const = default;
    };
    struct CellKeyHash {
        std::size_t operator()(const CellKey &k) const;
    };
    struct FormulaKey {
        Sheet *sheet;
        std::uint32_t slot;
        bool operator==(const FormulaKey &) const = default;
    };
    struct FormulaKeyHash {
        std::size_t operator()(const FormulaKey &k) const;
    };

    int resolve(int sheet) const;
    Sheet &sheetRef(int sheet);
    const Sheet &sheetRef(int sheet) const;
    int indexOf(const Sheet *sheet) const;
    void record(std::unique_ptr<UndoCommand> command);
    void touched(int sheet, WorkbookChange::Kind kind, CellRange range = {});
    void notify(const WorkbookChange &change) const;
    // Applies an edit to the format of every cell of the range (row -2: whole column).
    void modifyStyle(int sheet, int col, int row, const std::function<void(CellFormat &)> &edit);
    void modifyStyleRange(Sheet &sheet, CellRange range, const std::function<void(CellFormat &)> &edit);
    void writeCell(Sheet &sheet, int col, int row, const CellSnapshot &after);
    void structural(int sheet, bool rows, bool insert, int at, int count);

    // Recalculation (Workbook.cpp / Recalc.cpp).
    void cellsChanged(Sheet &sheet, const CellRange &range);
    void structureChanged(Sheet &sheet, const std::vector<std::uint32_t> &changedSlots);
    void contentReplaced(Sheet &sheet);
    void sheetsReordered();
    void markDependents(Sheet &sheet, int col, int row, std::vector<FormulaKey> &queue);
    void runRecalc(std::vector<FormulaKey> &dirty);
    CellValue evaluateSlot(Sheet &sheet, std::uint32_t slot);
    CellValue readForFormula(int sheet, int col, int row);
    void forgetDynamicReads(const FormulaKey &key);
    void forgetSheet(const Sheet *sheet);

    std::vector<std::unique_ptr<Sheet>> m_sheets;
    int m_current = 0;
    StyleTable m_styles;
    FontSpec m_defaultFont{"宋体", 9, 0};
    UndoStack m_undo;
    bool m_modified = false;
    bool m_readOnly = false;
    const TextMeasurer *m_measurer = nullptr;
    CrudeTextMeasurer m_crudeMeasurer;
    std::vector<std::pair<int, ChangeListener>> m_listeners;
    int m_nextListenerId = 0;

    // Cells read by getcell formulas during their last evaluation, both directions.
    std::unordered_map<CellKey, std::vector<FormulaKey>, CellKeyHash> m_readers;
    std::unordered_map<FormulaKey, std::vector<CellKey>, FormulaKeyHash> m_reads;
    mutable std::vector<FormulaKey> m_evalStack;
    std::size_t m_lastRecalcCount = 0;
    std::size_t m_restarts = 0;
    std::size_t m_restartLimit = 0;
};

} // namespace vantor
