// Reading Excel workbooks: files written by libxlsxwriter and by another program read back
// cell by cell, and hostile or damaged files refused with a message.

#include "import/XlsxReader.h"

#include "import/ImportError.h"
#include "import/ImportTestFiles.h"

#include <xlsxwriter.h>

#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::inputAt;

struct Expected {
    int col, row;
    const char *input;
};

void expectInputs(const ForeignSheet &s, std::initializer_list<Expected> cells)
{
    for (const Expected &e : cells)
        EXPECT_EQ(inputAt(s, e.col, e.row), e.input) << e.col << "," << e.row;
}

// A ledger sheet and an empty sheet; inline strings when `inlineStrings` (libxlsxwriter's
// constant-memory mode), shared strings otherwise.
void writeLedger(const std::string &path, bool inlineStrings)
{
    lxw_workbook_options options{};
    options.constant_memory = inlineStrings ? LXW_TRUE : LXW_FALSE;
    lxw_workbook *wb = workbook_new_opt(path.c_str(), &options);
    lxw_worksheet *ws = workbook_add_worksheet(wb, "台账");
    lxw_format *date = workbook_add_format(wb);
    format_set_num_format(date, "yyyy-mm-dd");
    worksheet_set_column(ws, 1, 1, 20, nullptr);
    worksheet_write_string(ws, 0, 0, "名称", nullptr);
    worksheet_write_string(ws, 0, 1, "O'Brien & <公司>", nullptr);
    worksheet_write_number(ws, 1, 2, 1234.5, nullptr);
    worksheet_write_number(ws, 1, 3, -0.1, nullptr);
    worksheet_write_boolean(ws, 2, 0, 1, nullptr);
    lxw_datetime day{2024, 2, 29, 0, 0, 0};
    worksheet_write_datetime(ws, 3, 0, &day, date);
    worksheet_merge_range(ws, 4, 0, 5, 2, "合并", nullptr);
    worksheet_write_number(ws, 12402, 63, 7, nullptr);
    workbook_add_worksheet(wb, "空表");
    ASSERT_EQ(workbook_close(wb), LXW_NO_ERROR);
}

TEST(XlsxReader, ReadsWhatLibxlsxwriterWrote)
{
    test::TempDir dir;
    for (const bool inlineStrings : {false, true}) {
        SCOPED_TRACE(inlineStrings ? "inline strings" : "shared strings");
        const std::string path = dir.file("ledger.xlsx");
        writeLedger(path, inlineStrings);
        const auto sheets = XlsxReader::read(path);
        ASSERT_EQ(sheets.size(), 2u);
        const ForeignSheet &s = sheets[0];
        EXPECT_EQ(s.name, "台账");
        expectInputs(s, {{0, 0, "名称"},
                         {1, 0, "O'Brien & <公司>"},
                         {2, 1, "1234.5"},
                         {3, 1, "-0.1"},
                         {0, 2, "TRUE"},
                         {0, 3, "2024-02-29"},
                         {0, 4, "合并"},
                         {1, 4, "<empty>"},
                         {63, 12402, "7"}});
        EXPECT_EQ(test::cellAt(s, 2, 1)->value, CellValue::number(1234.5));
        EXPECT_EQ(s.merges, (std::vector<CellRange>{{0, 4, 2, 5}}));
        EXPECT_TRUE(s.rows == 12403 && s.cols == 64); // the last row and column that fit
        ASSERT_FALSE(s.colWidths.empty());
        EXPECT_EQ(s.colWidths.front().first, 1);
        EXPECT_TRUE(sheets[1].name == "空表" && sheets[1].cells.empty() && sheets[1].rows == 0);
    }
}

TEST(XlsxReader, ReadsAFileFromAnotherProgram)
{
    // Prefixed element names, an absolute workbook path, rich and phonetic text, the 1904
    // date system, an error value, a formula's text result and cells without addresses.
    const auto sheets = XlsxReader::read(VANTOR_TEST_DATA_DIR "/import/other-program.xlsx");
    ASSERT_EQ(sheets.size(), 1u);
    const ForeignSheet &s = sheets[0];
    EXPECT_EQ(s.name, "明细");
    expectInputs(s, {{0, 0, "机器设备"},
                     {1, 0, "行内文字"},
                     {2, 0, "富文本 "},
                     {0, 2, "1904-01-01"},
                     {1, 2, "-1234.5"},
                     {2, 2, "#DIV/0!"},
                     {3, 2, "FALSE"},
                     {4, 2, "O'Brien & Co"},
                     {5, 2, "<empty>"},
                     {6, 2, "<empty>"},
                     {0, 3, "1904-01-02 12:00:00"}});
    EXPECT_TRUE(s.rows == 4 && s.cols == 5);
    EXPECT_EQ(s.merges, (std::vector<CellRange>{{0, 4, 2, 5}}));
    EXPECT_EQ(s.colWidths.size(), 2u);
}

