#include "project/ProjectStore.h"

#include "project/ProjectTestSupport.h"
#include "project/Statement.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

using namespace std::chrono;

class StoreTest : public ::testing::Test, protected test::MemoryProject {
protected:
    StoreTest() : MemoryProject(0) {}

    void addNode(int pmid, int type, int parent)
    {
        db.prepare("INSERT INTO pmprop (pmid, nodetype, parent, pmname) VALUES (?, ?, ?, ?)")
            .bindAll(pmid, type, parent, "n" + std::to_string(pmid))
            .run();
    }
    void addRows(int pmid)
    {
        db.prepare("INSERT INTO sheetdata (id, pmid, v1) VALUES (16, ?, 1)").bindAll(pmid).run();
        db.prepare("INSERT INTO sheetprop (pmid, id, tbr) VALUES (?, 3, 'x')").bindAll(pmid).run();
    }
    int64_t count(const std::string &sql)
    {
        Statement st = db.prepare(sql);
        st.step();
        return st.columnInt64(0);
    }
};

TEST_F(StoreTest, NewNodeIdIsTheSmallestFreePositiveIdWithinSixteenBits)
{
    struct Case {
        std::vector<int> used;
        int expected;
    };
    const std::vector<Case> cases{{{}, 1}, {{1, 2, 4}, 3}, {{2, 3}, 1}};
    for (const Case &c : cases) {
        db.exec("DELETE FROM pmprop WHERE pmid > 0");
        for (int id : c.used)
            addNode(id, 1, 0);
        EXPECT_EQ(store.newNodeId(), c.expected);
    }
    db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 32767) "
            "INSERT OR IGNORE INTO pmprop (pmid, nodetype, parent) SELECT i, 1, 0 FROM n");
    EXPECT_THROW(store.insertFolderNode(), DatabaseError); // never beyond sixteen bits
}

TEST_F(StoreTest, FoldersGoUnderTheRootOrAnotherFolderOnly)
{
    addNode(1, 1, 0);
    const int16_t outer = store.insertFolderNode();
    EXPECT_EQ(store.node(store.insertFolderNode(outer))->parent, outer);
    EXPECT_THROW(store.insertFolderNode(1), DatabaseError);  // a data node
    EXPECT_THROW(store.insertFolderNode(99), DatabaseError); // no node
    EXPECT_EQ(store.nodes().size(), 4u);
}

TEST_F(StoreTest, DeletingAFolderRemovesItsChildrenAndTheirRowsAndAReusedIdStartsEmpty)
{
    addNode(1, 0, 0); // folder
    addNode(2, 1, 1);
    addNode(3, 1, 1);
    addNode(4, 1, 0); // beside the folder, stays
    addNode(5, 0, 1); // a folder inside the folder, with a node of its own
    addNode(6, 1, 5);
    for (int id : {1, 2, 3, 4, 5, 6})
        addRows(id);
    auto removed = store.deleteNode(1);
    EXPECT_EQ(removed, (std::vector<int16_t>{1, 2, 3, 5, 6}));
    EXPECT_EQ(count("SELECT count(*) FROM pmprop"), 2); // root and node 4
    EXPECT_EQ(count("SELECT count(*) FROM sheetprop"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM sheetdata WHERE pmid = 4"), count("SELECT count(*) FROM sheetdata"));
    // A node re-added under a deleted id starts empty.
    EXPECT_EQ(store.insertDataNode(0, {}), 1);
    EXPECT_TRUE(store.sumsById({1}).empty());
    EXPECT_TRUE(store.signatories(1).empty());
}

TEST_F(StoreTest, DamagedDateReadsAsNoDate)
{
    NodeProperties p;
    p.pgjzr = year_month_day{year(2024), month(2), day(29)};
    store.updateNodeProperties(0, p, ProjectKind::DataEntry);
    ASSERT_EQ(store.node(0)->properties.pgjzr, p.pgjzr);
    db.exec("UPDATE pmprop SET pgjzr = '2023-02-30' WHERE pmid = 0");
    EXPECT_FALSE(store.node(0)->properties.pgjzr) << "a damaged date reads as no date";
}

TEST_F(StoreTest, SignatoriesAreCutToTenCharactersAndEmptyRowsSkipped)
{
    std::vector<SheetSignatories> rows{
        {3, "一二三四五六七八九十十一", "abcdefghijkl", year_month_day{year(2025), month(1), day(5)}},
        {4, "", "", year_month_day{year(2025), month(1), day(5)}},
        {5, "", "O'Hara", std::nullopt},
    };
    store.replaceSignatories(2, rows);
    auto back = store.signatories(2);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].tbr + back[0].pgry, "一二三四五六七八九十abcdefghij");
    EXPECT_TRUE(back[1].id == 5 && back[1].pgry == "O'Hara");
}

