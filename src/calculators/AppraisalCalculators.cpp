#include "calculators/AppraisalCalculators.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <stdexcept>

namespace vantor {

namespace {

using Inputs = std::vector<double>;

// An arithmetic step that has no finite result ends the computation with the range message.
struct ArithmeticFailure : std::runtime_error {
    ArithmeticFailure() : std::runtime_error("arithmetic") {}
};

double finite(double v)
{
    if (!std::isfinite(v))
        throw ArithmeticFailure();
    return v;
}

double quotient(double a, double b)
{
    if (b == 0)
        throw ArithmeticFailure();
    return finite(a / b);
}

double power(double base, double exponent)
{
    if (base == 0 && exponent < 0)
        throw ArithmeticFailure();
    return finite(std::pow(base, exponent));
}

enum class Rule { NonZero, ZeroToTen, Years, Percent };

struct Check {
    int calculator;
    int box;
    Rule rule;
};

// In the order the boxes are checked; the first failing box stops the computation.
constexpr Check kChecks[] = {
    {0, 2, Rule::NonZero},    {1, 1, Rule::NonZero},  {2, 0, Rule::NonZero},    {3, 0, Rule::NonZero},
    {4, 0, Rule::Years},      {4, 1, Rule::Percent},  {5, 0, Rule::Years},      {5, 1, Rule::Percent},
    {6, 0, Rule::Years},      {6, 1, Rule::Percent},  {7, 0, Rule::Years},      {7, 1, Rule::Percent},
    {8, 0, Rule::Years},      {8, 1, Rule::Percent},  {9, 0, Rule::Years},      {9, 1, Rule::Percent},
    {11, 0, Rule::NonZero},   {12, 1, Rule::NonZero}, {12, 2, Rule::ZeroToTen}, {13, 2, Rule::NonZero},
    {13, 3, Rule::ZeroToTen},
};

bool passes(Rule rule, double v)
{
    switch (rule) {
    case Rule::NonZero:
        return v != 0;
    case Rule::ZeroToTen:
        return v >= 0 && v <= 10;
    case Rule::Years:
        return v > 0 && v <= 200;
    case Rule::Percent:
        return v > 0 && v <= 1000;
    }
    return false;
}

// (1 + i)^n of the compound-interest factors: n = box 0, i = box 1 in percent.
double growth(const Inputs &x)
{
    return power(1 + x[1] / 100, x[0]);
}

using Formula = std::function<double(const Inputs &)>;

const std::vector<Formula> &formulas()
{
    static const std::vector<Formula> f = {
        [](const Inputs &x) { return quotient(x[0] * (1 - x[1] / 100), x[2]); },
        [](const Inputs &x) { return quotient(1 - x[0] / 100, x[1]) * 100; },
        [](const Inputs &x) { return quotient(2, x[0]) * 100; },
        [](const Inputs &x) { return quotient(x[0] - x[1], x[0] * (x[0] + 1) / 2) * 100; },
        [](const Inputs &x) { return growth(x); },
        [](const Inputs &x) { return quotient(1, growth(x)); },
        [](const Inputs &x) { return quotient(growth(x) - 1, x[1] / 100); },
        [](const Inputs &x) { return quotient(x[1] / 100, growth(x) - 1); },
        [](const Inputs &x) { return quotient(growth(x) - 1, growth(x) * (x[1] / 100)); },
        [](const Inputs &x) { return quotient(growth(x) * (x[1] / 100), growth(x) - 1); },
        [](const Inputs &x) { return quotient(x[0] - x[1] * x[3], x[4] + x[2]); },
        [](const Inputs &x) {
            return quotient(1 - quotient(1, power(1 + x[2], x[1])), 1 - quotient(1, power(1 + x[2], x[0])));
        },
        [](const Inputs &x) { return (1 - power(quotient(x[0], x[1]), x[2])) * 100; },
        [](const Inputs &x) { return x[0] * power(quotient(x[1], x[2]), x[3]); },
    };
    return f;
}

FormulaTerm text(std::string t)
{
    return {std::move(t), {}};
}
FormulaTerm fraction(std::string numerator, std::string denominator)
{
    return {std::move(numerator), std::move(denominator)};
}

Calculator factor(const char *key, const char *title, const char *symbol, FormulaTerm body, const char *meaning)
{
    return {key, "xs", title, {"n", "i(%)"}, title, 6, {text(std::string(symbol) + " = "), std::move(body)}, meaning};
}

} // namespace

const std::vector<CalculatorGroup> &AppraisalCalculators::groups()
{
    static const std::vector<CalculatorGroup> g = {{"zj", "折旧率"}, {"xs", "复利系数"}};
    return g;
}

const std::vector<Calculator> &AppraisalCalculators::all()
{
    static const std::vector<Calculator> c = {
        {"zj1",
         "zj",
         "工作量法",
         {"固定资产原值", "预计净残值率(%)", "预计总工作时数"},
         "每工作小时折旧额",
         5,
         {text("每工作小时折旧额 = "), fraction("固定资产原值 × (1 − 预计净残值率)", "预计总工作时数")},
         "说明：工作量法按固定资产预计完成的工作量计提折旧，以应计折旧总额除以预计总工作量求得单位工作量的折"
         "旧额。"},
        {"zj2",
         "zj",
         "平均年限法",
         {"预计净残值率(%)", "预计使用年限"},
         "年折旧率(%)",
         5,
         {text("年折旧率 = "), fraction("1 − 预计净残值率", "预计使用年限"), text(" × 100%")},
         "说明：平均年限法把应计折旧总额平均分摊到预计使用年限的各年，以应计折旧总额除以预计使用年限求得。"},
        {"zj3",
         "zj",
         "双倍余额递减法",
         {"预计使用年限"},
         "年折旧率(%)",
         5,
         {text("年折旧率 = "), fraction("2", "预计使用年限"), text(" × 100%")},
         "说明：双倍余额递减法在不考虑固定资产残值的情况下，以平均年限法折旧率的两倍为固定折旧率，"
         "乘以每年年初固定资产账面净值计算折旧额；当某年按此法计算的折旧额低于按平均年限法计算的折旧额时，"
         "改用平均年限法。"},
        {"zj4",
         "zj",
         "年数总和法",
         {"预计使用年限", "已使用年限"},
         "年折旧率(%)",
         5,
         {text("年折旧率 = "), fraction("预计使用年限 − 已使用年限", "预计使用年限 × (预计使用年限 + 1) ÷ 2"),
          text(" × 100%")},
         "说明：年数总和法以固定资产尚可使用的年数为分子、预计使用年限的逐年数字之和为分母，求得逐年递减的折"
         "旧率。"},
        factor("xs1", "整付复本利系数", "(F/P, i, n)", text("(1 + i)^n"), "说明：已知现值求将来值."),
        factor("xs2", "整付现值系数", "(P/F, i, n)", fraction("1", "(1 + i)^n"), "说明：已知将来值求现值."),
        factor("xs3", "年金复本利系数", "(F/A, i, n)", fraction("(1 + i)^n − 1", "i"), "说明：已知年金求将来值."),
        factor("xs4", "基金年存系数", "(A/F, i, n)", fraction("i", "(1 + i)^n − 1"), "说明：已知将来值求年金."),
        factor("xs5", "年金现值系数", "(P/A, i, n)", fraction("(1 + i)^n − 1", "i × (1 + i)^n"),
               "说明：已知年金求现值."),
        factor("xs6", "投资回收系数", "(A/P, i, n)", fraction("i × (1 + i)^n", "(1 + i)^n − 1"),
               "说明：已知现值求年金."),
        {"syjg",
         nullptr,
         "建筑物收益价格",
         {"建筑物基地产生的纯收益(a)", "土地价格(L)", "建筑物的折旧率(d)", "土地的还原利率(r1)",
          "建筑物的还原利率(r2)"},
         "建筑物的收益价格(B)",
         5,
         {text("B = "), fraction("a − L × r1", "r2 + d")},
         "说明：建筑物残余法是收益还原法的一种形式，适用于有客观收益的房地产：从房地产的纯收益中扣除土地的纯"
         "收益，"
         "余下的建筑物纯收益以建筑物的还原利率与折旧率之和还原为建筑物的收益价格。"},
        {"xzxs",
         nullptr,
         "土地年限修正系数",
         {"参照物土地使用权剩余年限(N)", "待估地块土地使用权剩余年限(m)", "折现率(R)"},
         "土地年限修正系数",
         5,
         {text("y = "), fraction("1 − 1 ÷ (1 + R)^m", "1 − 1 ÷ (1 + R)^N")},
         "说明：y 为土地年限修正系数，N 为参照物土地使用权剩余年限，m 为待估地块土地使用权剩余年限，R "
         "为折现率。"},
        {"bzl",
         nullptr,
         "经济性贬值率",
         {"设备预计可被使用的生产能力", "设备原设计生产能力", "规模效益指数(x)"},
         "经济性贬值率(%)",
         5,
         {text("经济性贬值率 = [1 − ("), fraction("设备预计可被使用的生产能力", "设备原设计生产能力"),
          text(")^x] × 100%")},
         "说明：用于外部因素使设备的生产能力闲置而造成的经济性贬值；x 为规模效益指数，一般凭经验取 0.6 至 "
         "0.7。"},
        {"cb",
         nullptr,
         "重置成本（经济效益指数法）",
         {"参照物资产的重置成本", "被评估资产的产量", "参照物资产的产量", "规模效益指数(x)"},
         "被评估资产的重置成本",
         5,
         {text("被评估资产的重置成本 = 参照物资产的重置成本 × ("), fraction("被评估资产的产量", "参照物资产的产量"),
          text(")^x")},
         "说明：规模经济效益指数法是估算重置成本的方法之一，按资产的生产能力与成本之间的指数关系，"
         "由参照物资产的重置成本推算被评估资产的重置成本。"},
    };
    return c;
}

double AppraisalCalculators::leadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t digitsStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i;
    bool digits = i > digitsStart;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fraction = ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        digits = digits || i > fraction;
    }
    if (!digits)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        const std::size_t exponent = j;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9')
            ++j;
        if (j > exponent)
            i = j;
    }
    // from_chars takes no '+' sign.
    std::size_t from = start;
    if (text[from] == '+')
        ++from;
    double value = 0;
    const auto [end, ec] = std::from_chars(text.data() + from, text.data() + i, value);
    if (ec == std::errc::result_out_of_range)
        return text[start] == '-' ? -HUGE_VAL : HUGE_VAL;
    return ec == std::errc() ? value : 0;
}

