// The Excel export read back cell by cell: values, formulas with their results (and the ones
// written as values), merges over several rows, widths, number formats, frozen rows and
// worksheet names; and failures that must leave no file behind.

#include "output/ExcelExport.h"
#include "output/ExcelFormula.h"
#include "output/ExcelNames.h"
#include "sheet_component/engine/Workbook.h"

#include "XlsxReader.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

namespace vantor {
namespace {

namespace fs = std::filesystem;

class ExcelExportTest : public ::testing::Test {
protected:
    std::string path(const std::string &name) const { return dir.file(name); }
    std::vector<std::string> files() const
    {
        std::vector<std::string> out;
        for (const auto &e : fs::directory_iterator(dir.path()))
            out.push_back(e.path().filename().string());
        return out;
    }

    test::TempDir dir;
};

TEST_F(ExcelExportTest, CellsFormulasAndLayoutReadBack)
{
    Workbook wb;
    wb.setSheetLabel(0, "b16");
    wb.SetRows(12000); // more rows than one buffer; the writer must keep every one in order
    wb.DoSetCellData(0, 0, "应收账款 & <明细>");
    wb.DoJoinCells(0, 0, 3, 1); // two rows: registered only once its last row is reached
    wb.DoSetCellData(1, 2, 1.5);
    wb.DoSetCellData(1, 3, 2.25);
    wb.DoSetCellFormula(1, 4, "sum(B3:B4)");
    wb.DoSetCellFormula(2, 4, "round(B4,1)"); // halves to even here, away from zero in Excel
    wb.DoSetCellFormula(3, 4, "getcell(2,3,1)");
    wb.DoSetCellFormula(0, 4, "if(B3>1,abs(-B4),0)");
    wb.DoSetCellNumberStyle(1, 4, 1, false, 2, -1, 1);
    wb.DoSetCellNumberStyle(2, 4, 1, true, 1, -1, 0);
    wb.DoSetCellZeroDisplay(1, 5, 0);
    wb.DoSetCellNumberStyle(1, 5, 1, false, 2, -1, 1);
    wb.DoSetCellData(1, 11999, 7.0);
    wb.DoSetCellData(5, 3, 1234567.5); // a book value of 表3-4: in the style of the totals
    wb.DoSetCellData(2, 11999, std::string(40000, 'x')); // beyond what an Excel cell holds
    wb.DoJoinCells(0, 11998, 1, 11998);
    wb.DoSetColWidth(0, 180);
    wb.DoSetUnScrollRow(0, 2);

    const std::string out = path("a.xlsx");
    ExcelExport::write(wb, out, [](const std::string &label) { return label == "b16" ? "表3-4 应收账款" : label; });
    test::XlsxReader reader(out);
    ASSERT_EQ(reader.names, std::vector<std::string>{"表3-4 应收账款"});
    const test::XlsxSheet s = reader.sheet(0);

    // Cell, value, formula, number format. round(2.25, 1) is 2.2 here: written as that value,
    // not as a formula Excel reckons 2.3.
    const std::vector<std::array<std::string, 4>> expected = {
        {"A1", "应收账款 & <明细>", "", ""}, {"B3", "1.5", "", ""},
        {"B5", "3.75", "SUM(B3:B4)", "#,##0.00"}, {"A5", "2.25", "IF(B3>1,ABS(-B4),0)", ""},
        {"C5", "2.2", "", "0.0%"}, {"D5", "1.5", "", ""}, {"B12000", "7", "", ""},
        {"F4", "1234567.5", "", "#,##0.00"}};
    for (const auto &[ref, value, formula, format] : expected) {
        const auto &cell = s.cells.at(ref);
        EXPECT_EQ(cell.value + "|" + cell.formula, value + "|" + formula) << ref;
        EXPECT_TRUE(format.empty() || cell.numberFormat == format) << ref << " " << cell.numberFormat;
    }
    EXPECT_EQ(s.cells.at("B6").numberFormat, "#,##0.00;-#,##0.00;");
    EXPECT_EQ(s.cells.at("C12000").value.size(), 32767u);
    EXPECT_EQ(s.merges, (std::vector<std::string>{"A1:D2", "A11999:B11999"}));
    EXPECT_GT(s.widths.at(1), 2.4 * s.widths.at(2)); // 180 against the default 72 pixels
    EXPECT_EQ(s.frozenRows, 3);
}

TEST_F(ExcelExportTest, WorksheetNamesAreValidAndUnique)
{
    const std::string thirtyFive = "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五";
    struct Case {
        std::string wanted, expected;
    };
    const Case cases[] = {
        {"表3-4 应收/账款[明细]?", "表3-4 应收_账款_明细__"},
        {"'引号'", "引号"},
        {thirtyFive, thirtyFive.substr(0, 31 * 3)},
        {thirtyFive, thirtyFive.substr(0, 28 * 3) + "(2)"},
        {"Sheet", "Sheet"},
        {"SHEET", "SHEET(2)"},
        {"history", "history(2)"},
        {"", "Sheet8"},
        {"\t", "Sheet9"},
    };
    ExcelNames names;
    for (const Case &c : cases)
        EXPECT_EQ(names.take(c.wanted), c.expected) << c.wanted;
}

TEST_F(ExcelExportTest, FormulasExcelLacksAreValues)
{
    struct Case {
        const char *formula;
        const char *excel; // nullptr: written as its value
    };
    const Case cases[] = {
        {"sum(a1:a3)-b2*2", "=SUM(A1:A3)-B2*2"},
        {"sum(a1,round(a2,2))", nullptr},
        {"zzz1+1", nullptr}, // beyond Excel's last column
    };
    for (const Case &c : cases) {
        const auto parsed = Formula::parse(c.formula);
        ASSERT_TRUE(parsed) << c.formula;
        const auto excel = ExcelFormula::translate(&*parsed);
        EXPECT_EQ(excel.value_or("(value)"), c.excel ? c.excel : "(value)") << c.formula;
    }
}

TEST_F(ExcelExportTest, FailureLeavesNoFileAndKeepsTheOldOne)
{
    Workbook wb;
    wb.DoSetCellData(0, 0, 1.0);
    // The target is a folder: the finished file cannot take its place.
    fs::create_directory(dir.path() / "taken.xlsx");
    EXPECT_THROW(ExcelExport::write(wb, path("taken.xlsx"), {}), ExcelExportError);
    EXPECT_EQ(files(), std::vector<std::string>{"taken.xlsx"});

    // A successful export replaces an older file whole.
    { std::ofstream(path("old.xlsx")) << "old"; }
    ExcelExport::write(wb, path("old.xlsx"), {});
    EXPECT_EQ(test::XlsxReader(path("old.xlsx")).sheet(0).cells.at("A1").value, "1");
    EXPECT_EQ(files().size(), 2u);
}

} // namespace
} // namespace vantor
