#include "sheet_component/engine/Formula.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <tuple>

namespace vantor {
namespace {

// Cells of a few sheets, addressed in tests by names such as "C19".
class MapContext : public FormulaContext {
public:
    explicit MapContext(int sheets = 1) : m_sheets(sheets) {}

    void set(int sheet, const std::string &name, CellValue v)
    {
        const auto [col, row] = parseName(name);
        m_cells[{sheet, col, row}] = std::move(v);
    }
    void set(const std::string &name, double v) { set(0, name, CellValue::number(v)); }
    void set(const std::string &name, CellValue v) { set(0, name, std::move(v)); }

    CellValue value(int sheet, int col, int row) const override
    {
        ++reads;
        auto it = m_cells.find({sheet, col, row});
        return it == m_cells.end() ? CellValue() : it->second;
    }
    int sheetCount() const override { return m_sheets; }

    mutable int reads = 0;

private:
    static std::pair<int, int> parseName(const std::string &name)
    {
        size_t i = 0;
        int col = 0;
        while (i < name.size() && std::isalpha(static_cast<unsigned char>(name[i])))
            col = col * 26 + (std::toupper(static_cast<unsigned char>(name[i++])) - 'A' + 1);
        return {col - 1, std::stoi(name.substr(i)) - 1};
    }

