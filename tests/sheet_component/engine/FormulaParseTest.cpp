#include "sheet_component/engine/Formula.h"

#include <gtest/gtest.h>

#include <string>

namespace vantor {
namespace {

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
        "",
        "=",
        "1+",
        "(1",
        "1)",
        "sum()",
        "if(1,2,3,4)",
        "abs()",
        "getcell(1,2)",
        "abc1x",
        "c0",
        "1..2",
        "c1:sum(a1)",
        "==1",
        "a1 b1",
        "sum(a1,)",
        "中文",
        "'; drop table pmprop; --",
        "#REF",
        "AAAA1",
        "A99999999",
        "$A$1",
        "\"text\"",
        "a1:b2:c3",
        "1+*2",
        "1=>2",
        "sum(a1:b2",
        "a1;b1",
        "1e999",
        "sum(1)(2)",
    };
    for (const char *text : bad) {
        std::string error;
        EXPECT_FALSE(Formula::parse(text, &error).has_value()) << '"' << text << '"';
        EXPECT_NE(error.find("公式"), std::string::npos) << text << ": " << error;
    }
    EXPECT_FALSE(Formula::parse(std::string_view("1+\0"
                                                 "2",
                                                 4))
                     .has_value());
}

TEST(FormulaParse, NestingIsLimited)
{
    auto nested = [](int depth) { return std::string(depth, '(') + "1" + std::string(depth, ')'); };
    EXPECT_TRUE(Formula::parse(nested(150)));
    EXPECT_FALSE(Formula::parse(nested(250)));
    EXPECT_FALSE(Formula::parse(nested(100000))); // no stack overflow
    EXPECT_FALSE(Formula::parse(std::string(100000, '-') + "1"));
    std::string calls;
    for (int i = 0; i < 100000; ++i)
        calls += "abs(";
    EXPECT_FALSE(Formula::parse(calls + "1"));
    std::string error;
    EXPECT_FALSE(Formula::parse(nested(300), &error));
    EXPECT_NE(error.find("嵌套"), std::string::npos);
}

} // namespace
} // namespace vantor
