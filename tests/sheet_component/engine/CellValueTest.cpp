#include "sheet_component/engine/CellValue.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(CellValue, TextReadsAsNumberOnlyWhenItIsOne)
{
    struct Case {
        const char *text;
        double value;
    } numeric[] = {
        {" 12 ", 12}, {"-3.5", -3.5}, {"+5", 5}, {".5", 0.5}, {"1e3", 1000}, {"1,234.5", 1234.5},
    };
    for (const Case &c : numeric) {
        double out = -99;
        EXPECT_TRUE(parseCellNumber(c.text, out)) << c.text;
        EXPECT_EQ(out, c.value) << c.text;
        EXPECT_EQ(CellValue::text(c.text).toNumber(), c.value) << c.text;
    }
    const char *other[] = {"", "12abc", "inf", "nan", "0x10", "1e999", "--1", "1,23", "'1'", "1 2", "-"};
    for (const char *text : other) {
        double out = -99;
        EXPECT_FALSE(parseCellNumber(text, out)) << text;
        EXPECT_EQ(CellValue::text(text).toNumber(), 0.0) << text;
    }
}

} // namespace
} // namespace vantor
