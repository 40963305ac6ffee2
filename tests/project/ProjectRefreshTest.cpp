// Refreshing a data node from its revised data-entry project: older files open and learn
// node sources, the node's totals are replaced all or nothing, and the file is recognised.

#include "project/ProjectRefresh.h"

#include "project/Database.h"
#include "project/ProjectSchema.h"
#include "project/ProjectStore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

Amount units(int64_t n)
{
    return Amount::fromUnits(n);
}

// A project file of the given kind whose node 0 holds the totals.
void makeProject(const std::string &path, ProjectKind kind, const std::map<int16_t, int64_t> &book)
{
    Database db(path, Database::Mode::ReadWriteCreate);
    ProjectSchema::create(db, static_cast<int16_t>(kind));
    ProjectStore store(db);
    for (const auto &[id, v] : book)
        store.writeSheetTotals(id, 0, {units(v), units(v), units(v), {}, {}, {}});
}

TEST(ProjectRefreshTest, OldFileLearnsSourcesAndRefreshIsAllOrNothing)
{
    test::TempDir dir;
    // A summary project of the first version: no nodesource table.
    const std::string summary = dir.file("sum.mdb");
    makeProject(summary, ProjectKind::Summary, {});
    {
        Database old(summary);
        old.exec("DROP TABLE nodesource; PRAGMA user_version = 1");
    }
    Database db(summary);
    ProjectSchema::check(db);
    ProjectStore store(db);
    EXPECT_FALSE(ProjectSchema::hasNodeSources(db));
    EXPECT_TRUE(store.nodeSources().empty());

    const std::string data = dir.file("a.mdb");
    makeProject(data, ProjectKind::DataEntry, {{16, 100}, {22, 50}});
    NodeProperties props;
    props.pmname = "子公司";
    const int16_t folder = store.insertFolderNode();
    const int16_t node = store.insertDataNode(folder, props);
    store.writeSheetTotals(16, node, {units(100), units(100), units(100), {}, {}, {}});
    store.writeSheetTotals(30, node, {units(7), units(7), units(7), {}, {}, {}});

    // Revised: 16 changed, 22 new, 30 gone.
    makeProject(dir.file("b.mdb"), ProjectKind::DataEntry, {{16, 120}, {22, 50}});
    const RefreshPlan plan = ProjectRefresh::prepare(store, node, dir.file("b.mdb"), dir.path().string());
    ASSERT_EQ(plan.changes.size(), 3u);
    EXPECT_EQ(plan.changes[0].id, 16);
    EXPECT_EQ(plan.changes[2].after, SheetTotals{});
    ProjectRefresh::apply(store, plan);
    EXPECT_EQ(store.sumsById({node}), plan.source.totals);
    EXPECT_EQ(store.node(node)->parent, folder);
    EXPECT_EQ(store.node(node)->properties.pmname, "子公司");
    // The file became version 2 and still passes the schema check; the node is found by its file.
    ProjectSchema::check(db);
    EXPECT_EQ(ProjectRefresh::nodeTakenFrom(store, dir.file("b.mdb")), node);
    EXPECT_EQ(ProjectRefresh::nodeTakenFrom(store, data), std::nullopt);

    // Damaged, foreign kind, folder target: nothing changes, and the message names the file.
    test::writeFile(dir.file("bad.mdb"), std::string(4096, 'x'));
    makeProject(dir.file("other.mdb"), ProjectKind::Summary, {{16, 1}});
    const auto before = store.sheetData();
    const auto source = store.nodeSource(node);
    const struct {
        int16_t node;
        std::string file;
    } failures[] = {{node, "bad.mdb"}, {node, "other.mdb"}, {node, "missing.mdb"}, {folder, "a.mdb"}};
    for (const auto &f : failures) {
        SCOPED_TRACE(f.file);
        try {
            ProjectRefresh::prepare(store, f.node, dir.file(f.file), dir.path().string());
            ADD_FAILURE() << "refreshed";
        } catch (const RefreshError &e) {
            if (f.node == node) {
                EXPECT_NE(std::string(e.what()).find(dir.file(f.file)), std::string::npos) << e.what();
            }
        }
        EXPECT_EQ(store.sheetData().size(), before.size());
        EXPECT_EQ(store.nodeSource(node), source);
    }
    // Deleting the node removes its source with it.
    store.deleteNode(folder);
    EXPECT_TRUE(store.nodeSources().empty());
}

} // namespace
} // namespace vantor
