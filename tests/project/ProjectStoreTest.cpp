#include "project/ProjectStore.h"

#include "project/Database.h"
#include "project/ProjectSchema.h"
#include "project/Statement.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

using namespace std::chrono;

class StoreTest : public ::testing::Test {
protected:
    StoreTest() : db(":memory:", Database::Mode::ReadWriteCreate), store(db) { ProjectSchema::create(db, 0); }

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

    Database db;
    ProjectStore store;
};

TEST_F(StoreTest, NewNodeIdIsTheSmallestFreePositiveId)
{
    struct Case {
        std::vector<int> used;
        int expected;
    };
    const std::vector<Case> cases{{{}, 1}, {{1, 2, 4}, 3}, {{1, 2, 3}, 4}, {{2, 3}, 1}, {{1, 5, 6}, 2}};
    for (const Case &c : cases) {
        db.exec("DELETE FROM pmprop WHERE pmid > 0");
        for (int id : c.used)
            addNode(id, 1, 0);
        EXPECT_EQ(store.newNodeId(), c.expected);
    }
}

TEST_F(StoreTest, NewNodeIdRefusesToLeaveSixteenBits)
{
    db.exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 32767) "
            "INSERT INTO pmprop (pmid, nodetype, parent) SELECT i, 1, 0 FROM n");
    EXPECT_THROW(store.newNodeId(), DatabaseError);
    EXPECT_THROW(store.insertFolderNode(), DatabaseError);
}

