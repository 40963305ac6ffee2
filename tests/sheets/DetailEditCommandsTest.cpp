// The detail sheets' commands: rows, columns, the row count, the fills, clearing, sorting and
// sign conversion, their guards and limits, and each as one undo step of its sheet.
#include "sheets/DetailEditCommands.h"

#include "sheet_component/engine/UndoGroup.h"
#include "sheets/RowFormulas.h"
#include "support/DetailSheet.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace vantor {
namespace {

using test::num;
using test::ScriptedPrompter;

// Kind 16 (表3-4): D = 8, book 5, adjusted 6, appraised 7, rate 8, remarks 9.
constexpr int Kind = 16;
// Kind 22 (inventories): book amount 5 + adjustment 6 = adjusted 7; appraised 10; rate 11.
constexpr int Inventory = 22;

void build(Workbook &wb, int id = Kind)
{
    test::buildSheet(wb, id);
}

CellRange rows(int first, int last)
{
    return CellRange{0, first, 0, last};
}

// Book values typed into column 5 and left, one row after the other, from row 3 on.
void typeBooks(Workbook &wb, const std::vector<std::string> &books, int id = Kind)
{
    for (std::size_t i = 0; i < books.size(); ++i)
        test::typeAndLeave(wb, id, 5, 3 + static_cast<int>(i), books[i]);
    wb.undoStack().clear();
}

NumberEntry answering(int value, std::vector<NumberRequest> *asked = nullptr)
{
    return [value, asked](const NumberRequest &r) {
        if (asked)
            asked->push_back(r);
        return value;
    };
}

TEST(DetailEditRows, InsertAndDeleteMoveDataRebuildTotalsAndUndoAsOneStep)
{
    Workbook wb;
    build(wb);
    typeBooks(wb, {"10", "20", "30"});
    ASSERT_TRUE(DetailEditCommands::insertRows(wb, Kind, rows(4, 5), true));
    EXPECT_EQ(num(wb, 5, 6), 20);
    wb.DoUndo();
    EXPECT_EQ(num(wb, 5, 4), 20);
    // Deleting keeps at least twenty rows.
    ASSERT_TRUE(DetailEditCommands::deleteRows(wb, Kind, rows(4, 13), true));
    EXPECT_EQ(wb.Rows(), 20);
    EXPECT_EQ(num(wb, 5, 2), 10);
    wb.DoUndo();
    EXPECT_EQ(num(wb, 5, 2), 60);
}

TEST(DetailEditRows, HeadingRowsContraRowsAndTheRowLimitAreGuarded)
{
    Workbook wb;
    build(wb);
    for (int row : {0, 1, 2}) {
        EXPECT_FALSE(DetailEditCommands::insertRows(wb, Kind, rows(row, row + 3), true));
        EXPECT_FALSE(DetailEditCommands::deleteRows(wb, Kind, rows(row, row + 4), true));
    }
    EXPECT_FALSE(wb.CanUndo());
    wb.SetRows(DetailEditCommands::MaxRows);
    EXPECT_FALSE(DetailEditCommands::insertRows(wb, Kind, rows(3, 10), true));
    wb.SetRows(12400);
    wb.DoSetCellData(1, 12399, "last row");
    ASSERT_TRUE(DetailEditCommands::insertRows(wb, Kind, rows(3, 12), true)); // cut to fit, no row lost
    EXPECT_EQ(wb.Rows(), 12403);
    EXPECT_EQ(wb.DoGetCellData(1, 12402).text(), "last row");

    Workbook contra; // 表11: rows 1 … 4 are fixed
    contra.SetCols(6);
    contra.SetRows(24);
    for (int r = 1; r <= 4; ++r)
        contra.DoSetCellData(2, r, static_cast<double>(r));
    contra.DoSetCellData(2, 10, 99.0);
    EXPECT_FALSE(DetailEditCommands::insertRows(contra, 78, rows(4, 4), false));
    EXPECT_FALSE(DetailEditCommands::deleteRows(contra, 78, rows(3, 8), false));
    ASSERT_TRUE(DetailEditCommands::deleteRows(contra, 78, rows(5, 9), false));
    EXPECT_EQ(num(contra, 2, 5), 99);
    EXPECT_EQ(num(contra, 2, 4), 4);
}

TEST(DetailEditColumns, BuiltInColumnsAreNeitherInsertedAmongNorDeletedAndTwentySixIsTheLimit)
{
    Workbook wb;
    build(wb);
    ScriptedPrompter p;
    wb.DoGotoCell(3, 5);
    EXPECT_FALSE(DetailEditCommands::insertColumn(wb, Kind, p));
    wb.DoGotoCell(9, 5);
    ASSERT_TRUE(DetailEditCommands::insertColumn(wb, Kind, p));
    EXPECT_EQ(wb.DoGetCellData(10, 0).text(), "备注");
    wb.SetCols(26);
    EXPECT_FALSE(DetailEditCommands::insertColumn(wb, Kind, p));
    EXPECT_FALSE(DetailEditCommands::deleteColumns(wb, Kind, CellRange{8, 3, 9, 3}, p));
    EXPECT_EQ(p.messages(), (std::vector<std::string>{DetailEditCommands::InsertAmongBuiltInColumns,
                                                      "评估明细表最多只能设置26列。", "不能删除表格中固有的列。"}));
    EXPECT_TRUE(DetailEditCommands::deleteColumns(wb, Kind, CellRange{9, 3, 9, 3}, p));
    EXPECT_EQ(wb.Cols(), 25);
}

TEST(DetailEditRowCount, LimitsQuestionAndCancel)
{
    Workbook wb;
    build(wb);
    ScriptedPrompter p;
    std::vector<NumberRequest> asked;
    EXPECT_FALSE(DetailEditCommands::setRowCount(wb, Kind, answering(0, &asked), p, true)); // cancelled
    EXPECT_EQ(asked.at(0).minimum, 20);
    EXPECT_EQ(asked.at(0).maximum, 12403);
    EXPECT_FALSE(DetailEditCommands::setRowCount(wb, Kind, answering(28), p, true)); // same: nothing asked
    p.answers = {Answer::No, Answer::Yes};
    EXPECT_FALSE(DetailEditCommands::setRowCount(wb, Kind, answering(10), p, true));
    EXPECT_EQ(wb.Rows(), 28);
    EXPECT_TRUE(DetailEditCommands::setRowCount(wb, Kind, answering(10), p, true)); // 10 becomes 20
    EXPECT_EQ(wb.Rows(), 20);
    // More rows: no question, and the total sums reach the new last row.
    typeBooks(wb, {"5"});
    EXPECT_TRUE(DetailEditCommands::setRowCount(wb, Kind, answering(100000), p, true));
    EXPECT_EQ(p.shown.size(), 2u);
    EXPECT_EQ(wb.Rows(), 12403);
    wb.DoSetCellData(5, 12402, 7.0);
    EXPECT_EQ(num(wb, 5, 2), 12);
}

TEST(DetailEditFill, DirectionsCopyTheEdgeOfTheBlock)
{
    // Start block a b c / d e f / g h i at columns 1 … 3, rows 3 … 5, read back row by row.
    const std::pair<FillDirection, const char *> cases[] = {
        {FillDirection::Down, "abcabcabc"}, {FillDirection::Right, "aaadddggg"}, {FillDirection::Repeat, "aaaaaaaaa"}};
    for (const auto &[direction, expected] : cases) {
        Workbook wb;
        for (int i = 0; i < 9; ++i)
            wb.DoSetCellData(1 + i % 3, 3 + i / 3, std::string(1, static_cast<char>('a' + i)));
        wb.DoSetCellData(4, 4, "outside");
        ASSERT_TRUE(DetailEditCommands::fill(wb, 70, CellRange{1, 3, 3, 5}, direction, false));
        std::string filled;
        for (int i = 0; i < 9; ++i)
            filled += wb.DoGetCellData(1 + i % 3, 3 + i / 3).text();
        EXPECT_EQ(filled + wb.DoGetCellData(4, 4).text(), expected + std::string("outside"));
    }
}

TEST(DetailEditFill, SequenceHalvesToEvenAndHeadingRowsAreLeftAlone)
{
    Workbook wb;
    build(wb);
    wb.DoSetCellData(0, 3, "5");    // numeric text
    wb.DoSetCellData(1, 3, "甲's"); // text
    wb.DoSetCellData(2, 3, 2.5);    // half: to the even 2
    wb.DoSetCellData(3, 3, -3.5);   // half: to the even -4
    ASSERT_TRUE(DetailEditCommands::fill(wb, Kind, CellRange{0, 3, 3, 6}, FillDirection::Sequence, true));
    EXPECT_EQ(wb.DoGetCellData(0, 3).text(), "5");
    EXPECT_EQ(wb.DoGetCellData(1, 3).text(), "甲's");
    const double expected[4][3] = {{6, 7, 8}, {2, 3, 4}, {3, 4, 5}, {-3, -2, -1}};
    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(num(wb, c, 4 + i), expected[c][i]) << c << "," << i;
    // Starting in the headings: the fill starts in row 3 and leaves the total row alone.
    ASSERT_TRUE(DetailEditCommands::fill(wb, Kind, CellRange{1, 0, 1, 5}, FillDirection::Down, true));
    EXPECT_EQ(wb.DoGetCellData(0, 2).text(), "合计");
    EXPECT_EQ(wb.DoGetCellData(1, 5).text(), "甲's");
}

TEST(DetailEditClear, AsksRecomputesTheRowsAndTotalsGuardsRowTwo)
{
    Workbook wb;
    build(wb);
    typeBooks(wb, {"10", "20", "30"});
    for (int r = 3; r <= 5; ++r) // adjusted values typed: rate -100 without an appraised value
        test::typeAndLeave(wb, Kind, 6, r, "10");
    ASSERT_EQ(num(wb, 8, 3), -100);
    ScriptedPrompter p;
    EXPECT_FALSE(DetailEditCommands::clearContents(wb, Kind, CellRange{5, 2, 5, 4}, p, true)); // the total row
    p.answers = {Answer::No, Answer::Yes};
    EXPECT_FALSE(DetailEditCommands::clearContents(wb, Kind, CellRange{5, 3, 5, 4}, p, true));
    EXPECT_EQ(num(wb, 5, 3), 10);
    EXPECT_TRUE(DetailEditCommands::clearContents(wb, Kind, CellRange{5, 3, 6, 4}, p, true));
    EXPECT_TRUE(wb.DoGetCellData(5, 4).isEmpty());
    EXPECT_EQ(num(wb, 8, 3), 0); // the rate follows the cleared row, as after typing
    EXPECT_EQ(num(wb, 8, 5), -100);
    EXPECT_EQ(num(wb, 5, 2), 30);
}

// Every cell's value and formula, to compare a sheet before a command and after its undo.
std::vector<std::pair<CellValue, std::string>> contents(const Workbook &wb)
{
    std::vector<std::pair<CellValue, std::string>> out;
    for (int r = 0; r < wb.Rows(); ++r)
        for (int c = 0; c < wb.Cols(); ++c)
            out.emplace_back(wb.DoGetCellData(c, r), wb.formulaText(wb.CurrentSheet(), c, r));
    return out;
}

// Each multi-cell command is one step of the sheet it changed (so the window can show that
// sheet and undo it); its undo restores the cells, their rows' derived cells and the total
// row, and the edit typed before it stays undoable.
TEST(DetailEditUndo, MultiCellCommandsAreOneStepOfTheirSheetAboveTheTypedOne)
{
    using Run = std::function<bool(Workbook &)>;
    using E = DetailEditCommands;
    ScriptedPrompter p;
    const CellRange block{5, 3, 10, 6};
    const std::pair<const char *, Run> commands[] = {
        {"fill down", [&](Workbook &wb) { return E::fill(wb, Inventory, block, FillDirection::Down, true); }},
        {"fill left", [&](Workbook &wb) { return E::fill(wb, Inventory, block, FillDirection::Left, true); }},
        {"signs", [&](Workbook &wb) { return E::convertSigns(wb, Inventory, block, true); }},
        {"clear", [&](Workbook &wb) { return E::clearContents(wb, Inventory, block, p, true); }},
    };
    for (const auto &[name, run] : commands) {
        SCOPED_TRACE(name);
        p.answers = {Answer::Yes};
        Workbook wb;
        build(wb, Inventory);
        typeBooks(wb, {"100", "0", "30"}, Inventory);
        {
            UndoGroup typing(wb); // typed and left
            test::typeAndLeave(wb, Inventory, 10, 3, "150");
        }
        const auto typed = contents(wb);
        ASSERT_TRUE(run(wb));
        ASSERT_NE(contents(wb), typed);
        if (std::string(name) == "fill down") { // filled cells are recomputed and totalled
            EXPECT_EQ(num(wb, 11, 4), 50);
            EXPECT_EQ(num(wb, 7, 2), 400);
        }
        EXPECT_EQ(wb.nextUndoSheet(), wb.CurrentSheet());
        wb.DoUndo();
        EXPECT_EQ(contents(wb), typed);
        EXPECT_EQ(wb.nextUndoSheet(), wb.CurrentSheet());
        wb.DoUndo();
        EXPECT_TRUE(wb.DoGetCellData(10, 3).isEmpty());
        EXPECT_FALSE(wb.CanUndo());
    }
}

// Keys in the book column, each row's origin in its remarks; numbers, then texts, empty last.
TEST(DetailEditSort, WholeRowsMoveStablyTotalsAreRebuiltOneUndoStep)
{
    const CellValue keys[] = {CellValue::number(3), CellValue(),          CellValue::text("b"), CellValue::number(-1),
                              CellValue::number(3), CellValue::text("a"), CellValue::number(10)};
    for (const auto &[ascending, expected] : {std::pair{true, "3046521"}, {false, "6043251"}}) {
        Workbook wb;
        build(wb);
        for (int i = 0; i < 7; ++i) {
            wb.DoSetCellData(5, 3 + i, keys[i]);
            wb.DoSetCellData(9, 3 + i, std::to_string(i));
        }
        RowFormulas::writeTotals(wb, Kind, true);
        wb.undoStack().clear();
        ScriptedPrompter p;
        // the selection starts in the headings and covers one column only: whole rows move
        ASSERT_TRUE(DetailEditCommands::sort(wb, Kind, CellRange{2, 0, 2, 9}, 5, ascending, p, true));
        std::string origins;
        for (int r = 3; r < 10; ++r)
            origins += wb.DoGetCellData(9, r).text();
        EXPECT_EQ(origins, expected);
        EXPECT_EQ(num(wb, 5, 2), 15);
        wb.DoUndo();
        EXPECT_EQ(wb.DoGetCellData(9, 4).text(), "1");
        EXPECT_FALSE(wb.CanUndo());
    }
}

TEST(DetailEditSort, FiveHundredTwelveRowsSortedMoreRefused)
{
    Workbook wb;
    build(wb);
    wb.SetRows(600);
    for (int r = 3; r < 600; ++r)
        wb.DoSetCellData(5, r, static_cast<double>(600 - r));
    ScriptedPrompter p;
    EXPECT_FALSE(DetailEditCommands::sort(wb, Kind, CellRange{5, 3, 5, 515}, 5, true, p, true));
    EXPECT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(num(wb, 5, 3), 597);
    ASSERT_TRUE(DetailEditCommands::sort(wb, Kind, CellRange{5, 3, 5, 514}, 5, true, p, true));
    EXPECT_EQ(p.shown.size(), 1u); // nothing more said
    EXPECT_EQ(num(wb, 5, 514), 597);
    EXPECT_EQ(num(wb, 5, 515), 85);
}

TEST(DetailEditSigns, NumbersNegatedLockedAndTextUntouchedRowsRecomputed)
{
    Workbook wb;
    build(wb, Inventory);
    typeBooks(wb, {"100", "0"}, Inventory);
    test::typeAndLeave(wb, Inventory, 10, 3, "150");
    wb.DoSetCellData(1, 3, "甲");
    wb.DoSetCellData(5, 5, "12.5"); // numeric text
    wb.DoSetCellData(5, 6, 40.0);
    wb.DoSetCellLock(5, 6, true);
    ASSERT_EQ(num(wb, 7, 3), 100);
    ASSERT_TRUE(DetailEditCommands::convertSigns(wb, Inventory, CellRange{1, 0, 10, 6}, true));
    EXPECT_EQ(wb.DoGetCellData(1, 3).text(), "甲");
    EXPECT_EQ(num(wb, 5, 3), -100);
    EXPECT_EQ(num(wb, 7, 3), -100); // derived and selected: converted once, not twice
    EXPECT_EQ(num(wb, 11, 3), -50);
    EXPECT_EQ(num(wb, 5, 6), 40); // locked
    EXPECT_EQ(num(wb, 5, 2), -100 - 12.5 + 40);
}

} // namespace
} // namespace vantor
