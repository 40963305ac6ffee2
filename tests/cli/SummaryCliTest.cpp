// vantor-cli's summary-project commands run as users run them: folders inside folders,
// taking data-entry projects over (all files or none), and summary sheets printed for the
// whole project and for one node, 表1 in ten thousand yuan and in yuan.

#include "project/Database.h"
#include "project/ProjectStore.h"

#include "cli/CliRunner.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace vantor {
namespace {

namespace fs = std::filesystem;

class SummaryCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_program = std::string(VANTOR_BIN_DIR) + "/vantor-cli";
        ASSERT_TRUE(fs::exists(m_program)) << "build the vantor-cli target first";
        // A data-entry project whose sheet 22 totals 1100 / 1050 / 1056.
        ASSERT_EQ(run({"new", "--kind", "data", file("data.mdb"), "--name", "甲"}).status, 0);
        ASSERT_EQ(run({"add-sheet", file("data.mdb"), "22"}).status, 0);
        ASSERT_EQ(run({"fill", file("data.mdb"), "--sheet", "b22"},
                      "1\t钢材\t吨\t3\t\t100\t\t\t3\t33.333\n2\t铜材\t千克\t8\t\t1000\t-50\t\t8\t119.5\n")
                      .status,
                  0);
        ASSERT_EQ(run({"new", "--kind", "summary", file("sum.mdb")}).status, 0);
    }
    std::string file(const std::string &name) const { return (m_dir / name).string(); }
    test::CliRun run(const std::vector<std::string> &args, const std::string &input = {}) const
    {
        return test::runCli(m_program, m_dir, args, input);
    }
    // Cell (col, row) of a printed sheet.
    static std::string cell(const std::string &tsv, int col, int row)
    {
        std::istringstream lines(tsv);
        std::string line;
        for (int r = 0; r <= row; ++r)
            std::getline(lines, line);
        std::istringstream fields(line);
        std::string field;
        for (int c = 0; c <= col; ++c)
            std::getline(fields, field, '\t');
        return field;
    }
    std::size_t nodeCount() const
    {
        Database db(file("sum.mdb"), Database::Mode::ReadOnly);
        return ProjectStore(db).nodes().size();
    }

    test::TempDir m_tmp;
    const fs::path &m_dir = m_tmp.path();
    std::string m_program;
};

TEST_F(SummaryCliTest, FoldersTakeoverAndSummaries)
{
    EXPECT_EQ(run({"add-folder", file("sum.mdb"), "分公司"}).out, "1\n");
    EXPECT_EQ(run({"add-folder", file("sum.mdb"), "车间", "--parent", "1"}).out, "2\n");
    const test::CliRun taken =
        run({"takeover", file("sum.mdb"), file("data.mdb"), file("data.mdb"), "--parent", "2"});
    ASSERT_EQ(taken.status, 0) << taken.err;
    EXPECT_EQ(taken.out, "3\t" + file("data.mdb") + "\n4\t" + file("data.mdb") + "\n");

    // 表3-10 row 2 (sheet 22): both nodes from the root and from either folder, one from a node.
    EXPECT_EQ(cell(run({"summary", file("sum.mdb"), "--sheet", "b5"}).out, 2, 1), "2,200.00");
    EXPECT_EQ(cell(run({"summary", file("sum.mdb"), "--sheet", "b5", "--node", "1"}).out, 2, 1), "2,200.00");
    EXPECT_EQ(cell(run({"summary", file("sum.mdb"), "--sheet", "b5", "--node", "2"}).out, 4, 1), "2,112.00");
    EXPECT_EQ(cell(run({"summary", file("sum.mdb"), "--sheet", "b5", "--node", "3"}).out, 4, 1), "1,056.00");
    // 表1 row 12 (assets): 2200 yuan, or 0.22 of ten thousand yuan.
    EXPECT_EQ(cell(run({"summary", file("sum.mdb"), "--sheet", "b0"}).out, 2, 11), "0.22");
    EXPECT_EQ(cell(run({"summary", file("sum.mdb"), "--sheet", "b0", "--yuan"}).out, 2, 11), "2,200.00");
    // The data-entry project has its own summary sheets.
    EXPECT_EQ(cell(run({"summary", file("data.mdb"), "--sheet", "b1"}).out, 2, 13), "1,100.00");
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

    EXPECT_EQ(run({"takeover", file("sum.mdb"), file("data.mdb"), "--parent", "1"}).status, 1); // a data node
    EXPECT_EQ(run({"add-folder", file("sum.mdb"), "x", "--parent", "9"}).status, 1);
    EXPECT_EQ(run({"summary", file("sum.mdb"), "--sheet", "b10"}).status, 2);
    EXPECT_EQ(nodeCount(), 2u);
}

} // namespace
} // namespace vantor
