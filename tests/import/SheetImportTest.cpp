// 整表导入: the row blocks of 表11, the 表11 copy from another workbook, and foreign rows
// refused when they do not fit a detail sheet or the user says no.

#include "import/SheetImport.h"

#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/TemplateWorkbook.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

namespace vantor {
namespace {

using test::ScriptedPrompter;

TEST(SheetImport, ContraRowsAreWalkedRestBlockFirstThenWholeBlocks)
{
    // Every row firstRow … sourceRows−1 is visited exactly once, whatever the count.
    for (const int first : {1, 3}) {
        for (const int n : {0, 255, 256, 513, 12400}) {
            SCOPED_TRACE(testing::Message() << first << " " << n);
            const auto blocks = SheetImport::contraBlocks(first, first + n);
            ASSERT_EQ(blocks.size(), static_cast<std::size_t>(1 + n / 256));
            std::vector<int> seen(static_cast<std::size_t>(n), 0);
            for (const RowBlock &b : blocks)
                for (int r = b.first; r <= b.last; ++r)
                    ++seen.at(static_cast<std::size_t>(r - first));
            EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int v) { return v == 1; }));
            // The rest block comes first and holds n mod 256 rows; the whole blocks follow in order.
            EXPECT_EQ(blocks[0].last - blocks[0].first + 1, n % 256);
            for (std::size_t k = 1; k < blocks.size(); ++k)
                EXPECT_EQ(blocks[k],
                          (RowBlock{first + 256 * static_cast<int>(k - 1), first + 256 * static_cast<int>(k) - 1}));
        }
    }
}

struct ContraImport : ::testing::Test {
    Workbook project, other;
    ScriptedPrompter prompter;
    int target = 0, source = 0;

    void SetUp() override
    {
        TemplateWorkbook::build(project);
        TemplateWorkbook::build(other);
        target = project.findSheet("b78");
        source = other.findSheet("b78");
        ASSERT_GE(target, 0);
        project.DoSetCurrentSheet(target);
        project.undoStack().clear();
    }
};

TEST_F(ContraImport, CopiesEveryDataRowButNotTheFixedCaptions)
{
    other.DoSetCellData(2, 1, 100.0, source); // first contra row, book value
    other.DoSetCellData(4, 4, 40.0, source);  // last contra row, appraised value
    other.DoSetCellData(0, 1, "被改的标题", source);
    project.DoSetCellData(3, 2, 5.0); // a target value that the empty source cell overwrites
    const std::string caption = project.DoGetCellData(0, 1).text();

    prompter.answers = {Answer::Yes};
    EXPECT_TRUE(SheetImport::importContraSheet(project, other, source, prompter));
    EXPECT_EQ(project.DoGetCellData(4, 4).number(), 40);
    EXPECT_TRUE(project.DoGetCellData(3, 2).isEmpty());
    EXPECT_EQ(project.DoGetCellData(0, 1).text(), caption);
    EXPECT_EQ(prompter.messages(), std::vector<std::string>{SheetImport::ContraDone});

    // One undo step takes all of it back.
    project.DoUndo();
    EXPECT_TRUE(project.DoGetCellData(4, 4).isEmpty());
    EXPECT_EQ(project.DoGetCellData(3, 2).number(), 5);
}

TEST_F(ContraImport, NoOrASourceBeyondTheLimitChangesNothing)
{
    other.DoSetCellData(2, 1, 100.0, source);
    prompter.answers = {Answer::No};
    EXPECT_FALSE(SheetImport::importContraSheet(project, other, source, prompter));
    EXPECT_TRUE(project.DoGetCellData(2, 1).isEmpty());
    EXPECT_FALSE(project.CanUndo());

    other.SetRows(12404, source);
    EXPECT_FALSE(SheetImport::importContraSheet(project, other, source, prompter));
    EXPECT_TRUE(project.DoGetCellData(2, 1).isEmpty());
    EXPECT_NE(prompter.messages().back().find("12403"), std::string::npos);
}

struct RowsImport : ::testing::Test {
    static constexpr int kId = 22; // book value in column 5, summed
    Workbook wb;
    ScriptedPrompter prompter;

    void SetUp() override
    {
        ASSERT_TRUE(DetailSheetBuilder::build(wb, kId));
        wb.undoStack().clear();
    }

    // Ledger rows with a name in column B and an amount in column F, `width` fields each.
    static LedgerFill::Rows ledger(int count, std::size_t width = 6)
    {
        LedgerFill::Rows rows;
        for (int r = 1; r <= count; ++r) {
            std::vector<std::string> fields(width);
            fields[1] = "材料'" + std::to_string(r);
            fields[5] = std::to_string(r) + ".5";
            rows.push_back(std::move(fields));
        }
        return rows;
    }
};

TEST_F(RowsImport, WhatDoesNotFitOrIsCancelledChangesNothing)
{
    LedgerFill::Rows wide = ledger(2, 41);
    wide[1][40] = "x";
    struct Case {
        const char *what;
        LedgerFill::Rows rows;
        std::deque<Answer> answers;
    };
    const Case cases[] = {
        {"too many columns", wide, {}},
        {"too many rows", ledger(12401), {}},
        {"empty rows", LedgerFill::Rows{{""}, {"", ""}}, {}},
        {"answered no", ledger(3), {Answer::No}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        prompter.answers = c.answers;
        EXPECT_FALSE(SheetImport::importRows(wb, kId, "表", c.rows, prompter, true));
        EXPECT_TRUE(wb.DoGetCellData(1, 3).isEmpty());
        EXPECT_EQ(wb.Rows(), 28);
        EXPECT_FALSE(wb.CanUndo());
    }
    // The largest import that fits: rows 4 … 12403.
    prompter.answers = {Answer::Yes};
    EXPECT_TRUE(SheetImport::importRows(wb, kId, "表", ledger(12400), prompter, true));
    EXPECT_EQ(wb.Rows(), 12403);
}

} // namespace
} // namespace vantor