SheetTotals totals(int64_t v1, int64_t z1 = 0)
{
    SheetTotals t;
    t.v1 = Amount::fromUnits(v1);
    t.v2 = Amount::fromUnits(v1);
    t.v3 = Amount::fromUnits(v1 * 2);
    t.z1 = Amount::fromUnits(z1);
    return t;
}

TEST_F(StoreTest, TotalsAreStoredExactlyDuplicatesCollapseAndAnOverflowingSumIsAnErrorNotAWrap)
{
    db.exec("INSERT INTO sheetdata (id, pmid, v1) VALUES (16, 0, 5), (16, 0, 5)");
    EXPECT_FALSE(store.sheetTotals(16, 0));
    store.writeSheetTotals(16, 0, totals(123456789012345, 7));
    EXPECT_EQ(count("SELECT count(*) FROM sheetdata"), 1);
    EXPECT_EQ(store.sheetTotals(16, 0), totals(123456789012345, 7)); // exact, replaced
    db.exec("INSERT INTO sheetdata (id, pmid, v1) VALUES (17, 1, 9223372036854775807), (17, 2, 1)");
    EXPECT_THROW(store.sumsById(), DatabaseError);
}

TEST_F(StoreTest, DeletingASheetRemovesItsCatalogueSignatoriesAndTotals)
{
    store.insertSheet({12, "表3-1-3", "其他货币资金"});
    store.insertSheet({13, "表3-2", "短期投资"});
    store.writeSheetTotals(12, 0, totals(1));
    store.replaceSignatories(0, {{12, "甲", "", std::nullopt}, {13, "乙", "", std::nullopt}});
    store.deleteSheet(12);
    EXPECT_FALSE(store.sheet(12));
    EXPECT_TRUE(store.sheet(13));
    EXPECT_EQ(count("SELECT count(*) FROM sheetdata"), 0);
    EXPECT_EQ(store.signatories(0).size(), 1u);
}

TEST_F(StoreTest, SignatorySheetsDependOnTheKindAndTheNode)
{
    for (int id : {1, 2, 3, 9, 10, 16, 78})
        store.insertSheet({static_cast<int16_t>(id), "表" + std::to_string(id), "名'称"});
    store.replaceSignatories(0, {{3, "甲", "", std::nullopt}, {16, "", "乙", std::nullopt}});
    store.replaceSignatories(5, {{9, "丙", "丁", std::nullopt}});

    auto data = store.signatorySheets(0, ProjectKind::DataEntry);
    std::vector<int> ids;
    for (const auto &row : data)
        ids.push_back(row.id);
    EXPECT_EQ(ids, (std::vector<int>{3, 9, 10, 16, 78}));
    EXPECT_TRUE(data[0].stored && data[0].signatories.tbr == "甲");
    EXPECT_FALSE(data[1].stored); // sheet 9 has signatories of node 5 only

    auto summary = store.signatorySheets(5, ProjectKind::Summary);
    ASSERT_EQ(summary.size(), 2u);
    EXPECT_TRUE(summary[0].id == 3 && !summary[0].stored && summary[1].signatories.pgry == "丁");
}

} // namespace
} // namespace vantor
