#include "summation/ProjectCheck.h"

#include "project/ProjectSource.h"
#include "project/ProjectStore.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DecimalCheck.h"
#include "sheets/DetailLayouts.h"
#include "sheets/RowArithmetic.h"
#include "sheets/RowFormulas.h"
#include "sheets/SheetCatalogue.h"
#include "summation/SheetTotals.h"
#include "summation/SummaryContent.h"
#include "summation/SummarySheets.h"

#include <array>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

namespace vantor {

namespace {

using Sums = std::map<int16_t, SheetTotals>;

// A cell's number as an amount. Below 10^11 a double that is the nearest one to a
// four-decimal amount is that amount, which spares the decimal conversion for the numbers
// the sheets hold.
std::optional<Amount> amountOf(double v)
{
    if (v > -1e11 && v < 1e11) {
        const double scaled = v * static_cast<double>(Amount::kScale);
        const auto units = static_cast<int64_t>(std::llround(scaled));
        if (static_cast<double>(units) / static_cast<double>(Amount::kScale) == v)
            return Amount::fromUnits(units);
    }
    return Amount::fromDouble(v);
}

// A cell as the row formulas read it: empty, error and non-numeric text as 0.
std::optional<Amount> formulaOperand(const Sheet &sheet, int col, int row)
{
    const CellValue v = sheet.value(col, row);
    if (v.isNumber())
        return amountOf(v.number());
    if (v.isText())
        return Amount::parse(v.text()).value_or(Amount());
    return Amount();
}

bool moreThanTwoDecimals(double v)
{
    const double cents = v * 100.0;
    if (std::abs(cents) < 9e15 && static_cast<double>(std::llround(cents)) / 100.0 == v)
        return false;
    return DecimalCheck::hasMoreThanTwoDecimals(v);
}

bool blankText(const std::string &text)
{
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

std::string money(Amount a)
{
    return a.toString(2);
}

std::string percent(Amount a)
{
    return a.toString(2) + "%";
}

bool sameToTheCent(Amount a, Amount b)
{
    return a.rounded(2) == b.rounded(2);
}

std::string plainHeading(std::string_view heading)
{
    std::string text;
    for (char c : heading)
        if (c != '\r' && c != '\n' && c != ' ')
            text += c;
    return text;
}

std::string operandText(const DetailLayout &layout, const RuleOperand &o)
{
    if (o.col < 0)
        return money(o.constant);
    return plainHeading(layout.heading(o.col)) + (o.percent ? "%" : "");
}

// "数量×单价" for the rule of a derived cell.
std::string ruleText(const DetailLayout &layout, const RowAssignment &as)
{
    const char *op = as.op == '+' ? "＋" : as.op == '*' ? "×" : "÷";
    std::string text = operandText(layout, as.a) + op + operandText(layout, as.b);
    const bool unitConstant =
        as.c.col < 0 && (as.c.constant.isZero() || as.c.constant == Amount::fromUnits(Amount::kScale));
    if (!unitConstant)
        text += op + operandText(layout, as.c);
    return text;
}

std::optional<Amount> evaluate(const Sheet &sheet, const RowAssignment &as, int row)
{
    const auto value = [&](const RuleOperand &o) {
        return o.col < 0 ? std::optional(o.constant) : formulaOperand(sheet, o.col, row);
    };
    const auto a = value(as.a), b = value(as.b), c = value(as.c);
    if (!a || !b || !c)
        return std::nullopt;
    try {
        if (as.op == '*') {
            const int extra = (as.a.percent ? 2 : 0) + (as.b.percent ? 2 : 0) + (as.c.percent ? 2 : 0);
            return RowArithmetic::product(*a, *b, *c, extra);
        }
        return RowArithmetic::apply(as.op, *a, *b, *c);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

std::optional<Amount> rateOf(Amount adjusted, Amount appraised)
{
    try {
        return RowArithmetic::rate(adjusted, appraised);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

bool beyond(Amount rate, Amount limit)
{
    return rate.abs() > limit;
}

// The summary sheets 表1 (in ten thousand yuan and in yuan) and 表2 of one set of sums,
// evaluated in a workbook of their own.
class SummaryEvaluation {
public:
    static constexpr int B1 = 0, B2 = 1, B0 = 2, B0Yuan = 3;

    SummaryEvaluation()
    {
        m_workbook.setSheetLabel(0, "b1");
        m_workbook.DoAddSheet("b2");
        m_workbook.DoAddSheet("b0");
        m_workbook.DoAddSheet("b0y");
    }

    void build(const Sums &sums)
    {
        UndoPause pause(m_workbook);
        const int b1Sheet = B1 + 1;
        apply(SummarySheets::content(1, sums, b1Sheet, false), B1);
        apply(SummarySheets::content(2, sums, b1Sheet, false), B2);
        apply(SummarySheets::content(0, sums, b1Sheet, false), B0);
        apply(SummarySheets::content(0, sums, b1Sheet, true), B0Yuan);
    }

    // The cell in column `col` and 1-based row `rowNumber`, to the cent.
    Amount at(int sheet, int col, int rowNumber) const
    {
        const CellValue v = m_workbook.DoGetSheetCellData(col, rowNumber - 1, sheet);
        return amountOf(v.number()).value_or(Amount()).rounded(2);
    }

private:
    using Cell = std::pair<int, int>;
    struct Written {
        bool built = false;
        std::map<Cell, std::string> formulas;
        std::set<Cell> values;
    };

    // Writes a sheet's content. The formulas are the same for nearly every set of sums, so
    // after the first build only the values and the formulas whose text changed are written,
    // and the values of the previous sums that this content lacks go back to 0.
    void apply(const SummaryContent &content, int sheet)
    {
        Written &w = m_written[static_cast<std::size_t>(sheet)];
        if (!w.built) {
            content.writeTo(m_workbook, sheet);
            for (const SummaryCell &c : content.cells) {
                if (c.formula.empty())
                    w.values.insert({c.col, c.row});
                else
                    w.formulas[{c.col, c.row}] = c.formula;
            }
            w.built = true;
            return;
        }
        std::set<Cell> values;
        for (const SummaryCell &c : content.cells) {
            const Cell at{c.col, c.row};
            if (c.formula.empty()) {
                values.insert(at);
                const double number = c.value.toDouble();
                const CellValue old = m_workbook.DoGetSheetCellData(c.col, c.row, sheet);
                if (w.formulas.erase(at) > 0 || !old.isNumber() || old.number() != number)
                    m_workbook.DoSetCellData(c.col, c.row, number, sheet);
            } else if (auto it = w.formulas.find(at); it == w.formulas.end() || it->second != c.formula) {
                m_workbook.DoSetCellFormula(c.col, c.row, c.formula, sheet);
                w.formulas[at] = c.formula;
            }
        }
        for (const Cell &at : w.values)
            if (!values.count(at) && !w.formulas.count(at))
                m_workbook.DoSetCellData(at.first, at.second, 0.0, sheet);
        w.values = std::move(values);
    }

    Workbook m_workbook;
    std::array<Written, 4> m_written;
};

class Checker {
public:
    Checker(const ProjectStore &store, const CheckLimits &limits, ProjectKind kind)
        : m_store(store), m_limits(limits), m_kind(kind)
    {
        if (kind == ProjectKind::DataEntry)
            for (const SheetListRow &row : store.sheets())
                m_names[row.id] = {row.code, row.name};
    }

    CheckReport report;
    int16_t node = 0;
    std::string nodeName;

    void add(CheckSeverity severity, int sheetId, int col, int row, std::string message)
    {
        CheckFinding f;
        f.severity = severity;
        f.node = node;
        f.nodeName = nodeName;
        f.sheetId = sheetId;
        if (sheetId >= 0) {
            auto [code, name] = names(sheetId);
            f.sheetCode = std::move(code);
            f.sheetName = std::move(name);
        }
        f.col = col;
        f.row = row;
        f.message = std::move(message);
        report.findings.push_back(std::move(f));
    }

    void checkDetailSheet(const Workbook &workbook, int index, int id, const Sums &stored);
    void checkStoredTotals(const Workbook &workbook, int index, int id, const Sums &stored);
    void checkSummarySheets(const Sums &sums);
    void checkSheetRates(const Sums &sums);
    void checkTexts(const ProjectNode &projectNode, const Sums &sums, bool detailSheets);

private:
    std::pair<std::string, std::string> names(int id) const
    {
        if (auto it = m_names.find(id); it != m_names.end())
            return it->second;
        if (const SummarySheetEntry *s = SheetCatalogue::summaryEntry(id))
            return {std::string(s->code), std::string(s->name)};
        return SheetCatalogue::codeAndName(id);
    }

    const ProjectStore &m_store;
    CheckLimits m_limits;
    ProjectKind m_kind;
    std::map<int, std::pair<std::string, std::string>> m_names;
    SummaryEvaluation m_summary;
};

void Checker::checkStoredTotals(const Workbook &workbook, int index, int id, const Sums &stored)
{
    const SheetTotalsReading reading = readSheetTotals(workbook, id, index);
    for (const TotalCellProblem &p : reading.problems)
        add(CheckSeverity::Error, id, p.col, p.row, "合计单元格显示为“" + p.shown + "”，应为金额。");
    if (!reading.problems.empty())
        return;
    std::map<int16_t, SheetTotals> expected;
    for (const SheetDataRow &row : reading.rows)
        expected[row.id] = row.totals;
    const ColumnRoles roles =
        id == SheetCatalogue::ContraSheetId ? DetailLayouts::ContraRoles : DetailLayouts::columnRoles(id);
    for (const int16_t rid : reading.replacedIds) {
        const SheetTotals want = expected.count(rid) ? expected[rid] : SheetTotals{};
        const SheetTotals have = stored.count(rid) ? stored.at(rid) : SheetTotals{};
        if (want == have)
            continue;
        // Shown as the sheet shows them: liabilities and contra rows are stored negated.
        const bool negated = SheetCatalogue::isStoredNegated(rid);
        const auto shown = [negated](Amount a) { return money(negated ? -a : a); };
        const int row = SheetCatalogue::isContraRow(rid)
                            ? rid - SheetCatalogue::FirstContraRowId + DetailLayouts::ContraFirstRow
                            : DetailLayouts::TotalRow;
        add(CheckSeverity::Error, id, roles.book, row,
            "保存的合计数（帐面价值 " + shown(have.v1) + "，调整后帐面值 " + shown(have.v2) + "，评估价值 " +
                shown(have.v3) + "）与合计行不符，应为 " + shown(want.v1) + "、" + shown(want.v2) + "、" +
                shown(want.v3) + "：请在本表按“计算合计行”后切换表格或保存项目。");
    }
}

void Checker::checkDetailSheet(const Workbook &workbook, int index, int id, const Sums &stored)
{
    const DetailLayout *layout = DetailLayouts::layout(id);
    if (!layout) {
        checkStoredTotals(workbook, index, id, stored);
        return;
    }
    const Sheet &sheet = workbook.sheet(index);
    const ColumnRoles roles = layout->roles;
    const std::vector<int> summed = layout->summedColumns();
    const std::set<int> moneyColumns{roles.book,     roles.adjusted,     roles.appraised,
                                     roles.costBook, roles.costAdjusted, roles.costAppraised};
    const int rateCol = layout->rateColumn;
    const bool recomputes = RowFormulas::recomputesRows(id);
    const std::vector<const RowAssignment *> rules =
        recomputes ? RowFormulas::assignmentsFor(id, -1) : std::vector<const RowAssignment *>{};

    std::map<int, Amount> sums;
    std::set<int> unsummable;
    int halfFilled = 0;
    int firstHalfRow = -1;
    std::string firstHalfWhat;
    const auto cellText = [&](int col, int row) { return workbook.displayText(index, col, row); };

    for (int row = DetailLayouts::FirstDataRow; row < sheet.rows(); ++row) {
        if (sheet.storedCols(row) == 0)
            continue;
        bool anyAmount = false;
        for (const int c : summed) {
            const CellValue v = sheet.value(c, row);
            if (v.isNumber()) {
                const auto a = amountOf(v.number());
                if (!a) {
                    add(CheckSeverity::Error, id, c, row, "数值超出金额范围，应为正常的金额。");
                    unsummable.insert(c);
                    continue;
                }
                try {
                    sums[c] += *a;
                } catch (const AmountOverflow &) {
                    unsummable.insert(c);
                }
                anyAmount = anyAmount || !a->isZero();
                if (moneyColumns.count(c) && moreThanTwoDecimals(v.number()))
                    add(CheckSeverity::Error, id, c, row,
                        "金额 " + DecimalCheck::valueText(v.number()) + " 有两位以上小数，应保留两位小数。");
            } else if (v.isText() && !blankText(v.text())) {
                add(CheckSeverity::Error, id, c, row, "“" + v.text() + "”是文字，此列合计求和，应填数字。");
            } else if (v.isError()) {
                add(CheckSeverity::Error, id, c, row, "单元格为错误值" + cellText(c, row) + "，应为数字。");
            }
        }
        if (rateCol > 0) {
            const CellValue v = sheet.value(rateCol, row);
            if (v.isText() && !blankText(v.text()))
                add(CheckSeverity::Error, id, rateCol, row, "“" + v.text() + "”是文字，增值率应为数字。");
        }

        for (const RowAssignment *as : rules) {
            const auto want = evaluate(sheet, *as, row);
            const auto have = formulaOperand(sheet, as->target, row);
            if (want && have && !sameToTheCent(*want, *have))
                add(CheckSeverity::Error, id, as->target, row,
                    plainHeading(layout->heading(as->target)) + "应为 " + ruleText(*layout, *as) + " = " +
                        money(*want) + "，表中为 " + money(*have) + "：计算单元格被改写。");
        }
        if (rateCol > 0) {
            const auto adjusted = formulaOperand(sheet, roles.adjusted, row);
            const auto appraised = formulaOperand(sheet, roles.appraised, row);
            const auto have = formulaOperand(sheet, rateCol, row);
            const auto want = adjusted && appraised ? rateOf(*adjusted, *appraised) : std::nullopt;
            if (recomputes && want && have && !sameToTheCent(*want, *have))
                add(CheckSeverity::Error, id, rateCol, row,
                    "增值率应为（评估价值－调整后帐面值）÷|调整后帐面值|×100 = " + percent(*want) + "，表中为 " +
                        percent(*have) + "。");
            else if (have && beyond(*have, m_limits.rowRate))
                add(CheckSeverity::Hint, id, rateCol, row,
                    "增值率 " + percent(*have) + " 超出 ±" + percent(m_limits.rowRate) + "，请核实。");
        }

        // Derived cells hold 0 in rows not filled yet, so only a value other than 0 counts.
        const auto filled = [&sheet, row](int col) {
            const CellValue v = sheet.value(col, row);
            return (v.isNumber() && v.number() != 0) || (v.isText() && !blankText(v.text()));
        };
        const bool hasBook = filled(roles.book);
        const bool hasAppraised = filled(roles.appraised);
        std::string what;
        if (hasAppraised && !hasBook)
            what = "有评估价值而没有帐面价值";
        else if (hasBook && !hasAppraised)
            what = "有帐面价值而没有评估价值";
        else if (!anyAmount) {
            const CellValue name = sheet.value(1, row);
            const std::size_t k = static_cast<std::size_t>(row - DetailLayouts::FirstDataRow);
            const bool prefilled = k < layout->prefilled.size() && name.isText() && name.text() == layout->prefilled[k];
            if (name.isText() && !blankText(name.text()) && !prefilled)
                what = "有名称而没有金额";
        }
        if (!what.empty() && halfFilled++ == 0) {
            firstHalfRow = row;
            firstHalfWhat = what;
        }
    }
    if (halfFilled > 0)
        add(CheckSeverity::Hint, id, 1, firstHalfRow,
            "本表有 " + std::to_string(halfFilled) + " 行只填了一半（第一处：第 " + std::to_string(firstHalfRow + 1) +
                " 行" + firstHalfWhat + "），应补全或删除。");

    for (const int c : summed) {
        if (unsummable.count(c))
            continue;
        const CellValue v = sheet.value(c, DetailLayouts::TotalRow);
        const auto total = v.isNumber() ? amountOf(v.number()) : std::nullopt;
        if (v.isNumber() && total && !sameToTheCent(*total, sums[c]))
            add(CheckSeverity::Error, id, c, DetailLayouts::TotalRow,
                "合计行为 " + money(*total) + "，应等于各数据行之和 " + money(sums[c]) + "。");
    }
    checkStoredTotals(workbook, index, id, stored);

    const auto adjusted = formulaOperand(sheet, roles.adjusted, DetailLayouts::TotalRow);
    const auto appraised = formulaOperand(sheet, roles.appraised, DetailLayouts::TotalRow);
    if (const auto rate = adjusted && appraised ? rateOf(*adjusted, *appraised) : std::nullopt;
        rate && beyond(*rate, m_limits.sheetRate))
        add(CheckSeverity::Hint, id, rateCol > 0 ? rateCol : roles.appraised, DetailLayouts::TotalRow,
            "全表增值率 " + percent(*rate) + " 超出 ±" + percent(m_limits.sheetRate) + "，请核实。");
}

void Checker::checkSheetRates(const Sums &sums)
{
    for (const auto &[id, t] : sums) {
        if (!SheetCatalogue::isDetail(id))
            continue;
        if (const auto rate = rateOf(t.v2, t.v3); rate && beyond(*rate, m_limits.sheetRate)) {
            const int rateCol = DetailLayouts::rateColumn(id);
            add(CheckSeverity::Hint, id, rateCol > 0 ? rateCol : DetailLayouts::columnRoles(id).appraised,
                DetailLayouts::TotalRow,
                "全表增值率 " + percent(*rate) + " 超出 ±" + percent(m_limits.sheetRate) + "，请核实。");
        }
    }
}

void Checker::checkSummarySheets(const Sums &sums)
{
    using E = SummaryEvaluation;
    m_summary.build(sums);
    constexpr std::array<const char *, 5> columnNames{"帐面价值", "调整值", "调整后帐面值", "评估价值", "增减值"};
    constexpr std::array<const char *, 4> b0ColumnNames{"帐面价值", "调整后帐面值", "评估价值", "增减值"};
    const auto balance = [&](int sheetId, int col, const char *column, Amount assets, Amount liabilities, Amount net,
                             int netRow) {
        if (assets - liabilities != net)
            add(CheckSeverity::Error, sheetId, col, netRow - 1,
                std::string(column) + "列：资产总计 " + money(assets) + " － 负债总计 " + money(liabilities) +
                    " 应等于净资产 " + money(assets - liabilities) + "，表中为 " + money(net) + "。");
    };
    // 表1: assets in row 12, liabilities in row 15, net assets in row 16, columns C … F.
    for (int k = 0; k < 4; ++k) {
        const int col = 2 + k;
        balance(0, col, b0ColumnNames[static_cast<std::size_t>(k)], m_summary.at(E::B0, col, 12),
                m_summary.at(E::B0, col, 15), m_summary.at(E::B0, col, 16), 16);
    }
    // 表2: assets in row 40 of 表2-1, liabilities in row 26 and net assets in row 28 of 表2-2.
    for (int k = 0; k < 5; ++k) {
        const int col = 2 + k;
        balance(2, col, columnNames[static_cast<std::size_t>(k)], m_summary.at(E::B1, col, 40),
                m_summary.at(E::B2, col, 26), m_summary.at(E::B2, col, 28), 28);
    }

    // Class rows of 表2 against the sums of their detail sheets (book, adjusted, appraised).
    struct ClassRow {
        int sheet; // 1: 表2-1, 2: 表2-2
        int row;
        const char *caption;
        std::optional<SheetGroup> group;
        int id; // a single sheet when there is no group
    };
    static const std::array<ClassRow, 9> classRows{{
        {1, 2, "流动资产", SheetGroup::CurrentAssets, 0},
        {1, 19, "长期投资", SheetGroup::LongTermInvestments, 0},
        {1, 20, "固定资产", SheetGroup::FixedAssets, 0},
        {1, 32, "无形资产", SheetGroup::IntangibleAssets, 0},
        {1, 35, "递延资产", SheetGroup::DeferredAssets, 0},
        {1, 38, "其他长期资产", std::nullopt, 56},
        {1, 39, "递延税款借项", std::nullopt, 57},
        {2, 2, "流动负债", SheetGroup::CurrentLiabilities, 0},
        {2, 18, "长期负债", SheetGroup::LongTermLiabilities, 0},
    }};
    for (const ClassRow &c : classRows) {
        Amount book, adjusted, appraised;
        for (const auto &[id, t] : sums) {
            if (c.group ? !SheetCatalogue::inGroup(*c.group, id) : id != c.id)
                continue;
            book += t.v1;
            adjusted += t.v2;
            appraised += t.v3;
        }
        if (c.sheet == 2) {
            book = -book;
            adjusted = -adjusted;
            appraised = -appraised;
        }
        const int sheet = c.sheet == 1 ? E::B1 : E::B2;
        const std::array<std::pair<int, Amount>, 3> cells{{{2, book}, {4, adjusted}, {5, appraised}}};
        for (const auto &[col, want] : cells) {
            const Amount have = m_summary.at(sheet, col, c.row);
            if (have != want.rounded(2))
                add(CheckSeverity::Error, c.sheet, col, c.row - 1,
                    std::string(c.caption) + "应等于其明细表之和 " + money(want) + "，表中为 " + money(have) + "。");
        }
    }

    // 表1 in ten thousand yuan against 表1 in yuan: each figure is rounded once or a few times.
    const Amount tolerance = Amount::fromUnits(300 * Amount::kScale);
    for (int row = 3; row <= 16; ++row)
        for (int col = 2; col <= 5; ++col) {
            const Amount wan = m_summary.at(E::B0, col, row);
            const Amount yuan = m_summary.at(E::B0Yuan, col, row);
            if ((wan.times(Amount::fromUnits(10000 * Amount::kScale)) - yuan).abs() > tolerance)
                add(CheckSeverity::Error, 0, col, row - 1,
                    "以万元显示为 " + money(wan) + "，以元显示为 " + money(yuan) + "，两者应在舍入误差内相等。");
        }
}

void Checker::checkTexts(const ProjectNode &projectNode, const Sums &sums, bool detailSheets)
{
    const NodeProperties &p = projectNode.properties;
    if (!p.pgjzr)
        add(CheckSeverity::Hint, -1, -1, -1, "没有填写评估基准日期，应在项目基本信息中填写。");
    if (!p.zczydw || blankText(*p.zczydw))
        add(CheckSeverity::Hint, -1, -1, -1, "没有填写资产占有单位，应在项目基本信息中填写。");

    // The sheets that hold data: detail sheets with totals, and the summary sheets they feed.
    std::set<int> withData;
    for (const auto &[id, t] : sums) {
        if (t.isZero())
            continue;
        const int sheet = SheetCatalogue::isContraRow(id) ? SheetCatalogue::ContraSheetId : id;
        if (detailSheets && SheetCatalogue::isDetail(sheet))
            withData.insert(sheet);
        for (int s = 0; s < SummarySheets::Count; ++s) {
            const SummaryQuery q = SummarySheets::query(s);
            bool admitted = s == 3 ? SheetCatalogue::inGroup(SheetGroup::CurrentAssets, id) : false;
            for (const SheetIdRange &r : q.ids)
                admitted = admitted || (id >= r.first && id <= r.last);
            if (admitted || s == 0)
                withData.insert(s);
        }
    }
    std::map<int, SheetSignatories> signatories;
    for (const SheetSignatories &row : m_store.signatories(projectNode.pmid))
        signatories[row.id] = row;
    for (const int id : withData) {
        const auto it = signatories.find(id);
        const bool preparer = it != signatories.end() && !blankText(it->second.tbr);
        const bool appraiser = it != signatories.end() && !blankText(it->second.pgry);
        if (!preparer || !appraiser)
            add(CheckSeverity::Hint, id, -1, -1,
                std::string("没有填写") +
                    (!preparer && !appraiser ? "填表人和评估人员"
                     : !preparer             ? "填表人"
                                             : "评估人员") +
                    "，应在“设置 > 签章人员”中填写。");
    }
}

} // namespace

std::string CheckFinding::cellName() const
{
    if (col < 0 || row < 0)
        return {};
    return RowFormulas::columnLetter(col) + std::to_string(row + 1);
}

int CheckReport::count(CheckSeverity severity) const
{
    int n = 0;
    for (const CheckFinding &f : findings)
        n += f.severity == severity ? 1 : 0;
    return n;
}

std::string CheckReport::summary() const
{
    if (findings.empty())
        return "检查完毕：未发现错误和提示。";
    return "检查完毕：错误 " + std::to_string(count(CheckSeverity::Error)) + " 项，提示 " +
           std::to_string(count(CheckSeverity::Hint)) + " 项。";
}

CheckReport ProjectCheck::run(const Workbook &workbook, const ProjectStore &store, const CheckLimits &limits,
                              std::optional<int16_t> onlyNode)
{
    const ProjectKind kind = store.kind();
    Checker ck(store, limits, kind);
    if (kind == ProjectKind::DataEntry) {
        const Sums stored = store.sumsById();
        // The detail sheets the workbook holds, found by their labels ("b16").
        for (int index = 0; index < workbook.SheetCount(); ++index) {
            const std::string label = workbook.DoGetSheetLabel(index);
            const auto id = SheetCatalogue::idOfLabel(label);
            if (id && SheetCatalogue::isDetail(*id) && label == SheetCatalogue::label(*id))
                ck.checkDetailSheet(workbook, index, *id, stored);
        }
        ck.checkSummarySheets(stored);
        if (const auto root = store.node(0))
            ck.checkTexts(*root, stored, true);
        return std::move(ck.report);
    }

    // A summary project: every data node from its stored rows, read in one pass.
    std::map<int16_t, Sums> byNode;
    for (const SheetDataRow &row : store.sheetData()) {
        SheetTotals &t = byNode[row.pmid][row.id];
        t.v1 += row.totals.v1;
        t.v2 += row.totals.v2;
        t.v3 += row.totals.v3;
        t.z1 += row.totals.z1;
        t.z2 += row.totals.z2;
        t.z3 += row.totals.z3;
    }
    std::map<int16_t, NodeSource> sources;
    for (const NodeSource &s : store.nodeSources())
        sources[s.pmid] = s;
    for (const ProjectNode &n : store.nodes()) {
        if (n.pmid == 0 || n.nodetype != static_cast<int16_t>(NodeType::Data) || (onlyNode && *onlyNode != n.pmid))
            continue;
        ck.node = n.pmid;
        ck.nodeName = n.properties.pmname.value_or("");
        const Sums &sums = byNode[n.pmid];
        ck.checkSheetRates(sums);
        ck.checkSummarySheets(sums);
        ck.checkTexts(n, sums, false);
        if (const auto it = sources.find(n.pmid); it != sources.end()) {
            const NodeSource &s = it->second;
            const std::string now = std::filesystem::exists(s.path) ? ProjectSource::checksum(s.path) : std::string();
            if (!now.empty() && now != s.checksum)
                ck.add(
                    CheckSeverity::Hint, -1, -1, -1,
                    "接收后源文件" + s.path +
                        "已改动，应选本结点后用“数据 > 更新项目数据”更新（或 vantor-cli refresh 汇总项目.mdb --node " +
                        std::to_string(n.pmid) + " \"" + s.path + "\"）。");
        }
    }
    return std::move(ck.report);
}

const char *ProjectCheck::severityText(CheckSeverity severity)
{
    return severity == CheckSeverity::Error ? "错误" : "提示";
}

namespace {

std::string csvField(const std::string &text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

} // namespace

std::string ProjectCheck::csv(const CheckReport &report)
{
    std::string out = "级别,结点,表号,表名,单元格,说明\r\n";
    for (const CheckFinding &f : report.findings) {
        out += std::string(severityText(f.severity)) + "," + csvField(f.nodeName) + "," + csvField(f.sheetCode) + "," +
               csvField(f.sheetName) + "," + f.cellName() + "," + csvField(f.message) + "\r\n";
    }
    return out;
}

std::string ProjectCheck::line(const CheckFinding &f)
{
    std::string node = f.node ? std::to_string(f.node) + " " + f.nodeName : std::string("-");
    return std::string(severityText(f.severity)) + "\t" + node + "\t" + (f.sheetCode.empty() ? "-" : f.sheetCode) +
           "\t" + (f.cellName().empty() ? "-" : f.cellName()) + "\t" + f.message;
}

} // namespace vantor
