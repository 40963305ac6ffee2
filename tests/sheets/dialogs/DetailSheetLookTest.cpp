// Renders new detail sheets in the sheet widget, with a few rows filled and recomputed, so
// that their headings, widths and totals can be looked at (bin/detail-<id>.png).

#include "sheet_component/engine/Workbook.h"
#include "sheet_component/widget/CellWidget.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/RowFormulas.h"

#include <QTest>
#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(DetailSheetLook, RenderedSheetsWithRows)
{
    struct Sample {
        int id;
        std::vector<std::pair<int, const char *>> cells;
        int edited;
    };
    const Sample samples[] = {
        {22, {{1, "螺纹钢 Φ12"}, {2, "吨"}, {3, "3"}, {5, "12000"}, {6, "-300"}, {8, "3"}, {9, "4100.5"}}, 9},
        {17, {{1, "甲公司"}, {2, "2023-06-30"}, {3, "2022年度"}, {4, "800"}, {5, "800"}, {6, "801"}}, 6},
        {43, {{1, "S-01"}, {2, "数控车床"}, {8, "250000"}, {9, "120000"}, {10, "250000"}, {11, "120000"}, {12, "230000"}, {13, "55"}}, 13},
    };
    for (const Sample &s : samples) {
        Workbook wb;
        wb.DoSetDefaultFont(8, 0, "宋体");
        ASSERT_TRUE(DetailSheetBuilder::build(wb, s.id));
        for (int row = 3; row < 6; ++row) {
            for (const auto &[col, text] : s.cells)
                wb.setCellInput(col, row, text);
            wb.DoSetCellData(0, row, double(row - 2));
            RowFormulas::cellEdited(wb, s.id, row, s.edited, true);
        }
        CellWidget view(wb);
        view.resize(1100, 300);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        const QImage image = view.grab().toImage();
        ASSERT_FALSE(image.isNull());
        EXPECT_TRUE(image.save(QString(VANTOR_BIN_DIR "/detail-%1.png").arg(s.id)));
    }
}

} // namespace
} // namespace vantor
