// The ten summary sheets built from one set of sheet totals whose figures were worked out
// by hand: every row map, contra rows in a row of their own and inside their group's row,
// sheet 46 as literals, sheet 47 in both column groups of 表5, liabilities shown positive,
// 表1 in yuan and in ten thousand yuan (halves to even, rounded once), a rate on a half.

#include "summation/SummaryDriver.h"

#include "project/Database.h"
#include "project/ProjectSchema.h"
#include "project/ProjectStore.h"
#include "project/Statement.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/TemplateWorkbook.h"
#include "summation/SummarySheets.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantor {
namespace {

Amount yuan(const char *text)
{
    return *Amount::parse(text);
}

struct Row {
    int id;
    int pmid;
    const char *v1, *v2, *v3;
    const char *z1 = "0", *z2 = "0", *z3 = "0";
};

// Stored as the sheet totals store them: liabilities and contra rows negated.
const std::vector<Row> kTotals = {
    {10, 1, "60", "60", "70"},
    {10, 2, "40", "40", "50"}, // two nodes, one sheet
    {11, 1, "50", "50", "50"},
    {13, 1, "200", "200", "210"},
    {4, 1, "-20", "-20", "-20"},
    {15, 1, "200", "200", "224.69"}, // rate 12.345
    {16, 1, "1000", "1050", "900"},
    {3, 1, "-100", "-100", "-100"},
    {22, 1, "300", "300", "330"},
    {5, 1, "-30", "-30", "-30"},
    {37, 1, "400", "400", "440"},
    {6, 1, "-40", "-40", "-40"},
    {40, 1, "800", "800", "1200", "1000", "1000", "1500"},
    {43, 1, "300", "300", "280", "500", "500", "450"},
    {46, 1, "40", "40", "50", "60", "60", "70"},
    {47, 1, "25", "25", "30"},
    {48, 1, "70", "70", "70"},
    {49, 1, "30", "30", "35"},
    {52, 1, "200", "200", "500"},
    {56, 1, "10", "10", "10"},
    {58, 1, "-12000", "-12000", "-12000"},
    {60, 1, "-250", "-349.5", "-349.5"},
    {72, 1, "-5000", "-5000", "-4000"},
};

class SummarySheetsTest : public ::testing::Test {
protected:
    SummarySheetsTest() : db(":memory:", Database::Mode::ReadWriteCreate), store(db)
    {
        ProjectSchema::create(db, 0);
        TemplateWorkbook::build(wb);
        db.exec("INSERT INTO pmprop (pmid, nodetype, parent) VALUES (1, 1, 0), (2, 1, 0)");
    }

    void insert(const std::vector<Row> &rows)
    {
        Statement st = db.prepare("INSERT INTO sheetdata VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
        for (const Row &r : rows) {
            st.bindAll(r.id, r.pmid, yuan(r.v1).units(), yuan(r.v2).units(), yuan(r.v3).units(), yuan(r.z1).units(),
                       yuan(r.z2).units(), yuan(r.z3).units());
            st.run();
            st.reset();
        }
    }

    void build(const std::string &label, int16_t node = 0, Answer unit = Answer::No)
    {
        if (label == "b0")
            prompter.answers.push_back(unit);
        ASSERT_TRUE(SummaryDriver::build(wb, store, label, node, prompter));
    }

    // The amount of cell "C3" of a sheet; an error value fails.
    Amount at(const std::string &label, const std::string &cell)
    {
        const int sheet = wb.findSheet(label);
        const int col = cell[0] - 'A';
        const int row = std::stoi(cell.substr(1)) - 1;
        const CellValue v = wb.DoGetSheetCellData(col, row, sheet);
        EXPECT_FALSE(v.isError()) << label << "!" << cell << " " << wb.displayText(sheet, col, row);
        return Amount::fromDouble(v.number()).value_or(Amount());
    }

    // Cells of one row from column C on, as hand-computed amounts.
    void expectRow(const std::string &label, int row, const std::vector<const char *> &amounts)
    {
        for (std::size_t i = 0; i < amounts.size(); ++i) {
            const std::string cell = std::string(1, static_cast<char>('C' + i)) + std::to_string(row);
            EXPECT_EQ(at(label, cell), yuan(amounts[i])) << label << "!" << cell;
        }
    }

    Database db;
    ProjectStore store;
    Workbook wb;
    test::ScriptedPrompter prompter;
};

TEST_F(SummarySheetsTest, EveryRowMapOnAFigureWorkedOutByHand)
{
    insert(kTotals);
    for (const char *label : {"b1", "b2", "b3", "b5", "b7", "b9"})
        build(label);
    // b1: C book, D adjustment, E adjusted, F appraised, G increment, H rate.
    expectRow("b1", 4, {"180"});                                         // contra 4 reduces the group
    expectRow("b1", 5, {"200", "0", "200", "224.69", "24.69", "12.34"}); // 12.345 to even
    expectRow("b1", 7, {"100"});                                         // contra 3 shown positive
    expectRow("b1", 21, {"1560"});                                       // with sheet 46's cost
    expectRow("b1", 40, {"3535", "50", "3585", "4259.69", "674.69", "18.82"});
    expectRow("b2", 19, {"5000", "0", "5000", "4000", "-1000", "-20"}); // liabilities positive
    expectRow("b2", 28, {"-13715"});
    expectRow("b3", 2, {"150"});
    expectRow("b5", 18, {"30"});
    // 原值 and 净值 side by side; sheet 47 in both groups.
    expectRow("b7", 15, {"25", "25", "25", "25", "30", "30", "5", "5", "20", "20"});
    expectRow("b9", 19, {"5000"});

    // Sheet 46 is a literal that follows the totals.
    EXPECT_TRUE(wb.formulaText(wb.findSheet("b1"), 2, 20).ends_with("+60"));
    db.exec("UPDATE sheetdata SET z1 = 1234500, v1 = -70000 WHERE id = 46");
    build("b1");
    EXPECT_EQ(at("b1", "C21"), yuan("1623.45"));
    EXPECT_EQ(at("b1", "C25"), yuan("1093")); // 300 + 800 - 7
}

TEST_F(SummarySheetsTest, OverviewInYuanAndInTenThousandYuan)
{
    insert(kTotals);
    build("b0", 0, Answer::Yes);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, SummarySheets::UnitQuestion);
    expectRow("b0", 16, {"-13715", "-13764.5", "-12089.81", "1674.69", "12.17"});

