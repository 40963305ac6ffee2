#include "sheets/DetailDisplay.h"

#include "sheets/DetailLayouts.h"

#include <charconv>

namespace vantor {

namespace {

// The style of the total row's sums.
constexpr NumberStyle AmountStyle{1, false, 2, -1, 1, 1, 0};

} // namespace

ColumnNumberStyles DetailDisplay::columnStyles(const std::string &label)
{
    ColumnNumberStyles styles;
    int id = -1;
    if (label.size() < 2 || label[0] != 'b' ||
        std::from_chars(label.data() + 1, label.data() + label.size(), id).ptr != label.data() + label.size())
        return styles;
    const DetailLayout *layout = DetailLayouts::layout(id);
    if (!layout)
        return styles;
    // From the total row on: its sums carry this style already, and its rate, kept in the general
    // style, then reads like the rates above it.
    styles.firstRow = DetailLayouts::TotalRow;
    for (int col : layout->summedColumns())
        styles.columns.emplace_back(col, AmountStyle);
    if (layout->rateColumn > 0 && !layout->isSummed(layout->rateColumn))
        styles.columns.emplace_back(layout->rateColumn, AmountStyle);
    return styles;
}

} // namespace vantor
