#include "sheets/TemplateWorkbook.h"

#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/AddSheetCommand.h"
#include "sheets/DetailLayouts.h"
#include "sheets/SheetCatalogue.h"
#include "sheets/SummaryLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vantor {
namespace {

TEST(TemplateWorkbook, HoldsTheSummarySheetsTable11AndTheFirstDetailSheet)
{
    std::vector<int> ids(TemplateWorkbook::sheetIds().begin(), TemplateWorkbook::sheetIds().end());
    std::vector<int> sorted = ids;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 78}));
    std::vector<int> byNumber(TemplateWorkbook::sheetIdsByNumber().begin(),
                              TemplateWorkbook::sheetIdsByNumber().end());
    EXPECT_EQ(byNumber, sorted);
}

// The two positions a new project checks: b1 at index 1 (summary project), b10 at index 4
// (data-entry project).
TEST(TemplateWorkbook, B1AndB10SitWhereANewProjectLooksForThem)
{
    Workbook wb;
    TemplateWorkbook::build(wb);
    ASSERT_EQ(wb.SheetCount(), 12);
    EXPECT_EQ(wb.DoGetSheetLabel(TemplateWorkbook::SummaryProbeIndex), "b1");
    EXPECT_EQ(wb.DoGetSheetLabel(TemplateWorkbook::DetailProbeIndex), "b10");
    EXPECT_EQ(wb.DoGetSheetLabel(1), "b1");
    EXPECT_EQ(wb.DoGetSheetLabel(4), "b10");
    for (int i = 0; i < wb.SheetCount(); ++i)
        EXPECT_EQ(wb.DoGetSheetLabel(i),
                  SheetCatalogue::label(TemplateWorkbook::sheetIds()[static_cast<std::size_t>(i)]));
}

TEST(TemplateWorkbook, LabelsAreUniqueSoEverySheetIsFoundByLabel)
{
    Workbook wb;
    TemplateWorkbook::build(wb);
    std::set<std::string> labels;
    for (int i = 0; i < wb.SheetCount(); ++i) {
        EXPECT_TRUE(labels.insert(wb.DoGetSheetLabel(i)).second) << wb.DoGetSheetLabel(i);
        EXPECT_EQ(wb.findSheet(wb.DoGetSheetLabel(i)), i);
    }
}

// Detail sheets are added at half the sheet count (halves to even). From the template on,
// that position must stay among the detail sheets, between b3 and b4, however many are added.
TEST(TemplateWorkbook, AddedDetailSheetsLandBetweenTheSummarySheets)
{
    Workbook wb;
    TemplateWorkbook::build(wb);
    for (int id = 11; id <= 77; ++id) {
        int position = AddSheetCommand::insertPosition(wb.SheetCount());
        wb.DoInsertSheet(SheetCatalogue::label(id), position);
        int b3 = wb.findSheet("b3");
        int b4 = wb.findSheet("b4");
        EXPECT_GT(position, b3) << "sheet " << id;
        EXPECT_LT(position, b4) << "sheet " << id;
    }
    EXPECT_EQ(wb.DoGetSheetLabel(1), "b1");
    EXPECT_EQ(wb.findSheet("b9"), wb.SheetCount() - 1);
}

TEST(TemplateWorkbook, SummarySheetsAndTable11AreLaidOut)
{
    Workbook wb;
    TemplateWorkbook::build(wb);
    for (const SummarySheetLayout &l : SummaryLayout::layouts()) {
        int index = wb.findSheet(SheetCatalogue::label(l.id));
        ASSERT_GE(index, 0) << l.id;
        EXPECT_EQ(wb.Rows(index), l.rows) << "b" << l.id;
        EXPECT_EQ(wb.Cols(index), l.cols) << "b" << l.id;
        EXPECT_EQ(wb.DoGetSheetCellData(l.captionColumn, l.captions.back().row, index),
                  CellValue::text(std::string(l.captions.back().caption)))
            << "b" << l.id;
    }
    // 表2-1 row 7 (0-based 6) is the provision subtracted from 应收账款, row 40 资产总计.
    int b1 = wb.findSheet("b1");
    EXPECT_NE(wb.DoGetSheetCellData(0, 6, b1).text().find("坏账准备"), std::string::npos);
    EXPECT_EQ(wb.DoGetSheetCellData(0, 39, b1), CellValue::text("资产总计"));
}

