#include "common/Utf8Text.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

// The one validator decides for the text importer (else GB18030) and the command line
// (else refused): every malformed sequence must be caught, every well-formed one kept.
TEST(Utf8Text, ValidatesWellFormedTextOnly)
{
    for (const char *good : {"", "abc", "资产评估", "\xC2\x80", "\xEF\xBF\xBF", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF"})
        EXPECT_TRUE(Utf8Text::isValid(good)) << good;
    for (const char *bad : {
             "\x80",             // stray continuation byte
             "\xE8\xB5",         // cut off
             "abc\xE8",          // cut off at the end
             "\xE8\x41\x80",     // continuation missing
             "\xC0\xAF",         // overlong '/'
             "\xE0\x80\xAF",     // overlong, three bytes
             "\xED\xA0\x80",     // surrogate
             "\xF4\x90\x80\x80", // beyond U+10FFFF
             "\xFF",
         })
        EXPECT_FALSE(Utf8Text::isValid(bad)) << bad;
}

} // namespace
} // namespace vantor