    int m_sheets;
    std::map<std::tuple<int, int, int>, CellValue> m_cells;
};

CellValue eval(const std::string &text, const MapContext &ctx, int ownSheet = 0)
{
    std::string error;
    auto f = Formula::parse(text, &error);
    EXPECT_TRUE(f.has_value()) << text << ": " << error;
    if (!f)
        return CellValue::error(CellError::Parse);
    return f->evaluate(ctx, ownSheet);
}

double num(const std::string &text, const MapContext &ctx, int ownSheet = 0)
{
    CellValue v = eval(text, ctx, ownSheet);
    EXPECT_TRUE(v.isNumber()) << text << " gave " << (v.isError() ? cellErrorText(v.error()) : v.text());
    return v.number();
}

CellError err(const std::string &text, const MapContext &ctx)
{
    CellValue v = eval(text, ctx);
    EXPECT_TRUE(v.isError()) << text;
    return v.error();
}

// Total-row rate formulas of the detail sheets: formula, adjusted and appraised cell.
struct RateFormula {
    const char *formula;
    const char *adjusted;
    const char *appraised;
};

const RateFormula kRateFormulas[] = {
    {"IF(G3<>0,ROUND((H3-G3)/ABS(G3)*100,2),0)", "G3", "H3"},
    {"IF(H3<>0,ROUND((I3-H3)/ABS(H3)*100,2),0)", "H3", "I3"},
    {"IF(H3<>0,ROUND((J3-H3)/ABS(H3)*100,2),0)", "H3", "J3"},
    {"IF(F3<>0,ROUND((G3-F3)/ABS(F3)*100,2),0)", "F3", "G3"},
    {"IF(H3<>0,ROUND((K3-H3)/ABS(H3)*100,2),0)", "H3", "K3"},
    {"IF(I3<>0,ROUND((L3-I3)/ABS(I3)*100,2),0)", "I3", "L3"},
    {"IF(G3<>0,ROUND((K3-G3)/ABS(G3)*100,2),0)", "G3", "K3"},
    {"IF(G3<>0,ROUND((I3-G3)/ABS(G3)*100,2),0)", "G3", "I3"},
    {"IF(E3<>0,ROUND((F3-E3)/ABS(E3)*100,2),0)", "E3", "F3"},
    {"IF(D3<>0,ROUND((E3-D3)/ABS(D3)*100,2),0)", "D3", "E3"},
    {"IF(I3<>0,ROUND((J3-I3)/ABS(I3)*100,2),0)", "I3", "J3"},
    {"IF(K3<>0,ROUND((N3-K3)/ABS(K3)*100,2),0)", "K3", "N3"},
    {"IF(L3<>0,ROUND((O3-L3)/ABS(L3)*100,2),0)", "L3", "O3"},
    {"IF(I3<>0,ROUND((M3-I3)/ABS(I3)*100,2),0)", "I3", "M3"},
    {"IF(K3<>0,ROUND((L3-K3)/ABS(K3)*100,2),0)", "K3", "L3"},
};

TEST(FormulaRate, EveryTotalRowRateFormula)
{
    struct Values {
        double adjusted, appraised, rate;
    } values[] = {
        {400, 400.5, 0.12},       // rate exactly 0.125: halves to even
        {400, 401.5, 0.38},       // 0.375
        {0, 5000, 0},             // no adjusted value: 0, not a division error
        {-200, -150.5, 24.75},    // negative adjusted value: divided by its absolute value
        {1000, 750, -25},
        {100, 100, 0},
        {3, 4, 33.33},
        {7920, 11014.74, 39.08},  // computed as 39.074999999999996, decided as 39.075
        {5200, 6713.46, 29.1},    // computed as 29.105000000000004, decided as 29.105
    };
    for (const RateFormula &r : kRateFormulas) {
        for (const Values &v : values) {
            MapContext ctx;
            ctx.set(r.adjusted, v.adjusted);
            ctx.set(r.appraised, v.appraised);
            EXPECT_EQ(num(r.formula, ctx), v.rate) << r.formula << " adjusted " << v.adjusted;
        }
        MapContext blank;   // a total row not yet summed: empty cells read as 0
        EXPECT_EQ(num(r.formula, blank), 0.0) << r.formula;
    }
}

TEST(FormulaRate, SummaryRateFormulasBothSpellings)
{
    MapContext ctx;
    ctx.set("D19", -400);
    ctx.set("F19", 1.5);
    EXPECT_EQ(num("if(d19=0,0,round(f19/abs(d19)*100,2))", ctx), 0.38);
    ctx.set("D14", 400);
    ctx.set("F14", 0.5);
    EXPECT_EQ(num("if(d14<>0,round(f14/abs(d14)*100,2),0)", ctx), 0.12);
    ctx.set("D19", 0);
    EXPECT_EQ(num("if(d19=0,0,round(f19/abs(d19)*100,2))", ctx), 0.0);
}

TEST(FormulaSummary, SumsDifferencesAndChains)
{
    MapContext ctx;
    for (int r = 2; r <= 7; ++r)
        ctx.set("C" + std::to_string(r), r * 100.25);
    ctx.set("C5", CellValue::text("备注"));   // a text in the range is skipped
    ctx.set("C6", CellValue());               // so is an empty cell
    EXPECT_EQ(num("sum(c2:c7)", ctx), 200.5 + 300.75 + 401 + 701.75);
    EXPECT_EQ(num("SUM(C7:C2)", ctx), 200.5 + 300.75 + 401 + 701.75);

    ctx.set("C14", 1000.5);
    ctx.set("C15", 250.25);
    EXPECT_EQ(num("c14-c15", ctx), 750.25);

    ctx.set("C22", 10);
    ctx.set("C23", 20);
    EXPECT_EQ(num("c22+c23+1234.5", ctx), 1264.5);
    EXPECT_EQ(num("c22+c23+-1234.5", ctx), -1204.5);

    MapContext b1;
    for (int r = 3; r <= 18; ++r)
        b1.set("C" + std::to_string(r), 1);
    b1.set("C8", 100);
    EXPECT_EQ(num("sum(c3:c5)+c8+sum(c9:c18)", b1), 3 + 100 + 10);
    b1.set("C2", 1);
    b1.set("C19", 2);
    b1.set("C20", 3);
    b1.set("C32", 4);
    b1.set("C35", 5);
    b1.set("C38", 6);
    b1.set("C39", 7);
    EXPECT_EQ(num("c2+c19+c20+c32+c35+c38+c39", b1), 28);
}

TEST(FormulaSummary, DoubleMinusFromNegativeLiterals)
{
    MapContext ctx;
    ctx.set("C12", 100);
    EXPECT_EQ(num("c12--250.5", ctx), 350.5);
    EXPECT_EQ(num("c12---250.5", ctx), -150.5);
    EXPECT_EQ(num("-c12*-2", ctx), 200);
    EXPECT_EQ(num("-(c12)", ctx), -100);
}

TEST(FormulaGetcell, ReadsOtherSheetsOneBased)
{
    MapContext ctx(3);
    ctx.set(1, "C40", CellValue::number(123456789));
    ctx.set(1, "E40", CellValue::number(1250));
    ctx.set(1, "G40", CellValue::number(900));
    ctx.set(1, "H40", CellValue::number(12.5));
    ctx.set(1, "C3", CellValue::text("流动资产"));
    EXPECT_EQ(num("getcell(3,40,2)", ctx), 123456789);
    EXPECT_EQ(num("GETCELL(8,40,2)", ctx), 12.5);
    EXPECT_EQ(num("round(getcell(3,40,2)/10000,2)", ctx), 12345.68);
    EXPECT_EQ(num("round(getcell(5,40,2)/10000,2)", ctx), 0.12);   // 0.125 to even
    EXPECT_EQ(num("round(getcell(5,40,2)/1,2)", ctx), 1250);
    EXPECT_EQ(num("getcell(4,40,2)", ctx), 0);                     // empty cell
    EXPECT_EQ(eval("getcell(3,3,2)", ctx).text(), "流动资产");
    EXPECT_EQ(num("getcell(3.9,40.2,2.7)", ctx), 123456789);       // arguments truncated
    // Own sheet is sheet 1 when evaluated on sheet index 0 and "2" is always index 1.
    EXPECT_EQ(num("getcell(3,40,2)", ctx, 2), 123456789);

    EXPECT_EQ(err("getcell(3,40,4)", ctx), CellError::Ref);
    EXPECT_EQ(err("getcell(3,40,0)", ctx), CellError::Ref);
    EXPECT_EQ(err("getcell(0,40,2)", ctx), CellError::Ref);
    EXPECT_EQ(err("getcell(3,0,2)", ctx), CellError::Ref);
    EXPECT_EQ(err("getcell(3,-1,2)", ctx), CellError::Ref);
    EXPECT_EQ(err("getcell(3,1e300,2)", ctx), CellError::Ref);
    EXPECT_EQ(err("getcell(3,40,1/0)", ctx), CellError::Div0);
}

TEST(FormulaGetcell, NetAssetRateWithDoubleMinus)
{
    // "if((getcell(7,40,2)-X)=0,0,round((getcell(7,40,2)-X)/abs((getcell(5,40,2)-Y))*100 ,2))"
    // with X = -120.5 and Y = 300 written as plain decimals.
    MapContext ctx(2);
    ctx.set(1, "G40", CellValue::number(79.5));
    ctx.set(1, "E40", CellValue::number(700));
    const std::string f =
        "if((getcell(7,40,2)--120.5)=0,0,round((getcell(7,40,2)--120.5)/abs((getcell(5,40,2)-300))*100 ,2))";
    EXPECT_EQ(num(f, ctx), 50);   // (79.5 + 120.5) / 400 * 100
    ctx.set(1, "G40", CellValue::number(-120.5));
    EXPECT_EQ(num(f, ctx), 0);
}

TEST(FormulaErrors, DivisionByZeroAndPropagation)
{
    MapContext ctx;
    ctx.set("A1", 10);
    ctx.set("A2", CellValue::error(CellError::Div0));
    ctx.set("A3", CellValue::text("abc"));
    ctx.set("A4", CellValue::text("12"));
    ctx.set("A5", CellValue::error(CellError::Ref));

    EXPECT_EQ(err("1/0", ctx), CellError::Div0);
    EXPECT_EQ(err("a1/b1", ctx), CellError::Div0);           // empty divisor
    EXPECT_EQ(err("a1/(0.1+0.2-0.3)", ctx), CellError::Div0);
    EXPECT_EQ(num("if(b1<>0,a1/b1,0)", ctx), 0);             // the guarded branch is not evaluated
    EXPECT_EQ(err("a2+1", ctx), CellError::Div0);
    EXPECT_EQ(err("1+a2", ctx), CellError::Div0);
    EXPECT_EQ(err("a5+a2", ctx), CellError::Ref);            // the first error wins
    EXPECT_EQ(err("sum(a1:a2)", ctx), CellError::Div0);
    EXPECT_EQ(err("if(a2,1,2)", ctx), CellError::Div0);
    EXPECT_EQ(err("round(a2,2)", ctx), CellError::Div0);
    EXPECT_EQ(err("abs(a5)", ctx), CellError::Ref);
    EXPECT_EQ(err("-a2", ctx), CellError::Div0);
    EXPECT_EQ(err("a2=1", ctx), CellError::Div0);
    EXPECT_EQ(err("a3+1", ctx), CellError::Value);           // text in arithmetic
    EXPECT_EQ(err("if(a3,1,2)", ctx), CellError::Value);
    EXPECT_EQ(num("a4+1", ctx), 13);                         // numeric text counts
    EXPECT_EQ(num("sum(a3:a4,a1)", ctx), 10);                // cell texts skipped in sum
    EXPECT_EQ(num("sum(a4,1)", ctx), 1);
    EXPECT_EQ(err("c1:c3+1", ctx), CellError::Value);        // a range has no single value
    EXPECT_EQ(err("foo(1)", ctx), CellError::Name);
    EXPECT_EQ(err("#REF!+1", ctx), CellError::Ref);
    EXPECT_EQ(err("1e308*10", ctx), CellError::Value);       // overflow is not a number
}

TEST(FormulaArithmetic, PrecedenceAndComparisons)
{
    MapContext ctx;
    EXPECT_EQ(num("1+2*3", ctx), 7);
    EXPECT_EQ(num("(1+2)*3", ctx), 9);
    EXPECT_EQ(num("8/4/2", ctx), 1);
    EXPECT_EQ(num("10-4-3", ctx), 3);
    EXPECT_EQ(num("-2*3", ctx), -6);
    EXPECT_EQ(num("1+2=3", ctx), 1);           // comparison binds loosest
    EXPECT_EQ(num("1<2+0", ctx), 1);
    EXPECT_EQ(num("2>1", ctx), 1);
    EXPECT_EQ(num("1>=1", ctx), 1);
    EXPECT_EQ(num("1<=0", ctx), 0);
    EXPECT_EQ(num("1<>1", ctx), 0);
    EXPECT_EQ(num("a1=0", ctx), 1);            // empty reads as 0
    EXPECT_EQ(num("0.1+0.2=0.3", ctx), 1);     // decimal amounts compare as written
    EXPECT_EQ(num("0.1+0.2-0.3", ctx), 0);
    EXPECT_EQ(num("=  2 * ( 3 + 4 ) ", ctx), 14);
    EXPECT_EQ(num("if(0,1)", ctx), 0);
    EXPECT_EQ(num("round(2.5)", ctx), 2);
    EXPECT_EQ(num("round(1250,-2)", ctx), 1200);
    EXPECT_EQ(num("round(1.005,2)", ctx), 1);
    EXPECT_EQ(num("abs(-3)", ctx), 3);
    EXPECT_EQ(num("1e3+.5", ctx), 1000.5);
    ctx.set("A1", CellValue::text("Abc"));
    ctx.set("A2", CellValue::text("abc"));
    EXPECT_EQ(num("a1=a2", ctx), 1);           // texts compare without case
    EXPECT_EQ(num("a1>9999", ctx), 1);         // texts sort after numbers
    EXPECT_EQ(num("b9=a1", ctx), 0);
    EXPECT_FALSE(std::signbit(num("-0", ctx)));
    EXPECT_FALSE(std::signbit(num("0*-1", ctx)));
}

TEST(FormulaArithmetic, CompensatedSums)
{
    MapContext ctx;
    for (int r = 1; r <= 10; ++r)
        ctx.set("A" + std::to_string(r), 0.1);
    EXPECT_EQ(num("sum(a1:a10)", ctx), 1.0);
    ctx.set("B1", 1e10);
    ctx.set("B2", 0.0001);
    ctx.set("B3", -1e10);
    EXPECT_NEAR(num("sum(b1:b3)", ctx), 0.0001, 1e-12);
    ctx.set("C1", 0.1);
    ctx.set("C2", 0.2);
    ctx.set("C3", -0.3);
    EXPECT_EQ(num("sum(c1:c3)", ctx), 0.0);
    EXPECT_EQ(num("sum(c1:c3)=0", ctx), 1);
}

TEST(FormulaEvaluation, ReadsOnlyWhatItNeedsAndCapsHugeRanges)
{
    MapContext ctx;
    EXPECT_EQ(num("sum(a1:b3)", ctx), 0);
    EXPECT_EQ(ctx.reads, 6);
    EXPECT_EQ(err("sum(A1:ZZZ9999999)", ctx), CellError::Value);
    EXPECT_EQ(ctx.reads, 6);
    EXPECT_EQ(num("a1", ctx), 0);              // a formula showing an empty cell shows 0
    EXPECT_TRUE(eval("a1", ctx).isNumber());
}

TEST(FormulaEvaluation, LongChainsDoNotRecurse)
{
    MapContext ctx;
    std::string text = "1";
    for (int i = 0; i < 100000; ++i)
        text += "+1";
    EXPECT_EQ(num(text, ctx), 100001);
}

} // namespace
} // namespace vantor