TEST(XlsxReader, DatesAndReferences)
{
    EXPECT_EQ(XlsxReader::serialDateText(59, false, false), "1900-02-28");
    EXPECT_EQ(XlsxReader::serialDateText(61, false, false), "1900-03-01");
    EXPECT_EQ(XlsxReader::serialDateText(45351.99999999, false, true), "2024-03-01 00:00:00");
    for (const char *code : {"[$-804]yyyy\"年\"m\"月\"", "[h]:mm"})
        EXPECT_TRUE(XlsxReader::isDateFormat(code)) << code;
    for (const char *code : {"#,##0_);[Red](#,##0)", "\"days\" 0", "0.0\\d"})
        EXPECT_FALSE(XlsxReader::isDateFormat(code)) << code;
    int col = 0, row = 0;
    EXPECT_TRUE(XlsxReader::parseReference("BL12403", col, row) && col == 63 && row == 12402);
    for (const char *bad : {"", "A", "A0", "A1048577", "XFE1", "A1B"})
        EXPECT_FALSE(XlsxReader::parseReference(bad, col, row)) << bad;
}

struct Hostile {
    const char *what;
    test::ZipParts parts;
    const char *message; // part of the message
};

TEST(XlsxReader, RefusesHostileAndDamagedFiles)
{
    const std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\">"
                               "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;\">]>"
                               "<worksheet><sheetData><row><c t=\"inlineStr\"><is><t>&c;</t></is></c></row>"
                               "</sheetData></worksheet>";
    auto withSheet = [](const std::string &xml) { return test::minimalWorkbook(xml); };
    auto without = [](test::ZipParts parts, const std::string &name) {
        std::erase_if(parts, [&](const auto &p) { return p.first == name; });
        return parts;
    };
    const test::ZipParts fine = withSheet("<worksheet><sheetData/></worksheet>");
    const Hostile cases[] = {
        {"entity expansion", withSheet(laughs), "实体声明"},
        {"row beyond the limit",
         withSheet("<worksheet><sheetData><row r=\"1048576\"><c r=\"A1048576\"><v>1</v></c>"
                   "</row></sheetData></worksheet>"),
         "12403"},
        {"column beyond the limit",
         withSheet("<worksheet><sheetData><row r=\"1\"><c r=\"BM1\"><v>1</v></c></row></sheetData></worksheet>"), "64"},
        {"shared string out of range",
         withSheet("<worksheet><sheetData><row><c t=\"s\"><v>5</v></c></row></sheetData></worksheet>"), "共享文本"},
        {"broken xml", withSheet("<worksheet><sheetData><row>"), "损坏"},
        {"no workbook part", without(fine, "xl/workbook.xml"), "xl/workbook.xml"},
        {"no worksheet part", without(fine, "xl/worksheets/sheet1.xml"), "sheet1.xml"},
        {"no sheets",
         {{"xl/workbook.xml", "<workbook/>"}, {"xl/_rels/workbook.xml.rels", "<Relationships/>"}},
         "没有工作表"},
    };
    test::TempDir dir;
    for (const Hostile &c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.file("hostile.xlsx");
        test::writeZip(path, c.parts);
        try {
            XlsxReader::read(path);
            ADD_FAILURE() << "read";
        } catch (const ImportError &e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
    // An empty dimension claim far beyond the limit is only a claim.
    const std::string dimension = dir.file("dimension.xlsx");
    test::writeZip(dimension,
                   withSheet("<worksheet><dimension ref=\"A1:XFD1048576\"/><sheetData><row r=\"1\">"
                             "<c r=\"A1\"><v>1</v></c><c r=\"Z99999\" s=\"1\"/></row></sheetData></worksheet>"));
    EXPECT_EQ(XlsxReader::read(dimension)[0].rows, 1);
    // Cells outside rows and row numbers of 0 or beyond any limit land inside the sheet.
    test::writeZip(dimension, withSheet("<worksheet><sheetData><c><v>1</v></c><row r=\"0\"><c><v>2</v></c></row>"
                                        "<row r=\"99999999999\"><c r=\"A1\"><v>3</v></c></row><row r=\"2147483647\"/>"
                                        "<row><c><v>4</v></c></row></sheetData></worksheet>"));
    EXPECT_THROW(XlsxReader::read(dimension), ImportError);
}

TEST(XlsxReader, RefusesZipBombsTruncatedFilesAndOtherFiles)
{
    test::TempDir dir;
    const std::string bomb = dir.file("bomb.xlsx");
    std::string padding(3 * 1024 * 1024, ' ');
    test::writeZip(bomb, test::minimalWorkbook("<worksheet><sheetData>" + padding + "</sheetData></worksheet>"));
    EXPECT_LT(std::filesystem::file_size(bomb), 64u * 1024);
    EXPECT_THROW(XlsxReader::read(bomb, 1024 * 1024), ImportError);
    EXPECT_NO_THROW(XlsxReader::read(bomb, 4 * 1024 * 1024));

    const std::string ledger = dir.file("ledger.xlsx");
    writeLedger(ledger, false);
    const std::string whole = test::readFile(ledger);
    test::writeFile(dir.file("cut.xlsx"), whole.substr(0, whole.size() - 30));
    EXPECT_THROW(XlsxReader::read(dir.file("cut.xlsx")), ImportError);
    // A damaged byte inside compressed data fails its checksum.
    std::string flipped = whole;
    flipped[whole.size() / 3] = static_cast<char>(flipped[whole.size() / 3] ^ 0x55);
    test::writeFile(dir.file("flipped.xlsx"), flipped);
    EXPECT_THROW(XlsxReader::read(dir.file("flipped.xlsx")), ImportError);

    test::writeFile(dir.file("text.xlsx"), "名称,金额\n");
    EXPECT_THROW(XlsxReader::read(dir.file("text.xlsx")), ImportError);
    EXPECT_THROW(XlsxReader::read(dir.file("missing.xlsx")), ImportError);
}

} // namespace
} // namespace vantor
