// Reading text tables: quoting, separators, line ends, the two encodings and the limits.

#include "import/TextTableReader.h"

#include "import/ImportError.h"
#include "import/ImportTestFiles.h"

#include <gtest/gtest.h>

namespace vantor
{
namespace
{

using test::inputAt;

TEST(TextTableReader, SplitsQuotedCommaSeparatedValues)
{
    const ForeignSheet s = TextTableReader::parse(
        "\xEF\xBB\xBF名称,金额,备注\r\n\"O'Brien, \"\"Ltd\"\"\",\"1,234.50\",\"两行\n文字\"\r\n,,\n\n末行,-7",
        ',', "t");
    EXPECT_EQ(inputAt(s, 0, 0), "名称");
    EXPECT_EQ(inputAt(s, 0, 1), "O'Brien, \"Ltd\"");
    EXPECT_EQ(inputAt(s, 1, 1), "1,234.50");
    EXPECT_EQ(test::cellAt(s, 1, 1)->value, CellValue::number(1234.5));
    EXPECT_EQ(inputAt(s, 2, 1), "两行\n文字");
    EXPECT_EQ(inputAt(s, 0, 2), "<empty>");
    EXPECT_EQ(inputAt(s, 0, 4), "末行");
    EXPECT_EQ(inputAt(s, 1, 4), "-7");
    EXPECT_EQ(s.rows, 5);
    EXPECT_EQ(s.cols, 3);

    // Tabs: quotes are ordinary characters.
    const ForeignSheet t = TextTableReader::parse("\"a\tb,c\n", '\t', "t");
    EXPECT_EQ(inputAt(t, 0, 0), "\"a");
    EXPECT_EQ(inputAt(t, 1, 0), "b,c");
}

TEST(TextTableReader, DecodesGb18030WhenTheTextIsNotUtf8)
{
    // 资产 in GB18030, then a four-byte GB18030 sequence (U+20000).
    EXPECT_EQ(TextTableReader::toUtf8("\xD7\xCA\xB2\xFA,1\n"), "资产,1\n");
    EXPECT_EQ(TextTableReader::toUtf8("\x95\x32\x82\x36"), "\xF0\xA0\x80\x80");
    EXPECT_EQ(TextTableReader::toUtf8("\xEF\xBB\xBF资产"), "资产");
    for (const char *bad : {"\xC0\xAF", "\xED\xA0\x80", "\xE8\xB5", "\xF8\x88\x80\x80\x80"})
        EXPECT_FALSE(TextTableReader::isValidUtf8(bad)) << bad;
    EXPECT_TRUE(TextTableReader::isValidUtf8("资产 abc \xF0\x9F\x98\x80"));
    // A lone lead byte at the end fits neither encoding.
    EXPECT_THROW(TextTableReader::toUtf8("abc\x81"), ImportError);
}

TEST(TextTableReader, ReadsFilesByExtensionAndRefusesTooLargeTables)
{
    test::ScratchDir dir;
    test::writeBytes(dir.file("台账.csv"), "\xD7\xCA\xB2\xFA,2\n");
    const ForeignSheet csv = TextTableReader::read(dir.file("台账.csv"));
    EXPECT_EQ(csv.name, "台账");
    EXPECT_EQ(inputAt(csv, 0, 0), "资产");
    EXPECT_EQ(inputAt(csv, 1, 0), "2");
    test::writeBytes(dir.file("tabs.csv"), "a\tb\n");
    EXPECT_EQ(inputAt(TextTableReader::read(dir.file("tabs.csv")), 1, 0), "b");
    test::writeBytes(dir.file("ledger.txt"), "a,b\tc\n");
    EXPECT_EQ(inputAt(TextTableReader::read(dir.file("ledger.txt")), 1, 0), "c");

    std::string rows;
    for (int i = 0; i < ForeignSheet::MaxRows; ++i)
        rows += "1\n";
    EXPECT_EQ(TextTableReader::parse(rows, ',', "t").rows, ForeignSheet::MaxRows);
    EXPECT_THROW(TextTableReader::parse(rows + "1\n", ',', "t"), ImportError);
    // Empty lines past the limit hold nothing and are no problem.
    EXPECT_NO_THROW(TextTableReader::parse(rows + "\n\n", ',', "t"));
    EXPECT_THROW(TextTableReader::parse(std::string(ForeignSheet::MaxCols, ',') + "x", ',', "t"),
                 ImportError);
    EXPECT_THROW(TextTableReader::read(dir.file("missing.csv")), ImportError);
}

} // namespace
} // namespace vantor
