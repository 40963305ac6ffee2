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
        const RangeRef cell = Formula::parse(name)->references().at(0);
        m_cells[{sheet, cell.col1, cell.row1}] = std::move(v);
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

TEST(FormulaRate, RateRoundsHalvesToEvenAndGuardsZero)
{
    const char *rate = "IF(G3<>0,ROUND((H3-G3)/ABS(G3)*100,2),0)";
    const struct {
        double adjusted, appraised, rate;
    } values[] = {
        {400, 400.5, 0.12},    // rate exactly 0.125: halves to even
        {0, 5000, 0},          // no adjusted value: 0, not a division error
        {-200, -150.5, 24.75}, // negative adjusted value: divided by its absolute value
    };
    for (const auto &v : values) {
        MapContext ctx;
        ctx.set("G3", v.adjusted);
        ctx.set("H3", v.appraised);
        EXPECT_EQ(num(rate, ctx), v.rate) << v.adjusted << " " << v.appraised;
    }
    EXPECT_EQ(num(rate, MapContext()), 0.0); // a total row not yet summed
}

TEST(FormulaSummary, SumsSkipTextsAndDoubleMinusComesFromNegativeLiterals)
{
    MapContext ctx;
    for (int r = 2; r <= 7; ++r)
        ctx.set("C" + std::to_string(r), r * 100.25);
    ctx.set("C5", CellValue::text("备注")); // a text in the range is skipped
    ctx.set("C6", CellValue());             // so is an empty cell
    EXPECT_EQ(num("sum(c2:c7)", ctx), 200.5 + 300.75 + 401 + 701.75);
    EXPECT_EQ(num("SUM(C7:C2)", ctx), 200.5 + 300.75 + 401 + 701.75);
    ctx.set("C12", 100);
    EXPECT_EQ(num("c12--250.5", ctx), 350.5);
    EXPECT_EQ(num("c12---250.5", ctx), -150.5);
}

TEST(FormulaGetcell, ReadsOtherSheetsOneBased)
{
    MapContext ctx(3);
    ctx.set(1, "C40", CellValue::number(123456789));
    ctx.set(1, "C3", CellValue::text("流动资产"));
    EXPECT_EQ(num("round(getcell(3,40,2)/10000,2)", ctx), 12345.68);
    EXPECT_EQ(num("getcell(4,40,2)", ctx), 0); // empty cell
    EXPECT_EQ(eval("getcell(3,3,2)", ctx).text(), "流动资产");
    EXPECT_EQ(num("getcell(3.9,40.2,2.7)", ctx), 123456789); // arguments truncated
    EXPECT_EQ(num("getcell(3,40,2)", ctx, 2), 123456789);    // "2" is index 1 from any sheet
    for (const char *bad : {"getcell(3,40,4)", "getcell(0,40,2)", "getcell(3,-1,2)", "getcell(3,1e300,2)"})
        EXPECT_EQ(err(bad, ctx), CellError::Ref) << bad;
    EXPECT_EQ(err("getcell(3,40,1/0)", ctx), CellError::Div0);
}

TEST(FormulaErrors, DivisionByZeroTextsAndErrorsPropagate)
{
    MapContext ctx;
    ctx.set("A1", 10);
    ctx.set("A2", CellValue::error(CellError::Div0));
    ctx.set("A3", CellValue::text("abc"));
    ctx.set("A4", CellValue::text("12"));
    ctx.set("A5", CellValue::error(CellError::Ref));
    const std::pair<const char *, CellError> errors[] = {
        {"a1/b1", CellError::Div0}, // empty divisor
        {"a1/(0.1+0.2-0.3)", CellError::Div0},
        {"a5+a2", CellError::Ref}, // the first error wins
        {"sum(a1:a2)", CellError::Div0},
        {"a3+1", CellError::Value}, // text in arithmetic
        {"foo(1)", CellError::Name},
        {"1e308*10", CellError::Value}, // overflow is not a number
    };
    for (const auto &[text, error] : errors)
        EXPECT_EQ(err(text, ctx), error) << text;
    EXPECT_EQ(num("if(b1<>0,a1/b1,0)", ctx), 0); // the guarded branch is not evaluated
    EXPECT_EQ(num("a4+1", ctx), 13);             // numeric text counts
    EXPECT_EQ(num("sum(a3:a4,a1)", ctx), 10);    // cell texts skipped in sum
}

TEST(FormulaArithmetic, PrecedenceComparisonsAndRounding)
{
    MapContext ctx;
    ctx.set("A1", CellValue::text("Abc"));
    ctx.set("A2", CellValue::text("abc"));
    const std::pair<const char *, double> cases[] = {
        {"1+2*3", 7},          {"8/4/2", 1},
        {"10-4-3", 3},         {"1<2+0", 1},
        {"b1=0", 1},           {"0.1+0.2=0.3", 1},
        {"0.1+0.2-0.3", 0},    {"=  2 * ( 3 + 4 ) ", 14},
        {"round(2.5)", 2},     {"round(1250,-2)", 1200},
        {"round(1.005,2)", 1}, {"a1=a2", 1},
    };
    for (const auto &[text, value] : cases)
        EXPECT_EQ(num(text, ctx), value) << text;
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
}

TEST(FormulaEvaluation, ReadsOnlyWhatItNeedsCapsHugeRangesAndDoesNotRecurse)
{
    MapContext ctx;
    EXPECT_EQ(num("sum(a1:b3)", ctx), 0);
    EXPECT_EQ(ctx.reads, 6);
    EXPECT_EQ(err("sum(A1:ZZZ9999999)", ctx), CellError::Value);
    EXPECT_EQ(ctx.reads, 6);
    EXPECT_EQ(num("a1", ctx), 0); // a formula showing an empty cell shows 0
    std::string text = "1";       // long chains do not recurse
    for (int i = 0; i < 100000; ++i)
        text += "+1";
    EXPECT_EQ(num(text, ctx), 100001);
}

} // namespace
} // namespace vantor
