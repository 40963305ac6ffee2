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

namespace vantor {
namespace {

Amount yuan(const char *text) { return *Amount::parse(text); }

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

TEST_F(SheetTotalsTest, AssetSheetStoresTheTotalsOfItsMoneyColumnsAsNodeZero)
{
    build(16); // book 5, adjusted 6, appraised 7
    type(5, 3, "1200.50");
    type(6, 3, "1200.50");
    type(7, 3, "1100.25");
    type(5, 4, "0.1");
    type(6, 4, "0.2");
    type(7, 4, "0.3");
    totals(16);
    EXPECT_EQ(write(16), SheetTotalsStatus::Written);
    const auto rows = m_store.sheetData();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].pmid, 0);
    // 1200.50 + 0.1; 1200.50 + 0.2 (no binary residue reaches the database); 1100.25 + 0.3.
    EXPECT_EQ(rows[0].totals, (SheetTotals{yuan("1200.6"), yuan("1200.7"), yuan("1100.55"), {}, {}, {}}));
    m_wb->DoSetCellData(5, 2, CellValue::text("1,200.50")); // numeric text counts as its amount
    EXPECT_EQ(write(16), SheetTotalsStatus::Written);
    EXPECT_EQ(m_store.sheetTotals(16, 0)->v1, yuan("1200.5"));
}

TEST_F(SheetTotalsTest, LiabilitySheetStoresNegatedTotalsAndNoCost)
{
    build(60); // book 4, adjusted 5, appraised 6
    type(4, 3, "1200.50");
    type(5, 3, "1000");
    type(6, 3, "-20.05");
    totals(60);
    EXPECT_EQ(write(60), SheetTotalsStatus::Written);
    EXPECT_EQ(m_store.sheetTotals(60, 0), (SheetTotals{yuan("-1200.50"), yuan("-1000"), yuan("20.05"), {}, {}, {}}));
}

TEST_F(SheetTotalsTest, FixedAssetSheetsStoreCostTotalsInZColumnsExceptSheetFortySeven)
{
    build(43); // cost 8, 10, 12; net 9, 11, 14
    type(8, 3, "5000");
    type(9, 3, "3000");
    type(10, 3, "5000");
    type(11, 3, "3000");
    type(12, 3, "4800");
    type(13, 3, "62.5");
    RowFormulas::recomputeRow(*m_wb, 43, 3, 13, true); // 14 := 4800 × 62.5% = 3000.00
    type(8, 4, "100.01");
    totals(43);
    EXPECT_EQ(write(43), SheetTotalsStatus::Written);
    EXPECT_EQ(*m_store.sheetTotals(43, 0),
              (SheetTotals{yuan("3000"), yuan("3000"), yuan("3000"), yuan("5100.01"), yuan("5000"), yuan("4800")}));
    build(47); // 工程物资 sits among the fixed assets without cost columns: book 6, adjusted 7, appraised 10
    for (auto [col, text] : {std::pair{4, "3"}, {6, "100"}, {7, "100"}, {10, "90"}})
        type(col, 3, text);
    totals(47);
    EXPECT_EQ(write(47), SheetTotalsStatus::Written);
    EXPECT_EQ(*m_store.sheetTotals(47, 0), (SheetTotals{yuan("100"), yuan("100"), yuan("90"), {}, {}, {}}));
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
    m_store.writeSheetTotals(4, 0, {yuan("1"), {}, {}, {}, {}, {}}); // stale row, must go
    m_store.writeSheetTotals(16, 0, {yuan("7"), {}, {}, {}, {}, {}}); // another sheet, must stay
    EXPECT_EQ(write(78), SheetTotalsStatus::Written);
    const auto rows = m_store.sheetData();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].id, 3);
    EXPECT_EQ(rows[0].totals, (SheetTotals{yuan("-500"), yuan("-400"), yuan("-300"), {}, {}, {}}));
    EXPECT_EQ(rows[1].id, 5);
    EXPECT_EQ(rows[1].totals, (SheetTotals{yuan("-12.34"), {}, {}, {}, {}, {}}));
    EXPECT_EQ(rows[2].id, 6);
    EXPECT_EQ(rows[2].totals, (SheetTotals{{}, {}, yuan("1"), {}, {}, {}}));
    EXPECT_EQ(rows[3].id, 16);
}

TEST_F(SheetTotalsTest, IdsWithoutTotalsTouchNothing)
{
    build(16);
    m_store.writeSheetTotals(3, 0, {yuan("-5"), {}, {}, {}, {}, {}}); // a contra row
    const int64_t before = m_db.totalChanges();
    for (int id : {0, 3, 6, 9, 79, -1}) {
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
        {"overflow", [](Workbook &wb) { wb.DoSetCellData(7, 2, 1e16); }, {"H3"}},
        {"two cells",
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
        EXPECT_NE(text.find("没有写入"), std::string::npos) << text;
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
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].id, 3);
    EXPECT_EQ(m_prompter.messages().size(), 1u);
    EXPECT_NE(m_prompter.messages()[0].find("D5[n/a]"), std::string::npos);
}

TEST_F(SheetTotalsTest, ReadingUsesTheGivenSheetNotTheCurrentOne)
{
    build(16);
    m_wb->DoSetCellData(5, 2, 10.0);
    m_wb->DoAddSheet("other");
    m_wb->DoSetCurrentSheet(1);
    EXPECT_TRUE(readSheetTotals(*m_wb, 16).rows.empty());
    const auto reading = readSheetTotals(*m_wb, 16, 0);
    ASSERT_EQ(reading.rows.size(), 1u);
    EXPECT_EQ(reading.rows[0].totals.v1, yuan("10"));
}

} // namespace
} // namespace vantor
