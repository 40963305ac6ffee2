// Amounts as ledgers write them: what reads as which number, and what is no number at all.

#include "common/WrittenAmount.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(WrittenAmount, ReadsTheNumberAWrittenAmountShows)
{
    const std::pair<const char *, const char *> read[] = {
        {"¥12,000.00", "12000.00"}, {"￥ 1,234", "1234"},          {"(1,500.00)", "-1500.00"},
        {"1,500.00-", "-1500.00"},  {"１２３４．５", "1234.5"},    {"－１，２３４", "-1234"},
        {"1 234.50", "1234.50"},    {"1\u2009234 567", "1234567"}, {"12,345元", "12345"},
        {"-¥0.00", "0.00"},         {" +007.10 ", "7.10"},         {".5", "0.5"},
        {"（２００）", "-200"},
    };
    for (const auto &[written, number] : read)
        EXPECT_EQ(WrittenAmount::decimalText(written), std::optional<std::string>(number)) << written;
    EXPECT_EQ(WrittenAmount::decimalText("12.5%", true), std::optional<std::string>("12.5"));
}

TEST(WrittenAmount, RefusesTextThatIsNoNumber)
{
    for (const char *text : {"abc", "壹万", "", "12%", "1,23", "12,3456", "1234,567", "--5", "-(5)", "(5", "1.2.3",
                             "1,000.5,0", "¥", "5元元", "0x10", "1e5", "12 34"})
        EXPECT_FALSE(WrittenAmount::decimalText(text)) << text;
}

} // namespace
} // namespace vantor
