// SizeControls and the splitter drag, in twips.
#include "app/PaneLayout.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

WindowMetrics window(int width, int innerHeight = 9000)
{
    WindowMetrics m;
    m.windowWidth = width;
    m.innerHeight = innerHeight;
    m.commandBarHeight = 420;
    m.formatBarHeight = 420;
    m.statusBarHeight = 300;
    return m;
}

// The tree is never narrower than 600 nor wider than half the window, that half (taken whole)
// applied after the minimum.
TEST(SizeControls, SplitterStaysBetween600AndHalfTheWindow)
{
    const struct {
        int wanted, windowWidth, splitterX;
    } cases[] = {{599, 12000, 600}, {601, 12000, 601}, {9000, 12001, 6000}, {700, 1000, 500}};
    for (const auto &c : cases) {
        const PaneLayout l = sizeControls(c.wanted, window(c.windowWidth));
        EXPECT_EQ(l.splitterX, c.splitterX) << c.wanted << " in " << c.windowWidth;
        EXPECT_EQ(l.tree.width, c.splitterX);
        EXPECT_EQ(l.sheet.width, c.windowWidth - c.splitterX - 140);
    }
}

TEST(SizeControls, NegativeSizesKeepThePreviousOnes)
{
    const PaneLayout before = sizeControls(700, window(12000));
    // A window too narrow for the panes and too low for any height.
    const PaneLayout after = sizeControls(700, window(200, 500), before);
    EXPECT_EQ(after.splitterX, 100); // half the width is applied after the minimum
    EXPECT_TRUE(after.sheet.width == before.sheet.width && after.sheet.height == before.sheet.height);
    EXPECT_EQ(after.tree.height, before.tree.height);
}

TEST(SplitterDrag, ShadowStopsAt500FromEitherEdgeAndIsHalfTheBar)
{
    const std::pair<int, int> moves[] = {{-2600, 500}, {-2499, 501}, {100, 3100}, {9000, 11500}};
    for (const auto &[dx, left] : moves)
        EXPECT_EQ(splitterShadowLeft(3000, dx, 12000), left) << dx;
    EXPECT_EQ(splitterShadow(TwipRect{3000, 840, 40, 7860}), (TwipRect{3000, 840, 20, 7840}));
    EXPECT_EQ(splitterShadow(TwipRect{3000, 840, 45, 100}).width, 22);
}

} // namespace
} // namespace vantor
