// Damaged and crafted workbook files: every one is refused with its kind and a message, never
// trusted, and never allowed to claim memory it does not hold.
#include "sheet_component/engine/CllBinaryWriter.h"
#include "sheet_component/engine/CllChecksum.h"
#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/Workbook.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <string>

namespace vantor {
namespace {

using Kind = CllFileError::Kind;

// Bytes written the way the file writes them.
struct B {
    CllBinaryWriter w;
    B &v(std::initializer_list<std::uint64_t> xs)
    {
        for (auto x : xs)
            w.varint(x);
        return *this;
    }
    B &s(std::initializer_list<std::int64_t> xs)
    {
        for (auto x : xs)
            w.svarint(x);
        return *this;
    }
    B &str(std::string_view text, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            w.string(text);
        return *this;
    }
    B &u8(std::uint8_t byte) { return w.u8(byte), *this; }
    B &u32(std::uint32_t value) { return w.u32(value), *this; }
    B &u64(std::uint64_t value) { return w.u64(value), *this; }
    B &f64(double value) { return w.f64(value), *this; }
    B &raw(const std::string &bytes) { return w.bytes(bytes.data(), bytes.size()), *this; }
    std::string out() const { return w.buffer(); }
};

std::string section(const char (&tag)[5], const std::string &body)
{
    CllBinaryWriter w;
    const auto start = w.beginSection(cllTag(tag));
    w.bytes(body.data(), body.size());
    w.endSection(start);
    return w.buffer();
}

// Header, padding and a correct checksum around the given content.
std::string envelope(const std::string &content, std::uint32_t version = CllFile::FormatVersion,
                     std::uint32_t flags = 0, std::uint64_t claimedLength = 0)
{
    CllBinaryWriter w;
    w.bytes("\x89VCLL\r\n\x1a", 8);
    w.u32(version);
    w.u32(flags);
    w.u64(claimedLength ? claimedLength : content.size());
    const std::size_t fileLength = std::max<std::size_t>(CllFile::HeaderSize + content.size() + 8, 1024);
    w.u64(fileLength);
    w.bytes(content.data(), content.size());
    w.zeros(fileLength - 8 - w.size());
    w.u64(CllChecksum::compute(w.buffer()));
    return w.buffer();
}

std::string withChecksum(std::string file)
{
    return file.replace(file.size() - 8, 8, B().u64(CllChecksum::compute(file.data(), file.size() - 8)).out());
}

std::string runs(std::uint64_t length, std::uint64_t value)
{
    return B().v({1, length, value}).out();
}
std::string book(std::uint64_t sheets, std::uint64_t current = 0)
{
    return B().v({sheets, current}).str("宋体").v({9, 0}).out();
}
std::string head(std::uint64_t cols, std::uint64_t rows)
{
    return B().str("b10").v({cols, rows}).out();
}

// The sections of a valid one-sheet workbook holding 12.5 at (1, 2); a case changes one.
struct Parts {
    std::string book = vantor::book(1), head = vantor::head(3, 4);
    std::string styles =
        B().v({1}).str("").v({0, 0, 0, 0, 0, 0, 1, 0, 0}).s({2, -1, 0, 0, 0}).str("").v({0, 0, 0, 0}).out();
    std::string cells = B().v({1, 2, 1, 1}).u8(2).s({125000}).out();
    std::string colWidths = runs(3, 72), rowHeights = runs(4, 20), merges = std::string(1, '\0');
    std::string frozen = B().s({-1, -1}).out(), view = B().s({0, 0, 0, 0}).v({0, 0}).out();
    std::string print = printSettings(0);
    std::string extraTop, extraSheet, omit, twice; // added sections; a tag left out / written twice
    int sheets = 1;

