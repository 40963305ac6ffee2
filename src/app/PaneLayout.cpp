#include "app/PaneLayout.h"

namespace vantor {

PaneLayout sizeControls(int x, const WindowMetrics &m, const PaneLayout &previous)
{
    PaneLayout out = previous;
    if (x < minPaneWidth)
        x = minPaneWidth;
    if (x > m.windowWidth / 2)
        x = m.windowWidth / 2;
    out.splitterX = x;

    const int top = 2 * m.commandBarHeight;
    const int height = m.innerHeight - m.statusBarHeight - 2 * m.formatBarHeight;
    const int sheetWidth = m.windowWidth - (x + splitterWidth + rightAllowance);

    // Each assignment stands alone, as with controls that reject negative sizes.
    if (x >= 0) {
        out.tree.left = 0;
        out.tree.width = x;
        out.splitter.left = x;
        out.splitter.width = splitterWidth;
        out.sheet.left = x + splitterWidth;
    }
    if (sheetWidth >= 0)
        out.sheet.width = sheetWidth;
    out.tree.top = top;
    out.sheet.top = top;
    if (height >= 0) {
        out.tree.height = height;
        out.sheet.height = height;
    }
    out.splitter.top = out.tree.top;
    out.splitter.height = out.tree.height;
    return out;
}

int splitterShadowLeft(int splitterLeft, int mouseX, int windowWidth)
{
    const int p = splitterLeft + mouseX;
    if (p < shadowMargin)
        return shadowMargin;
    if (p > windowWidth - shadowMargin)
        return windowWidth - shadowMargin;
    return p;
}

TwipRect splitterShadow(const TwipRect &splitter)
{
    return {splitter.left, splitter.top, splitter.width / 2, splitter.height - 20};
}

} // namespace vantor
