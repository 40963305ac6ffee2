#pragma once

// A cell formula: parsed once into a syntax tree, then evaluated as often as the
// cells it reads change. The language has numbers, cell references ("C12", case
// does not matter), ranges ("C2:C7"), + - * / with unary minus, the comparisons
// = <> < > <= >= (yielding 1 or 0), parentheses and the functions sum, if, round,
// abs and getcell(column, row, sheet) with all three arguments counted from 1.
// Structural edits of the sheet (inserting or deleting rows and columns) are
// applied to the tree so that references keep pointing at the same cells;
// text() renders the tree back into canonical formula text.

#include "sheet_component/engine/CellValue.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

struct RangeRef { // normalised: col1 <= col2, row1 <= row2; 0-based
    int col1 = 0;
    int row1 = 0;
    int col2 = 0;
    int row2 = 0;
    bool operator==(const RangeRef &) const = default;
};

class FormulaContext {
public:
    virtual ~FormulaContext() = default;
    // Value of a cell of any sheet (0-based index); out of range -> CellValue().
    virtual CellValue value(int sheet, int col, int row) const = 0;
    virtual int sheetCount() const = 0;
};

struct FormulaTree;

class Formula {
public:
    // Largest column and row index a reference may name.
    static constexpr int kMaxCol = 18277; // "ZZZ"
    static constexpr int kMaxRow = 9999999;

    // Parses once. Case-insensitive; an optional leading '='. On failure returns
    // nullopt and, when given, stores a message in *error.
    static std::optional<Formula> parse(std::string_view text, std::string *error = nullptr);

    CellValue evaluate(const FormulaContext &ctx, int ownSheet) const;
    // Every static cell or range reference, all on the formula's own sheet.
    const std::vector<RangeRef> &references() const;
    // getcell reads other cells at evaluation time through ctx.value(...).
    bool hasGetcell() const;
    std::string text() const;

    // Structural edits of the formula's own sheet. References at or after `at`
    // move; a reference to a deleted cell becomes #REF!; ranges shrink when part
    // of them is deleted and grow when rows are inserted inside them. Return true
    // when the formula changed.
    bool insertRows(int at, int count);
    bool deleteRows(int at, int count);
    bool insertCols(int at, int count);
    bool deleteCols(int at, int count);
    // Moves every reference by (dc, dr), as a formula copied to another cell;
    // a reference or range that would leave the sheet even in part becomes #REF!.
    bool offset(int dc, int dr);

private:
    explicit Formula(std::shared_ptr<const FormulaTree> tree);
    std::shared_ptr<const FormulaTree> m_tree;
};

// Column letters of a 0-based column index: 0 -> "A", 25 -> "Z", 26 -> "AA".
std::string columnName(int col);

} // namespace vantor
