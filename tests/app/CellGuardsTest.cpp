// Cell guards, style and alignment codes, and the edit-started flag.
#include "app/CellGuards.h"
#include "app/EditTracker.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

struct EditCase {
    short sheet;
    int col;
    int row;
    bool allowed;
};

TEST(MayEdit, HeadingsAndTotalRowOfDetailSheetsAreRefused)
{
    const EditCase cases[] = {
        {16, 0, 0, false}, {16, 5, 1, false}, {16, 3, 2, false}, {16, 0, 3, true},  {16, 25, 3, true},
        {16, 1, 12402, true}, {10, 1, 2, false}, {77, 1, 3, true}, {0, 2, 2, false}, {-1, 0, 0, false},
        {-1, 0, 3, true},
    };
    for (const EditCase &c : cases)
        EXPECT_EQ(mayEditCell(c.sheet, c.col, c.row), c.allowed)
            << "sheet " << c.sheet << " col " << c.col << " row " << c.row;
}

TEST(MayEdit, Sheet78ProtectsItsTitleRowAndContraLabels)
{
    const EditCase cases[] = {
        {78, 0, 0, false}, {78, 7, 0, false}, {78, 0, 1, false}, {78, 1, 1, false}, {78, 0, 4, false},
        {78, 1, 4, false}, {78, 2, 1, true},  {78, 0, 5, true},  {78, 1, 5, true},  {78, 2, 2, true},
        {78, 3, 4, true},
    };
    for (const EditCase &c : cases)
        EXPECT_EQ(mayEditCell(c.sheet, c.col, c.row), c.allowed) << "col " << c.col << " row " << c.row;
}

TEST(StyleCodes, ButtonsPressedForEachCode)
{
    for (int code = 0; code < 8; ++code) {
        const FontStyle s = styleFromCode(code);
        EXPECT_EQ(s.bold, code == 1 || code == 4 || code == 5 || code == 7) << code;
        EXPECT_EQ(s.italic, code == 2 || code == 4 || code == 6 || code == 7) << code;
        EXPECT_EQ(s.underline, code == 3 || code == 5 || code == 6 || code == 7) << code;
        EXPECT_EQ(styleCode(s), code);
    }
    EXPECT_EQ(styleFromCode(-1), FontStyle{});
    EXPECT_EQ(styleFromCode(8), FontStyle{});
    EXPECT_EQ(styleFromCode(1000), FontStyle{});
}

TEST(FontSizeBox, WholeNumbersOnly)
{
    EXPECT_EQ(parseFontSize("8"), 8);
    EXPECT_EQ(parseFontSize(" 12 "), 12);
    EXPECT_EQ(parseFontSize("10.5"), 10); // halves to the even neighbour
    EXPECT_EQ(parseFontSize("11.5"), 12);
    EXPECT_EQ(parseFontSize(""), std::nullopt);
    EXPECT_EQ(parseFontSize("   "), std::nullopt);
    EXPECT_EQ(parseFontSize("abc"), std::nullopt);
    EXPECT_EQ(parseFontSize("8pt"), std::nullopt);
    EXPECT_EQ(parseFontSize("0"), std::nullopt);
    EXPECT_EQ(parseFontSize("-9"), std::nullopt);
    EXPECT_EQ(parseFontSize("1e9"), std::nullopt);
    EXPECT_EQ(parseFontSize("nan"), std::nullopt);
}

ProgramState dataEntryOn(short sheet)
{
    ProgramState s;
    s.projectOpen = true;
    s.projectKind = ProjectKind::DataEntry;
    s.currentSheet = sheet;
    return s;
}

TEST(EditTracker, RefusedEditLeavesNothingToRecompute)
{
    EditTracker t;
    t.textChanged();
    EXPECT_FALSE(t.mayEdit(16, 1, 2));
    EXPECT_FALSE(t.editStarted());
    EXPECT_FALSE(t.activeCellChanged(dataEntryOn(16), true, 1, 2).has_value());
}

TEST(EditTracker, OnlyDataEntryDetailSheetsBelowTheHeadings)
{
    ProgramState summary;
    summary.projectOpen = true;
    summary.projectKind = ProjectKind::Summary;
    summary.currentSheet = 1;
    const ProgramState closed;
    struct Case {
        ProgramState state;
        bool detail;
        int oldRow;
    } cases[] = {{summary, true, 5}, {dataEntryOn(16), false, 5}, {dataEntryOn(16), true, 2}, {closed, true, 5}};
    for (const Case &c : cases) {
        EditTracker t;
        t.textChanged();
        EXPECT_FALSE(t.activeCellChanged(c.state, c.detail, 1, c.oldRow).has_value());
        // The flag survives until an edited row is really left.
        EXPECT_TRUE(t.editStarted());
    }
}

} // namespace
} // namespace vantor
