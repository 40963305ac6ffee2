#pragma once

// The fourteen appraisal calculators of the 常用计算公式 window as plain functions:
// depreciation rates, compound-interest factors, the income price of a building, the
// land-tenure correction, the economic obsolescence rate and the replacement cost by
// the scale-economy index. Each calculator is one row of a table (tree key, captions,
// formula panel, decimals); compute() reads the input boxes' texts, checks them and
// either formats the result or says which box to empty and which message to show.

#include "common/Prompter.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

// One piece of a formula as it is drawn: plain text, or a fraction with a bar.
struct FormulaTerm {
    std::string text;        // plain text, or the numerator of a fraction
    std::string denominator; // empty for plain text
};

struct Calculator {
    const char *key;    // tree key (zj1 …)
    const char *parent; // group key, or nullptr for a top-level calculator
    const char *title;  // tree text
    std::vector<std::string> inputs;
    std::string result;
    int decimals;
    std::vector<FormulaTerm> formula;
    std::string explanation;
};

struct CalculatorGroup {
    const char *key;
    const char *title;
};

// What pressing 计算 leads to: a result text, or a message about one box.
struct CalculationOutcome {
    std::optional<std::string> result;
    std::string message;
    MessageIcon icon = MessageIcon::None;
    std::vector<int> clearBoxes; // emptied before the message shows
    int focusBox = -1;
};

class AppraisalCalculators {
public:
    static constexpr int Count = 14;
    static constexpr const char *MessageTitle = "实用计算工具";
    static constexpr const char *MustNotBeZero = "此项不能为 0 ,请您重输!";
    static constexpr const char *MayBeWrong = "此项输入可能有错 ,请重输!";
    static constexpr const char *SumMustNotBeZero = "此两项之和不能为 0 ,请重输!";
    static constexpr const char *OutOfRange = "您输入的数据已超过运算范围，请重输！";

    // Calculators 0 … Count−1 in tree order.
    static const std::vector<Calculator> &all();
    static const std::vector<CalculatorGroup> &groups();

    // A box's number: the longest leading decimal number of the text (blanks before it
    // skipped), 0 when the text does not start with one.
    static double leadingNumber(std::string_view text);
    // The value formatted with a fixed number of decimals, from 10^15 on in scientific notation
    // with ten significant digits; never "-0.000…".
    static std::string format(double value, int decimals);

    // Checks the boxes of calculator `number` and computes. `inputs` holds the texts of its
    // input boxes in order (missing boxes read as empty).
    static CalculationOutcome compute(int number, const std::vector<std::string> &inputs);
};

} // namespace vantor
