#include "sheet_component/engine/CllBinaryReader.h"
#include "sheet_component/engine/CllBinaryWriter.h"
#include "sheet_component/engine/CllChecksum.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace vantor {
namespace {

// Files written by earlier versions must keep opening: the sums are XXH64 with seed 0.
TEST(CllChecksum, MatchesPublishedXxh64ValuesAndSeesLength)
{
    EXPECT_EQ(CllChecksum::compute(""), 0xEF46DB3751D8E999ULL);
    EXPECT_EQ(CllChecksum::compute("Nobody inspects the spammish repetition"), 0xFBCEA83C8A378BF1ULL);
    // Padding is zeros: trailing zeros must change the sum.
    EXPECT_NE(CllChecksum::compute(std::string(64, '\0')), CllChecksum::compute(std::string(65, '\0')));
}

// The reader never reads past its end, never allocates on a claimed length, and checks ranges.
TEST(CllBinaryReader, RefusesShortOverlongAndOutOfRangeInput)
{
    const std::string three("\x01\x02\x03", 3), elevenBytes(11, '\xFF');
    std::string tooBig(9, '\xFF');
    tooBig.push_back('\x02'); // ten bytes carrying more than 64 bits
    CllBinaryWriter huge;
    huge.varint(~0ULL);
    huge.zeros(16);
    CllBinaryWriter section;
    const auto start = section.beginSection(cllTag("CELL"));
    section.zeros(10);
    section.endSection(start);
    const std::string truncatedSection = section.buffer().substr(0, section.size() - 1);
    CllBinaryWriter wrapping = section;
    wrapping.patchU64(start, ~0ULL - 2);

    const std::function<void()> reads[] = {
        [&] { CllBinaryReader(three).u64(); },
        [&] { CllBinaryReader(three).bytes(4); },
        [&] {
            CllBinaryReader(std::string_view("\x05"
                                             "abc",
                                             4))
                .string();
        },
        [&] { CllBinaryReader(elevenBytes).varint(); },
        [&] { CllBinaryReader(tooBig).varint(); },
        [&] { CllBinaryReader(huge.buffer()).string(); },
        [&] { CllBinaryReader(huge.buffer()).count(1, "项"); },
        [&] { CllBinaryReader(std::string_view("\x1b", 1)).bounded(26, "列"); },
        [&] { CllBinaryReader(std::string_view("\x02", 1)).boolean(); },
        [&] { CllBinaryReader(truncatedSection).section(); },
        [&] { CllBinaryReader(wrapping.buffer()).section(); },
        [&] {
            CllBinaryReader r(three);
            r.u8();
            r.expectEnd("分段");
        },
    };
    for (std::size_t i = 0; i < std::size(reads); ++i) {
        try {
            reads[i]();
            ADD_FAILURE() << "case " << i << " read bad data without an error";
        } catch (const CllFileError &error) {
            EXPECT_EQ(error.kind(), CllFileError::Kind::Damaged) << "case " << i;
        }
    }
    CllBinaryWriter counted;
    counted.varint(4);
    counted.zeros(8);
    EXPECT_EQ(CllBinaryReader(counted.buffer()).count(2, "项"), 4u);
}

} // namespace
} // namespace vantor
