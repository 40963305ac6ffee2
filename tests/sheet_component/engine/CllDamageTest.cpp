#include "CllTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace vantor {
namespace {

using test::CraftedWorkbook;
using Kind = CllFileError::Kind;

// A file whose content overflows the 1024-byte minimum, so that truncation and flips hit
// content, not only padding.
std::string realFile()
{
    Workbook wb;
    wb.setSheetLabel(0, "b10");
    wb.SetRows(120);
    for (int row = 0; row < 120; ++row) {
        wb.DoSetCellData(0, row, row * 10.25);
        wb.DoSetCellData(1, row, "行" + std::to_string(row));
    }
    wb.DoSetCellFormula(2, 0, "sum(A1:A120)");
    wb.DoJoinCells(3, 0, 4, 1);
    return CllFile::toBytes(wb);
}

Kind refusalKind(const std::string &bytes)
{
    try {
        CllFile::fromBytes(bytes);
    } catch (const CllFileError &error) {
        EXPECT_FALSE(std::string(error.what()).empty());
        return error.kind();
    }
    ADD_FAILURE() << "damaged file was accepted";
    return Kind::SaveFailed;
}

TEST(CllFileDamage, TruncationAndEverySingleBitFlipAreRefused)
{
    const std::string file = realFile();
    ASSERT_NO_THROW(CllFile::fromBytes(file));
    for (std::size_t length = 0; length < file.size(); ++length)
        ASSERT_EQ(refusalKind(file.substr(0, length)), length < CllFile::MinFileSize ? Kind::TooShort : Kind::Damaged)
            << "length " << length;
    for (std::size_t offset = 0; offset < file.size(); ++offset)
        for (int bit = 0; bit < 8; ++bit) {
            std::string damaged = file;
            damaged[offset] = static_cast<char>(damaged[offset] ^ (1 << bit));
            ASSERT_THROW(CllFile::fromBytes(damaged), CllFileError) << "byte " << offset << " bit " << bit;
        }
}

TEST(CllFileDamage, EnvelopeFaultsGiveTheRightKindAndAChineseMessage)
{
    const std::string file = realFile();
    std::string lineEnds = file; // "\r\n" -> "\n" as a careless transfer does
    lineEnds.erase(lineEnds.find("\r\n"), 1);
    lineEnds.push_back('\0');
    std::string magic = file;
    magic[1] = 'X';
    test::fixChecksum(magic);
    std::string version = file;
    version[9] = static_cast<char>(version[9] ^ 0x10); // checksum not updated: damage, not "newer"
    std::string longContent = CraftedWorkbook().file();
    CllBinaryWriter length;
    length.u64(longContent.size());
    longContent.replace(16, 8, length.buffer());
    test::fixChecksum(longContent);
    std::string hiddenInPadding = CraftedWorkbook().file();
    hiddenInPadding[hiddenInPadding.size() - 20] = 'x';
    test::fixChecksum(hiddenInPadding);

    const struct {
        std::string bytes;
        Kind kind;
    } cases[] = {
        {"", Kind::TooShort},
        {std::string(1023, 'x'), Kind::TooShort},
        {std::string(4096, '\0'), Kind::NotWorkbook},
        {lineEnds, Kind::NotWorkbook},
        {magic, Kind::NotWorkbook},
        {file + std::string(1, '\0'), Kind::Damaged},
        {file + file, Kind::Damaged},
        {version, Kind::Damaged},
        {test::cllEnvelope(CraftedWorkbook().content(), 0), Kind::Damaged},
        {test::cllEnvelope(CraftedWorkbook().content(), 1, 1), Kind::Damaged},
        {longContent, Kind::Damaged},
        {hiddenInPadding, Kind::Damaged},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(refusalKind(cases[i].bytes), cases[i].kind) << "case " << i;

    try {
        CllFile::fromBytes(test::cllEnvelope(CraftedWorkbook().content(), CllFile::FormatVersion + 1));
        FAIL() << "newer version accepted";
    } catch (const CllFileError &error) {
        EXPECT_EQ(error.kind(), Kind::NewerVersion);
        EXPECT_NE(std::string(error.what()).find("较新版本"), std::string::npos) << error.what();
    }
    try {
        CllFile::fromBytes(version);
    } catch (const CllFileError &error) {
        EXPECT_NE(std::string(error.what()).find("已损坏"), std::string::npos) << error.what();
    }
}

// --- crafted content with a correct checksum: nothing may be trusted ------------------------

std::string varints(std::initializer_list<std::uint64_t> values)
{
    CllBinaryWriter w;
    for (auto v : values)
        w.varint(v);
    return w.buffer();
}

std::string head(std::uint64_t cols, std::uint64_t rows)
{
    CllBinaryWriter h;
    h.string("b10");
    h.varint(cols);
    h.varint(rows);
    return h.buffer();
}

TEST(CllFileCrafted, UnknownSectionsAreSkipped)
{
    CraftedWorkbook c;
    c.extraTop = test::section("FUTR", "whatever a later version writes");
    c.extraSheet = test::section("NOTE", std::string(100, '\xFF'));
    EXPECT_EQ(CllFile::fromBytes(c.file())->DoGetSheetCellData(1, 2, 0).number(), 12.5);
    c.merges = varints({1, 0, 0, 2, 3});
    EXPECT_EQ(CllFile::fromBytes(c.file())->sheet(0).merges().size(), 1u);
}

TEST(CllFileCrafted, BadCountsSizesAndRecordsAreRefusedBeforeAllocating)
{
    const std::string cell = varints({1, 0, 1, 0});
    CllBinaryWriter hugeDecimal;
    hugeDecimal.u8(2);
    hugeDecimal.svarint(std::numeric_limits<std::int64_t>::max());
    const std::function<void(CraftedWorkbook &)> damages[] = {
        [](auto &c) { c.book = varints({2, 0}) + c.book.substr(2); },       // sheet count
        [](auto &c) { c.book = varints({1ULL << 40, 0}) + c.book.substr(2); },
        [](auto &c) { c.book = varints({1, 1}) + c.book.substr(2); },       // current sheet
        [](auto &c) { c.head = head(CllFile::MaxCols + 1, 4); },
        [](auto &c) { c.head = head(3, CllFile::MaxRows + 1); },
        [](auto &c) { c.head = head(~0ULL, 1ULL << 62); },
        [](auto &c) { c.cells = varints({1, 4, 1, 0}) + std::string(1, '\0'); }, // row outside
        [](auto &c) { c.cells = varints({1, 0, 1, 3}) + std::string(1, '\0'); }, // column outside
        [](auto &c) { c.cells = varints({1, 0, 2, 1, ~0ULL}) + std::string(1, '\0'); },
        [](auto &c) { c.cells = varints({1ULL << 60}); },
        [](auto &c) { c.cells = varints({1, 0, 1ULL << 60, 0}) + std::string(1, '\0'); },
        [](auto &c) { c.cells = varints({1, 0, 0}); }, // a row group without cells
        [&](auto &c) { c.cells = cell + std::string(1, '\x05'); },          // unknown value kind
        [&](auto &c) { c.cells = cell + std::string(1, '\x20'); },          // unknown flag
        [&](auto &c) { c.cells = cell + std::string("\x04\x06", 2); },      // unknown error code
        [&](auto &c) { c.cells = cell + std::string("\x10\x01", 2); },      // style beyond the table
        [&](auto &c) { c.cells = cell + std::string("\x03\x7F", 2) + "abc"; },
        [&](auto &c) { c.cells = cell + std::string("\x08", 1) + varints({1ULL << 50}); },
        [&](auto &c) { c.cells = cell + hugeDecimal.buffer(); },
        [](auto &c) { c.cells += '\0'; }, // trailing bytes
        [](auto &c) { c.book += '\0'; },
        [](auto &c) { c.print += '\0'; },
        [](auto &c) { c.colWidths = CraftedWorkbook::runs(2, 72); }, // runs must cover exactly
        [](auto &c) { c.colWidths = CraftedWorkbook::runs(4, 72); },
        [](auto &c) { c.rowHeights = varints({2, 0, 20, 4, 20}); },
        [](auto &c) { c.rowHeights = varints({1, 4, 1ULL << 40}); },
        [](auto &c) { c.merges = varints({1, 0, 0, 3, 0}); }, // outside
        [](auto &c) { c.merges = varints({1, 2, 0, 1, 0}); }, // reversed
        [](auto &c) { c.merges = varints({1ULL << 40}); },
        [](auto &c) { c.styles = varints({1ULL << 40}); },
        [](auto &c) { c.styles = varints({0}); },
        [](auto &c) {
            const std::size_t breaksAt = c.print.size() - 3;
            c.print = c.print.substr(0, breaksAt) + varints({1ULL << 40}) + c.print.substr(breaksAt + 1);
        },
    };
    for (std::size_t i = 0; i < std::size(damages); ++i) {
        CraftedWorkbook c;
        damages[i](c);
        EXPECT_EQ(refusalKind(c.file()), Kind::Damaged) << "case " << i;
    }
}

TEST(CllFileCrafted, MissingDuplicateAndSectionLengthFaultsAreRefused)
{
    const CraftedWorkbook c;
    const std::string book = test::section("BOOK", c.book), sheet = test::section("SHET", c.sheetBody()),
                      styles = test::section("STYL", c.styles);
    CllBinaryWriter longSection;
    longSection.u32(cllTag("BOOK"));
    longSection.u64(~0ULL - 4);
    std::vector<std::string> contents = {sheet + styles,        book + sheet,          book + styles, "",
                                         book + book + sheet + styles, book + sheet + styles + styles,
                                         longSection.buffer()};
    const std::string parts[] = {test::section("HEAD", c.head),      test::section("CELL", c.cells),
                                 test::section("COLW", c.colWidths), test::section("ROWH", c.rowHeights),
                                 test::section("MERG", c.merges),    test::section("FRZN", c.frozen),
                                 test::section("PRNT", c.print),     test::section("VIEW", c.view)};
    for (std::size_t skip = 0; skip < std::size(parts); ++skip) {
        std::string body;
        for (std::size_t i = 0; i < std::size(parts); ++i)
            if (i != skip)
                body += parts[i];
        contents.push_back(book + test::section("SHET", body) + styles);
    }
    for (std::size_t i = 0; i < contents.size(); ++i)
        EXPECT_EQ(refusalKind(test::cllEnvelope(contents[i])), Kind::Damaged) << "case " << i;
}

TEST(CllFileCrafted, MemoryClaimedAcrossSheetsOrRowsIsLimited)
{
    // Five sheets of the maximum size each pass alone but not together.
    CraftedWorkbook c;
    c.head = head(1, CllFile::MaxRows);
    c.cells = varints({0});
    c.colWidths = CraftedWorkbook::runs(1, 72);
    c.rowHeights = CraftedWorkbook::runs(CllFile::MaxRows, 20);
    std::string sheets;
    for (int i = 0; i < 5; ++i)
        sheets += test::section("SHET", c.sheetBody());
    c.book = varints({5, 0}) + c.book.substr(2);
    EXPECT_EQ(refusalKind(test::cllEnvelope(test::section("BOOK", c.book) + sheets + test::section("STYL", c.styles))),
              Kind::Damaged);

    // Each row's last cell far to the right: few bytes in the file, a huge dense sheet in memory.
    CraftedWorkbook wide;
    wide.head = head(CllFile::MaxCols, 4000);
    wide.colWidths = CraftedWorkbook::runs(CllFile::MaxCols, 72);
    wide.rowHeights = CraftedWorkbook::runs(4000, 20);
    CllBinaryWriter cells;
    cells.varint(4000);
    for (int row = 0; row < 4000; ++row) {
        cells.varint(0);
        cells.varint(1);
        cells.varint(CllFile::MaxCols - 1);
        cells.u8(0x10); // style only
        cells.varint(0);
    }
    wide.cells = cells.buffer();
    EXPECT_EQ(refusalKind(wide.file()), Kind::Damaged);
}

} // namespace
} // namespace vantor
