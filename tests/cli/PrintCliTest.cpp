// vantor-cli print: the printed layout of a detail sheet split into its pages, a summary sheet
// built first, a PDF written, and wrong arguments refused.

#include "cli/CliRunner.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace vantor {
namespace {

namespace fs = std::filesystem;

class PrintCliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_program = std::string(VANTOR_BIN_DIR) + "/vantor-cli";
        ASSERT_TRUE(fs::exists(m_program)) << "build the vantor-cli target first";
        if (run({"help"}).out.find("print FILE.mdb") == std::string::npos)
            GTEST_SKIP() << "vantor-cli was built without Qt: no print command";
        ASSERT_EQ(run({"new", "--kind", "data", file("data.mdb"), "--name", "甲"}).status, 0);
        ASSERT_EQ(run({"add-sheet", file("data.mdb"), "22"}).status, 0);
        std::string rows;
        for (int i = 1; i <= 30; ++i)
            rows += std::to_string(i) + "\tO'Brien's 钢材\t吨\t1\t\t10\t\t\t1\t12\n";
        ASSERT_EQ(run({"fill", file("data.mdb"), "--sheet", "b22"}, rows).status, 0);
    }
    std::string file(const std::string &name) const { return m_temp.file(name); }
    test::CliRun run(const std::vector<std::string> &args, const std::string &input = {}) const
    {
        return test::runCli(m_program, m_temp.path(), args, input);
    }
    static std::vector<std::string> lines(const std::string &text)
    {
        std::vector<std::string> out;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            out.push_back(line);
        return out;
    }

    test::TempDir m_temp;
    std::string m_program;
};

TEST_F(PrintCliTest, DetailSheetPrintsPageByPage)
{
    const test::CliRun printed =
        run({"print", file("data.mdb"), "--sheet", "b22", "--rows", "25", "--layout"});
    ASSERT_EQ(printed.status, 0) << printed.err;
    const auto all = lines(printed.out);
    ASSERT_EQ(std::count(all.begin(), all.end(), "\f"), 1);
    const auto pageBreak = std::find(all.begin(), all.end(), "\f");
    EXPECT_EQ(pageBreak - all.begin(), 25 + 11);
    EXPECT_EQ(all.end() - pageBreak - 1, 25 + 8);
    EXPECT_EQ(pageBreak[1].substr(0, pageBreak[1].find('\t')), "共2页，第2页");
    EXPECT_NE(printed.out.find("O'Brien's 钢材"), std::string::npos);
    EXPECT_EQ(all[all.size() - 3].substr(0, all[all.size() - 3].find('\t')), "合    计");

    const test::CliRun pdf =
        run({"print", file("data.mdb"), "--sheet", "b22", "--rows", "25", "--pdf", file("b22.pdf")});
    ASSERT_EQ(pdf.status, 0) << pdf.err;
    EXPECT_TRUE(pdf.out.empty());
    EXPECT_EQ(test::readFile(file("b22.pdf")).substr(0, 5), "%PDF-");
}

TEST_F(PrintCliTest, SummarySheetIsBuiltFirstAndBadArgumentsAreRefused)
{
    const test::CliRun b0 = run({"print", file("data.mdb"), "--sheet", "b0", "--yuan"});
    ASSERT_EQ(b0.status, 0) << b0.err;
    EXPECT_EQ(std::count(b0.out.begin(), b0.out.end(), '\f'), 0);
    EXPECT_NE(b0.out.find("共1页，第1页"), std::string::npos);
    EXPECT_NE(b0.out.find("300.00"), std::string::npos) << "表1 in yuan shows the inventory";

    EXPECT_EQ(run({"print", file("data.mdb"), "--sheet", "b22", "--rows", "24"}).status, 2);
    EXPECT_EQ(run({"print", file("data.mdb"), "--sheet", "b99"}).status, 2);
    EXPECT_EQ(run({"print", file("data.mdb"), "--sheet", "b22", "--node", "5"}).status, 1);
}

} // namespace
} // namespace vantor
