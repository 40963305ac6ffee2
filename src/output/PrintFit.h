#pragma once

// Fits printed page blocks onto A4 paper: each block (a run of rows over all printed columns) must
// land on one sheet of paper whole, columns never split. The orientation is the one that allows
// the larger scale (portrait on a tie); the scale is the form's own scale unless the widest or
// tallest block needs less. Sizes are the sheet's pixels at 96 dpi, margins millimetres.

#include "sheet_component/engine/PaperSizes.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace vantor {

class Sheet;

struct PageFit {
    bool landscape = false;
    int scale = 100; // percent
};

class PrintFit {
public:
    static constexpr double A4WidthMm = PaperSizes::millimetres(PaperSizes::A4).first;
    static constexpr double A4HeightMm = PaperSizes::millimetres(PaperSizes::A4).second;
    // Margins of the printed forms in millimetres: left, top, right, bottom.
    static constexpr std::array<double, 4> DetailMargins{12, 6, 6, 10};
    static constexpr std::array<double, 4> FixedAssetMargins{20, 16, 6, 10};
    static constexpr std::array<double, 4> SummaryMargins{10, 6, 10, 10};

    // `blocks` are inclusive row runs; columns 0 … cols-1 are printed.
    // `landscape`, when given, fixes the orientation (a form whose pages must match).
    static PageFit fit(const Sheet &sheet, int cols, const std::vector<std::pair<int, int>> &blocks,
                       const std::array<double, 4> &margins, int maxScale,
                       std::optional<bool> landscape = std::nullopt);
    // The largest whole percent at which `needPx` pixels fit into `roomMm` millimetres.
    static int scaleFor(double needPx, double roomMm);
};

} // namespace vantor