std::string AppraisalCalculators::format(double value, int decimals)
{
    char buffer[512];
    // Beyond 15 digits a double holds no more exact digits: the digits shown would be noise and
    // the text too long to read, so large results read in scientific notation.
    if (std::abs(value) >= 1e15)
        std::snprintf(buffer, sizeof buffer, "%.9e", value);
    else
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string s = buffer;
    if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos)
        s.erase(0, 1);
    return s;
}

CalculationOutcome AppraisalCalculators::compute(int number, const std::vector<std::string> &inputs)
{
    CalculationOutcome outcome;
    if (number < 0 || number >= Count)
        return outcome;
    const Calculator &calc = all()[static_cast<std::size_t>(number)];
    Inputs x(calc.inputs.size(), 0.0);
    for (std::size_t i = 0; i < x.size() && i < inputs.size(); ++i)
        x[i] = leadingNumber(inputs[i]);

    for (const Check &check : kChecks) {
        if (check.calculator != number || passes(check.rule, x[static_cast<std::size_t>(check.box)]))
            continue;
        outcome.message = check.rule == Rule::NonZero ? MustNotBeZero : MayBeWrong;
        outcome.icon = MessageIcon::Information;
        outcome.clearBoxes = {check.box};
        outcome.focusBox = check.box;
        return outcome;
    }
    if (number == 10 && x[4] + x[2] == 0) {
        outcome.message = SumMustNotBeZero;
        outcome.icon = MessageIcon::Warning;
        outcome.clearBoxes = {2, 4};
        outcome.focusBox = 2;
        return outcome;
    }
    try {
        const double value = finite(formulas()[static_cast<std::size_t>(number)](x));
        outcome.result = format(value, calc.decimals);
    } catch (const ArithmeticFailure &) {
        outcome.message = OutOfRange;
        outcome.icon = MessageIcon::Warning;
    }
    return outcome;
}

} // namespace vantor
