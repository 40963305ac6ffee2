// vantor-cli print: the printed layout of a detail sheet split into its pages, a summary sheet
// built first, a PDF written (one sheet or the whole report), and wrong arguments refused.

#include "cli/CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vantor {
namespace {

class PrintCliTest : public test::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        if (run({"help"}).out.find("print FILE.mdb") == std::string::npos)
            GTEST_SKIP() << "vantor-cli was built without Qt: no print command";
        ASSERT_EQ(run({"new", "--kind", "data", file("data.mdb"), "--name", "甲"}).status, 0);
        ASSERT_EQ(run({"add-sheet", file("data.mdb"), "22"}).status, 0);
        std::string rows;
        for (int i = 1; i <= 30; ++i)
            rows += std::to_string(i) + "\tO'Brien's 钢材\t吨\t1\t\t10\t\t\t1\t12\n";
        ASSERT_EQ(run({"fill", file("data.mdb"), "--sheet", "b22"}, rows).status, 0);
    }
};

TEST_F(PrintCliTest, DetailSheetPrintsPageByPage)
{
    const test::CliRun printed = run({"print", file("data.mdb"), "--sheet", "b22", "--rows", "25", "--layout"});
    ASSERT_EQ(printed.status, 0) << printed.err;
    ASSERT_EQ(std::count(printed.out.begin(), printed.out.end(), '\f'), 1);
    EXPECT_NE(printed.out.find("共2页，第2页"), std::string::npos);
    EXPECT_NE(printed.out.find("O'Brien's 钢材"), std::string::npos);

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
    EXPECT_NE(b0.out.find("300.00"), std::string::npos) << "表1 in yuan shows the inventory";

    EXPECT_EQ(run({"print", file("data.mdb"), "--sheet", "b22", "--rows", "24"}).status, 2);
    EXPECT_EQ(run({"print", file("data.mdb"), "--sheet", "b22", "--node", "5"}).status, 1);
    EXPECT_EQ(run({"print", file("data.mdb"), "--all"}).status, 2) << "the whole report needs --pdf";
}

} // namespace
} // namespace vantor
