#include "EngineTestSupport.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

std::vector<CellRange> merges(const Workbook &wb)
{
    return wb.sheet(wb.CurrentSheet()).merges();
}

} // namespace

TEST(Merges, JoinReplacesOverlappingMergesAndUnjoinRemovesTheOneHit)
{
    Workbook wb;
    wb.DoJoinCells(0, 0, 1, 1);
    wb.DoJoinCells(3, 3, 2, 2); // corners in any order
    ASSERT_EQ(merges(wb).size(), 2u);
    EXPECT_EQ(merges(wb)[1], (CellRange{2, 2, 3, 3}));
    wb.DoJoinCells(1, 1, 2, 2); // overlaps both
    ASSERT_EQ(merges(wb).size(), 1u);
    EXPECT_EQ(wb.sheet(0).mergeAt(2, 1), (CellRange{1, 1, 2, 2}));
    wb.DoUnjoinCells(2, 2);
    EXPECT_TRUE(merges(wb).empty());
}

TEST(Merges, MoveGrowAndShrinkWithRowsAndColumns)
{
    struct Case {
        const char *name;
        bool rows, insert;
        int at, count;
        CellRange expected; // empty: merge gone
    };
    const CellRange m{1, 4, 3, 6};
    const Case cases[] = {
        {"insert above", true, true, 2, 2, {1, 6, 3, 8}},
        {"insert inside", true, true, 5, 1, {1, 4, 3, 7}},
        {"delete inside", true, false, 5, 1, {1, 4, 3, 5}},
        {"delete overlapping top", true, false, 3, 2, {1, 3, 3, 4}},
        {"delete whole", true, false, 4, 3, {}},
        {"insert col left", false, true, 0, 1, {2, 4, 4, 6}},
        {"delete two of three cols", false, false, 2, 2, {1, 4, 1, 6}},
    };
    for (const Case &c : cases) {
        Workbook wb;
        wb.DoJoinCells(m.col1, m.row1, m.col2, m.row2);
        if (c.rows)
            c.insert ? wb.DoInsertRows(c.at, c.count) : wb.DoDeleteRows(c.at, c.count);
        else
            c.insert ? wb.DoInsertCols(c.at, c.count, 0) : wb.DoDeleteCols(c.at, c.count);
        if (c.expected.isEmpty()) {
            EXPECT_TRUE(merges(wb).empty()) << c.name;
        } else {
            ASSERT_EQ(merges(wb).size(), 1u) << c.name;
            EXPECT_EQ(merges(wb)[0], c.expected) << c.name;
        }
    }
}

TEST(Sizes, WidthsAndHeightsWithRangesAndStructuralEdits)
{
    Workbook wb;
    wb.SetCols(5);
    wb.SetRows(10);
    wb.DoSetColWidthRange(3, 1, 120, 0); // reversed range
    EXPECT_EQ(wb.DoGetColWidth(0), Sheet::DefaultColWidth);
    EXPECT_EQ(wb.DoGetColWidth(3), 120);
    wb.DoSetRowHeightRange(2, 4, 30, 0);
    wb.DoSetRowHeight(9, 55);
    wb.DoSetRowHeight(10, 55); // beyond the sheet: ignored
    wb.DoInsertRows(3, 1);
    EXPECT_EQ(wb.DoGetRowHeight(3), Sheet::DefaultRowHeight);
    EXPECT_TRUE(wb.DoGetRowHeight(4) == 30 && wb.DoGetRowHeight(10) == 55);
    wb.DoInsertCols(2, 1);
    EXPECT_EQ(wb.Cols(), 6);
    EXPECT_EQ(wb.DoGetColWidth(2), Sheet::DefaultColWidth);
    EXPECT_EQ(wb.DoGetColWidth(3), 120);
}

TEST(Print, SettingsAndRowPageBreaksFollowRows)
{
    Workbook wb;
    wb.SetRows(100);
    wb.DoSetPrintRange(0, 6, 0, 99);
    EXPECT_EQ(wb.printSettings().printRange, (CellRange{0, 0, 6, 99}));
    wb.setRowPageBreaks({40, 0, 20, 40}); // sorted, without duplicates or row 0
    EXPECT_EQ(wb.printSettings().rowPageBreaks, (std::vector<int>{20, 40}));
    wb.DoInsertRows(10, 5);
    EXPECT_EQ(wb.printSettings().rowPageBreaks, (std::vector<int>{25, 45}));
    EXPECT_EQ(wb.printSettings().printRange.row2, 104);
    wb.DoDeleteRows(24, 2); // removes the break row 25
    EXPECT_EQ(wb.printSettings().rowPageBreaks, (std::vector<int>{43}));
}
