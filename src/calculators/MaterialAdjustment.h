#pragma once

// 材料调差: a total material cost variance spread over the selected data rows of an
// inventory detail sheet in proportion to their book values. Each row's share is
// variance × book ÷ (sum of the selected book values), in whole cents with halves to the
// even neighbour; the cents that rounding leaves over go to the rows whose shares were
// rounded furthest, so the shares always add up to the variance (in cents) exactly. The
// share lands in the adjustment column (the column before the adjusted book value) of each
// row with a book value, and every selected row is then recomputed as if its book value had
// been edited.

#include "common/Amount.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantor {

class Prompter;
class Workbook;
struct CellRange;

class MaterialAdjustment {
public:
    static constexpr const char *Title = "材料调差计算";
    static constexpr const char *NotANumber = "材料成本差异总额必须是一个数字，没有写入任何调整值。";
    static constexpr const char *ZeroBookSum =
        "所选各行帐面价值的合计为零，无法按帐面价值比例分摊材料成本差异，没有写入任何调整值。";
    static constexpr const char *NoAdjustmentColumn = "本表没有调整后帐面值列，不能进行材料调差。";
    static constexpr const char *BookOutOfRange = "所选行中有超出金额范围的帐面价值，没有写入任何调整值。";
    static constexpr const char *ShareOutOfRange = "分摊的调整值超出金额范围，没有写入任何调整值。";

    enum class Outcome { Written, NotANumber, ZeroBookSum, NoAdjustmentColumn, OutOfRange, NothingSelected };

    // The variance as typed: a plain decimal number, as a whole (no leading-number reading).
    static std::optional<Amount> parseVariance(const std::string &text);

    // Shares of `variance` (brought to two decimals, halves to even) in proportion to the book
    // values: nothing for a zero book value. Nothing at all when the book values sum to zero
    // while some are not zero. Throws AmountOverflow when a share lies beyond the currency range.
    static std::optional<std::vector<std::optional<Amount>>> spread(Amount variance,
                                                                    std::span<const Amount> bookValues);

    // Runs the adjustment on the current sheet (kind `id`) over the selected data rows, as one
    // undo step; tells the user through the prompter when nothing could be written.
    static Outcome apply(Workbook &workbook, int id, const CellRange &selection, const std::string &varianceText,
                         Prompter &prompter, bool freezeHeadings);
};

} // namespace vantor
