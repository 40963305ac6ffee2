#pragma once

// What the cell renderer draws besides the cells themselves. The screen, the print preview and
// PDF output pass different options to the same renderer instead of toggling sheet state.

#include <QColor>

namespace vantor {

struct RenderOptions {
    bool showGrid = true;         // light lines between cells
    bool showHeaders = true;      // column letters and row numbers
    double zoom = 1.0;            // 1.0: one sheet pixel is one logical pixel
    bool lockedBackground = true; // pink fill of locked cells (screen only)
    bool fillBackground = true;   // white page under the cells
    // A number too wide for its cell: false shows "###" (screen), true draws it in a smaller
    // font down to half size (paper, where "###" would lose the amount; printed forms widen
    // their columns first, so this is a last resort).
    bool shrinkNumbers = false;
    // Antialiased lines: in the print preview, so that lines thinner than a screen pixel stay
    // visible when a page is shown scaled down.
    bool smoothLines = false;
    QColor gridColor{208, 208, 208};
    QColor lockedColor{255, 206, 218};
    QColor threeDFace{236, 236, 236};
};

} // namespace vantor
