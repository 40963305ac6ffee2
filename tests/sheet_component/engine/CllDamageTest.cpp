#include "CllTestSupport.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::CraftedWorkbook;

// A small real file: one sheet with a number, a text, a formula and a format.
std::string smallFile()
{
    Workbook wb;
    wb.setSheetLabel(0, "b10");
    wb.SetCols(4);
    wb.SetRows(5);
    wb.DoSetCellData(1, 2, 12.5);
    wb.DoSetCellData(1, 3, "文字");
    wb.DoSetCellFormula(1, 1, "sum(B3:B5)");
    wb.DoSetCellFont(0, 0, 12, 1, "黑体");
    wb.DoJoinCells(0, 0, 1, 0);
    wb.DoSetPageHeader("左", "中", "右");
    return CllFile::toBytes(wb);
}

// A file whose content overflows the 1024-byte minimum, so that truncation and flips hit
// content, not only padding.
std::string fileBeyondPadding()
{
    Workbook wb;
    wb.setSheetLabel(0, "b10");
    wb.SetRows(120);
    for (int row = 0; row < 120; ++row) {
        wb.DoSetCellData(0, row, row * 10.25);
        wb.DoSetCellData(1, row, "行" + std::to_string(row));
    }
    wb.DoSetCellFormula(2, 0, "sum(A1:A120)");
    return CllFile::toBytes(wb);
}

CllFileError::Kind refusalKind(const std::string &bytes)
{
    try {
        CllFile::fromBytes(bytes);
    } catch (const CllFileError &error) {
        EXPECT_FALSE(std::string(error.what()).empty());
        return error.kind();
    }
    ADD_FAILURE() << "damaged file was accepted";
    return CllFileError::Kind::SaveFailed;
}

void expectDamaged(const std::string &bytes)
{
    EXPECT_EQ(refusalKind(bytes), CllFileError::Kind::Damaged);
}

// --- accidental damage: the checksum and the envelope -----------------------------------------

TEST(CllFileDamage, BaselineFilesLoad)
{
    EXPECT_NO_THROW(CllFile::fromBytes(smallFile()));
    EXPECT_NO_THROW(CllFile::fromBytes(fileBeyondPadding()));
    EXPECT_NO_THROW(CllFile::fromBytes(CraftedWorkbook().file()));
}

TEST(CllFileDamage, TruncationAtEveryLengthIsRefused)
{
    for (const std::string &file : {smallFile(), fileBeyondPadding()}) {
        for (std::size_t length = 0; length < file.size(); ++length) {
            const auto kind = refusalKind(file.substr(0, length));
            if (length < CllFile::MinFileSize)
                ASSERT_EQ(kind, CllFileError::Kind::TooShort) << "length " << length;
            else
                ASSERT_EQ(kind, CllFileError::Kind::Damaged) << "length " << length;
        }
    }
}

TEST(CllFileDamage, EverySingleBitFlipIsRefused)
{
    const std::string file = fileBeyondPadding();
    for (std::size_t offset = 0; offset < file.size(); ++offset) {
        for (int bit = 0; bit < 8; ++bit) {
            std::string damaged = file;
            damaged[offset] = static_cast<char>(damaged[offset] ^ (1 << bit));
            try {
                CllFile::fromBytes(damaged);
                FAIL() << "flip at byte " << offset << " bit " << bit << " accepted";
            } catch (const CllFileError &) {
            }
        }
    }
}

TEST(CllFileDamage, OverwrittenBlocksAreRefused)
{
    const std::string file = fileBeyondPadding();
    for (std::size_t offset = 0; offset + 64 <= file.size(); offset += 37) {
        std::string zeroed = file;
        std::fill(zeroed.begin() + static_cast<std::ptrdiff_t>(offset),
                  zeroed.begin() + static_cast<std::ptrdiff_t>(offset + 64), '\0');
        if (zeroed == file)
            continue; // the block was zeros already (padding)
        EXPECT_THROW(CllFile::fromBytes(zeroed), CllFileError) << "offset " << offset;
    }
}

TEST(CllFileDamage, AppendedBytesAreRefused)
{
    const std::string file = smallFile();
    expectDamaged(file + std::string(1, '\0'));
    expectDamaged(file + file);
}

