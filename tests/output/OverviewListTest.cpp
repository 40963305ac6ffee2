// The overview lists over a constructed sheetdata: every key against its expected sums, the
// liability lists shown positive, net assets over every row, nodes without rows, negative
// bases, and the list sheet with its total row.

#include "output/OverviewList.h"

#include "project/Database.h"
#include "project/ProjectSchema.h"
#include "project/Statement.h"
#include "sheet_component/engine/Workbook.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

Amount yuan(int64_t value)
{
    return Amount::fromUnits(value * Amount::kScale);
}

class OverviewListTest : public ::testing::Test {
protected:
    OverviewListTest() : db(":memory:", Database::Mode::ReadWriteCreate)
    {
        ProjectSchema::create(db, 0);
        db.exec("UPDATE pmprop SET zczydw = '某公司' WHERE pmid = 0");
        // Folder 1 holds data node 2; data node 3 has no totals; data node 4 sits at the root.
        db.exec("INSERT INTO pmprop (pmid, nodetype, parent, pmname) VALUES (4, 1, 0, '丙'), (1, 0, 0, '汇总'), "
                "(2, 1, 1, '甲'), (3, 1, 0, 'O''Brien''s')");
        // Node 2: sheet id × 100 yuan book and adjusted, twice that appraised; liabilities and
        // contra rows stored negated, as the totals are written.
        for (int id : {1, 4, 10, 13, 15, 22, 37, 40, 52, 54, 56, 58, 72}) {
            const bool negated = id >= 58 || (id >= 3 && id <= 6);
            const int64_t v = (negated ? -id : id) * 100;
            put(id, 2, yuan(v), yuan(v), yuan(2 * v));
        }
        // Node 4: a negative adjusted value and one liability.
        put(10, 4, yuan(-100), yuan(-100), yuan(-50));
        put(60, 4, yuan(-300), yuan(-300), yuan(-300));
        db.exec("INSERT INTO sheetlist (id, code, name) VALUES (10, '表3-1', '货币资金'), (60, '表5-3', '应付帐款')");
    }

    void put(int id, int pmid, Amount v1, Amount v2, Amount v3)
    {
        db.prepare("INSERT INTO sheetdata (id, pmid, v1, v2, v3) VALUES (?, ?, ?, ?, ?)")
            .bindAll(id, pmid, v1.units(), v2.units(), v3.units())
            .run();
    }

    Database db;
};

TEST_F(OverviewListTest, EveryKeySumsItsSheetsPerDataNode)
{
    struct Case {
        const char *key;
        int64_t node2; // book value of node 2; adjusted the same, appraised twice
        int64_t node4;
    };
    const Case cases[] = {
        {"k0", 29500, -100}, {"k9", 13000, 300}, {"k12", 16600, -400}, {"b60", 0, 300}, {"b99", 0, 0},
    };
    for (const Case &c : cases) {
        const auto rows = OverviewList::query(db, c.key);
        ASSERT_TRUE(rows) << c.key;
        // Data nodes only, by node id; the node without totals shows zeros.
        ASSERT_EQ(rows->size(), 3u) << c.key;
        EXPECT_EQ((*rows)[1].pmname, "O'Brien's");
        EXPECT_EQ((*rows)[0].je3, yuan(2 * c.node2)) << c.key;
        EXPECT_TRUE((*rows)[1].je1.isZero() && (*rows)[1].je3.isZero()) << c.key;
        EXPECT_EQ((*rows)[2].je1, yuan(c.node4)) << c.key;
    }
    for (const char *bad : {"k13", "k01", "b", "b-1", "b1;"})
        EXPECT_FALSE(OverviewList::query(db, bad)) << bad;
}

TEST_F(OverviewListTest, GrowthRateHalvesToEvenAndGuardsTheBase)
{
    struct Case {
        Amount base, appraised, rate;
    };
    const Case cases[] = {
        {yuan(0), yuan(5), yuan(0)},
        {yuan(-100), yuan(-50), yuan(50)},
        {yuan(80000), yuan(80100), Amount::fromUnits(1200)}, // 0.00125 → 0.0012 → 0.12
        {yuan(3), yuan(4), Amount::fromUnits(333300)},
        {Amount::fromUnits(1), yuan(900000000000), yuan(0)}, // too large to hold
    };
    for (const Case &c : cases)
        EXPECT_EQ(OverviewList::GrowthRate(c.base, c.appraised), c.rate)
            << c.base.toString() << " " << c.appraised.toString();
}

TEST_F(OverviewListTest, SheetShowsEveryNodeAndTheTotal)
{
    Workbook wb;
    const OverviewSnapshot snap = OverviewList::snapshot(db);
    OverviewList::BuildOverview(wb, snap.nodeCount, snap.unit);
    OverviewList::FillOverview(wb, snap.lists.at("k2"), "货币资金");
    ASSERT_EQ(wb.Rows(), 3 + 4);
    EXPECT_EQ(wb.DoGetCellData(0, 1).text(), "单位名称：某公司");
    EXPECT_EQ(wb.DoGetCellData(6, 3).number(), 100);
    EXPECT_EQ(wb.displayText(0, 6, 4), "");         // zeros hidden
    EXPECT_EQ(wb.DoGetCellData(6, 5).number(), 50); // negative base
    EXPECT_EQ(wb.DoGetCellData(4, 6).number(), 1950);
    EXPECT_EQ(wb.displayText(0, 6, 6), "116.67");

    // A later list replaces every figure of the earlier one.
    OverviewList::FillOverview(wb, snap.lists.at("b60"), "应付帐款");
    EXPECT_EQ(wb.DoGetCellData(2, 3).number(), 0);
    EXPECT_EQ(wb.DoGetCellData(2, 6).number(), 300);
    EXPECT_FALSE(wb.CanUndo());
}

} // namespace
} // namespace vantor
