#include "summation/SummarySheets.h"

#include "sheets/RowArithmetic.h"
#include "sheets/SheetCatalogue.h"

#include <array>
#include <set>
#include <string>
#include <utility>

namespace vantor {

namespace {

// Columns by index: A and B hold captions and line numbers and are never written.
constexpr int C = 2, D = 3, E = 4, F = 5, G = 6, H = 7, I = 8, J = 9, K = 10, L = 11;

// Book, adjusted and appraised amounts of one row.
struct Triple {
    Amount book, adjusted, appraised;

    Triple &operator+=(const Triple &o)
    {
        book += o.book;
        adjusted += o.adjusted;
        appraised += o.appraised;
        return *this;
    }
    Triple operator-() const { return {-book, -adjusted, -appraised}; }
};

Triple net(const SheetTotals &t)
{
    return {t.v1, t.v2, t.v3};
}
Triple cost(const SheetTotals &t)
{
    return {t.z1, t.z2, t.z3};
}

char letter(int col)
{
    return static_cast<char>('a' + col);
}
std::string num(int n)
{
    return std::to_string(n);
}

// The pattern with every '#' replaced by the column's letter ("sum(#3:#5)" → "sum(d3:d5)").
std::string forColumn(const std::string &pattern, int col)
{
    std::string text = pattern;
    for (char &c : text)
        if (c == '#')
            c = letter(col);
    return text;
}

// "if(e3=0,0,round(g3/abs(e3)*100,2))": the rate of the row's increment over its adjusted amount.
std::string rateFormula(int adjustedCol, int incrementCol, int row)
{
    const std::string a = letter(adjustedCol) + num(row);
    const std::string i = letter(incrementCol) + num(row);
    return "if(" + a + "=0,0,round(" + i + "/abs(" + a + ")*100,2))";
}

class Builder {
public:
    Builder(int rows, int cols, CellRange zeroed) { m_content = {rows, cols, zeroed, {}}; }

    void value(int col, int row, Amount a) { m_content.value(col, row, a); }
    void formula(int col, int row, std::string text) { m_content.formula(col, row, std::move(text)); }
    // The same pattern in each column from `first` to `last`.
    void across(int row, int first, int last, const std::string &pattern)
    {
        for (int col = first; col <= last; ++col)
            formula(col, row, forColumn(pattern, col));
    }

    // Seven columns: C book, D adjusted, E appraised, F increment, G rate.
    void sevenColumns(int row, const Triple &t)
    {
        value(C, row, t.book);
        value(D, row, t.adjusted);
        value(E, row, t.appraised);
        value(F, row, t.appraised - t.adjusted);
        value(G, row, RowArithmetic::rate(t.adjusted, t.appraised));
    }
    // Eight columns: C book, D adjustment, E adjusted, F appraised, G increment, H rate.
    void eightColumns(int row, const Triple &t, bool withRate)
    {
        value(C, row, t.book);
        value(D, row, t.adjusted - t.book);
        value(E, row, t.adjusted);
        value(F, row, t.appraised);
        value(G, row, t.appraised - t.adjusted);
        if (withRate)
            value(H, row, RowArithmetic::rate(t.adjusted, t.appraised));
    }
    // Subtotal row of a seven-column sheet: `pattern` in C … F, the rate formula in G.
    void sevenColumnTotal(int row, const std::string &pattern)
    {
        across(row, C, F, pattern);
        formula(G, row, rateFormula(D, F, row));
    }
    // Formula row of an eight-column sheet: `pattern` in C … G, the rate formula in H.
    void eightColumnTotal(int row, const std::string &pattern)
    {
        across(row, C, G, pattern);
        formula(H, row, rateFormula(E, G, row));
    }

