// The Excel export read back with the program's own reader: values, formula results (and the
// formulas written as values), merges over several rows, widths and worksheet names; a project's
// summary sheets computed for the export in the unit chosen, headings broken over two lines.

#include "output/ExcelExport.h"
#include "import/XlsxReader.h"
#include "output/ExcelExportCommand.h"
#include "output/ExcelFormula.h"
#include "output/ExcelNames.h"
#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/Workbook.h"

#include "support/DataProject.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

namespace vantor {
namespace {

class ExcelExportTest : public ::testing::Test {
protected:
    std::string path(const std::string &name) const { return dir.file(name); }

    test::TempDir dir;
};

// Cells of a sheet read back, by "col,row".
std::map<std::string, CellValue> cellsOf(const ForeignSheet &sheet)
{
    std::map<std::string, CellValue> out;
    for (const ForeignCell &c : sheet.cells)
        out[std::to_string(c.col) + "," + std::to_string(c.row)] = c.value;
    return out;
}

const ForeignSheet &sheetStarting(const std::vector<ForeignSheet> &sheets, const std::string &code)
{
    for (const ForeignSheet &s : sheets)
        if (s.name.rfind(code + " ", 0) == 0)
            return s;
    throw std::runtime_error("no sheet " + code);
}

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
    wb.DoSetCellData(5, 3, 1234567.5);                   // a book value of 表3-4: in the style of the totals
    wb.DoSetCellData(2, 11999, std::string(40000, 'x')); // beyond what an Excel cell holds
    wb.DoJoinCells(0, 11998, 1, 11998);
    wb.DoSetColWidth(0, 180);
    wb.DoSetUnScrollRow(0, 2);

    const std::string out = path("a.xlsx");
    ExcelExport::write(wb, out, [](const std::string &label) { return label == "b16" ? "表3-4 应收账款" : label; });
    const std::vector<ForeignSheet> sheets = XlsxReader::read(out);
    ASSERT_EQ(sheets.size(), 1u);
    EXPECT_EQ(sheets[0].name, "表3-4 应收账款");
    const auto cells = cellsOf(sheets[0]);

    // round(2.25, 1) is 2.2 here: written as that value, not as a formula Excel reckons 2.3.
    const std::vector<std::pair<std::string, CellValue>> expected = {{"0,0", CellValue::text("应收账款 & <明细>")},
                                                                     {"1,2", CellValue::number(1.5)},
                                                                     {"1,4", CellValue::number(3.75)},
                                                                     {"0,4", CellValue::number(2.25)},
                                                                     {"2,4", CellValue::number(2.2)},
                                                                     {"3,4", CellValue::number(1.5)},
                                                                     {"1,11999", CellValue::number(7)},
                                                                     {"5,3", CellValue::number(1234567.5)}};
    for (const auto &[ref, value] : expected)
        EXPECT_EQ(cells.at(ref), value) << ref;
    EXPECT_EQ(ExcelExport::numberFormat(wb.cellFormat(1, 5)), "#,##0.00;-#,##0.00;");
    EXPECT_EQ(cells.at("2,11999").text().size(), 32767u);
    EXPECT_EQ(sheets[0].merges, (std::vector<CellRange>{{0, 0, 3, 1}, {0, 11998, 1, 11998}}));
    ASSERT_GE(sheets[0].colWidths.size(), 2u);
    EXPECT_GT(sheets[0].colWidths[0].second, 2.4 * sheets[0].colWidths[1].second); // 180 against 72 pixels
}

TEST_F(ExcelExportTest, ProjectSummariesAreComputedInTheUnitChosenAndHeadingsBreak)
{
    test::DataProject project;
    project.addSheet(10, 1, 1726920);
    project.addSheet(40, 2, 10);
    const std::string before = CllFile::toBytes(project.workbook);
    for (const bool yuan : {false, true}) {
        const std::string out = path(yuan ? "元.xlsx" : "万元.xlsx");
        ExcelExportCommand::writeProject(project.workbook, *project.store, out, yuan);
        const std::vector<ForeignSheet> sheets = XlsxReader::read(out);
        bool found = false;
        for (const ForeignCell &c : sheetStarting(sheets, "表1").cells)
            found = found || c.value == CellValue::number(yuan ? 1726920 : 172.69);
        EXPECT_TRUE(found) << "表1 without the cash in " << (yuan ? "元" : "万元");
        found = false;
        for (const ForeignCell &c : sheetStarting(sheets, "表5-1-1").cells)
            found = found || c.value == CellValue::text("建成\n年月");
        EXPECT_TRUE(found) << "heading not broken with a line feed";
    }
    EXPECT_EQ(CllFile::toBytes(project.workbook), before) << "the user's workbook changed";
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

} // namespace
} // namespace vantor