// b10 is a detail sheet like those the add-sheet command makes: frame, headings, frozen rows.
TEST(TemplateWorkbook, FirstDetailSheetHasItsLayout)
{
    Workbook wb;
    TemplateWorkbook::build(wb);
    int b10 = wb.findSheet("b10");
    const DetailLayout *layout = DetailLayouts::layout(10);
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(wb.Cols(b10), layout->columnCount());
    EXPECT_EQ(wb.Rows(b10), DetailLayouts::NewSheetRows);
    EXPECT_EQ(wb.DoGetSheetCellData(0, 0, b10), CellValue::text("序号"));
    EXPECT_EQ(wb.DoGetSheetCellData(0, 2, b10), CellValue::text("合计"));
    EXPECT_EQ(wb.DoGetSheetCellData(layout->remarksColumn(), 0, b10), CellValue::text("备注"));
    EXPECT_EQ(wb.DoGetSheetCellData(5, 0, b10), CellValue::text("帐面价值"));
}

TEST(TemplateWorkbook, StartsCleanOnTheFirstSheet)
{
    Workbook wb;
    wb.DoSetCellData(0, 0, "old", 0);
    wb.DoAddSheet("b55");
    TemplateWorkbook::build(wb);
    EXPECT_EQ(wb.findSheet("b55"), -1);
    EXPECT_EQ(wb.CurrentSheet(), 0);
    EXPECT_FALSE(wb.IsModified());
    EXPECT_FALSE(wb.CanUndo());
}

// What the generator writes is what the program reads back: labels, order, captions, merges and
// cell styles survive the workbook file, and the file passes the size check for templates.
TEST(TemplateWorkbook, SurvivesTheWorkbookFile)
{
    Workbook wb;
    TemplateWorkbook::build(wb);
    std::string bytes = CllFile::toBytes(wb);
    EXPECT_GE(bytes.size(), 1024u);
    std::unique_ptr<Workbook> back = CllFile::fromBytes(bytes);
    ASSERT_EQ(back->SheetCount(), wb.SheetCount());
    EXPECT_EQ(back->DoGetSheetLabel(1), "b1");
    EXPECT_EQ(back->DoGetSheetLabel(4), "b10");
    for (int i = 0; i < wb.SheetCount(); ++i) {
        ASSERT_EQ(back->DoGetSheetLabel(i), wb.DoGetSheetLabel(i));
        ASSERT_EQ(back->Rows(i), wb.Rows(i)) << wb.DoGetSheetLabel(i);
        ASSERT_EQ(back->Cols(i), wb.Cols(i)) << wb.DoGetSheetLabel(i);
        EXPECT_EQ(back->sheet(i).merges(), wb.sheet(i).merges()) << wb.DoGetSheetLabel(i);
        for (int row = 0; row < wb.Rows(i); ++row) {
            for (int col = 0; col < wb.Cols(i); ++col) {
                EXPECT_EQ(back->DoGetSheetCellData(col, row, i), wb.DoGetSheetCellData(col, row, i))
                    << wb.DoGetSheetLabel(i) << " " << col << "," << row;
                EXPECT_EQ(back->cellFormat(col, row, i), wb.cellFormat(col, row, i))
                    << wb.DoGetSheetLabel(i) << " " << col << "," << row;
            }
            EXPECT_EQ(back->DoGetRowHeight(row, i), wb.DoGetRowHeight(row, i));
        }
        for (int col = 0; col < wb.Cols(i); ++col)
            EXPECT_EQ(back->DoGetColWidth(col, i), wb.DoGetColWidth(col, i));
    }
    // A zero written by the summation into a blank line of 表3-2 stays hidden after loading.
    int b4 = back->findSheet("b4");
    back->DoSetCellData(2, 6, 0.0, b4);
    EXPECT_EQ(back->displayText(b4, 2, 6), "");
}

} // namespace
} // namespace vantor
