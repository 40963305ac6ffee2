#include "sheets/DetailSheetBuilder.h"

#include "common/Utf8Text.h"
#include "sheet_component/engine/Workbook.h"

#include <algorithm>
#include <string>

namespace vantor {

namespace {

constexpr int kRaised = 1;
constexpr int kWrap = 1;
constexpr int kNumeric = 1;

// Characters of the longest line of a heading ('\r' breaks lines).
int longestLine(std::string_view text)
{
    int longest = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\r', start);
        if (end == std::string_view::npos)
            end = text.size();
        longest = std::max(longest, Utf8Text::length(text.substr(start, end - start)));
        start = end + 1;
    }
    return longest;
}

} // namespace

int DetailSheetBuilder::columnWidth(const DetailLayout &layout, int col)
{
    if (col == 0)
        return 40;
    if (col == layout.remarksColumn())
        return 80;
    // About 12 pixels per character of the default 8-point Song face, plus the cell margins.
    int width = longestLine(layout.heading(col)) * 12 + 12;
    if (layout.isSummed(col))
        width = std::max(width, 96);
    return std::clamp(width, Sheet::DefaultColWidth, 160);
}

bool DetailSheetBuilder::build(Workbook &wb, int id)
{
    const DetailLayout *layout = DetailLayouts::layout(id);
    if (!layout)
        return false;
    const int d = layout->dataColumns;
    const int remarks = layout->remarksColumn();
    using L = DetailLayouts;

    wb.SetCols(d + 2);
    wb.DoSetCellData(0, L::HeadingRow, std::string(L::SequenceHeading));
    wb.DoJoinCells(0, L::HeadingRow, 0, L::SubHeadingRow);
    wb.DoSetCellData(0, L::TotalRow, std::string(L::TotalCaption));
    wb.DoSetCellAlignment(0, L::TotalRow, AlignCenter);
    wb.DoSetCellData(remarks, L::HeadingRow, std::string(L::RemarksHeading));
    wb.DoJoinCells(remarks, L::HeadingRow, remarks, L::SubHeadingRow);
    wb.SetRows(L::NewSheetRows);

    for (int c = 1; c <= d; ++c) {
        if (const HeadingGroup *g = layout->groupOf(c)) {
            if (c == g->first) {
                wb.DoSetCellData(g->first, L::HeadingRow, std::string(g->text));
                wb.DoJoinCells(g->first, L::HeadingRow, g->last, L::HeadingRow);
            }
            wb.DoSetCellData(c, L::SubHeadingRow, std::string(layout->heading(c)));
        } else {
            wb.DoSetCellData(c, L::HeadingRow, std::string(layout->heading(c)));
            wb.DoJoinCells(c, L::HeadingRow, c, L::SubHeadingRow);
        }
    }
    for (std::size_t i = 0; i < layout->prefilled.size(); ++i)
        wb.DoSetCellData(1, L::FirstDataRow + static_cast<int>(i), std::string(layout->prefilled[i]));

    for (int c = 0; c <= remarks; ++c) {
        for (int r : {L::HeadingRow, L::SubHeadingRow}) {
            wb.DoSetCell3DState(c, r, kRaised);
            wb.DoSetCellAlignment(c, r, AlignCenter);
            wb.DoSetCellTextStyle(c, r, kWrap);
        }
        if (layout->isSummed(c))
            wb.DoSetCellNumberStyle(c, L::TotalRow, kNumeric, false, 2, -1, 1, 1, 0);
        wb.DoSetColWidth(c, columnWidth(*layout, c));
    }
    wb.DoSetUnScrollRow(0, L::TotalRow);
    return true;
}

} // namespace vantor