TEST(CllFileDamage, TextModeLineEndConversionIsRefused)
{
    // "\r\n" -> "\n" as a careless transfer does: the magic itself changes.
    std::string file = smallFile();
    const auto pos = file.find("\r\n");
    ASSERT_NE(pos, std::string::npos);
    file.erase(pos, 1);
    file.push_back('\0');
    EXPECT_EQ(refusalKind(file), CllFileError::Kind::NotWorkbook);
}

TEST(CllFileDamage, ZeroFilledFileIsNotAWorkbook)
{
    EXPECT_EQ(refusalKind(std::string(4096, '\0')), CllFileError::Kind::NotWorkbook);
}

TEST(CllFileDamage, ShortFilesAreTooShortWhateverTheirContent)
{
    EXPECT_EQ(refusalKind(""), CllFileError::Kind::TooShort);
    EXPECT_EQ(refusalKind(smallFile().substr(0, 1023)), CllFileError::Kind::TooShort);
    EXPECT_EQ(refusalKind(std::string(1023, 'x')), CllFileError::Kind::TooShort);
}

TEST(CllFileDamage, WrongMagicIsNotAWorkbook)
{
    std::string file = smallFile();
    file[1] = 'X';
    test::fixChecksum(file);
    EXPECT_EQ(refusalKind(file), CllFileError::Kind::NotWorkbook);
}

TEST(CllFileDamage, NewerVersionIsRefusedByName)
{
    const std::string file = test::cllEnvelope(CraftedWorkbook().content(), CllFile::FormatVersion + 1);
    try {
        CllFile::fromBytes(file);
        FAIL() << "accepted";
    } catch (const CllFileError &error) {
        EXPECT_EQ(error.kind(), CllFileError::Kind::NewerVersion);
        EXPECT_NE(std::string(error.what()).find("较新版本"), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find(std::to_string(CllFile::FormatVersion + 1)), std::string::npos);
    }
}

TEST(CllFileDamage, DamagedVersionFieldReadsAsDamageNotAsNewerVersion)
{
    std::string file = smallFile();
    file[9] = static_cast<char>(file[9] ^ 0x10); // version 1 -> 4097, checksum not updated
    EXPECT_EQ(refusalKind(file), CllFileError::Kind::Damaged);
}

TEST(CllFileDamage, VersionZeroAndNonZeroFlagsAreRefused)
{
    expectDamaged(test::cllEnvelope(CraftedWorkbook().content(), 0));
    expectDamaged(test::cllEnvelope(CraftedWorkbook().content(), 1, 1));
}

TEST(CllFileDamage, ContentLengthBeyondFileIsRefused)
{
    std::string file = CraftedWorkbook().file();
    CllBinaryWriter w;
    w.u64(file.size());
    file.replace(16, 8, w.buffer());
    test::fixChecksum(file);
    expectDamaged(file);
}

TEST(CllFileDamage, DataHiddenInPaddingIsRefused)
{
    std::string file = CraftedWorkbook().file();
    file[file.size() - 20] = 'x';
    test::fixChecksum(file);
    expectDamaged(file);
}

// --- crafted content with a correct checksum: nothing may be trusted ------------------------

std::string varints(std::initializer_list<std::uint64_t> values)
{
    CllBinaryWriter w;
    for (auto v : values)
        w.varint(v);
    return w.buffer();
}

TEST(CllFileCrafted, MissingOrDuplicateTopSectionsAreRefused)
{
    const CraftedWorkbook c;
    const std::string sheet = test::section("SHET", c.sheetBody());
    const std::string book = test::section("BOOK", c.book);
    const std::string styles = test::section("STYL", c.styles);
    expectDamaged(test::cllEnvelope(sheet + styles));
    expectDamaged(test::cllEnvelope(book + sheet));
    expectDamaged(test::cllEnvelope(book + styles));
    expectDamaged(test::cllEnvelope(book + book + sheet + styles));
    expectDamaged(test::cllEnvelope(book + sheet + styles + styles));
    expectDamaged(test::cllEnvelope(""));
}

TEST(CllFileCrafted, UnknownSectionsAreSkipped)
{
    CraftedWorkbook c;
    c.extraTop = test::section("FUTR", "whatever a later version writes");
    c.extraSheet = test::section("NOTE", std::string(100, '\xFF'));
    const auto wb = CllFile::fromBytes(c.file());
    EXPECT_EQ(wb->DoGetSheetCellData(1, 2, 0).number(), 12.5);
}

TEST(CllFileCrafted, SectionLengthBeyondContentIsRefused)
{
    CllBinaryWriter w;
    w.u32(cllTag("BOOK"));
    w.u64(~0ULL - 4);
    expectDamaged(test::cllEnvelope(w.buffer()));
}

