#pragma once

// Engine-internal primitives that change a sheet without recording undo or recalculating: cell
// snapshots, structural edits (insert and delete rows and columns) that return what is needed to
// revert them exactly, content copies and row permutations. The Workbook and its undo commands
// are built on these; nothing outside the engine includes this header.

#include "sheet_component/engine/Sheet.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantor {

class Workbook;

// Everything a cell holds.
struct CellSnapshot {
    CellValue value;
    bool hasFormula = false;
    std::optional<Formula> formula; // empty with hasFormula: text that did not parse
    std::string badText;
    StyleId style = 0;
    bool operator==(const CellSnapshot &o) const
    {
        return value == o.value && hasFormula == o.hasFormula && style == o.style && badText == o.badText &&
               (formula ? (o.formula && formula->text() == o.formula->text()) : !o.formula);
    }
};

struct PlacedSnapshot {
    int col, row;
    CellSnapshot cell;
};

// What a structural edit destroyed or rewrote, enough to put it back.
struct StructRecord {
    std::vector<PlacedSnapshot> removedCells; // positions before the edit
    std::vector<int> removedSizes;            // heights or widths of removed rows/columns
    std::vector<CellRange> mergesBefore;
    std::vector<int> breaksBefore;
    CellRange printRangeBefore;
    struct FormulaBefore {
        int col, row; // position before the edit
        Formula formula;
    };
    std::vector<FormulaBefore> formulasBefore;
    std::vector<std::uint32_t> changedSlots; // slots whose formula changed (for recalculation)
};

struct SheetEdit {
    static CellSnapshot snapshot(const Sheet &sheet, int col, int row);
    // The part of a range that lies inside the sheet (empty when none does).
    static CellRange clipTo(const Sheet &sheet, CellRange range);
    // Writes value, formula and style. The formula slot is left dirty; the caller recalculates.
    static void restore(Sheet &sheet, int col, int row, const CellSnapshot &cell);
    static void setStyle(Sheet &sheet, int col, int row, StyleId style);

    static StructRecord insertRows(Sheet &sheet, int at, int count);
    static StructRecord deleteRows(Sheet &sheet, int at, int count);
    static StructRecord insertCols(Sheet &sheet, int at, int count);
    static StructRecord deleteCols(Sheet &sheet, int at, int count);
    // Reverts an insertRows/insertCols record after the inserted part was deleted again, or a
    // deleteRows/deleteCols record after the deleted part was inserted again.
    static void restoreRows(Sheet &sheet, int at, const StructRecord &record, bool wasDelete);
    static void restoreCols(Sheet &sheet, int at, const StructRecord &record, bool wasDelete);

    // Grows or shrinks without touching formulas; shrinking drops what lies beyond.
    static void resize(Sheet &sheet, int cols, int rows) { sheet.resizeRaw(cols, rows); }

    // Replaces dst's content, layout and print settings with a copy of src's (label and view
    // state of dst kept). Style ids are shared: both sheets belong to the same workbook.
    static void copyContent(Sheet &dst, const Sheet &src);
    static void swapContent(Sheet &a, Sheet &b);

    // Rows first..first+order.size()-1 become the rows order[0], order[1], … (indexes relative
    // to first). Formulas move with their rows unchanged.
    static void permuteRows(Sheet &sheet, int first, const std::vector<int> &order);

    static void setMerges(Sheet &sheet, std::vector<CellRange> merges) { sheet.m_merges = std::move(merges); }
    static std::vector<CellRange> &merges(Sheet &sheet) { return sheet.m_merges; }
    static void setColWidth(Sheet &sheet, int col, int width);
    static void setRowHeight(Sheet &sheet, int row, int height);
    static void setFrozen(Sheet &sheet, FrozenRows frozen) { sheet.m_frozen = frozen; }
    static PrintSettings &print(Sheet &sheet) { return sheet.m_print; }

    // Every used formula slot of the sheet, for recalculation.
    static std::vector<std::uint32_t> formulaSlots(const Sheet &sheet);
};

} // namespace vantor
