#include "output/OverviewList.h"

#include "sheet_component/engine/ColumnFit.h"

#include "project/ReportQueries.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/SheetCatalogue.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace vantor {

namespace {

// The sheetdata ids a list takes: id between lo and hi, or id == extra; sign -1 for
// liabilities, stored negated.
struct ListIds {
    int lo, hi, extra, sign;
};

constexpr int NoId = std::numeric_limits<int>::min();

constexpr std::array<ListIds, 13> categoryIds{{
    {3, 57, NoId, 1},                                                            // k0 总资产
    {3, 36, NoId, 1},                                                            // k1 流动资产
    {10, 12, NoId, 1},                                                           // k2 货币资金
    {13, 14, 4, 1},                                                              // k3 短期投资
    {22, 32, 5, 1},                                                              // k4 存货
    {37, 39, 6, 1},                                                              // k5 长期投资
    {40, 51, NoId, 1},                                                           // k6 固定资产
    {52, 53, NoId, 1},                                                           // k7 无形资产
    {54, 55, NoId, 1},                                                           // k8 递延资产
    {58, 77, NoId, -1},                                                          // k9 总负债
    {58, 71, NoId, -1},                                                          // k10 流动负债
    {72, 77, NoId, -1},                                                          // k11 长期负债
    {std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), NoId, 1}, // k12 净资产: every row
}};

const std::array<OverviewTreeEntry, 13> categoryEntries{{
    {"k0", "总资产一览表", ""},
    {"k9", "总负债一览表", ""},
    {"k12", "净资产一览表", ""},
    {"k1", "流动资产", "k0"},
    {"k5", "长期投资", "k0"},
    {"k6", "固定资产", "k0"},
    {"k7", "无形资产", "k0"},
    {"k8", "递延资产", "k0"},
    {"k2", "货币资金", "k1"},
    {"k3", "短期投资", "k1"},
    {"k4", "存货", "k1"},
    {"k10", "流动负债", "k9"},
    {"k11", "长期负债", "k9"},
}};

// The category a detail sheet's entry sits under.
const char *parentOfSheet(int id)
{
    struct Span {
        int lo, hi;
        const char *key;
    };
    static constexpr Span spans[] = {{10, 12, "k2"}, {13, 14, "k3"},  {15, 21, "k1"}, {22, 32, "k4"},
                                     {33, 36, "k1"}, {37, 39, "k5"},  {40, 51, "k6"}, {52, 53, "k7"},
                                     {54, 55, "k8"}, {58, 71, "k10"}, {72, 77, "k11"}};
    for (const Span &s : spans)
        if (id >= s.lo && id <= s.hi)
            return s.key;
    return "k0";
}

std::optional<int> numberAfter(std::string_view key, std::size_t prefix)
{
    if (key.size() <= prefix)
        return std::nullopt;
    int value = 0;
    const char *first = key.data() + prefix;
    const char *last = key.data() + key.size();
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || *first == '-' || *first == '+')
        return std::nullopt;
    return value;
}

std::optional<ListIds> idsOf(std::string_view key)
{
    if (key.size() >= 2 && key[0] == 'k') {
        const auto n = numberAfter(key, 1);
        if (!n || *n >= static_cast<int>(categoryIds.size()) || std::to_string(*n) != key.substr(1))
            return std::nullopt;
        return categoryIds[static_cast<std::size_t>(*n)];
    }
    if (key.size() >= 2 && key[0] == 'b') {
        const auto id = numberAfter(key, 1);
        if (!id || *id > std::numeric_limits<int16_t>::max() || std::to_string(*id) != key.substr(1))
            return std::nullopt;
        return ListIds{*id, *id, NoId, *id < 58 ? 1 : -1};
    }
    return std::nullopt;
}

} // namespace

std::vector<OverviewTreeEntry> OverviewList::tree(Database &db)
{
    std::vector<OverviewTreeEntry> out(categoryEntries.begin(), categoryEntries.end());
    // Detail sheets with totals, named from the catalogue when it has them.
    for (const SheetListRow &sheet : ReportQueries::detailSheetsWithTotals(db)) {
        // A summary project's catalogue lacks the detail sheets: their standard names then.
        std::string name = sheet.name;
        if (name.empty())
            name = SheetCatalogue::codeAndName(sheet.id).second;
        if (name.empty())
            name = SheetCatalogue::label(sheet.id);
        out.push_back({SheetCatalogue::label(sheet.id), name, parentOfSheet(sheet.id)});
    }
    return out;
}

bool OverviewList::isKey(std::string_view key)
{
    return idsOf(key).has_value();
}

std::optional<std::vector<OverviewRow>> OverviewList::query(Database &db, std::string_view key)
{
    const auto ids = idsOf(key);
    if (!ids)
        return std::nullopt;
    std::vector<SheetIdRange> ranges{{ids->lo, ids->hi}};
    if (ids->extra != NoId)
        ranges.push_back({ids->extra, ids->extra});
    std::vector<OverviewRow> rows;
    // Liabilities are stored negated: the sign shows them positive.
    for (const NodeSums &node : ReportQueries::dataNodeSums(db, ranges))
        rows.push_back(ids->sign < 0 ? OverviewRow{node.pmname, -node.v1, -node.v2, -node.v3}
                                     : OverviewRow{node.pmname, node.v1, node.v2, node.v3});
    return rows;
}

