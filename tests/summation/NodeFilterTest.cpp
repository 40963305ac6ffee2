// The node filter: the root, data nodes, folders with none, one and several children,
// folders inside folders, a missing node and a damaged tree whose parents form a loop.

#include "summation/NodeFilter.h"

#include "project/Database.h"
#include "project/ProjectSchema.h"
#include "project/ProjectStore.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

class NodeFilterTest : public ::testing::Test {
protected:
    NodeFilterTest() : db(":memory:", Database::Mode::ReadWriteCreate), store(db)
    {
        ProjectSchema::create(db, 0);
        // Folders 1 (data 2, 3), 4 (empty), 5 (data 6, folder 7 with data 8); data 9 at
        // the root; folders 10 and 11 each other's parent.
        db.exec("INSERT INTO pmprop (pmid, nodetype, parent) VALUES (1, 0, 0), (2, 1, 1), (3, 1, 1), "
                "(4, 0, 0), (5, 0, 0), (6, 1, 5), (7, 0, 5), (8, 1, 7), (9, 1, 0), (10, 0, 11), (11, 0, 10)");
    }

    Database db;
    ProjectStore store;
};

TEST_F(NodeFilterTest, FormsForEveryKindOfNode)
{
    struct Case {
        int16_t node;
        int16_t pmid;
        const char *list;
    };
    const Case cases[] = {
        {0, 0, ""},       {2, 2, ""},         {9, 9, ""},           {4, 4, ""}, // empty folder: like a data node
        {7, 0, "IN (8)"}, {1, 0, "IN (2,3)"}, {5, 0, "IN (6,7,8)"},             // nested folder expanded
        {99, 99, ""},     {10, 0, "IN (11)"},
    };
    for (const Case &c : cases) {
        const NodeFilter f = NodeFilter::forNode(store, c.node);
        EXPECT_EQ(f.pmid(), c.pmid) << c.node;
        EXPECT_EQ(f.listText(), c.list) << c.node;
    }
    EXPECT_TRUE(NodeFilter::forNode(store, 0).isWholeProject());
    EXPECT_EQ(NodeFilter::forNode(store, 1).sqlNodes(), (std::vector<int16_t>{2, 3}));
    EXPECT_EQ(NodeFilter::forNode(store, 2).sqlNodes(), std::vector<int16_t>{2});
    EXPECT_TRUE(NodeFilter::forNode(store, 0).sqlNodes().empty());
}

} // namespace
} // namespace vantor
