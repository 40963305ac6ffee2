#include "EngineTestSupport.h"

#include "sheet_component/engine/DisplayFormat.h"

#include <gtest/gtest.h>

using namespace vantor;

TEST(DisplayFormat, NumberStylesTable)
{
    struct Case {
        double value;
        int kind;
        bool percent;
        int decimals, grouping;
        bool showZero;
        const char *shown;
    };
    const Case cases[] = {
        {-1234567.891, 1, false, 2, 1, true, "-1,234,567.89"},
        {999.995, 1, false, 2, 1, true, "1,000.00"},
        {0.125, 1, false, 2, 0, true, "0.12"},  // halves to the even neighbour
        {-0.001, 1, false, 2, 0, true, "0.00"}, // no negative zero
        {0.1234, 1, true, 2, 0, true, "12.34%"},
        {0, 1, false, 2, 1, false, ""},
        {0.1 + 0.2, 0, false, 2, 0, true, "0.3"},
        {1234.5, 0, false, 2, 1, true, "1234.5"}, // general style ignores grouping
    };
    for (const Case &c : cases) {
        CellFormat f;
        f.number.kind = c.kind;
        f.number.percent = c.percent;
        f.number.decimals = c.decimals;
        f.number.grouping = c.grouping;
        f.showZero = c.showZero;
        EXPECT_EQ(formatCellValue(CellValue::number(c.value), f), c.shown) << c.value;
    }
}

TEST(CellFormats, NumberStyleZeroDisplayAndClear)
{
    Workbook wb;
    wb.DoSetCellData(2, 2, 1234.567);
    wb.DoSetCellNumberStyle(2, 2, 1, false, 2, -1, 1, 1, 0);
    EXPECT_EQ(wb.displayText(0, 2, 2), "1,234.57");
    wb.DoClearCellNumberStyle(2, 2);
    EXPECT_EQ(wb.displayText(0, 2, 2), "1234.567");
    wb.DoSetCellData(2, 2, 0.0);
    wb.DoSetCellZeroDisplay(2, 2, 0);
    EXPECT_EQ(wb.displayText(0, 2, 2), "");
    // A formula yielding zero is hidden too.
    wb.DoSetCellFormula(2, 2, "1-1");
    EXPECT_EQ(wb.displayText(0, 2, 2), "");
}

TEST(CellFormats, WholeColumnAndSharedStyles)
{
    Workbook wb;
    wb.SetRows(12403);
    wb.DoSetCellNumberStyle(4, -2, 1, false, 2);
    EXPECT_EQ(wb.cellFormat(4, 12402).number.decimals, 2);
    EXPECT_EQ(wb.cellFormat(3, 0).number.kind, 0);
    // Twelve thousand cells with one look share one style entry.
    EXPECT_LE(wb.styles().size(), 3u);
}

TEST(CellFormats, RangeBorderGridAndOutline)
{
    Workbook wb;
    wb.DoSetRangeBorder(1, 1, 3, 3, 0, 1, 0);
    EXPECT_EQ(wb.cellFormat(2, 2).borders, (CellBorders{1, 1, 1, 1}));
    EXPECT_FALSE(wb.cellFormat(4, 4).borders.any());
    wb.DoSetRangeBorder(5, 5, 7, 7, 1, 2, 0);
    EXPECT_FALSE(wb.cellFormat(6, 6).borders.any());
    EXPECT_EQ(wb.cellFormat(5, 5).borders, (CellBorders{2, 2, 0, 0}));
    EXPECT_EQ(wb.undoStack().undoCount(), 2u);
}