TEST_F(StoreTest, FolderNodeGetsOnlyIdTypeAndParent)
{
    addNode(1, 1, 0);
    int16_t id = store.insertFolderNode();
    EXPECT_EQ(id, 2);
    auto node = store.node(id);
    ASSERT_TRUE(node);
    EXPECT_EQ(node->nodetype, 0);
    EXPECT_EQ(node->parent, 0);
    EXPECT_FALSE(node->properties.pmname);
    EXPECT_FALSE(node->properties.pgjzr);
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

TEST_F(StoreTest, DeletingAFolderRemovesItsChildrenAndTheirSheetRows)
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
    EXPECT_EQ(count("SELECT count(*) FROM sheetdata"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM sheetprop"), 1);
    EXPECT_EQ(count("SELECT count(*) FROM sheetdata WHERE pmid = 4"), 1);
}

TEST_F(StoreTest, ANodeReusingADeletedIdStartsEmpty)
{
    addNode(1, 1, 0);
    addRows(1);
    store.deleteNode(1);
    int16_t id = store.insertDataNode(0, {});
    EXPECT_EQ(id, 1);
    EXPECT_TRUE(store.sumsById({id}).empty());
    EXPECT_TRUE(store.signatories(id).empty());
}

TEST_F(StoreTest, RootCannotBeDeleted)
{
    EXPECT_THROW(store.deleteNode(0), DatabaseError);
    EXPECT_EQ(count("SELECT count(*) FROM pmprop WHERE pmid = 0"), 1);
}

TEST_F(StoreTest, ParentOfANewDataNodeFollowsTheSelection)
{
    addNode(1, 0, 0); // folder
    addNode(2, 1, 1); // data node in the folder
    addNode(3, 1, 0); // data node under the root
    EXPECT_EQ(store.parentForNewDataNode(0), 0);
    EXPECT_EQ(store.parentForNewDataNode(1), 1);
    EXPECT_EQ(store.parentForNewDataNode(2), 1);
    EXPECT_EQ(store.parentForNewDataNode(3), 0);
    EXPECT_EQ(store.parentForNewDataNode(99), 0);
}

TEST_F(StoreTest, SummaryTreeOfTwoFoldersAndFiveNodesHasEightRows)
{
    int16_t f1 = store.insertFolderNode();
    int16_t f2 = store.insertFolderNode();
    for (int16_t parent : {f1, f1, f2, int16_t(0), int16_t(0)})
        store.insertDataNode(parent, {});
    EXPECT_EQ(store.nodes().size(), 8u);
}

TEST_F(StoreTest, NodePropertiesKeepHostileTextAndDates)
{
    NodeProperties p;
    p.pmname = "张三's 项目";
    p.zczydw = "'; DELETE FROM pmprop; --";
    p.zcpgs = "O''Neil";
    p.xmfzr = "";
    p.pgjzr = year_month_day{year(2024), month(2), day(29)};
    p.frdb = ProjectStore::kUnsetRepresentative;
    store.updateNodeProperties(0, p, ProjectKind::DataEntry);
    auto n = store.node(0);
    ASSERT_TRUE(n);
    EXPECT_EQ(n->properties.pmname, p.pmname);
    EXPECT_EQ(n->properties.zczydw, p.zczydw);
    EXPECT_EQ(n->properties.zcpgs, p.zcpgs);
    EXPECT_EQ(n->properties.xmfzr, "");
    EXPECT_EQ(n->properties.pgjzr, p.pgjzr);
    EXPECT_EQ(n->properties.frdb, "请输入");
    EXPECT_EQ(store.kind(), ProjectKind::DataEntry);
    Statement st = db.prepare("SELECT pgjzr FROM pmprop WHERE pmid = 0");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.columnText(0), "2024-02-29");
}

TEST_F(StoreTest, UpdatingAMissingNodeFails)
{
    EXPECT_THROW(store.updateNodeProperties(42, {}), DatabaseError);
}

TEST_F(StoreTest, ADamagedDateReadsAsNoDate)
{
    db.exec("UPDATE pmprop SET pgjzr = '2023-02-30' WHERE pmid = 0");
    EXPECT_FALSE(store.node(0)->properties.pgjzr);
}

TEST_F(StoreTest, AnUnknownProjectKindIsAnError)
{
    db.exec("UPDATE pmprop SET nodetype = 7 WHERE pmid = 0");
    EXPECT_THROW(store.kind(), DatabaseError);
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
    EXPECT_EQ(back[0].tbr, "一二三四五六七八九十");
    EXPECT_EQ(back[0].pgry, "abcdefghij");
    EXPECT_EQ(back[0].tbrq, rows[0].tbrq);
    EXPECT_EQ(back[1].id, 5);
    EXPECT_EQ(back[1].pgry, "O'Hara");
    store.replaceSignatories(2, {});
    EXPECT_TRUE(store.signatories(2).empty());
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

TEST_F(StoreTest, SheetTotalsAreStoredExactlyAndReplaced)
{
    store.writeSheetTotals(16, 0, totals(-12005000)); // -1 200.50
    store.writeSheetTotals(16, 0, totals(123456789012345, 7));
    EXPECT_EQ(count("SELECT count(*) FROM sheetdata WHERE id = 16"), 1);
    auto back = store.sheetTotals(16, 0);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, totals(123456789012345, 7));
}

TEST_F(StoreTest, AllZeroTotalsRemoveTheRow)
{
    store.writeSheetTotals(16, 0, totals(5));
    store.writeSheetTotals(16, 0, SheetTotals{});
    EXPECT_EQ(count("SELECT count(*) FROM sheetdata"), 0);
    EXPECT_FALSE(store.sheetTotals(16, 0));
}

TEST_F(StoreTest, RewritingEqualTotalsChangesNothing)
{
    store.writeSheetTotals(16, 0, totals(5));
    int64_t before = db.totalChanges();
    store.writeSheetTotals(16, 0, totals(5));
    store.writeSheetTotals(17, 0, SheetTotals{});
    EXPECT_EQ(db.totalChanges(), before);
    store.writeSheetTotals(16, 0, totals(6));
    EXPECT_NE(db.totalChanges(), before);
}

TEST_F(StoreTest, DuplicateRowsAreCollapsedByTheNextWrite)
{
    db.exec("INSERT INTO sheetdata (id, pmid, v1) VALUES (16, 0, 5), (16, 0, 5)");
    EXPECT_FALSE(store.sheetTotals(16, 0));
    store.writeSheetTotals(16, 0, totals(5));
    EXPECT_EQ(count("SELECT count(*) FROM sheetdata"), 1);
}

TEST_F(StoreTest, SumsByIdFilterNodes)
{
    store.writeSheetTotals(16, 1, totals(10));
    store.writeSheetTotals(16, 2, totals(20));
    store.writeSheetTotals(17, 2, totals(3));
    auto all = store.sumsById();
    EXPECT_EQ(all.size(), 2u);
    EXPECT_EQ(all[16].v1, Amount::fromUnits(30));
    auto one = store.sumsById({1});
    EXPECT_EQ(one.size(), 1u);
    EXPECT_EQ(one[16].v3, Amount::fromUnits(20));
}

TEST_F(StoreTest, OverflowingSumIsAnErrorNotAWrap)
{
    db.exec("INSERT INTO sheetdata (id, pmid, v1) VALUES (16, 1, 9223372036854775807), (16, 2, 1)");
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

TEST_F(StoreTest, SheetNamesKeepApostrophes)
{
    store.insertSheet({20, "表3-7", "预付账款"});
    store.updateSheetName(20, "表3-7'", "预付'账款");
    auto row = store.sheet(20);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->code, "表3-7'");
    EXPECT_EQ(row->name, "预付'账款");
    EXPECT_EQ(store.detailSheets().size(), 1u);
}

} // namespace
} // namespace vantor

namespace vantor {
namespace {

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
    EXPECT_TRUE(data[0].stored);
    EXPECT_EQ(data[0].signatories.tbr, "甲");
    EXPECT_FALSE(data[1].stored); // sheet 9 has signatories of node 5 only
    EXPECT_EQ(data[3].signatories.pgry, "乙");
    EXPECT_EQ(data[3].name, "名'称");

    auto summary = store.signatorySheets(5, ProjectKind::Summary);
    ASSERT_EQ(summary.size(), 2u);
    EXPECT_EQ(summary[0].id, 3);
    EXPECT_FALSE(summary[0].stored);
    EXPECT_EQ(summary[1].signatories.pgry, "丁");
}

} // namespace
} // namespace vantor
