// vantor-cli tested as users meet it: the built program run with arguments, its standard
// output, standard error and exit status checked.

#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/Workbook.h"

#include "cli/CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vantor {
namespace {

namespace fs = std::filesystem;

using RunResult = test::CliRun;
using test::readFile;

class CliTest : public test::CliFixture {
protected:
    // Two sheets: "b0" empty and "明细 b10" with numbers, texts, a formula and hostile text.
    std::string writeSample()
    {
        Workbook wb;
        wb.setSheetLabel(0, "b0");
        wb.DoAddSheet("明细 b10");
        wb.SetCols(4, 1);
        wb.SetRows(6, 1);
        wb.DoSetCellData(0, 0, "名称", 1);
        wb.DoSetCellData(1, 0, "帐面价值", 1);
        wb.DoSetCellData(1, 3, 1200.5, 1);
        wb.DoSetCellData(1, 4, 300.25, 1);
        wb.DoSetCellFormula(1, 2, "sum(B4:B6)", 1);
        wb.DoSetCellNumberStyle(2, 3, 1, false, 2, -1, 1, 1, 0, 1);
        wb.DoSetCellData(2, 3, 1234567.5, 1);
        wb.DoSetCellData(0, 5, "O'Brien\t制表\n换行\\", 1);
        const std::string path = file("sample.cll");
        saveWorkbook(wb, path);
        m_sample = std::make_unique<Workbook>();
        m_sample->assignFrom(std::move(*loadWorkbook(path)));
        return path;
    }

    std::unique_ptr<Workbook> m_sample;
};

TEST_F(CliTest, InfoAndDumpShowTheSheetsAsTheyAreShown)
{
    const std::string path = writeSample();
    EXPECT_EQ(tsvLine(run({"info", path}).out, 4), (std::vector<std::string>{"1", "明细 b10", "4", "6"}));
    const auto result = run({"dump", path, "--sheet", "明细 b10"});
    ASSERT_EQ(result.status, 0) << result.err;
    ASSERT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 6) << "one line per row";
    for (int row = 0; row < 6; ++row) {
        const auto cells = tsvLine(result.out, row);
        ASSERT_EQ(cells.size(), 4u) << "row " << row;
        for (int col = 0; col < 4; ++col) {
            if (row == 5 && col == 0)
                continue; // escaped, below
            EXPECT_EQ(cells[static_cast<std::size_t>(col)], m_sample->displayText(1, col, row))
                << "cell " << col << "," << row;
        }
    }
    // A tab or line feed inside a cell is escaped: it must not start a new cell or row.
    EXPECT_EQ(tsvLine(result.out, 5)[0], "O'Brien\\t制表\\n换行\\\\");
    const auto formulas = run({"dump", path, "--sheet=明细 b10", "--formulas"});
    ASSERT_EQ(formulas.status, 0) << formulas.err;
    EXPECT_EQ(tsvLine(formulas.out, 2)[1], "=" + m_sample->sheet(1).formulaText(1, 2));
}

TEST_F(CliTest, DamagedMissingAndShortFilesFailWithTheFileErrorAndNoOutput)
{
    std::ofstream(file("short.cll")) << "too short";
    const std::string path = writeSample();
    for (const auto &[args, message] : {std::pair{std::vector<std::string>{"info", file("short.cll")}, "格式错误"},
                                        {{"dump", path, "--sheet", "b99"}, "b99"}}) {
        const auto result = run(args);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    }
    std::string bytes = readFile(path);
    bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x40);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    const auto damaged = run({"dump", path, "--sheet", "b0"});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_EQ(damaged.out, "");
    EXPECT_NE(damaged.err.find("已损坏"), std::string::npos) << damaged.err;
}

TEST_F(CliTest, CommandLineMistakesExitWithUsage)
{
    const std::string path = writeSample();
    const std::vector<std::vector<std::string>> mistakes = {
        {},
        {"frobnicate"},
        {"dump", path, "--sheet"},
        {"fill", path, "--sheet", "b10", "--row", "12404"},
        {"summary", path, "--sheet", "b1", "--node", "x"},
    };
    for (const auto &args : mistakes) {
        const auto result = run(args);
        EXPECT_EQ(result.status, 2) << args.size();
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("vantor-cli"), std::string::npos) << result.err;
    }
}

TEST_F(CliTest, EveryCommandExplainsItselfInChinese)
{
    std::istringstream commands(run({"help"}).out);
    int seen = 0;
    for (std::string line; std::getline(commands, line);) {
        if (line.rfind("  ", 0) != 0 || line.size() < 3 || line[2] == ' ')
            continue;
        const std::string name = line.substr(2, line.find(' ', 2) - 2);
        ++seen;
        const auto result = run({name, "--help"});
        EXPECT_EQ(result.status, 0) << name;
        EXPECT_EQ(result.out.rfind("用法: vantor-cli " + name, 0), 0u) << result.out;
    }
    EXPECT_GE(seen, 8);
}

TEST_F(CliTest, FileNameStartingWithDashesAfterSeparator)
{
    Workbook wb;
    saveWorkbook(wb, file("--odd.cll"));
    EXPECT_EQ(run({"info", "--odd.cll"}, {}, true).status, 2);
    const auto result = run({"info", "--", "--odd.cll"}, {}, true);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find("Sheet1"), std::string::npos) << result.out;
}

} // namespace
} // namespace vantor
