// The format toolbar's commands and codes, and the welcome page, on a real workbook.
#include "app/FormatCommands.h"
#include "app/WelcomePage.h"
#include "sheet_component/engine/Workbook.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

class FormatCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        wb.SetCols(6);
        wb.SetRows(30);
        wb.DoSetCellFont(1, 3, 11, 2, "黑体"); // italic
        wb.DoSetCellFont(2, 3, 9, 5, "楷体");  // bold + underline
        // Moving the active cell collapses the selection: move first, then select.
        wb.DoGotoCell(1, 3);
        wb.DoSelectRange(1, 3, 2, 4);
    }
    FrozenRows frozen() const { return wb.sheet(wb.CurrentSheet()).frozenRows(); }

    Workbook wb;
};

TEST_F(FormatCommands, FontNameSizeAndStyleKeepEachCellsOtherProperties)
{
    applyFontName(wb, "仿宋", false);
    applyFontSize(wb, 12, false);
    applyFontSize(wb, 0, false); // an unusable size changes nothing
    EXPECT_EQ(wb.DoGetCellFont(1, 3), (FontSpec{"仿宋", 12, 2}));
    EXPECT_EQ(wb.DoGetCellFont(2, 3), (FontSpec{"仿宋", 12, 5}));
    EXPECT_NE(wb.DoGetCellFont(1, 5).name, "仿宋"); // outside the selection
    // All three toggles give style code 7.
    applyFontStyle(wb, FontStyle{true, true, true}, 10, "宋体", false);
    EXPECT_EQ(wb.DoGetCellFont(2, 4).style, 7);
    applyFontStyle(wb, FontStyle{}, 10, "宋体", false);
    EXPECT_EQ(wb.DoGetCellFont(2, 4).style, 0);
}

TEST_F(FormatCommands, FreezeComesBackOnlyWhenChecked)
{
    wb.DoSetUnScrollRow(0, 2);
    applyFontName(wb, "仿宋", true);
    EXPECT_EQ(frozen(), (FrozenRows{0, 2}));
    applyFontName(wb, "黑体", false);
    EXPECT_FALSE(frozen().any());
    applyFontSize(wb, 10, true);
    EXPECT_EQ(frozen(), (FrozenRows{0, 2}));
}

TEST_F(FormatCommands, EachCommandIsOneUndoStep)
{
    const FontSpec before = wb.DoGetCellFont(2, 3);
    applyFontName(wb, "仿宋", false);
    ASSERT_TRUE(wb.CanUndo());
    wb.DoUndo();
    EXPECT_EQ(wb.DoGetCellFont(1, 3), (FontSpec{"黑体", 11, 2}));
    EXPECT_EQ(wb.DoGetCellFont(2, 3), before);
}

TEST_F(FormatCommands, AlignmentOnEverySelectedCell)
{
    applyAlignment(wb, AlignCenter);
    EXPECT_EQ(wb.DoGetCellAlignment(2, 4), AlignCenter);
    EXPECT_NE(wb.DoGetCellAlignment(0, 3), AlignCenter);
    EXPECT_EQ(formatStateOf(wb, 1, 4).align, AlignButton::Center);
    // A whole-column selection stays inside the sheet.
    wb.DoSelectRange(4, -2, 4, 100000);
    applyAlignment(wb, AlignRight);
    EXPECT_EQ(wb.DoGetCellAlignment(4, 0), AlignRight);
    EXPECT_EQ(wb.DoGetCellAlignment(4, 29), AlignRight);
}

// Joining and unjoining themselves are the workbook's; merging takes the selection.
TEST_F(FormatCommands, MergeTakesTheSelection)
{
    mergeSelection(wb);
    const Sheet &sheet = wb.sheet(wb.CurrentSheet());
    ASSERT_EQ(sheet.merges().size(), 1u);
    EXPECT_EQ(sheet.merges()[0], (CellRange{1, 3, 2, 4}));
}

// Which buttons each code presses is the toolbar's business; here: codes survive the round trip
// and codes out of range, as a damaged file may hold, read as plain.
TEST(FontStyleCodes, RoundTripAndDamagedCodesReadAsPlain)
{
    for (int code = 0; code < 8; ++code)
        EXPECT_EQ(FontStyle::fromCode(code).code(), code);
    for (int bad : {-1, 8, 1000})
        EXPECT_EQ(FontStyle::fromCode(bad), FontStyle{}) << bad;
}

TEST(FontSizeBox, WholeNumbersOnly)
{
    EXPECT_EQ(parseFontSize(" 12 "), 12);
    EXPECT_EQ(parseFontSize("10.5"), 10); // halves to the even neighbour
    EXPECT_EQ(parseFontSize("11.5"), 12);
    for (const char *bad : {"", "8pt", "0", "-9", "1e9"})
        EXPECT_EQ(parseFontSize(bad), std::nullopt) << bad;
}

TEST(WelcomePage, DrawnIntoTheFirstSheetWithoutModifyingIt)
{
    Workbook wb;
    drawWelcomePage(wb);
    EXPECT_NE(wb.DoGetCellData(0, 0).text().find("Vantor"), std::string::npos);
    EXPECT_FALSE(wb.IsModified());
    EXPECT_FALSE(wb.CanUndo());
}

} // namespace
} // namespace vantor
