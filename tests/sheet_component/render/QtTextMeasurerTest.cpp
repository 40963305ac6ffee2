// Font mapping and text measuring with the fonts the renderer draws with.

#include "sheet_component/engine/Workbook.h"
#include "sheet_component/render/CellFonts.h"
#include "sheet_component/render/QtTextMeasurer.h"

#include <QFontInfo>

#include <gtest/gtest.h>

namespace vantor::test {

TEST(Fonts, SongFaceMapsToTheSerifCjkFont)
{
    for (const auto &[face, family] : {std::pair{"宋体", "Noto Serif CJK SC"}, {"", "Noto Serif CJK SC"},
                                       {"黑体", "Noto Sans CJK SC"}, {"Arial", "Arial"}})
        EXPECT_EQ(CellFonts::familiesFor(face).front(), family) << face;
    const QFont f = CellFonts::makeFont(FontSpec{"宋体", 9, 7});
    EXPECT_EQ(f.pixelSize(), 12);
    EXPECT_TRUE(f.bold() && f.italic() && f.underline());
    EXPECT_TRUE(QFontInfo(f).family().contains("Noto", Qt::CaseInsensitive));
}

TEST(Measurer, WidthsGrowWithTextSize)
{
    QtTextMeasurer m;
    const FontSpec normal{"宋体", 9, 0};
    const FontSpec big{"宋体", 16, 0};
    EXPECT_EQ(m.textWidth(normal, ""), 0);
    const double w = m.textWidth(normal, "资产评估");
    EXPECT_NEAR(w, 4 * 12, 4);
    EXPECT_GT(m.textWidth(big, "资产评估"), w * 1.5);
    EXPECT_GT(m.lineHeight(big), m.lineHeight(normal));
}

TEST(Measurer, BestColumnWidthUsesRealFonts)
{
    Workbook wb;
    QtTextMeasurer m;
    wb.setTextMeasurer(&m);
    wb.DoSetCellData(0, 0, "资产评估结果汇总表");
    const int best = wb.DoGetBestColWidth(0);
    EXPECT_TRUE(best >= 9 * 12 && best <= 9 * 12 + 20) << best;
    wb.setTextMeasurer(nullptr);
}

} // namespace vantor::test
