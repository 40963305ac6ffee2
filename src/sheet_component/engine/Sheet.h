#pragma once

// One sheet of a workbook: the cells (value, formula, style id), column widths, row heights,
// merges, frozen rows and print settings. Where the user is in a sheet is view state, kept by
// Selection.
//
// Storage is a dense vector of rows, each a vector of compact 24-byte cells materialised only up
// to the last used column, so 12,403 × 26 sheets stay cheap and small sheets cost almost nothing.
// Texts live in a per-sheet pool, formulas in per-sheet slots that also carry the recalculation
// state; a per-column index finds the formulas that reference a cell of this sheet.
//
// Sheets are changed through the Workbook, which records undo steps and recalculates. The
// load*() functions are the exception: they fill a fresh sheet from a file without undo or
// recalculation; call Workbook::recalculateAll() when loading is done.

#include "sheet_component/engine/CellValue.h"
#include "sheet_component/engine/Formula.h"
#include "sheet_component/engine/SheetTypes.h"
#include "sheet_component/engine/StyleTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantor {

class Sheet {
public:
    static constexpr int DefaultColWidth = 72;  // pixels at 96 dpi
    static constexpr int DefaultRowHeight = 20; // pixels at 96 dpi

    Sheet(std::string label, int cols, int rows);
    Sheet(const Sheet &) = delete;
    Sheet &operator=(const Sheet &) = delete;

    // Unique for the life of the program: it stays with the object, whatever content it swaps.
    std::uint64_t id() const { return m_id; }
    const std::string &label() const { return m_label; }
    int cols() const { return m_cols; }
    int rows() const { return m_rowCount; }
    bool isValid(int col, int row) const { return col >= 0 && row >= 0 && col < m_cols && row < m_rowCount; }

    // --- cells (out-of-range positions read as empty) ---
    CellValue value(int col, int row) const;
    bool hasFormula(int col, int row) const;
    // The formula text as written back ("sum(C4:C9)"), or "" when the cell has none. A formula
    // that could not be parsed keeps the text it was given.
    std::string formulaText(int col, int row) const;
    // Parsed formula, or nullptr (no formula, or one that could not be parsed).
    const Formula *formula(int col, int row) const;
    StyleId styleId(int col, int row) const;
    // True when the cell holds no value, no formula and the default style.
    bool isBlank(int col, int row) const;
    // Number of cells stored for a row: columns at or beyond it are blank. For iterating.
    int storedCols(int row) const;
    // Last row that holds anything (value, formula or style), or -1.
    int lastUsedRow() const;

    // --- layout ---
    int colWidth(int col) const;
    int rowHeight(int row) const;
    const std::vector<CellRange> &merges() const { return m_merges; }
    // The merge that covers the cell, if any.
    std::optional<CellRange> mergeAt(int col, int row) const;
    const FrozenRows &frozenRows() const { return m_frozen; }
    const PrintSettings &printSettings() const { return m_print; }

    // --- loading from a file: no undo, no recalculation ---
    void loadCell(int col, int row, const CellValue &value, StyleId style);
    void loadFormula(int col, int row, const std::string &text);
    void loadColWidth(int col, int width);
    void loadRowHeight(int row, int height);
    void loadMerge(const CellRange &range);
    void loadFrozenRows(FrozenRows frozen);
    void loadPrintSettings(const PrintSettings &settings);
    void setLabel(std::string label) { m_label = std::move(label); }

private:
    friend class Workbook;
    friend struct SheetEdit;

    enum Kind : std::uint8_t { KEmpty, KNumber, KText, KError };
    struct Cell {
        double num = 0;
        StyleId style = 0;
        std::uint32_t formula = 0; // formula slot + 1, 0 none
        std::uint32_t text = 0;    // text pool index, or the CellError for errors
        std::uint8_t kind = KEmpty;
    };
    using Row = std::vector<Cell>;

    enum SlotState : std::uint8_t { Clean, Dirty, Evaluating };
    struct FormulaSlot {
        std::optional<Formula> formula;
        std::string badText; // source text when the formula could not be parsed
        int col = -1, row = -1;
        SlotState state = Clean;
        bool used = false;
    };

    struct DepEntry {
        int row1, row2;
        std::uint32_t slot;
    };
    struct ColumnDeps {
        std::vector<DepEntry> wide;                // ranges spanning many blocks
        std::vector<std::vector<DepEntry>> blocks; // by row / BlockRows
    };
    static constexpr int BlockRows = 64;

    // Low-level cell access used by Workbook and the undo records.
    const Cell *cellPtr(int col, int row) const;
    Cell &cellRef(int col, int row); // materialises the row up to col
    void setCellValue(Cell &cell, const CellValue &value);
    void releaseText(Cell &cell);
    CellValue cellValue(const Cell &cell) const;
    std::uint32_t addFormulaSlot(int col, int row, std::optional<Formula> formula, std::string badText);
    void removeFormulaSlot(std::uint32_t slot);
    void indexFormula(std::uint32_t slot);
    void unindexFormula(std::uint32_t slot);
    void rebuildDepIndex();
    // Formula slots whose static references cover the cell.
    void dependentsOf(int col, int row, std::vector<std::uint32_t> &out) const;
    void resizeRaw(int cols, int rows);

    std::string m_label;
    int m_cols;
    int m_rowCount;
    std::vector<Row> m_rows;
    std::vector<std::string> m_texts;
    std::vector<std::uint32_t> m_freeTexts;
    std::vector<FormulaSlot> m_slots;
    std::vector<std::uint32_t> m_freeSlots;
    std::vector<ColumnDeps> m_deps;
    std::vector<int> m_colWidths;
    std::vector<int> m_rowHeights;
    std::vector<CellRange> m_merges;
    FrozenRows m_frozen;
    PrintSettings m_print;
    std::uint64_t m_id;
};

} // namespace vantor
