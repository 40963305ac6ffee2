#include "sheet_component/engine/Formula.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vantor {
namespace {

class NullContext : public FormulaContext {
public:
    CellValue value(int, int col, int row) const override { return CellValue::number(col * 1000.0 + row); }
    int sheetCount() const override { return 2; }
};

std::string canonical(const std::string &text)
{
    std::string error;
    auto f = Formula::parse(text, &error);
    EXPECT_TRUE(f.has_value()) << text << ": " << error;
    return f ? f->text() : std::string();
}

TEST(FormulaParse, CanonicalText)
{
    struct Case {
        const char *text;
        const char *canonical;
    } cases[] = {
        {"IF(G3<>0,ROUND((H3-G3)/ABS(G3)*100,2),0)", "if(G3<>0,round((H3-G3)/abs(G3)*100,2),0)"},
        {"c12--250.5", "C12--250.5"},
        {"round((getcell(7,40,2)--1.5)/abs((getcell(5,40,2)-3))*100 ,2)",
         "round((getcell(7,40,2)--1.5)/abs((getcell(5,40,2)-3))*100,2)"},
        {"c7:c2", "C2:C7"},
        {"1e3+.5+2.", "1e3+.5+2."},
        {"#ref!+1", "#REF!+1"},
        {"Foo(1,a1)", "foo(1,A1)"},
        {"\tsum(\r\n a1 : a2 )", "sum(A1:A2)"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(canonical(c.text), c.canonical) << c.text;
}

TEST(FormulaParse, MalformedTextIsRefusedWithAMessage)
{
    const char *bad[] = {
        "", "=", "1+", "(1", "1)", "sum()", "if(1,2,3,4)", "abs()", "getcell(1,2)", "abc1x", "c0", "1..2",
        "c1:sum(a1)", "==1", "a1 b1", "sum(a1,)", "中文", "'; drop table pmprop; --", "#REF", "AAAA1", "A99999999",
        "$A$1", "\"text\"", "a1:b2:c3", "1+*2", "1=>2", "sum(a1:b2", "a1;b1", "1e999", "sum(1)(2)",
    };
    for (const char *text : bad) {
        std::string error;
        EXPECT_FALSE(Formula::parse(text, &error).has_value()) << '"' << text << '"';
        EXPECT_NE(error.find("公式"), std::string::npos) << text << ": " << error;
    }
    EXPECT_FALSE(Formula::parse(std::string_view("1+\0" "2", 4)).has_value());
}

TEST(FormulaParse, NestingIsLimited)
{
    auto nested = [](int depth) { return std::string(depth, '(') + "1" + std::string(depth, ')'); };
    EXPECT_TRUE(Formula::parse(nested(150)));
    EXPECT_FALSE(Formula::parse(nested(250)));
    EXPECT_FALSE(Formula::parse(nested(100000)));                    // no stack overflow
    EXPECT_FALSE(Formula::parse(std::string(100000, '-') + "1"));
    std::string calls;
    for (int i = 0; i < 100000; ++i)
        calls += "abs(";
    EXPECT_FALSE(Formula::parse(calls + "1"));
    std::string error;
    EXPECT_FALSE(Formula::parse(nested(300), &error));
    EXPECT_NE(error.find("嵌套"), std::string::npos);
}

// Random text over the formula alphabet: parsing never crashes, and whatever
// parses renders to text that parses again to the same text and evaluates.
TEST(FormulaParse, RandomTextNeverCrashes)
{
    const std::string alphabet = "0123456789.eE+-*/=<>(),:#!?$ abcdgisumfrondlABCZ\"'\t中";
    std::mt19937 rng(20261206);
    NullContext ctx;
    int parsed = 0;
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        const int length = static_cast<int>(rng() % 24);
        for (int k = 0; k < length; ++k)
            text += alphabet[rng() % alphabet.size()];
        auto f = Formula::parse(text);
        if (!f)
            continue;
        ++parsed;
        const std::string once = f->text();
        auto again = Formula::parse(once);
        ASSERT_TRUE(again) << text << " -> " << once;
        EXPECT_EQ(again->text(), once) << text;
        (void)f->evaluate(ctx, 0);
        f->insertRows(int(rng() % 5), int(rng() % 3));
        f->deleteCols(int(rng() % 5), int(rng() % 3));
        (void)f->evaluate(ctx, 0);
        EXPECT_TRUE(Formula::parse(f->text())) << f->text();
    }
    EXPECT_GT(parsed, 100);

    for (int i = 0; i < 5000; ++i) {
        std::string bytes;
        const int length = static_cast<int>(rng() % 32);
        for (int k = 0; k < length; ++k)
            bytes += static_cast<char>(rng() % 256);
        auto f = Formula::parse(bytes);
        if (f)
            (void)f->evaluate(ctx, 0);
    }
}

} // namespace
} // namespace vantor
