#include "sheets/NumericInput.h"

#include "common/WrittenAmount.h"
#include "sheets/DetailLayouts.h"
#include "sheets/RowFormulas.h"
#include "sheets/SheetCatalogue.h"

#include <array>
#include <string_view>

namespace vantor {

namespace {

// Words of a heading that name a number.
constexpr std::array<std::string_view, 13> kNumericWords{"金额", "价值", "帐面值", "原值", "净值", "数量",  "单价",
                                                         "汇率", "利率", "率",     "比例", "面积", "发生额"};

bool headingHas(int id, int col, std::string_view word)
{
    const DetailLayout *layout = DetailLayouts::layout(id);
    return layout && layout->heading(col).find(word) != std::string_view::npos;
}

} // namespace

bool NumericInput::mustBeNumber(int id, int col)
{
    if (id == SheetCatalogue::ContraSheetId) {
        const ColumnRoles &r = DetailLayouts::ContraRoles;
        return col == r.book || col == r.adjusted || col == r.appraised;
    }
    return DetailLayouts::isSummedColumn(id, col);
}

bool NumericInput::isNumeric(int id, int col)
{
    if (mustBeNumber(id, col) || (col > 0 && col == DetailLayouts::rateColumn(id)))
        return true;
    for (std::string_view word : kNumericWords)
        if (headingHas(id, col, word))
            return true;
    return false;
}

bool NumericInput::takesPercent(int id, int col)
{
    return headingHas(id, col, "%") || headingHas(id, col, "率") || headingHas(id, col, "比例");
}

std::optional<std::string> NumericInput::storedInput(int id, int col, const std::string &text)
{
    if (!mustBeNumber(id, col) || text.empty() || (text.size() > 1 && text.front() == '='))
        return text;
    return WrittenAmount::decimalText(text, takesPercent(id, col));
}

std::string NumericInput::refusal(int col, int row, const std::string &text)
{
    return "单元格 " + RowFormulas::columnLetter(col) + std::to_string(row + 1) + " 中只能填入数字，“" + text +
           "”不是数字。";
}

} // namespace vantor
