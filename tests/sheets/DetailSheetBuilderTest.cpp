#include "sheets/DetailSheetBuilder.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailLayouts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace vantor {
namespace {

std::string text(const Workbook &wb, int col, int row)
{
    return wb.DoGetCellData(col, row).text();
}

bool hasMerge(const Sheet &sheet, CellRange range)
{
    const auto &m = sheet.merges();
    return std::find(m.begin(), m.end(), range) != m.end();
}

TEST(DetailSheetBuilder, EveryKindGetsItsFrameHeadingsAndMoneyFormats)
{
    for (const DetailLayout &layout : DetailLayouts::layouts()) {
        for (int id : layout.ids) {
            SCOPED_TRACE(id);
            Workbook wb;
            ASSERT_TRUE(DetailSheetBuilder::build(wb, id));
            const Sheet &sheet = wb.sheet(wb.CurrentSheet());
            const int d = layout.dataColumns;
            EXPECT_EQ(wb.Cols(), d + 2);
            EXPECT_EQ(wb.Rows(), 28);
            EXPECT_EQ(text(wb, 0, 0) + text(wb, 0, 2) + text(wb, d + 1, 0), "序号合计备注");
            EXPECT_TRUE(hasMerge(sheet, {0, 0, 0, 1}));
            EXPECT_TRUE(hasMerge(sheet, {d + 1, 0, d + 1, 1}));

            // Single headings span rows 0 and 1; a group spans its sub-columns in row 0.
            std::size_t merges = 2 + layout.groups.size();
            for (int c = 1; c <= d; ++c) {
                const HeadingGroup *g = layout.groupOf(c);
                merges += g ? 0 : 1;
                EXPECT_EQ(text(wb, c, g ? 1 : 0), layout.heading(c)) << c;
                EXPECT_TRUE(g ? c != g->first || text(wb, c, 0) == g->text : hasMerge(sheet, {c, 0, c, 1})) << c;
            }
            EXPECT_EQ(sheet.merges().size(), merges);
            for (int c = 0; c <= d + 1; ++c) {
                const NumberStyle &n = wb.cellFormat(c, 2).number;
                EXPECT_TRUE(layout.isSummed(c) ? n.kind == 1 && !n.percent && n.decimals == 2 && n.grouping == 1
                                               : n.kind == 0)
                    << c;
                EXPECT_FALSE(sheet.hasFormula(c, 2)) << "no totals before the first edit";
                EXPECT_EQ(wb.DoGetColWidth(c), DetailSheetBuilder::columnWidth(layout, c));
            }
            EXPECT_EQ(sheet.frozenRows(), (FrozenRows{0, 2}));
            for (std::size_t i = 0; i < layout.prefilled.size(); ++i)
                EXPECT_EQ(text(wb, 1, 3 + static_cast<int>(i)), layout.prefilled[i]);
        }
    }
}

TEST(DetailSheetBuilder, ColumnWidthsFitHeadingsWithinBoundsAndIdsWithoutLayoutChangeNothing)
{
    for (int id : {-1, 0, 9, 78, 79}) {
        Workbook wb;
        const int cols = wb.Cols();
        EXPECT_TRUE(!DetailSheetBuilder::build(wb, id) && wb.Cols() == cols) << id;
    }
    EXPECT_EQ(DetailSheetBuilder::columnWidth(*DetailLayouts::layout(62), 1), 160); // capped
    // A two-line heading is as wide as its longest line, inner spaces counted:
    // "预计摊销" and "月    数".
    EXPECT_EQ(DetailSheetBuilder::columnWidth(*DetailLayouts::layout(33), 3), 6 * 12 + 12);
}

} // namespace
} // namespace vantor
