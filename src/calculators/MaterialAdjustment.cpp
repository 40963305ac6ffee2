#include "calculators/MaterialAdjustment.h"

#include "common/Prompter.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailLayouts.h"
#include "sheets/RowFormulas.h"
#include "sheets/RowRecomputeBatch.h"

#include <algorithm>
#include <numeric>

namespace vantor {
namespace {

using Wide = __int128;

constexpr int64_t UnitsPerCent = Amount::kScale / 100;

// num / den rounded to the nearest whole number, halves to the even one; den != 0.
Wide roundedQuotient(Wide num, Wide den)
{
    if (den < 0) {
        num = -num;
        den = -den;
    }
    Wide q = num / den;
    Wide r = num % den; // same sign as num
    if (r < 0) {
        --q;
        r += den;
    }
    // q = floor(num / den), 0 <= r < den
    if (2 * r > den || (2 * r == den && q % 2 != 0))
        ++q;
    return q;
}

} // namespace

std::optional<Amount> MaterialAdjustment::parseVariance(const std::string &text)
{
    return Amount::parse(text);
}

std::optional<std::vector<std::optional<Amount>>> MaterialAdjustment::spread(Amount variance,
                                                                             std::span<const Amount> bookValues)
{
    const std::size_t n = bookValues.size();
    std::vector<std::optional<Amount>> shares(n);
    Wide sum = 0;
    bool anyNonZero = false;
    for (Amount v : bookValues) {
        sum += v.units();
        anyNonZero = anyNonZero || !v.isZero();
    }
    if (!anyNonZero)
        return shares;
    if (sum == 0)
        return std::nullopt;

    const Wide total = variance.rounded(2).units() / UnitsPerCent; // in cents
    const Wide sign = sum < 0 ? -1 : 1;
    std::vector<Wide> cents(n, 0);
    std::vector<Wide> leftover(n, 0); // (exact - rounded) × |sum|, comparable between rows
    Wide given = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (bookValues[i].isZero())
            continue;
        const Wide num = total * bookValues[i].units();
        cents[i] = roundedQuotient(num, sum);
        leftover[i] = (num - cents[i] * sum) * sign;
        given += cents[i];
    }
    // Each share was rounded by at most half a cent, so the cents left over are fewer than the
    // rows: one more (or one less) cent for the rows rounded furthest, earlier rows first.
    Wide rest = total - given;
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < n; ++i)
        if (!bookValues[i].isZero())
            order.push_back(i);
    if (rest > 0)
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return leftover[a] > leftover[b]; });
    else if (rest < 0)
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return leftover[a] < leftover[b]; });
    for (std::size_t k = 0; rest != 0 && k < order.size(); ++k) {
        const Wide step = rest > 0 ? 1 : -1;
        cents[order[k]] += step;
        rest -= step;
    }

    const Wide limit = static_cast<Wide>(INT64_MAX) / UnitsPerCent;
    for (std::size_t i = 0; i < n; ++i) {
        if (bookValues[i].isZero())
            continue;
        if (cents[i] > limit || cents[i] < -limit)
            throw AmountOverflow("material adjustment share out of range");
        shares[i] = Amount::fromUnits(static_cast<int64_t>(cents[i]) * UnitsPerCent);
    }
    return shares;
}

MaterialAdjustment::Outcome MaterialAdjustment::apply(Workbook &workbook, int id, const CellRange &selection,
                                                      const std::string &varianceText, Prompter &prompter,
                                                      bool freezeHeadings)
{
    const int adjusted = DetailLayouts::columnRoles(id).adjusted;
    if (adjusted < 3) {
        prompter.message(NoAdjustmentColumn, Title, MessageIcon::Information);
        return Outcome::NoAdjustmentColumn;
    }
    const int bookCol = adjusted - 2;
    const int adjustmentCol = adjusted - 1;

    const auto variance = parseVariance(varianceText);
    if (!variance) {
        prompter.message(NotANumber, Title, MessageIcon::Information);
        return Outcome::NotANumber;
    }

    const CellRange sel = CellRange::normalized(selection.col1, selection.row1, selection.col2, selection.row2);
    const int first = std::max(sel.row1, DetailLayouts::FirstDataRow);
    const int last = std::min(sel.row2, workbook.Rows() - 1);
    if (first > last)
        return Outcome::NothingSelected;

    std::vector<Amount> books;
    books.reserve(static_cast<std::size_t>(last - first + 1));
    for (int row = first; row <= last; ++row) {
        const auto v = RowFormulas::readAmount(workbook, bookCol, row);
        if (!v) {
            prompter.message(BookOutOfRange, Title, MessageIcon::Critical);
            return Outcome::OutOfRange;
        }
        books.push_back(*v);
    }

    std::optional<std::vector<std::optional<Amount>>> shares;
    try {
        shares = spread(*variance, books);
    } catch (const AmountOverflow &) {
        prompter.message(ShareOutOfRange, Title, MessageIcon::Critical);
        return Outcome::OutOfRange;
    }
    if (!shares) {
        prompter.message(ZeroBookSum, Title, MessageIcon::Information);
        return Outcome::ZeroBookSum;
    }

    UndoGroup group(workbook);
    RowRecomputeBatch batch(workbook, id, freezeHeadings);
    for (int row = first; row <= last; ++row) {
        const auto &share = (*shares)[static_cast<std::size_t>(row - first)];
        if (share)
            workbook.DoSetCellData(adjustmentCol, row, share->toDouble());
        batch.cellEdited(row, bookCol);
    }
    batch.finish();
    return Outcome::Written;
}

} // namespace vantor
