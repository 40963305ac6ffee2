#include "project/ProjectTree.h"

#include "project/ProjectTestSupport.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

std::vector<int> searchOrder(int count, const std::string &wanted)
{
    std::vector<int> visited;
    ProjectTree::findSheetFromMiddle(
        count,
        [&](int i) {
            visited.push_back(i);
            return std::string("x");
        },
        wanted);
    return visited;
}

TEST(ProjectTree, SheetSearchStartsInTheMiddleRoundedToEvenAndFindsTheFirstMatch)
{
    EXPECT_EQ(searchOrder(4, "b1"), (std::vector<int>{2, 3, 1, 0}));
    EXPECT_EQ(searchOrder(5, "b1"), (std::vector<int>{2, 3, 4, 1, 0}));       // 2.5 -> 2
    EXPECT_EQ(searchOrder(7, "b1"), (std::vector<int>{4, 5, 6, 3, 2, 1, 0})); // 3.5 -> 4
    EXPECT_EQ(searchOrder(3, "b1"), (std::vector<int>{2, 1, 0}));             // 1.5 -> 2
    EXPECT_TRUE(searchOrder(0, "b1").empty());
    std::vector<std::string> labels{"b0", "b1", "b10", "b16", "b1", "b78"};
    auto at = [&](int i) { return labels[static_cast<size_t>(i)]; };
    EXPECT_EQ(ProjectTree::findSheetFromMiddle(6, at, "b1"), 4);
    EXPECT_EQ(ProjectTree::findSheetFromStart(6, at, "b1"), 1);
    EXPECT_EQ(ProjectTree::findSheetFromMiddle(6, at, "b99"), -1);
}

TEST(ProjectTree, KeyNumbers)
{
    EXPECT_EQ(ProjectTree::keyNumber("p32767"), 32767);
    for (const char *bad : {"p32768", "p", "b1x", ""})
        EXPECT_FALSE(ProjectTree::keyNumber(bad)) << bad;
}

class TreeEntriesTest : public ::testing::Test, protected test::MemoryProject {
protected:
    TreeEntriesTest() : MemoryProject(0) {}
};

TEST_F(TreeEntriesTest, DetailSheetsExcludeSummarySheetsAndFollowIds)
{
    store.insertSheet({16, "表3-4", "应收账款"});
    store.insertSheet({1, "表2-1", "汇总"});
    store.insertSheet({10, "表3-1-1", "现金"});
    auto entries = ProjectTree::detailSheetEntries(store);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].key, "b10");
    EXPECT_EQ(entries[1].key, "b16");
    EXPECT_EQ(entries[1].text, "表3-4      应收账款");
}

TEST_F(TreeEntriesTest, NodesHangUnderTheirFoldersAndOrphansGoToTheRoot)
{
    NodeProperties root;
    root.pmname = "总项目";
    store.updateNodeProperties(0, root);
    int16_t folder = store.insertFolderNode(); // 1
    NodeProperties a;
    a.pmname = "甲公司";
    store.insertDataNode(folder, a); // 2
    store.insertDataNode(0, a);      // 3
    db.exec("INSERT INTO pmprop (pmid, nodetype, parent, pmname) VALUES (9, 1, 7, 'orphan'), "
            "(4, 0, 5, 'inner'), (5, 0, 1, 'middle'), (6, 1, 4, 'deep'), (10, 0, 11, 'loop'), (11, 0, 10, 'loop')");
    auto entries = ProjectTree::nodeEntries(store);
    std::vector<TreeEntry> expected{
        {"p0", "总项目", "", ""},    {"p1", "", "", "p0"},       {"p5", "middle", "", "p1"},
        {"p4", "inner", "", "p5"}, // parents first
        {"p10", "loop", "", "p0"},   {"p11", "loop", "", "p10"}, {"p2", "甲公司", "d", "p1"},
        {"p3", "甲公司", "d", "p0"}, {"p6", "deep", "d", "p4"},  {"p9", "orphan", "d", "p0"},
    };
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(ProjectTree::nodeEntries(store, std::string(ProjectTree::kNewRootText))[0].text, "全部项目汇总");
}

} // namespace
} // namespace vantor