    static std::string printSettings(std::uint64_t pageBreaks)
    {
        return B()
            .s({0, 0, -1, -1})
            .str("", 6)
            .v({100, 1, 1})
            .f64(10)
            .f64(10)
            .f64(10)
            .f64(10)
            .v({pageBreaks, 9, 0})
            .out();
    }
    std::string add(const char (&tag)[5], const std::string &body) const
    {
        return tag == omit ? "" : tag == twice ? section(tag, body) + section(tag, body) : section(tag, body);
    }
    std::string file() const { return envelope(content()); }
    std::string content() const
    {
        const std::string sheet = add("HEAD", head) + add("CELL", cells) + add("COLW", colWidths) +
                                  add("ROWH", rowHeights) + add("MERG", merges) + add("FRZN", frozen) +
                                  add("PRNT", print) + add("VIEW", view) + extraSheet;
        std::string all = add("BOOK", book);
        for (int i = 0; i < sheets; ++i)
            all += add("SHET", sheet);
        return all + add("STYL", styles) + extraTop;
    }
};

std::string crafted(const std::function<void(Parts &)> &change)
{
    Parts p;
    change(p);
    return p.file();
}

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

std::string refusal(const std::string &bytes, Kind *kind)
{
    try {
        CllFile::fromBytes(bytes);
    } catch (const CllFileError &error) {
        *kind = error.kind();
        return error.what();
    }
    return "accepted";
}

TEST(CllFileDamage, EveryTruncationBitFlipAndCraftedFileIsRefused)
{
    const std::string file = realFile();
    ASSERT_NO_THROW(CllFile::fromBytes(file));
    ASSERT_EQ(CllFile::fromBytes(Parts().file())->DoGetSheetCellData(1, 2, 0).number(), 12.5);
    ASSERT_EQ(CllFile::fromBytes(crafted([](Parts &p) {
                  p.extraTop = section("FUTR", "whatever a later version writes"); // unknown sections: skipped
                  p.extraSheet = section("NOTE", std::string(100, '\xFF'));
                  p.merges = B().v({1, 0, 0, 2, 3}).out();
              }))
                  ->sheet(0)
                  .merges()
                  .size(),
              1u);
    std::string lineEnds = file; // "\r\n" -> "\n" as a careless transfer does
    lineEnds.erase(lineEnds.find("\r\n"), 1).push_back('\0');
    std::string magic = file, version = file, padding = Parts().file();
    magic[1] = 'X';
    version[9] = static_cast<char>(version[9] ^ 0x10); // checksum not updated: damage, not "newer"
    padding[padding.size() - 20] = 'x';
    const std::string cell = B().v({1, 0, 1, 0}).out();
    const std::string hugeDecimal = B().u8(2).s({std::numeric_limits<std::int64_t>::max()}).out();
    std::vector<std::pair<std::string, Kind>> cases = {
        {"", Kind::TooShort},
        {std::string(4096, '\0'), Kind::NotWorkbook},
        {lineEnds, Kind::NotWorkbook},
        {withChecksum(magic), Kind::NotWorkbook},
        {envelope(Parts().content(), CllFile::FormatVersion + 1), Kind::NewerVersion},
        {file + std::string(1, '\0'), Kind::Damaged},
        {version, Kind::Damaged},
        {envelope(Parts().content(), 1, 1), Kind::Damaged},
        {envelope(Parts().content(), 1, 0, 1024), Kind::Damaged}, // content longer than the file
        {withChecksum(padding), Kind::Damaged},
        {envelope(""), Kind::Damaged},
        {envelope(B().u32(cllTag("BOOK")).u64(~0ULL - 4).out()), Kind::Damaged}, // section longer than all
    };
    const std::function<void(Parts &)> damages[] = {
        [](Parts &p) { p.book = book(2); },
        [](Parts &p) { p.book = book(1ULL << 40); },
        [](Parts &p) { p.book = book(1, 1); }, // current sheet
        [](Parts &p) { p.book += '\0'; },      // trailing bytes
        [](Parts &p) { p.head = head(CllFile::MaxCols + 1, 4); },
        [](Parts &p) { p.head = head(3, CllFile::MaxRows + 1); },
        [](Parts &p) {
            p.cells = B().v({1, 4, 1, 0, 0}).out();
        }, // row outside
        [](Parts &p) {
            p.cells = B().v({1, 0, 1, 3, 0}).out();
        }, // column outside
        [](Parts &p) {
            p.cells = B().v({1, 0, 2, 1, ~0ULL, 0}).out();
        },
        [](Parts &p) { p.cells = B().v({1ULL << 60}).out(); },
        [](Parts &p) {
            p.cells = B().v({1, 0, 0}).out();
        },                                              // a row group without cells
        [&](Parts &p) { p.cells = cell + "\x05"; },     // unknown value kind
        [&](Parts &p) { p.cells = cell + "\x20"; },     // unknown flag
        [&](Parts &p) { p.cells = cell + "\x04\x06"; }, // unknown error code
        [&](Parts &p) { p.cells = cell + "\x10\x01"; }, // style beyond the table
        [&](Parts &p) { p.cells = cell + "\x03\x7F" + "abc"; },
        [&](Parts &p) { p.cells = cell + B().u8(8).v({1ULL << 50}).out(); },
        [&](Parts &p) { p.cells = cell + hugeDecimal; },
        [](Parts &p) { p.cells += '\0'; },
        [](Parts &p) { p.print = Parts::printSettings(1ULL << 40); },
        [](Parts &p) { p.colWidths = runs(2, 72); }, // runs must cover exactly
        [](Parts &p) {
            p.rowHeights = B().v({2, 0, 20, 4, 20}).out();
        },
        [](Parts &p) { p.rowHeights = runs(4, 1ULL << 40); },
        [](Parts &p) {
            p.merges = B().v({1, 0, 0, 3, 0}).out();
        }, // outside
        [](Parts &p) {
            p.merges = B().v({1, 2, 0, 1, 0}).out();
        }, // reversed
        [](Parts &p) { p.styles = B().v({1ULL << 40}).out(); },
        [](Parts &p) { p.twice = "BOOK"; },
        [](Parts &p) { // five sheets of the maximum size pass alone but not together
            p.sheets = 5;
            p.book = book(5);
            p.head = head(1, CllFile::MaxRows);
            p.cells = B().v({0}).out();
            p.colWidths = runs(1, 72);
            p.rowHeights = runs(CllFile::MaxRows, 20);
        },
        [](Parts &p) { // each row's last cell far to the right: a few bytes, a huge dense sheet
            p.head = head(CllFile::MaxCols, 4000);
            p.colWidths = runs(CllFile::MaxCols, 72);
            p.rowHeights = runs(4000, 20);
            B cells;
            cells.v({4000});
            for (int row = 0; row < 4000; ++row)
                cells.v({0, 1, CllFile::MaxCols - 1}).u8(0x10).v({0}); // style only
            p.cells = cells.out();
        },
    };
    for (const auto &damage : damages)
        cases.emplace_back(crafted(damage), Kind::Damaged);
    for (const char *tag : {"BOOK", "SHET", "STYL", "HEAD", "CELL", "COLW", "ROWH", "MERG", "FRZN", "PRNT", "VIEW"})
        cases.emplace_back(crafted([tag](Parts &p) { p.omit = tag; }), Kind::Damaged);
    for (std::size_t length = 0; length < file.size(); ++length)
        cases.emplace_back(file.substr(0, length), length < CllFile::MinFileSize ? Kind::TooShort : Kind::Damaged);

    for (std::size_t i = 0; i < cases.size(); ++i) {
        Kind kind{};
        const std::string message = refusal(cases[i].first, &kind);
        ASSERT_NE(message, "accepted") << "case " << i;
        ASSERT_EQ(kind, cases[i].second) << "case " << i << ": " << message;
        const char *expected = kind == Kind::NewerVersion ? "较新版本" : kind == Kind::Damaged ? "已损坏" : "";
        EXPECT_NE(message.find(expected), std::string::npos) << message;
    }
    for (std::size_t offset = 0; offset < file.size(); ++offset)
        for (int bit = 0; bit < 8; ++bit) {
            std::string damaged = file;
            damaged[offset] = static_cast<char>(damaged[offset] ^ (1 << bit));
            ASSERT_THROW(CllFile::fromBytes(damaged), CllFileError) << "byte " << offset << " bit " << bit;
        }
}

} // namespace
} // namespace vantor