    // 1.225 goes to the even 1.22; 1.23495 rounds once to 1.23 (not via 1.2350 to 1.24).
    build("b0", 0, Answer::No);
    expectRow("b0", 13, {"1.22", "1.23", "1.23", "0", "0"});
    expectRow("b0", 16, {"-1.37", "-1.37", "-1.2", "0.17", "12.17"});
}

TEST_F(SummarySheetsTest, NetAssetsRateIsZeroWhenAdjustedNetAssetsAreZero)
{
    insert({{10, 1, "100", "100", "150"}, {58, 1, "-100", "-100", "-100"}});
    build("b0", 0, Answer::Yes);
    expectRow("b0", 16, {"0", "0", "50", "50", "0"});
}

TEST_F(SummarySheetsTest, EmptyProjectGivesZerosAndNoErrorValues)
{
    for (int s = 0; s < SummarySheets::Count; ++s) {
        const std::string label = "b" + std::to_string(s);
        build(label);
        const int index = wb.findSheet(label);
        for (int row = 0; row < wb.Rows(index); ++row)
            for (int col = 2; col < wb.Cols(index); ++col) {
                const CellValue v = wb.DoGetSheetCellData(col, row, index);
                EXPECT_FALSE(v.isError()) << label << " " << col << "," << row;
                if (v.isNumber()) {
                    EXPECT_EQ(v.number(), 0.0) << label << " " << col << "," << row;
                }
            }
    }
    // Building is not an edit.
    EXPECT_FALSE(wb.IsModified());
    EXPECT_FALSE(wb.CanUndo());
}

TEST_F(SummarySheetsTest, FailingQueryLeavesTheSheetsAsTheyWere)
{
    insert(kTotals);
    build("b1");
    db.exec("INSERT INTO sheetdata (id, pmid, v1) VALUES (10, 2, 9223372036854775807)");
    prompter.answers.push_back(Answer::No);
    EXPECT_THROW(SummaryDriver::build(wb, store, "b0", 0, prompter), AmountOverflow);
    EXPECT_EQ(at("b1", "C40"), yuan("3535"));
    EXPECT_FALSE(SummaryDriver::build(wb, store, "b10", 0, prompter));
    EXPECT_FALSE(SummaryDriver::build(wb, store, "b", 0, prompter));
}

TEST_F(SummarySheetsTest, SheetsReadingB1SeeTheSameNode)
{
    insert(kTotals);
    build("b1", 2); // only sheet 10 of node 2
    build("b3", 1);
    EXPECT_EQ(at("b3", "C2"), yuan("110")); // node 1's 60 + 50, not node 2's 40
    EXPECT_EQ(at("b1", "C3"), yuan("110"));
}

} // namespace
} // namespace vantor
