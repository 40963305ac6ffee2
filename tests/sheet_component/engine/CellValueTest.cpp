#include "sheet_component/engine/CellValue.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(CellValue, KindsAndAccessors)
{
    CellValue empty;
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(empty.number(), 0.0);
    EXPECT_EQ(empty.text(), "");

    CellValue n = CellValue::number(12.5);
    EXPECT_TRUE(n.isNumber());
    EXPECT_EQ(n.number(), 12.5);
    EXPECT_EQ(n.text(), "");

    CellValue t = CellValue::text("资产");
    EXPECT_TRUE(t.isText());
    EXPECT_EQ(t.text(), "资产");
    EXPECT_EQ(t.number(), 0.0);

    CellValue e = CellValue::error(CellError::Div0);
    EXPECT_TRUE(e.isError());
    EXPECT_EQ(e.error(), CellError::Div0);
    EXPECT_EQ(e.text(), "");
    EXPECT_EQ(e.toNumber(), 0.0);
}

TEST(CellValue, EqualityComparesKindAndPayload)
{
    EXPECT_EQ(CellValue(), CellValue());
    EXPECT_EQ(CellValue::number(1), CellValue::number(1));
    EXPECT_NE(CellValue::number(1), CellValue::text("1"));
    EXPECT_NE(CellValue::number(0), CellValue());
    EXPECT_NE(CellValue::text(""), CellValue());
    EXPECT_NE(CellValue::error(CellError::Ref), CellValue::error(CellError::Value));
    EXPECT_EQ(CellValue::error(CellError::Ref), CellValue::error(CellError::Ref));
}

TEST(CellValue, ErrorTexts)
{
    EXPECT_STREQ(cellErrorText(CellError::Value), "#VALUE!");
    EXPECT_STREQ(cellErrorText(CellError::Ref), "#REF!");
    EXPECT_STREQ(cellErrorText(CellError::Div0), "#DIV/0!");
    EXPECT_STREQ(cellErrorText(CellError::Name), "#NAME?");
    EXPECT_STREQ(cellErrorText(CellError::Parse), "#ERROR!");
    EXPECT_STREQ(cellErrorText(CellError::Cycle), "#CYCLE!");
}

TEST(CellValue, TextReadsAsNumberOnlyWhenItIsOne)
{
    struct Case {
        const char *text;
        double value;
    } numeric[] = {
        {"12", 12}, {" 12 ", 12}, {"-3.5", -3.5}, {"+5", 5}, {".5", 0.5}, {"1e3", 1000},
        {"1,234.5", 1234.5}, {"0", 0}, {"-0.0001", -0.0001},
    };
    for (const Case &c : numeric) {
        double out = -99;
        EXPECT_TRUE(parseCellNumber(c.text, out)) << c.text;
        EXPECT_EQ(out, c.value) << c.text;
        EXPECT_EQ(CellValue::text(c.text).toNumber(), c.value) << c.text;
    }
    const char *other[] = {"", "  ", "abc", "12abc", "inf", "nan", "-nan", "0x10", "1e999", "--1", "1,23",
                           "'1'", "一", "1 2", "+-1", "-"};
    for (const char *text : other) {
        double out = -99;
        EXPECT_FALSE(parseCellNumber(text, out)) << text;
        EXPECT_EQ(CellValue::text(text).toNumber(), 0.0) << text;
    }
}

} // namespace
} // namespace vantor