TEST(CllFileCrafted, SheetCountMustMatch)
{
    CraftedWorkbook c;
    c.book = varints({2, 0}) + c.book.substr(2);
    expectDamaged(c.file());
    c.book = varints({1ULL << 40, 0}) + CraftedWorkbook().book.substr(2);
    expectDamaged(c.file());
}

TEST(CllFileCrafted, CurrentSheetOutOfRangeIsRefused)
{
    CraftedWorkbook c;
    c.book = varints({1, 1}) + c.book.substr(2);
    expectDamaged(c.file());
}

TEST(CllFileCrafted, AbsurdSheetSizesAreRefusedBeforeAllocating)
{
    for (const auto &[cols, rows] : std::vector<std::pair<std::uint64_t, std::uint64_t>>{
             {CllFile::MaxCols + 1, 4}, {3, CllFile::MaxRows + 1}, {1ULL << 62, 1ULL << 62}, {~0ULL, 1}}) {
        CraftedWorkbook c;
        CllBinaryWriter h;
        h.string("b10");
        h.varint(cols);
        h.varint(rows);
        c.head = h.buffer();
        expectDamaged(c.file());
    }
}

TEST(CllFileCrafted, TotalRowsOverManySheetsAreLimited)
{
    // Five sheets of the maximum size each pass alone but not together.
    CraftedWorkbook c;
    CllBinaryWriter h;
    h.string("b");
    h.varint(1);
    h.varint(CllFile::MaxRows);
    c.head = h.buffer();
    c.cells = varints({0});
    c.colWidths = CraftedWorkbook::runs(1, 72);
    c.rowHeights = CraftedWorkbook::runs(CllFile::MaxRows, 20);
    std::string sheets;
    for (int i = 0; i < 5; ++i)
        sheets += test::section("SHET", c.sheetBody());
    c.book = varints({5, 0}) + c.book.substr(2);
    expectDamaged(test::cllEnvelope(test::section("BOOK", c.book) + sheets + test::section("STYL", c.styles)));
}

TEST(CllFileCrafted, CellOutsideSheetIsRefused)
{
    CraftedWorkbook c;
    c.cells = varints({1, 4, 1, 0}) + std::string(1, '\0'); // row 4 of a 4-row sheet
    expectDamaged(c.file());
    c.cells = varints({1, 0, 1, 3}) + std::string(1, '\0'); // column 3 of a 3-column sheet
    expectDamaged(c.file());
    c.cells = varints({1, 0, 2, 1, ~0ULL}) + std::string(1, '\0'); // column overflowing
    expectDamaged(c.file());
}

TEST(CllFileCrafted, AbsurdCellCountsAreRefused)
{
    CraftedWorkbook c;
    c.cells = varints({1ULL << 60});
    expectDamaged(c.file());
    c.cells = varints({1, 0, 1ULL << 60, 0}) + std::string(1, '\0');
    expectDamaged(c.file());
    c.cells = varints({1, 0, 0}); // a row group without cells
    expectDamaged(c.file());
}

TEST(CllFileCrafted, BadCellRecordsAreRefused)
{
    const std::string prefix = varints({1, 0, 1, 0});
    CraftedWorkbook c;
    c.cells = prefix + std::string(1, '\x05'); // value kind 5 does not exist
    expectDamaged(c.file());
    c.cells = prefix + std::string(1, '\x20'); // unknown flag
    expectDamaged(c.file());
    c.cells = prefix + std::string("\x04\x06", 2); // error code 6 does not exist
    expectDamaged(c.file());
    c.cells = prefix + std::string("\x10\x01", 2); // style 1 of a one-entry table
    expectDamaged(c.file());
    c.cells = prefix + std::string("\x03\x7F", 2) + "abc"; // text longer than the data
    expectDamaged(c.file());
    c.cells = prefix + std::string("\x08", 1) + varints({1ULL << 50}); // formula text too long
    expectDamaged(c.file());
    CllBinaryWriter huge;
    huge.u8(2);
    huge.svarint(std::numeric_limits<std::int64_t>::max());
    c.cells = prefix + huge.buffer(); // decimal out of range
    expectDamaged(c.file());
}

TEST(CllFileCrafted, TrailingBytesInASectionAreRefused)
{
    CraftedWorkbook c;
    c.cells += '\0';
    expectDamaged(c.file());
    c = CraftedWorkbook();
    c.book += '\0';
    expectDamaged(c.file());
    c = CraftedWorkbook();
    c.print += '\0';
    expectDamaged(c.file());
}

