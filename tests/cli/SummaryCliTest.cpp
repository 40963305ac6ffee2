// vantor-cli's summary-project and output commands run as users run them: folders inside
// folders, taking data-entry projects over (all files or none), summary sheets printed for the
// whole project and for one node, 表1 in ten thousand yuan and in yuan, the overview lists and
// the Excel export.

#include "project/Database.h"
#include "project/ProjectStore.h"

#include "cli/CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace vantor {
namespace {

namespace fs = std::filesystem;

class SummaryCliTest : public test::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        makeDataAndSummaryProjects();
    }
    static std::string cell(const std::string &tsv, int col, int row) { return tsvLine(tsv, row).at(col); }
    std::size_t nodeCount() const
    {
        Database db(file("sum.mdb"), Database::Mode::ReadOnly);
        return ProjectStore(db).nodes().size();
    }
};

TEST_F(SummaryCliTest, FoldersTakeoverAndSummaries)
{
    EXPECT_EQ(run({"add-folder", file("sum.mdb"), "分公司"}).out, "1\n");
    EXPECT_EQ(run({"add-folder", file("sum.mdb"), "车间", "--parent", "1"}).out, "2\n");
    const test::CliRun taken = run({"takeover", file("sum.mdb"), file("data.mdb"), file("data.mdb"), "--parent", "2"});
    ASSERT_EQ(taken.status, 0) << taken.err;
    EXPECT_EQ(taken.out, "3\t" + file("data.mdb") + "\n4\t" + file("data.mdb") + "\n");

    // 表3-10 row 2 (sheet 22): both nodes from the root and from either folder, one from a node.
    EXPECT_EQ(cell(run({"summary", file("sum.mdb"), "--sheet", "b5", "--node", "1"}).out, 2, 1), "2,200.00");
    EXPECT_EQ(cell(run({"summary", file("sum.mdb"), "--sheet", "b5", "--node", "3"}).out, 4, 1), "1,056.00");
    // 表1 row 12 (assets): 0.22 of ten thousand yuan.
    EXPECT_EQ(cell(run({"summary", file("sum.mdb"), "--sheet", "b0"}).out, 2, 11), "0.22");
}

TEST_F(SummaryCliTest, AFailingFileSavesNothingAndBadNodesAreRefused)
{
    ASSERT_EQ(run({"takeover", file("sum.mdb"), file("data.mdb")}).status, 0);
    {
        std::ofstream(file("junk.mdb")) << std::string(4096, 'J');
    }
    const auto before = fs::last_write_time(file("sum.mdb"));
    const test::CliRun failed = run({"takeover", file("sum.mdb"), file("data.mdb"), file("junk.mdb")});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find(file("junk.mdb")), std::string::npos);
    EXPECT_EQ(fs::last_write_time(file("sum.mdb")), before);
    EXPECT_EQ(nodeCount(), 2u);

    EXPECT_EQ(run({"add-folder", file("sum.mdb"), "x", "--parent", "9"}).status, 1);
    EXPECT_EQ(nodeCount(), 2u);
}

TEST_F(SummaryCliTest, OverviewPrintsTheListAndExportWritesTheFile)
{
    ASSERT_EQ(run({"takeover", file("sum.mdb"), file("data.mdb")}).status, 0);
    const auto k4 = run({"overview", file("sum.mdb"), "--list", "k4"});
    ASSERT_EQ(k4.status, 0) << k4.err;
    EXPECT_EQ(tsvLine(k4.out, 3),
              (std::vector<std::string>{"1", "甲", "1,100.00", "1,050.00", "1,056.00", "6.00", "0.57"}));
    EXPECT_EQ(run({"overview", file("sum.mdb"), "--list", "k9'"}).status, 2);

    ASSERT_EQ(run({"export", file("data.mdb"), file("out")}).status, 0);
    EXPECT_GT(fs::file_size(file("out.xlsx")), 1000u);
}

// check reports without writing (exit 0 without errors, 2 for a file it cannot open); a
// changed source is pointed out until refresh brings it in.
TEST_F(SummaryCliTest, CheckPointsOutAChangedSourceUntilRefreshed)
{
    EXPECT_EQ(run({"check", file("missing.mdb")}).status, 2);
    EXPECT_EQ(run({"refresh", file("sum.mdb"), file("data.mdb")}).status, 2);
    ASSERT_EQ(run({"takeover", file("sum.mdb"), file("data.mdb")}).status, 0);
    const auto before = fs::last_write_time(file("sum.mdb"));
    const test::CliRun clean = run({"check", file("sum.mdb")});
    EXPECT_EQ(clean.status, 0) << clean.err;
    EXPECT_EQ(clean.out.find("已改动"), std::string::npos);

    ASSERT_EQ(
        run({"fill", file("data.mdb"), "--sheet", "b22", "--row", "6"}, "3\t铝材\t吨\t1\t\t10\t\t\t1\t12\n").status, 0);
    const test::CliRun changed = run({"check", file("sum.mdb"), "--node", "1"});
    EXPECT_EQ(changed.status, 0);
    EXPECT_NE(changed.out.find("提示\t1 甲\t-\t-\t接收后源文件"), std::string::npos) << changed.out;
    EXPECT_EQ(fs::last_write_time(file("sum.mdb")), before);

    const test::CliRun refreshed = run({"refresh", file("sum.mdb"), "--node", "1", file("data.mdb")});
    ASSERT_EQ(refreshed.status, 0) << refreshed.err;
    EXPECT_NE(refreshed.out.find("表3-10-1  帐面价值 1100.00 → 1110.00"), std::string::npos) << refreshed.out;
    EXPECT_EQ(run({"check", file("sum.mdb")}).out.find("已改动"), std::string::npos);
    EXPECT_EQ(run({"refresh", file("sum.mdb"), "--node", "1", file("sum.mdb")}).status, 1);
}

} // namespace
} // namespace vantor
