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

TEST(SizeControls, PlacesTheThreePanes)
{
    const PaneLayout l = sizeControls(3000, window(12000));
    EXPECT_EQ(l.splitterX, 3000);
    EXPECT_EQ(l.tree, (TwipRect{0, 840, 3000, 9000 - 300 - 840}));
    EXPECT_EQ(l.splitter, (TwipRect{3000, 840, 40, 7860}));
    EXPECT_EQ(l.sheet, (TwipRect{3040, 840, 12000 - 3140, 7860}));
}

TEST(SizeControls, TreeNeverNarrowerThan600)
{
    for (int x : {599, 500, 0, -3000})
        EXPECT_EQ(sizeControls(x, window(12000)).tree.width, 600) << x;
    EXPECT_EQ(sizeControls(600, window(12000)).tree.width, 600);
    EXPECT_EQ(sizeControls(601, window(12000)).tree.width, 601);
}

TEST(SizeControls, SplitterBeyondHalfTheWindowIsPulledBack)
{
    EXPECT_EQ(sizeControls(9000, window(12000)).splitterX, 6000);
    EXPECT_EQ(sizeControls(6000, window(12000)).splitterX, 6000);
    // Half of an odd width is taken whole.
    EXPECT_EQ(sizeControls(9000, window(12001)).splitterX, 6000);
}

TEST(SizeControls, SheetWidthAtTheMinimumWindowWidth)
{
    const PaneLayout l = sizeControls(2000, window(minWindowWidth));
    EXPECT_EQ(l.sheet.width, 6000 - (2000 + 140));
    const PaneLayout far = sizeControls(5000, window(minWindowWidth));
    EXPECT_EQ(far.splitterX, 3000);
    EXPECT_EQ(far.sheet.width, 6000 - (3000 + 140));
}

TEST(SizeControls, NegativeSizesKeepThePreviousOnes)
{
    const PaneLayout before = sizeControls(700, window(12000));
    // A window too narrow for the panes and too low for any height.
    WindowMetrics tiny = window(200, 500);
    const PaneLayout after = sizeControls(700, tiny, before);
    EXPECT_EQ(after.splitterX, 100); // half the width is applied after the minimum
    EXPECT_EQ(after.sheet.width, before.sheet.width);
    EXPECT_EQ(after.sheet.height, before.sheet.height);
    EXPECT_EQ(after.tree.height, before.tree.height);
    EXPECT_EQ(after.tree.width, 100);
}

TEST(SizeControls, HalfTheWidthIsAppliedAfterTheMinimum)
{
    EXPECT_EQ(sizeControls(700, window(1000)).splitterX, 500);
    EXPECT_EQ(sizeControls(100, window(1000)).splitterX, 500);
}

TEST(SplitterDrag, ShadowStopsAt500FromEitherEdge)
{
    EXPECT_EQ(splitterShadowLeft(3000, -2600, 12000), 500);
    EXPECT_EQ(splitterShadowLeft(3000, -2500, 12000), 500);
    EXPECT_EQ(splitterShadowLeft(3000, -2499, 12000), 501);
    EXPECT_EQ(splitterShadowLeft(3000, 100, 12000), 3100);
    EXPECT_EQ(splitterShadowLeft(3000, 8500, 12000), 11500);
    EXPECT_EQ(splitterShadowLeft(3000, 9000, 12000), 11500);
}

TEST(SplitterDrag, ShadowIsHalfTheBarAnd20Shorter)
{
    EXPECT_EQ(splitterShadow(TwipRect{3000, 840, 40, 7860}), (TwipRect{3000, 840, 20, 7840}));
    EXPECT_EQ(splitterShadow(TwipRect{3000, 840, 45, 100}).width, 22);
}

} // namespace
} // namespace vantor