TEST(CllFileCrafted, RunsMustCoverTheSheetExactly)
{
    CraftedWorkbook c;
    c.colWidths = CraftedWorkbook::runs(2, 72);
    expectDamaged(c.file());
    c.colWidths = CraftedWorkbook::runs(4, 72);
    expectDamaged(c.file());
    c = CraftedWorkbook();
    c.rowHeights = varints({2, 0, 20, 4, 20}); // an empty run
    expectDamaged(c.file());
    c.rowHeights = varints({1ULL << 40, 1, 20});
    expectDamaged(c.file());
    c.rowHeights = varints({1, 4, 1ULL << 40}); // height beyond an int
    expectDamaged(c.file());
}

TEST(CllFileCrafted, MergesOutsideOrReversedAreRefused)
{
    CraftedWorkbook c;
    c.merges = varints({1, 0, 0, 3, 0}); // column 3 of a 3-column sheet
    expectDamaged(c.file());
    c.merges = varints({1, 2, 0, 1, 0}); // reversed
    expectDamaged(c.file());
    c.merges = varints({1ULL << 40});
    expectDamaged(c.file());
    c.merges = varints({1, 0, 0, 2, 3});
    EXPECT_EQ(CllFile::fromBytes(c.file())->sheet(0).merges().size(), 1u);
}

TEST(CllFileCrafted, MissingSheetPartsAreRefused)
{
    const CraftedWorkbook c;
    const std::string parts[] = {test::section("HEAD", c.head),       test::section("CELL", c.cells),
                                 test::section("COLW", c.colWidths),  test::section("ROWH", c.rowHeights),
                                 test::section("MERG", c.merges),     test::section("FRZN", c.frozen),
                                 test::section("PRNT", c.print),      test::section("VIEW", c.view)};
    for (std::size_t skip = 0; skip < std::size(parts); ++skip) {
        std::string body;
        for (std::size_t i = 0; i < std::size(parts); ++i)
            if (i != skip)
                body += parts[i];
        expectDamaged(test::cllEnvelope(test::section("BOOK", c.book) + test::section("SHET", body) +
                                        test::section("STYL", c.styles)));
    }
}

TEST(CllFileCrafted, AbsurdStyleAndBreakCountsAreRefused)
{
    CraftedWorkbook c;
    c.styles = varints({1ULL << 40});
    expectDamaged(c.file());
    c.styles = varints({0});
    expectDamaged(c.file());
    c = CraftedWorkbook();
    // Page break count far beyond the remaining bytes.
    const std::size_t breaksAt = c.print.size() - 3;
    c.print = c.print.substr(0, breaksAt) + varints({1ULL << 40}) + c.print.substr(breaksAt + 1);
    expectDamaged(c.file());
}

TEST(CllFileCrafted, MaterialisedCellsAreLimited)
{
    // Each row's last cell far to the right: few bytes in the file, a huge dense sheet in memory.
    CraftedWorkbook c;
    CllBinaryWriter h;
    h.string("wide");
    h.varint(CllFile::MaxCols);
    h.varint(4000);
    c.head = h.buffer();
    c.colWidths = CraftedWorkbook::runs(CllFile::MaxCols, 72);
    c.rowHeights = CraftedWorkbook::runs(4000, 20);
    CllBinaryWriter cells;
    cells.varint(4000);
    for (int row = 0; row < 4000; ++row) {
        cells.varint(0);
        cells.varint(1);
        cells.varint(CllFile::MaxCols - 1);
        cells.u8(0x10 | 0); // style only
        cells.varint(0);
    }
    c.cells = cells.buffer();
    expectDamaged(c.file());
}

TEST(CllFileCrafted, MessagesAreChineseSentences)
{
    try {
        CllFile::fromBytes(std::string(2000, 'x'));
    } catch (const CllFileError &error) {
        EXPECT_NE(std::string(error.what()).find("工作簿文件"), std::string::npos) << error.what();
    }
    std::string file = smallFile();
    file[100] = static_cast<char>(file[100] ^ 1);
    try {
        CllFile::fromBytes(file);
    } catch (const CllFileError &error) {
        EXPECT_NE(std::string(error.what()).find("已损坏"), std::string::npos) << error.what();
    }
}

} // namespace
} // namespace vantor