    SummaryContent take() { return std::move(m_content); }

private:
    SummaryContent m_content;
};

// A zeroed block given by formula names: C3:H40 is columns 2 … 7, rows 2 … 39.
CellRange block(int col1, int row1, int col2, int row2)
{
    return {col1, row1 - 1, col2, row2 - 1};
}

// 表10 and 表9: one row per liability sheet, the total in row 19.
SummaryContent liabilityList(const SheetSums &sums, int firstId, int lastId, int firstRow)
{
    Builder b(19, 7, block(C, 2, G, 19));
    for (const auto &[id, totals] : sums)
        if (id >= firstId && id <= lastId)
            b.sevenColumns(id - firstId + firstRow, -net(totals));
    const int lastRow = lastId - firstId + firstRow;
    b.sevenColumnTotal(19, "sum(#" + num(firstRow) + ":#" + num(lastRow) + ")");
    return b.take();
}

// 表3-2, 表3-10 and 表4: one row per asset sheet of a group, the group's subtotal, its
// contra row shown as a positive provision, and the subtotal net of it.
struct GroupSheet {
    int rows;
    int firstId, lastId;
    int contraId;
    int subtotalRow; // the contra row follows it, then the net row
    const char *subtotalRate;
};

SummaryContent groupSheet(const SheetSums &sums, const GroupSheet &g)
{
    Builder b(g.rows, 7, block(C, 2, G, g.rows));
    const int contraRow = g.subtotalRow + 1;
    const int netRow = g.subtotalRow + 2;
    for (const auto &[id, totals] : sums) {
        if (id >= g.firstId && id <= g.lastId)
            b.sevenColumns(id - g.firstId + 2, net(totals));
        else if (id == g.contraId)
            b.sevenColumns(contraRow, -net(totals));
    }
    const std::string sub = num(g.subtotalRow);
    b.across(g.subtotalRow, C, F, "sum(#2:#" + num(g.lastId - g.firstId + 2) + ")");
    b.formula(G, g.subtotalRow, g.subtotalRate);
    b.across(netRow, C, F, "#" + sub + "-#" + num(contraRow));
    b.formula(G, netRow, rateFormula(D, F, netRow));
    return b.take();
}

// 表3: the current assets of b1, read through getcell.
SummaryContent currentAssets(int b1Sheet)
{
    Builder b(19, 7, block(C, 2, G, 19));
    const std::string s = "," + num(b1Sheet) + ")";
    // b1 columns C, E, F, G, H: book, adjusted, appraised, increment, rate.
    constexpr std::array<int, 5> from{3, 5, 6, 7, 8};
    for (int r = 1; r <= 16; ++r)
        for (int k = 0; k < 5; ++k)
            b.formula(C + k, r + 1, "getcell(" + num(from[k]) + "," + num(r + 2) + s);
    for (int k = 0; k < 4; ++k)
        b.formula(C + k, 19, "getcell(" + num(from[k]) + ",2" + s);
    b.formula(G, 19, rateFormula(D, F, 19));
    return b.take();
}

// 表5: twelve columns, cost (原值) and net (净值) side by side.
SummaryContent fixedAssets(const SheetSums &sums)
{
    Builder b(25, 12, block(C, 3, L, 25));
    for (const auto &[id, totals] : sums) {
        int row = 0;
        if (id >= 40 && id <= 42)
            row = id - 36;
        else if (id >= 43 && id <= 45)
            row = id - 34;
        else if (id == 46)
            row = 13;
        else if (id == 47)
            row = 15;
        else if (id == 48 || id == 49)
            row = id - 30;
        else if (id == 50)
            row = 21;
        else if (id == 51)
            row = 23;
        else
            continue;
        // Sheets 47 … 51 have no cost columns: their one amount shows in both groups.
        const Triple c = id <= 46 ? cost(totals) : net(totals);
        const Triple n = net(totals);
        b.value(C, row, c.book);
        b.value(D, row, n.book);
        b.value(E, row, c.adjusted);
        b.value(F, row, n.adjusted);
        b.value(G, row, c.appraised);
        b.value(H, row, n.appraised);
        b.value(I, row, c.appraised - c.adjusted);
        b.value(J, row, n.appraised - n.adjusted);
        b.value(K, row, RowArithmetic::rate(c.adjusted, c.appraised));
        b.value(L, row, RowArithmetic::rate(n.adjusted, n.appraised));
    }
    const std::array<std::pair<int, std::string>, 4> totalRows{{
        {3, "sum(#4:#6)"},
        {8, "sum(#9:#11)"},
        {17, "sum(#18:#19)"},
        {25, "#3+#8+#13+#15+#17+#21+#23"},
    }};
    for (const auto &[row, pattern] : totalRows) {
        b.across(row, C, J, pattern);
        b.formula(K, row, rateFormula(E, I, row));
        b.formula(L, row, rateFormula(F, J, row));
    }
    return b.take();
}

// 表2-2: liabilities by sheet, their totals and the net assets against b1.
SummaryContent liabilitiesByClass(const SheetSums &sums, int b1Sheet)
{
    Builder b(28, 8, block(C, 2, H, 28));
    for (const auto &[id, totals] : sums) {
        if (SheetCatalogue::inGroup(SheetGroup::CurrentLiabilities, id))
            b.eightColumns(id - 55, -net(totals), true);
        else if (SheetCatalogue::inGroup(SheetGroup::LongTermLiabilities, id))
            b.eightColumns(id - 53, -net(totals), true);
    }
    b.eightColumnTotal(2, "sum(#3:#16)");
    b.eightColumnTotal(18, "sum(#19:#24)");
    b.eightColumnTotal(26, "#2+#18");
    for (int col = C; col <= G; ++col)
        b.formula(col, 28, "getcell(" + num(col + 1) + ",40," + num(b1Sheet) + ")-" + letter(col) + "26");
    b.formula(H, 28, rateFormula(E, G, 28));
    return b.take();
}

// 表2-1: the assets by class.
SummaryContent assetsByClass(const SheetSums &sums)
{
    Builder b(40, 8, block(C, 3, H, 40));
    // Rows that several ids share; their rate is a formula.
    const std::set<int> shared{3, 4, 14, 19, 22, 23, 26, 27, 29};
    std::map<int, Triple> rows;
    Triple other;    // 原值 of sheet 46 (其他设备): a literal in the formulas of row 21
    Triple otherNet; // and its 净值 in those of row 25
    for (const auto &[id, totals] : sums) {
        const Triple n = net(totals);
        switch (id) {
        case 3:
            rows[7] += -n;
            break;
        case 4:
            rows[4] += n;
            break;
        case 5:
            rows[14] += n;
            break;
        case 6:
            rows[19] += n;
            break;
        case 46:
            other = cost(totals);
            otherNet = n;
            break;
        default:
            if (SheetCatalogue::inGroup(SheetGroup::CashFunds, id))
                rows[3] += n;
            else if (id == 13 || id == 14)
                rows[4] += n;
            else if (id == 15 || id == 16)
                rows[id - 10] += n;
            else if (id >= 17 && id <= 21)
                rows[id - 8] += n;
            else if (id >= 22 && id <= 32)
                rows[14] += n;
            else if (id >= 33 && id <= 36)
                rows[id - 18] += n;
            else if (id >= 37 && id <= 39)
                rows[19] += n;
            else if (id >= 40 && id <= 42) {
                rows[23] += cost(totals);
                rows[27] += n;
            } else if (id >= 43 && id <= 45) {
                rows[22] += cost(totals);
                rows[26] += n;
            } else if (id == 47)
                rows[28] += n;
            else if (id == 48 || id == 49)
                rows[29] += n;
            else if (id == 50 || id == 51)
                rows[id - 20] += n;
            else if (id == 52 || id == 53)
                rows[id - 19] += n;
            else if (id >= 54 && id <= 57)
                rows[id - 18] += n;
        }
    }
    for (const auto &[row, t] : rows)
        b.eightColumns(row, t, !shared.count(row));

    const auto rate = [&b](int row) { b.formula(H, row, rateFormula(E, G, row)); };
    rate(3);
    rate(4);
    b.eightColumnTotal(8, "#6-#7");
    rate(14);
    b.eightColumnTotal(2, "sum(#3:#5)+#8+sum(#9:#18)");
    for (int row : {19, 22, 23, 26, 27, 29})
        rate(row);
    // Fixed assets: cost and net of 40 … 45 from their rows, of 46 as literals.
    // Row `row` sums the two rows below it and sheet 46's figures, in the order the sheet writes them.
    const auto fixedAssets = [&](int row, const auto &literal) {
        const std::string r = std::to_string(row), a = std::to_string(row + 1), c = std::to_string(row + 2);
        b.formula(C, row, "c" + a + "+c" + c + "+" + SummarySheets::plainDecimal(literal.book));
        b.formula(D, row, "e" + r + "-c" + r);
        b.formula(E, row, "e" + a + "+e" + c + "+" + SummarySheets::plainDecimal(literal.adjusted));
        b.formula(F, row, "f" + a + "+f" + c + "+" + SummarySheets::plainDecimal(literal.appraised));
        b.formula(G, row, "f" + r + "-e" + r);
        rate(row);
    };
    fixedAssets(21, other);
    fixedAssets(25, otherNet);
    b.eightColumnTotal(20, "#25+sum(#28:#31)");
    b.eightColumnTotal(32, "#33+#34");
    b.eightColumnTotal(35, "#36+#37");
    b.eightColumnTotal(40, "#2+#19+#20+#32+#35+#38+#39");
    b.across(24, C, G, "#21-#25"); // accumulated depreciation: no rate
    return b.take();
}

// 表1: liabilities from the sums, everything else from b1; amounts in yuan or rounded to
// ten thousand yuan.
SummaryContent overview(const SheetSums &sums, int b1Sheet, bool yuan)
{
    Builder b(16, 7, block(C, 3, G, 16));
    Triple current, longTerm;
    for (const auto &[id, totals] : sums) {
        if (SheetCatalogue::inGroup(SheetGroup::CurrentLiabilities, id))
            current += -net(totals);
        else if (SheetCatalogue::inGroup(SheetGroup::LongTermLiabilities, id))
            longTerm += -net(totals);
    }
    Triple all = current;
    all += longTerm;

    const int64_t q = yuan ? 1 : 10000;
    const auto liabilityRow = [&b, q](int row, const Triple &t) {
        const Amount book = SummarySheets::scaled(t.book, q);
        const Amount adjusted = SummarySheets::scaled(t.adjusted, q);
        const Amount appraised = SummarySheets::scaled(t.appraised, q);
        b.value(C, row, book);
        b.value(D, row, adjusted);
        b.value(E, row, appraised);
        b.value(F, row, appraised - adjusted);
        b.value(G, row, RowArithmetic::rate(t.adjusted, t.appraised)); // of the amounts in yuan
    };
    liabilityRow(13, current);
    liabilityRow(14, longTerm);
    b.formula(C, 15, "c13+c14");
    b.formula(D, 15, "d13+d14");
    b.formula(E, 15, "e13+e14");
    b.formula(F, 15, "e15-d15");
    b.value(G, 15, RowArithmetic::rate(all.adjusted, all.appraised));

    const std::string s = "," + num(b1Sheet) + ")";
    const std::string divisor = "/" + num(static_cast<int>(q)) + ",2)";
    const std::array<std::pair<int, int>, 9> fromB1{{
        {12, 40},
        {3, 2},
        {4, 19},
        {5, 20},
        {6, 29},
        {7, 27},
        {8, 26},
        {9, 32},
        {10, 33},
    }};
    for (const auto &[row, r] : fromB1) {
        const std::string at = "," + num(r) + s;
        b.formula(C, row, "round(getcell(3" + at + divisor);
        b.formula(D, row, "round(getcell(5" + at + divisor);
        b.formula(E, row, "round(getcell(6" + at + divisor);
        b.formula(F, row, "e" + num(row) + "-d" + num(row));
        b.formula(G, row, "getcell(8" + at);
    }
    b.across(11, C, E, "#12-#3-#4-#5-#9");
    b.formula(F, 11, "e11-d11");
    b.formula(G, 11, rateFormula(D, F, 11));

    b.across(16, C, E, "#12-#15");
    b.formula(F, 16, "e16-d16");
    // Net assets' rate in yuan: (assets' increment − liabilities' increment) over the
    // adjusted net assets, 0 when those are 0.
    const std::string x = SummarySheets::plainDecimal(all.appraised - all.adjusted);
    const std::string y = SummarySheets::plainDecimal(all.adjusted);
    const std::string adjustedNet = "(getcell(5,40" + s + "-" + y + ")";
    b.formula(G, 16,
              "if(" + adjustedNet + "=0,0,round((getcell(7,40" + s + "-" + x + ")/abs(" + adjustedNet + ")*100 ,2))");
    return b.take();
}

} // namespace

SummaryQuery SummarySheets::query(int sheet)
{
    switch (sheet) {
    case 0:
    case 2:
        return {{{58, 77}}, false};
    case 1:
        return {{{10, 57}, {3, 6}}, true};
    case 4:
        return {{{13, 14}, {4, 4}}, false};
    case 5:
        return {{{22, 32}, {5, 5}}, false};
    case 6:
        return {{{37, 39}, {6, 6}}, false};
    case 7:
        return {{{40, 51}}, true};
    case 8:
        return {{{58, 71}}, false};
    case 9:
        return {{{72, 77}}, false};
    default:
        return {};
    }
}

SummaryContent SummarySheets::content(int sheet, const SheetSums &sums, int b1Sheet, bool yuan)
{
    switch (sheet) {
    case 0:
        return overview(sums, b1Sheet, yuan);
    case 1:
        return assetsByClass(sums);
    case 2:
        return liabilitiesByClass(sums, b1Sheet);
    case 3:
        return currentAssets(b1Sheet);
    case 4:
        return groupSheet(sums, {16, 13, 14, 4, 14, "if(d14<>0,round(f14/abs(d14)*100,2),0)"});
    case 5:
        return groupSheet(sums, {19, 22, 32, 5, 17, "if(d17=0,0,round(f17/abs(d17)*100,2))"});
    case 6:
        return groupSheet(sums, {16, 37, 39, 6, 14, "if(d14=0,0,round(f14/abs(d14)*100,2))"});
    case 7:
        return fixedAssets(sums);
    case 8:
        return liabilityList(sums, 58, 71, 2);
    case 9:
        return liabilityList(sums, 72, 77, 2);
    default:
        return {};
    }
}

Amount SummarySheets::scaled(Amount amount, int64_t divisor)
{
    // Units are ten-thousandths; a result in hundredths of the divided amount is
    // units ÷ (divisor × 100), rounded once, halves to the even neighbour.
    const __int128 d = static_cast<__int128>(divisor) * 100;
    const __int128 n = amount.units();
    __int128 q = n / d;
    const __int128 r = n % d;
    const __int128 twice = (r < 0 ? -r : r) * 2;
    if (twice > d || (twice == d && q % 2 != 0))
        q += n < 0 ? -1 : 1;
    return Amount::fromUnits(static_cast<int64_t>(q * 100));
}

std::string SummarySheets::plainDecimal(Amount amount)
{
    std::string text = amount.toString(Amount::kDecimals);
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

} // namespace vantor
