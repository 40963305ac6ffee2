#include "output/PrintFit.h"

#include "sheet_component/engine/Sheet.h"

#include <algorithm>
#include <cmath>

namespace vantor {

int PrintFit::scaleFor(double needPx, double roomMm)
{
    if (needPx <= 0)
        return 400;
    const double roomPx = std::max(roomMm, 1.0) * PaperSizes::PixelsPerMm;
    // A hair below the exact ratio, so that rounding in the page arithmetic never tips a
    // block that fits exactly onto a second sheet.
    return static_cast<int>(std::floor(100.0 * roomPx / needPx - 1e-9));
}

PageFit PrintFit::fit(const Sheet &sheet, int cols, const std::vector<std::pair<int, int>> &blocks,
                      const std::array<double, 4> &margins, int maxScale, std::optional<bool> landscape)
{
    double width = 0;
    for (int c = 0; c < cols; ++c)
        width += sheet.colWidth(c);
    double height = 0;
    for (const auto &[first, last] : blocks) {
        double h = 0;
        for (int r = first; r <= last; ++r)
            h += sheet.rowHeight(r);
        height = std::max(height, h);
    }
    const double marginsW = margins[0] + margins[2];
    const double marginsH = margins[1] + margins[3];
    auto scaleIn = [&](double paperW, double paperH) {
        return std::min({maxScale, scaleFor(width, paperW - marginsW), scaleFor(height, paperH - marginsH)});
    };
    const int portrait = scaleIn(A4WidthMm, A4HeightMm);
    const int across = scaleIn(A4HeightMm, A4WidthMm);
    PageFit result;
    result.landscape = landscape ? *landscape : across > portrait;
    result.scale = std::max(10, result.landscape ? across : portrait);
    return result;
}

} // namespace vantor
