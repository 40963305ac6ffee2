// The decimal check: which values it stops at, No to every question, and the part of the
// sheet it covers (Yes is met through the main window's command).

#include "sheets/DecimalCheck.h"

#include "sheet_component/engine/Workbook.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(DecimalCheckTest, WhichNumbersHaveMoreThanTwoDecimals)
{
    const std::vector<std::pair<double, bool>> table{
        {12.5, false},      {12.505, true}, {-0.001, true}, {0, false},
        {0.1 + 0.2, false}, {1e15, false},  {-7.07, false}, {1234567.891, true},
    };
    for (const auto &[value, more] : table)
        EXPECT_EQ(DecimalCheck::hasMoreThanTwoDecimals(value), more) << value;
}

class DecimalCheckRun : public ::testing::Test {
protected:
    void SetUp() override { m_wb.SetRows(12); }
    Workbook m_wb;
    test::ScriptedPrompter m_prompter;
};

TEST_F(DecimalCheckRun, NoToEveryQuestionRunsToTheLastRowSilently)
{
    m_wb.DoSetCellData(1, 5, 0.125);
    m_wb.DoSetCellData(1, 7, CellValue::text("3.14159")); // numeric text counts
    m_wb.DoSetCellData(1, 11, -2.999);                    // the last row is covered
    m_wb.DoGotoCell(1, 3);
    m_prompter.answers = {Answer::No, Answer::No, Answer::No};
    EXPECT_FALSE(DecimalCheck::run(m_wb, m_prompter));
    ASSERT_EQ(m_prompter.shown.size(), 3u);
    EXPECT_EQ(m_prompter.shown[0].text,
              "系统检测到第6行数据[0.125]超过两位小数。\n选择'是'立即更正，'否'则继续检测下一个。");
    EXPECT_EQ(m_prompter.shown[2].text, DecimalCheck::message(11, "-2.999"));
    // The active cell stays where it was.
    EXPECT_EQ(m_wb.CurrentCol(), 1);
    EXPECT_EQ(m_wb.CurrentRow(), 3);
}

TEST_F(DecimalCheckRun, OnlyTheActiveColumnFromTheActiveRowDown)
{
    m_wb.DoSetCellData(3, 2, 1.234);    // above the active cell
    m_wb.DoSetCellData(4, 6, 1.234);    // another column
    m_wb.DoSetCellData(3, 5, 1.23);     // two decimals pass
    m_wb.DoSetCellFormula(3, 7, "1/0"); // errors are skipped
    m_wb.DoSetCellData(3, 8, CellValue::text("1.2.3"));
    m_wb.DoGotoCell(3, 4);
    EXPECT_FALSE(DecimalCheck::run(m_wb, m_prompter));
    EXPECT_TRUE(m_prompter.shown.empty());
    m_wb.DoSetCellFormula(3, 9, "1/3"); // a formula is checked by its value
    m_prompter.answers = {Answer::Yes};
    EXPECT_EQ(DecimalCheck::run(m_wb, m_prompter), (CellPos{3, 9}));
    EXPECT_NE(m_prompter.shown[0].text.find("[0.333333333333333]"), std::string::npos) << m_prompter.shown[0].text;
}

} // namespace
} // namespace vantor
