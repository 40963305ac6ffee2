// Cell guards, style codes, the font size box and the edit-started flag.
#include "app/CellGuards.h"
#include "app/EditTracker.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

// Headings and the total row of detail sheets are refused; 表11 (78) protects its title row and
// the labels of its contra rows 1 … 4.
TEST(MayEdit, HeadingsTotalRowsAndContraLabelsAreRefused)
{
    const struct {
        short sheet;
        int col, row;
        bool allowed;
    } cases[] = {
        {16, 5, 1, false}, {16, 3, 2, false}, {16, 0, 3, true}, {0, 2, 2, false}, {-1, 0, 3, true},
        {78, 7, 0, false}, {78, 1, 4, false}, {78, 2, 1, true}, {78, 0, 5, true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(mayEditCell(c.sheet, c.col, c.row), c.allowed)
            << "sheet " << c.sheet << " col " << c.col << " row " << c.row;
}

// Which buttons each code presses is the format commands' business; here: codes survive the
// round trip and codes out of range, as a damaged file may hold, read as plain.
TEST(StyleCodes, RoundTripAndDamagedCodesReadAsPlain)
{
    for (int code = 0; code < 8; ++code)
        EXPECT_EQ(styleCode(styleFromCode(code)), code);
    for (int bad : {-1, 8, 1000})
        EXPECT_EQ(styleFromCode(bad), FontStyle{}) << bad;
}

TEST(FontSizeBox, WholeNumbersOnly)
{
    EXPECT_EQ(parseFontSize(" 12 "), 12);
    EXPECT_EQ(parseFontSize("10.5"), 10); // halves to the even neighbour
    EXPECT_EQ(parseFontSize("11.5"), 12);
    for (const char *bad : {"", "8pt", "0", "-9", "1e9"})
        EXPECT_EQ(parseFontSize(bad), std::nullopt) << bad;
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
