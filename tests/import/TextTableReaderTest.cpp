// Reading text tables: quoting, separators, line ends, the two encodings and the limits.

#include "import/TextTableReader.h"

#include "import/ImportError.h"
#include "import/ImportTestFiles.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vantor {
namespace {

using test::inputAt;

TEST(TextTableReader, SplitsQuotedCommaSeparatedValues)
{
    const ForeignSheet s = TextTableReader::parse(
        "\xEF\xBB\xBF名称,金额,备注\r\n\"O'Brien, \"\"Ltd\"\"\",\"1,234.50\",\"两行\n文字\"\r\n,,\n\n末行,-7", ',',
        "t");
    const std::tuple<int, int, const char *> cells[] = {{0, 0, "名称"},     {0, 1, "O'Brien, \"Ltd\""},
                                                        {1, 1, "1,234.50"}, {2, 1, "两行\n文字"},
                                                        {0, 2, "<empty>"},  {1, 4, "-7"}};
    for (const auto &[col, row, input] : cells)
        EXPECT_EQ(inputAt(s, col, row), input) << col << "," << row;
    EXPECT_EQ(test::cellAt(s, 1, 1)->value, CellValue::number(1234.5));
    EXPECT_TRUE(s.rows == 5 && s.cols == 3);

    // A quote left open would swallow the lines after it: refused, naming the line it opens on.
    try {
        TextTableReader::parse("a,b\r\n1,2\n3,\"4\n5,6\n", ',', "台帐");
        ADD_FAILURE();
    } catch (const ImportError &e) {
        EXPECT_STREQ(e.what(), "“台帐”第3行的引号没有结束，文件不能导入。请检查这一行后再打开。");
    }

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
    // A lone lead byte at the end fits neither encoding.
    EXPECT_THROW(TextTableReader::toUtf8("abc\x81"), ImportError);
}

TEST(TextTableReader, ReadsFilesByExtensionAndRefusesTooLargeTables)
{
    test::TempDir dir;
    test::writeFile(dir.file("ledger.txt"), "a,b\tc\n");
    EXPECT_EQ(inputAt(TextTableReader::read(dir.file("ledger.txt")), 1, 0), "c");

    std::string rows;
    for (int i = 0; i < ForeignSheet::MaxRows; ++i)
        rows += "1\n";
    EXPECT_EQ(TextTableReader::parse(rows, ',', "t").rows, ForeignSheet::MaxRows);
    EXPECT_THROW(TextTableReader::parse(rows + "1\n", ',', "t"), ImportError);
    EXPECT_THROW(TextTableReader::parse(std::string(ForeignSheet::MaxCols, ',') + "x", ',', "t"), ImportError);
    EXPECT_THROW(TextTableReader::read(dir.file("missing.csv")), ImportError);
}

} // namespace
} // namespace vantor