Amount OverviewList::GrowthRate(Amount base, Amount appraised)
{
    if (base.isZero())
        return {};
    try {
        const double ratio = (appraised - base).toDouble() / base.abs().toDouble();
        const auto fraction = Amount::fromDouble(ratio);
        if (!fraction)
            return {};
        return fraction->times(Amount::fromUnits(100 * Amount::kScale)).rounded(2);
    } catch (const AmountOverflow &) {
        return {};
    }
}

OverviewSnapshot OverviewList::snapshot(Database &db)
{
    OverviewSnapshot out;
    out.unit = ReportQueries::holdingUnit(db);
    out.nodeCount = ReportQueries::dataNodeCount(db);
    out.tree = tree(db);
    for (const OverviewTreeEntry &entry : out.tree)
        out.lists[entry.key] = query(db, entry.key).value_or(std::vector<OverviewRow>{});
    return out;
}

void OverviewList::BuildOverview(Workbook &workbook, int nodeCount, const std::string &unit)
{
    const int n = nodeCount;
    workbook.DoSetDefaultFont(8, 0, "宋体");
    workbook.SetCols(Cols);
    workbook.SetRows(n + 4);
    workbook.DoSetColWidth(0, 36);
    workbook.DoSetColWidth(1, 180);

    workbook.DoJoinCells(0, 0, 6, 0);
    workbook.DoSetCellFont(0, 0, 12, 1, "宋体");
    workbook.DoSetCellAlignment(0, 0, AlignCenter);
    workbook.DoSetRowHeight(0, 36);

    workbook.DoSetCellData(0, 1, "单位名称：" + unit);
    workbook.DoJoinCells(0, 1, 4, 1);
    workbook.DoSetCellAlignment(0, 1, AlignLeft);
    workbook.DoSetCellData(5, 1, "金额单位：人民币元");
    workbook.DoJoinCells(5, 1, 6, 1);

    workbook.DoSetCellAlignment(0, -2, AlignCenter);
    workbook.DoSetCellAlignment(1, -2, AlignLeft);
    for (int col = 2; col < Cols; ++col) {
        workbook.DoSetCellAlignment(col, -2, AlignRight2);
        workbook.DoSetCellNumberStyle(col, -2, 1, false, 2, -1, 1);
        workbook.DoSetCellZeroDisplay(col, -2, 0);
    }
    static const char *const headings[Cols] = {"序号",     "项目名称", "帐面价值", "调整后帐面值",
                                               "评估价值", "增值额",   "增值率%"};
    for (int col = 0; col < Cols; ++col) {
        workbook.DoSetCellData(col, 2, headings[col]);
        workbook.DoSetCellAlignment(col, 2, AlignCenter);
    }
    // Alignment set on whole columns reaches the title and unit rows too: restore them.
    workbook.DoSetCellAlignment(0, 0, AlignCenter);
    workbook.DoSetCellAlignment(0, 1, AlignLeft);
    workbook.DoSetRangeBorder(0, 2, Cols - 1, n + 3, 0, 1, 0);
    workbook.DoSetUnScrollRow(0, 2);
    workbook.undoStack().clear();
    workbook.DoSetModified(false);
}

void OverviewList::FillOverview(Workbook &workbook, const std::vector<OverviewRow> &rows, const std::string &title)
{
    const int last = workbook.Rows() - 1;
    for (int row = FirstDataRow; row <= last; ++row) {
        workbook.DoSetCellData(0, row, "");
        workbook.DoSetCellData(1, row, "");
        for (int col = 2; col < Cols; ++col)
            workbook.DoSetCellData(col, row, 0.0);
    }
    workbook.DoSetCellData(0, 0, title);

    Amount t1, t2, t3;
    auto put = [&workbook](int row, Amount je1, Amount je2, Amount je3) {
        workbook.DoSetCellData(2, row, je1.toDouble());
        workbook.DoSetCellData(3, row, je2.toDouble());
        workbook.DoSetCellData(4, row, je3.toDouble());
        workbook.DoSetCellData(5, row, (je3 - je2).toDouble());
        workbook.DoSetCellData(6, row, GrowthRate(je2, je3).toDouble());
    };
    int row = FirstDataRow;
    // Rows beyond the sheet (a node added since the sheet was set up) are left out of
    // the sheet but not of the totals.
    for (const OverviewRow &r : rows) {
        if (row < last) {
            workbook.DoSetCellData(0, row, static_cast<double>(row - FirstDataRow + 1));
            workbook.DoSetCellData(1, row, r.pmname);
            put(row, r.je1, r.je2, r.je3);
        }
        ++row;
        t1 += r.je1;
        t2 += r.je2;
        t3 += r.je3;
    }
    workbook.DoSetCellData(1, last, "合计");
    put(last, t1, t2, t3);
    ColumnFit::toNumbers(workbook, workbook.CurrentSheet());
    workbook.undoStack().clear();
    workbook.DoSetModified(false);
}

} // namespace vantor
