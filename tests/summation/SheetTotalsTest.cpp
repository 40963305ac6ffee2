// Sheet totals: what one detail sheet (or 表11) stores in sheetdata, with hand-computed
// amounts, the sign rule, the cost columns, the all-zero case and the refusals.

#include "summation/SheetTotals.h"

#include "project/Database.h"
#include "project/ProjectSchema.h"
#include "project/ProjectStore.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/RowFormulas.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace vantor {
namespace {

Amount yuan(const char *text)
{
    return *Amount::parse(text);
}

class SheetTotalsTest : public ::testing::Test {
protected:
    SheetTotalsTest() : m_db(":memory:", Database::Mode::ReadWriteCreate), m_store(m_db)
    {
        ProjectSchema::create(m_db, 1);
    }

    // A fresh workbook holding one built sheet of kind `id`.
    void build(int id)
    {
        m_wb = std::make_unique<Workbook>();
        ASSERT_TRUE(DetailSheetBuilder::build(*m_wb, id));
    }
    void type(int col, int row, const std::string &text) { m_wb->setCellInput(col, row, text); }
    void totals(int id) { RowFormulas::writeTotals(*m_wb, id, true); }

    SheetTotalsStatus write(int id) { return writeSheetTotals(*m_wb, m_store, id, m_prompter); }

