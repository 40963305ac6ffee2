#include "sheets/SummaryLayout.h"

#include "sheet_component/engine/Workbook.h"
#include "sheets/SheetCatalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vantor {
namespace {

// Every summary sheet has a layout of the catalogue's size whose headings, captions and merges
// lie inside it; building it into a sheet replaces whatever the sheet held.
TEST(SummaryLayout, EveryLayoutFitsItsSheetAndBuildsIntoIt)
{
    std::set<int> ids;
    for (const SummarySheetLayout &l : SummaryLayout::layouts()) {
        SCOPED_TRACE("b" + std::to_string(l.id));
        EXPECT_TRUE(ids.insert(l.id).second);
        if (const SummarySheetEntry *e = SheetCatalogue::summaryEntry(l.id))
            EXPECT_TRUE(l.rows == e->rows && l.cols == e->cols) << "disagrees with the catalogue";
        else
            EXPECT_EQ(l.id, 78); // 表11 is a detail-range sheet with a summary layout
        EXPECT_TRUE(l.cols <= 26 && l.columns.size() == static_cast<std::size_t>(l.cols));
        for (const SummaryHeading &h : l.headings)
            EXPECT_TRUE(h.col >= 0 && h.col < l.cols && h.row >= 0 && h.row < l.headerRows) << h.text;
        for (const SummaryMerge &m : l.merges)
            EXPECT_TRUE(m.col1 >= 0 && m.col1 <= m.col2 && m.col2 < l.cols && m.row1 >= 0 && m.row1 <= m.row2 &&
                        m.row2 < l.headerRows);
        for (const SummaryRow &r : l.captions)
            EXPECT_TRUE(r.row >= l.headerRows && r.row < l.rows) << r.caption;

        Workbook wb;
        wb.SetCols(26, 0);
        wb.SetRows(l.rows + 20, 0);
        wb.DoJoinCells(2, l.headerRows + 1, 5, l.headerRows + 2, 0);
        ASSERT_TRUE(SummaryLayout::build(wb, 0, l.id));
        EXPECT_TRUE(wb.Rows(0) == l.rows && wb.Cols(0) == l.cols);
        EXPECT_EQ(wb.sheet(0).merges().size(), l.merges.size());
        for (const SummaryRow &r : l.captions)
            EXPECT_EQ(wb.DoGetSheetCellData(l.captionColumn, r.row, 0), CellValue::text(std::string(r.caption)));
    }
    for (int id = 0; id < 10; ++id)
        EXPECT_TRUE(ids.count(id)) << id;
}

TEST(SummaryLayout, RefusesUnknownIdsAndIndexesAndLeavesOtherSheetsAlone)
{
    Workbook wb;
    wb.DoAddSheet("b16");
    wb.DoSetCellData(0, 0, "keep", 0);
    for (int id : {-1, 10, 77, 79})
        EXPECT_FALSE(SummaryLayout::build(wb, 0, id)) << id;
    EXPECT_FALSE(SummaryLayout::build(wb, 2, 0));
    ASSERT_TRUE(SummaryLayout::build(wb, 1, 7));
    EXPECT_EQ(wb.DoGetSheetCellData(0, 0, 0), CellValue::text("keep"));
}

} // namespace
} // namespace vantor
