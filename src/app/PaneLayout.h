#pragma once

// The arithmetic that places the left pane, the splitter bar and the spreadsheet
// below the toolbars (SizeControls), and the drag shadow of the splitter. All
// figures are twips (1/1440 inch; 15 twips per pixel at 96 dpi) so the rules keep
// their round numbers; the window converts at its edges.

namespace vantor {

struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const TwipRect &) const = default;
};

struct WindowMetrics {
    int windowWidth = 0;      // outer width of the main window
    int innerHeight = 0;      // height of its client area
    int commandBarHeight = 0; // tbToolBar
    int formatBarHeight = 0;  // Toolbar1
    int statusBarHeight = 0;
};

struct PaneLayout {
    int splitterX = 0; // the position actually used after clamping
    TwipRect tree;     // tvTreeView and tvw_fixed
    TwipRect splitter; // imgSplitter
    TwipRect sheet;    // Cell1
};

inline constexpr int twipsPerPixel = 15;
inline constexpr int minPaneWidth = 600;   // the tree is never narrower
inline constexpr int splitterWidth = 40;   // Cell1 starts this far right of the tree
inline constexpr int rightAllowance = 100; // between Cell1 and the window's right edge
inline constexpr int shadowMargin = 500;   // the drag shadow stays this far from both edges
inline constexpr int minWindowWidth = 6000;

// SizeControls(x). A size that would come out negative keeps the control as it was:
// `previous` supplies those old values.
PaneLayout sizeControls(int x, const WindowMetrics &m, const PaneLayout &previous = {});

// Left edge of the drag shadow while the mouse is at mouseX (relative to the bar).
int splitterShadowLeft(int splitterLeft, int mouseX, int windowWidth);

// The shadow shown on mouse-down: half the bar's width, 20 twips shorter.
TwipRect splitterShadow(const TwipRect &splitter);

} // namespace vantor
