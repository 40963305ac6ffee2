#include "sheet_component/render/PrintPagination.h"

#include "sheet_component/engine/PaperSizes.h"
#include "sheet_component/engine/Sheet.h"

#include <algorithm>

namespace vantor {

namespace {

constexpr double kPixelsPerMm = PaperSizes::PixelsPerMm;

template <typename SizeOf>
std::vector<std::pair<int, int>> split(int first, int last, double room, const std::vector<int> &breaks, SizeOf sizeOf)
{
    std::vector<std::pair<int, int>> runs;
    if (last < first)
        return runs;
    int start = first;
    double used = 0;
    auto nextBreak = std::upper_bound(breaks.begin(), breaks.end(), first);
    for (int i = first; i <= last; ++i) {
        const double size = sizeOf(i);
        bool forced = false;
        while (nextBreak != breaks.end() && *nextBreak < i)
            ++nextBreak;
        if (nextBreak != breaks.end() && *nextBreak == i)
            forced = true;
        if (i > start && (forced || used + size > room)) {
            runs.emplace_back(start, i - 1);
            start = i;
            used = 0;
        }
        used += size;
    }
    runs.emplace_back(start, last);
    return runs;
}

} // namespace

QSizeF PrintPagination::paperSizeMm(int paperSize, bool landscape)
{
    const auto [width, height] = PaperSizes::millimetres(paperSize);
    return landscape ? QSizeF(height, width) : QSizeF(width, height);
}

CellRange PrintPagination::printArea(const Sheet &sheet, const PrintSettings &settings)
{
    CellRange area = settings.printRange;
    if (area.isEmpty()) {
        area = CellRange{0, 0, -1, sheet.lastUsedRow()};
        for (int r = 0; r <= area.row2; ++r)
            for (int c = sheet.storedCols(r) - 1; c > area.col2; --c)
                if (!sheet.isBlank(c, r)) {
                    area.col2 = c;
                    break;
                }
        for (const CellRange &m : sheet.merges()) {
            if (m.row1 <= area.row2)
                area.col2 = std::max(area.col2, std::min(m.col2, sheet.cols() - 1));
        }
    }
    area.col1 = std::max(area.col1, 0);
    area.row1 = std::max(area.row1, 0);
    area.col2 = std::min(area.col2, sheet.cols() - 1);
    area.row2 = std::min(area.row2, sheet.rows() - 1);
    return area.isEmpty() ? CellRange{} : area;
}

QSizeF PrintPagination::contentSize(const PrintSettings &settings)
{
    const QSizeF paper = paperSizeMm(settings.paperSize, settings.landscape);
    const auto &m = settings.margins; // left, top, right, bottom
    const double scale = std::clamp(settings.scale, 10, 400) / 100.0;
    const double w = std::max(10.0, paper.width() - m[0] - m[2]) * kPixelsPerMm / scale;
    const double h = std::max(10.0, paper.height() - m[1] - m[3]) * kPixelsPerMm / scale;
    return {w, h};
}

std::vector<std::pair<int, int>> PrintPagination::splitRows(const Sheet &sheet, int row1, int row2,
                                                            const std::vector<int> &breaks, double height)
{
    std::vector<int> sorted = breaks;
    std::sort(sorted.begin(), sorted.end());
    return split(row1, row2, height, sorted, [&](int r) { return static_cast<double>(sheet.rowHeight(r)); });
}

std::vector<std::pair<int, int>> PrintPagination::splitCols(const Sheet &sheet, int col1, int col2, double width)
{
    return split(col1, col2, width, {}, [&](int c) { return static_cast<double>(sheet.colWidth(c)); });
}

std::vector<CellRange> PrintPagination::pages(const Sheet &sheet, const PrintSettings &settings)
{
    std::vector<CellRange> result;
    const CellRange area = printArea(sheet, settings);
    if (area.isEmpty())
        return result;
    const QSizeF room = contentSize(settings);
    const auto rowRuns = splitRows(sheet, area.row1, area.row2, settings.rowPageBreaks, room.height());
    const auto colRuns = splitCols(sheet, area.col1, area.col2, room.width());
    for (const auto &cols : colRuns)
        for (const auto &rows : rowRuns)
            result.push_back(CellRange{cols.first, rows.first, cols.second, rows.second});
    return result;
}

} // namespace vantor
