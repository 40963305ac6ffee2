// Text measuring with the fonts the renderer draws with.

#include "sheet_component/render/QtTextMeasurer.h"
#include "sheet_component/render/CellFonts.h"

#include <gtest/gtest.h>

namespace vantor::test {

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

} // namespace vantor::test
