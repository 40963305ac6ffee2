#include "sheets/TemplateWorkbook.h"

#include "sheet_component/engine/Workbook.h"
#include "sheets/AddSheetCommand.h"
#include "sheets/DetailLayouts.h"
#include "sheets/SheetCatalogue.h"
#include "sheets/SummaryLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace vantor {
namespace {

// The two positions a new project checks: b1 at index 1 (summary project), b10 at index 4
// (data-entry project); every label once, so every sheet is found by its label.
TEST(TemplateWorkbook, B1AndB10SitWhereANewProjectLooksForThemAndLabelsAreUnique)
{
    Workbook wb;
    wb.DoSetCellData(0, 0, "old", 0);
    wb.DoAddSheet("b55");
    TemplateWorkbook::build(wb);
    ASSERT_EQ(wb.SheetCount(), 12);
    EXPECT_EQ(wb.DoGetSheetLabel(TemplateWorkbook::SummaryProbeIndex), "b1");
    EXPECT_EQ(wb.DoGetSheetLabel(TemplateWorkbook::DetailProbeIndex), "b10");
    for (int i = 0; i < wb.SheetCount(); ++i)
        EXPECT_EQ(wb.findSheet(wb.DoGetSheetLabel(i)), i) << wb.DoGetSheetLabel(i);
    EXPECT_EQ(wb.findSheet("b55"), -1);
    // Every sheet is laid out: the summary layouts and b10 as the add-sheet command makes it.
    for (const SummarySheetLayout &l : SummaryLayout::layouts())
        EXPECT_EQ(wb.Cols(wb.findSheet(SheetCatalogue::label(l.id))), l.cols) << l.id;
    EXPECT_EQ(wb.Cols(4), DetailLayouts::layout(10)->columnCount());
    EXPECT_EQ(wb.DoGetSheetCellData(0, 2, 4), CellValue::text("合计"));
    EXPECT_FALSE(wb.IsModified());
    EXPECT_FALSE(wb.CanUndo());
}

// Detail sheets are added at half the sheet count (halves to even). From the template on,
// that position must stay among the detail sheets, between b3 and b4, however many are added.
TEST(TemplateWorkbook, AddedDetailSheetsLandBetweenTheSummarySheets)
{
    Workbook wb;
    TemplateWorkbook::build(wb);
    for (int id = 11; id <= 77; ++id) {
        const int position = AddSheetCommand::insertPosition(wb.SheetCount());
        wb.DoInsertSheet(SheetCatalogue::label(id), position);
        EXPECT_TRUE(position > wb.findSheet("b3") && position < wb.findSheet("b4")) << "sheet " << id;
    }
    EXPECT_EQ(wb.DoGetSheetLabel(1), "b1");
}

} // namespace
} // namespace vantor