    Database m_db;
    ProjectStore m_store;
    std::unique_ptr<Workbook> m_wb;
    test::ScriptedPrompter m_prompter;
};

// Cells typed into one sheet and the totals stored for node 0: liabilities negated, the cost
// columns of the fixed assets in z1 … z3 (工程物资, sheet 47, has none), 0.1 + 0.2 without residue.
TEST_F(SheetTotalsTest, EachKindStoresTheTotalsOfItsMoneyColumns)
{
    const struct {
        int id;
        std::vector<std::tuple<int, int, const char *>> cells;
        SheetTotals expected;
    } cases[] = {
        {16,
         {{5, 3, "1200.50"}, {6, 3, "1200.50"}, {7, 3, "1100.25"}, {5, 4, "0.1"}, {6, 4, "0.2"}, {7, 4, "0.3"}},
         {yuan("1200.6"), yuan("1200.7"), yuan("1100.55"), {}, {}, {}}},
        {60,
         {{4, 3, "1200.50"}, {5, 3, "1000"}, {6, 3, "-20.05"}},
         {yuan("-1200.50"), yuan("-1000"), yuan("20.05"), {}, {}, {}}},
        {43,
         {{8, 3, "5000"},
          {9, 3, "3000"},
          {10, 3, "5000"},
          {11, 3, "3000"},
          {12, 3, "4800"},
          {14, 3, "3000"},
          {8, 4, "100.01"}},
         {yuan("3000"), yuan("3000"), yuan("3000"), yuan("5100.01"), yuan("5000"), yuan("4800")}},
        {47,
         {{4, 3, "3"}, {6, 3, "100"}, {7, 3, "100"}, {10, 3, "90"}},
         {yuan("100"), yuan("100"), yuan("90"), {}, {}, {}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.id);
        build(c.id);
        for (const auto &[col, row, text] : c.cells)
            type(col, row, text);
        totals(c.id);
        EXPECT_EQ(write(c.id), SheetTotalsStatus::Written);
        EXPECT_EQ(m_store.sheetTotals(c.id, 0), c.expected);
    }
}

TEST_F(SheetTotalsTest, AllZeroTotalsRemoveTheStoredRow)
{
    build(16);
    type(5, 3, "10");
    totals(16);
    write(16);
    ASSERT_TRUE(m_store.sheetTotals(16, 0));
    type(5, 3, "0");
    totals(16);
    EXPECT_EQ(write(16), SheetTotalsStatus::Written);
    EXPECT_TRUE(m_store.sheetData().empty());
}

TEST_F(SheetTotalsTest, ContraRowsOfSheet78KeepTheirIdsAndAreNegated)
{
    m_wb = std::make_unique<Workbook>();
    m_wb->SetCols(6);
    m_wb->SetRows(20);
    // Row 1 → id 3, row 2 all zero → no id 4, row 3 → id 5, row 4 → id 6 (only appraised).
    m_wb->DoSetCellData(2, 1, 500.0);
    m_wb->DoSetCellData(3, 1, 400.0);
    m_wb->DoSetCellData(4, 1, 300.0);
    m_wb->DoSetCellData(2, 3, 12.34);
    m_wb->DoSetCellData(4, 4, -1.0);
    m_store.writeSheetTotals(4, 0, {yuan("1"), {}, {}, {}, {}, {}});  // stale row, must go
    m_store.writeSheetTotals(16, 0, {yuan("7"), {}, {}, {}, {}, {}}); // another sheet, must stay
    EXPECT_EQ(write(78), SheetTotalsStatus::Written);
    const auto rows = m_store.sheetData();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_TRUE(rows[0].id == 3 && rows[1].id == 5 && rows[2].id == 6 && rows[3].id == 16);
    EXPECT_EQ(rows[0].totals, (SheetTotals{yuan("-500"), yuan("-400"), yuan("-300"), {}, {}, {}}));
    EXPECT_EQ(rows[2].totals, (SheetTotals{{}, {}, yuan("1"), {}, {}, {}}));
}

TEST_F(SheetTotalsTest, IdsWithoutTotalsTouchNothing)
{
    build(16);
    m_store.writeSheetTotals(3, 0, {yuan("-5"), {}, {}, {}, {}, {}}); // a contra row
    const int64_t before = m_db.totalChanges();
    for (int id : {0, 3, 79, -1}) {
        EXPECT_EQ(write(id), SheetTotalsStatus::NoTotals) << id;
        EXPECT_FALSE(readSheetTotals(*m_wb, id).hasTotals) << id;
    }
    EXPECT_EQ(m_db.totalChanges(), before);
    EXPECT_TRUE(m_store.sheetTotals(3, 0));
}

// Text, an error value or an amount beyond the currency range never stores a wrong total:
// the previous row stays and one message names every bad cell.
TEST_F(SheetTotalsTest, UnreadableTotalsAreRefusedWithOneMessage)
{
    struct Case {
        const char *name;
        std::function<void(Workbook &)> spoil;
        std::vector<std::string> cells;
    };
    const std::vector<Case> cases{
        {"text", [](Workbook &wb) { wb.DoSetCellData(6, 2, CellValue::text("约1000")); }, {"G3[约1000]"}},
        {"error", [](Workbook &wb) { wb.DoSetCellFormula(5, 2, "1/0"); }, {"F3[#DIV/0!]"}},
        {"two cells, one overflowing",
         [](Workbook &wb) {
             wb.DoSetCellData(5, 2, CellValue::text("x"));
             wb.DoSetCellData(7, 2, -1e300);
         },
         {"F3[x]", "H3"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        m_prompter.shown.clear();
        m_store.writeSheetTotals(16, 0, {yuan("42"), {}, {}, {}, {}, {}});
        build(16);
        type(5, 3, "100");
        totals(16);
        c.spoil(*m_wb);
        const int64_t before = m_db.totalChanges();
        EXPECT_EQ(write(16), SheetTotalsStatus::Refused);
        EXPECT_EQ(m_db.totalChanges(), before);
        EXPECT_EQ(m_store.sheetTotals(16, 0)->v1, yuan("42"));
        ASSERT_EQ(m_prompter.shown.size(), 1u);
        const std::string &text = m_prompter.shown[0].text;
        EXPECT_NE(text.find("表3-4"), std::string::npos) << text;
        for (const std::string &cell : c.cells)
            EXPECT_NE(text.find(cell), std::string::npos) << text;
    }
}

TEST_F(SheetTotalsTest, ABadContraRowKeepsAllFourStoredRows)
{
    m_wb = std::make_unique<Workbook>();
    m_wb->SetCols(6);
    m_wb->SetRows(20);
    m_store.writeSheetTotals(3, 0, {yuan("-1"), {}, {}, {}, {}, {}});
    m_wb->DoSetCellData(2, 2, 5.0);
    m_wb->DoSetCellData(3, 4, CellValue::text("n/a"));
    EXPECT_EQ(write(78), SheetTotalsStatus::Refused);
    const auto rows = m_store.sheetData();
    ASSERT_TRUE(rows.size() == 1 && rows[0].id == 3);
    ASSERT_EQ(m_prompter.messages().size(), 1u);
    EXPECT_NE(m_prompter.messages()[0].find("D5[n/a]"), std::string::npos);
}

} // namespace
} // namespace vantor
