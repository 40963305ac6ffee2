#include "sheets/AddSheetCommand.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailLayouts.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace vantor {
namespace {

// A workbook of `count` sheets labelled b0, b1, …
void makeSheets(Workbook &wb, int count)
{
    wb.setSheetLabel(0, "b0");
    for (int i = 1; i < count; ++i)
        wb.DoAddSheet("b" + std::to_string(i), 1);
}

// Half the count, halves to even (9 → 4, 11 → 6); the template's order is checked with it in
// TemplateWorkbookTest.
TEST(AddSheetCommand, AddsAtTheMiddleOfNineTenAndElevenSheets)
{
    for (auto [count, position] : {std::pair{9, 4}, {11, 6}}) {
        SCOPED_TRACE(count);
        Workbook wb;
        makeSheets(wb, count);
        wb.undoStack().clear();
        wb.DoSetCellData(0, 5, 1.0, 1); // an edit before the adding stays undoable
        std::vector<AddedSheet> written;
        auto result = AddSheetCommand::run(wb, 16, "表3-4", "应收账款清查评估明细表",
                                           [&](const AddedSheet &row) { written.push_back(row); });
        EXPECT_EQ(result.status, AddSheetCommand::Status::Added);
        EXPECT_EQ(wb.DoGetSheetLabel(position), "b16");
        EXPECT_EQ(wb.CurrentSheet(), position);
        // The sheets that were there keep their order around the new one.
        EXPECT_EQ(wb.DoGetSheetLabel(position + 1), "b" + std::to_string(position));
        ASSERT_EQ(written.size(), 1u);
        EXPECT_EQ(wb.Cols(), DetailLayouts::dataColumnCount(16) + 2); // the layout is built
        EXPECT_EQ(wb.undoStack().undoCount(), 1u);
        EXPECT_EQ(wb.nextUndoSheet(), 1);
    }
}

TEST(AddSheetCommand, RefusesKindsOutsideTheAddableRangeAndDuplicates)
{
    Workbook wb;
    makeSheets(wb, 10);
    wb.DoAddSheet("b40", 1);
    AddedSheet seen{}; // the user's text reaches the sheet list unchanged
    AddSheetCommand::run(wb, 77, "表10-6'", "O'Brien\"; drop table sheetlist;--",
                         [&](const AddedSheet &row) { seen = row; });
    EXPECT_EQ(seen.name, "O'Brien\"; drop table sheetlist;--");
    int calls = 0;
    auto count = [&](const AddedSheet &) { ++calls; };
    for (int id : {0, 9, 78, 79})
        EXPECT_EQ(AddSheetCommand::run(wb, id, "c", "n", count).status, AddSheetCommand::Status::NotAddable) << id;
    EXPECT_EQ(AddSheetCommand::run(wb, 40, "c", "n", count).status, AddSheetCommand::Status::AlreadyPresent);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(wb.SheetCount(), 12);
}

TEST(AddSheetCommand, FailedSheetListWriteTakesTheSheetOutAgain)
{
    Workbook wb;
    makeSheets(wb, 10);
    wb.DoSetCurrentSheet(7);
    EXPECT_THROW(
        AddSheetCommand::run(wb, 30, "c", "n", [](const AddedSheet &) { throw std::runtime_error("disk full"); }),
        std::runtime_error);
    EXPECT_EQ(wb.SheetCount(), 10);
    EXPECT_EQ(wb.findSheet("b30"), -1);
    EXPECT_EQ(wb.CurrentSheet(), 7);
}

TEST(AddSheetCommand, AddableSheetsLeaveOutWhatExists)
{
    Workbook wb;
    makeSheets(wb, 10);
    wb.DoAddSheet("b12", 1);
    auto addable = AddSheetCommand::addableSheets(wb);
    EXPECT_TRUE(addable.size() == 66u && addable[1].id == 13);
}

} // namespace
} // namespace vantor
