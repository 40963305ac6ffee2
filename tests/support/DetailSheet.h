#pragma once

// Shared by the detail-sheet tests: a new sheet of a kind, amounts from text, a cell typed and
// left the way the main window forwards it, and two sheets compared cell by cell.

#include "common/Amount.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailCellEdits.h"
#include "sheets/DetailSheetBuilder.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace vantor {

inline void PrintTo(const Amount &a, std::ostream *os)
{
    *os << a.toString(4);
}

namespace test {

inline Amount amount(const std::string &text)
{
    return *Amount::parse(text);
}

inline double num(const Workbook &wb, int col, int row)
{
    return wb.DoGetCellData(col, row).number();
}

// The current sheet laid out as kind `id` (six bare columns for ids without a layout), with no
// undo history.
inline void buildSheet(Workbook &wb, int id)
{
    if (!DetailSheetBuilder::build(wb, id))
        wb.SetCols(6);
    wb.undoStack().clear();
}

// `text` typed into (col, row) of a data-entry detail sheet of kind `id` and the cell left, with
// the headings frozen. Returns false when an amount came out beyond the currency range.
inline bool typeAndLeave(Workbook &wb, int id, int col, int row, const std::string &text)
{
    DetailCellEdits edits;
    ScriptedPrompter prompter;
    edits.mayEdit(id, col, row);
    wb.setCellInput(col, row, text);
    edits.textTyped();
    edits.cellLeft(wb, EditContext{id, true, true}, col, row, prompter);
    return prompter.shown.empty();
}

// Every value, formula and the frozen rows of the current sheets agree.
inline void expectSameSheets(const Workbook &a, const Workbook &b)
{
    ASSERT_EQ(a.Rows(), b.Rows());
    ASSERT_EQ(a.Cols(), b.Cols());
    for (int row = 0; row < a.Rows(); ++row)
        for (int col = 0; col < a.Cols(); ++col) {
            EXPECT_EQ(a.DoGetCellData(col, row), b.DoGetCellData(col, row)) << col << "," << row;
            EXPECT_EQ(a.formulaText(a.CurrentSheet(), col, row), b.formulaText(b.CurrentSheet(), col, row))
                << col << "," << row;
        }
    EXPECT_EQ(a.sheet(a.CurrentSheet()).frozenRows(), b.sheet(b.CurrentSheet()).frozenRows());
}

} // namespace test
} // namespace vantor
