// vantor-cli's output commands as users run them: an overview list of a summary project
// printed like dump, a wrong list key, and the Excel export.

#include "cli/CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace vantor {
namespace {

namespace fs = std::filesystem;

class OutputCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vantor-outcli-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_program = std::string(VANTOR_BIN_DIR) + "/vantor-cli";
        ASSERT_TRUE(fs::exists(m_program)) << "build the vantor-cli target first";
        // Sheet 22 (inventories) of the data-entry project totals 1100 / 1050 / 1056.
        ASSERT_EQ(run({"new", "--kind", "data", file("data.mdb"), "--name", "甲"}).status, 0);
        ASSERT_EQ(run({"add-sheet", file("data.mdb"), "22"}).status, 0);
        ASSERT_EQ(run({"fill", file("data.mdb"), "--sheet", "b22"},
                      "1\t钢材\t吨\t3\t\t100\t\t\t3\t33.333\n2\t铜材\t千克\t8\t\t1000\t-50\t\t8\t119.5\n")
                      .status,
                  0);
        ASSERT_EQ(run({"new", "--kind", "summary", file("sum.mdb")}).status, 0);
        ASSERT_EQ(run({"takeover", file("sum.mdb"), file("data.mdb")}).status, 0);
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    std::string file(const std::string &name) const { return (m_dir / name).string(); }
    test::CliRun run(const std::vector<std::string> &args, const std::string &input = {}) const
    {
        return test::runCli(m_program, m_dir, args, input);
    }
    static std::vector<std::string> line(const std::string &tsv, int row)
    {
        std::istringstream lines(tsv);
        std::string text;
        for (int r = 0; r <= row; ++r)
            std::getline(lines, text);
        std::vector<std::string> fields;
        std::istringstream cells(text);
        for (std::string field; std::getline(cells, field, '\t');)
            fields.push_back(field);
        return fields;
    }

    fs::path m_dir;
    std::string m_program;
};

TEST_F(OutputCliTest, OverviewPrintsTheListAndExportWritesTheFile)
{
    const auto k4 = run({"overview", file("sum.mdb"), "--list", "k4"});
    ASSERT_EQ(k4.status, 0) << k4.err;
    EXPECT_EQ(line(k4.out, 0)[0], "存货");
    EXPECT_EQ(line(k4.out, 3), (std::vector<std::string>{"1", "甲", "1,100.00", "1,050.00", "1,056.00", "6.00", "0.57"}));
    EXPECT_EQ(line(k4.out, 4)[1], "合计");
    EXPECT_EQ(line(k4.out, 4)[4], "1,056.00");
    // Liabilities: nothing here, zeros hidden.
    EXPECT_EQ(line(run({"overview", file("sum.mdb"), "--list", "k9"}).out, 3)[2], "");
    EXPECT_EQ(run({"overview", file("sum.mdb"), "--list", "k9'"}).status, 2);

    ASSERT_EQ(run({"export", file("data.mdb"), file("out")}).status, 0);
    EXPECT_GT(fs::file_size(file("out.xlsx")), 1000u);
}

} // namespace
} // namespace vantor
