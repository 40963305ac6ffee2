#include "sheets/DecimalCheck.h"

#include "common/Prompter.h"
#include "common/Rounding.h"
#include "sheet_component/engine/CellValue.h"
#include "sheet_component/engine/DisplayFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vantor {

bool DecimalCheck::hasMoreThanTwoDecimals(double value)
{
    if (!std::isfinite(value))
        return false;
    // The number as the sheet writes it (15 significant digits), so binary residue below that
    // does not count.
    const std::string shown = formatGeneralNumber(value);
    double written = value;
    std::from_chars(shown.data(), shown.data() + shown.size(), written);
    return written != roundHalfEven(written, 2);
}

std::string DecimalCheck::valueText(double value)
{
    return formatGeneralNumber(value);
}

std::string DecimalCheck::message(int row, const std::string &valueText)
{
    return "系统检测到第" + std::to_string(row + 1) + "行数据[" + valueText + "]超过两位小数。\n" +
           "选择'是'立即更正，'否'则继续检测下一个。";
}

std::optional<CellPos> DecimalCheck::run(Selection &selection, Prompter &prompter)
{
    const Workbook &workbook = selection.workbook();
    const int col = selection.CurrentCol();
    const int first = selection.CurrentRow();
    const int last = workbook.Rows() - 1;
    for (int row = std::max(first, 0); row <= last; ++row) {
        const CellValue v = workbook.DoGetCellData(col, row);
        double number = 0;
        std::string shown;
        if (v.isNumber()) {
            number = v.number();
            shown = valueText(number);
        } else if (v.isText() && parseCellNumber(v.text(), number)) {
            shown = v.text();
        } else {
            continue;
        }
        if (!hasMoreThanTwoDecimals(number))
            continue;
        const Answer answer =
            prompter.question(message(row, shown), Title, QuestionButtons::YesNo, MessageIcon::Question);
        if (answer == Answer::Yes) {
            selection.DoGotoCell(col, row);
            return CellPos{col, row};
        }
    }
    return std::nullopt;
}

} // namespace vantor
