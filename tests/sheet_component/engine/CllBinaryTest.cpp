#include "sheet_component/engine/CllBinaryReader.h"
#include "sheet_component/engine/CllBinaryWriter.h"
#include "sheet_component/engine/CllChecksum.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace vantor {
namespace {

// --- checksum -------------------------------------------------------------------

TEST(CllChecksum, MatchesPublishedXxh64Values)
{
    EXPECT_EQ(CllChecksum::compute(""), 0xEF46DB3751D8E999ULL);
    EXPECT_EQ(CllChecksum::compute("a"), 0xD24EC4F1A98C6E5BULL);
    EXPECT_EQ(CllChecksum::compute("abc"), 0x44BC2CF5AD770999ULL);
    // Longer than one 32-byte stripe: exercises the four-lane loop and every tail length.
    EXPECT_EQ(CllChecksum::compute("Nobody inspects the spammish repetition"), 0xFBCEA83C8A378BF1ULL);
}

TEST(CllChecksum, EverySingleBitFlipChangesTheSum)
{
    std::string data(100, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    const auto original = CllChecksum::compute(data);
    for (std::size_t i = 0; i < data.size(); ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            std::string flipped = data;
            flipped[i] = static_cast<char>(flipped[i] ^ (1 << bit));
            ASSERT_NE(CllChecksum::compute(flipped), original) << "byte " << i << " bit " << bit;
        }
    }
}

TEST(CllChecksum, LengthMatters)
{
    // Trailing zeros must not go unnoticed: padding is zeros too.
    EXPECT_NE(CllChecksum::compute(std::string(64, '\0')), CllChecksum::compute(std::string(65, '\0')));
    EXPECT_NE(CllChecksum::compute(std::string(3, '\0')), CllChecksum::compute(std::string(4, '\0')));
}

// --- writer and reader ---------------------------------------------------------

TEST(CllBinary, PrimitivesRoundTrip)
{
    CllBinaryWriter w;
    w.u8(0xAB);
    w.u16(0xBEEF);
    w.u32(0xDEADBEEF);
    w.u64(0x0123456789ABCDEFULL);
    w.f64(-0.0);
    w.f64(12345.6789);
    w.f64(std::numeric_limits<double>::infinity());
    w.boolean(true);
    w.string("资产评估 'x'");
    w.string("");

    CllBinaryReader r(w.buffer());
    EXPECT_EQ(r.u8(), 0xAB);
    EXPECT_EQ(r.u16(), 0xBEEF);
    EXPECT_EQ(r.u32(), 0xDEADBEEFu);
    EXPECT_EQ(r.u64(), 0x0123456789ABCDEFULL);
    const double negativeZero = r.f64();
    EXPECT_EQ(negativeZero, 0.0);
    EXPECT_TRUE(std::signbit(negativeZero));
    EXPECT_EQ(r.f64(), 12345.6789);
    EXPECT_EQ(r.f64(), std::numeric_limits<double>::infinity());
    EXPECT_TRUE(r.boolean());
    EXPECT_EQ(r.string(), "资产评估 'x'");
    EXPECT_EQ(r.string(), "");
    EXPECT_TRUE(r.atEnd());
    EXPECT_NO_THROW(r.expectEnd("测试"));
}

TEST(CllBinary, IntegersAreLittleEndian)
{
    CllBinaryWriter w;
    w.u32(0x01020304);
    ASSERT_EQ(w.size(), 4u);
    EXPECT_EQ(w.buffer(), std::string("\x04\x03\x02\x01", 4));
}

TEST(CllBinary, VarintsRoundTripAtEveryWidth)
{
    const std::uint64_t unsignedCases[] = {0,           1,           127,         128,       16383, 16384,
                                           0xFFFFFFFFu, 1ULL << 56,  (1ULL << 63) - 1, 1ULL << 63,
                                           ~0ULL};
    const std::int64_t signedCases[] = {0, -1, 1, -64, 64, -65, std::numeric_limits<std::int64_t>::min(),
                                        std::numeric_limits<std::int64_t>::max()};
    CllBinaryWriter w;
    for (auto v : unsignedCases)
        w.varint(v);
    for (auto v : signedCases)
        w.svarint(v);
    CllBinaryReader r(w.buffer());
    for (auto v : unsignedCases)
        EXPECT_EQ(r.varint(), v);
    for (auto v : signedCases)
        EXPECT_EQ(r.svarint(), v);
    EXPECT_TRUE(r.atEnd());
}

TEST(CllBinary, SectionLengthIsPatchedIn)
{
    CllBinaryWriter w;
    const auto start = w.beginSection(cllTag("TEST"));
    w.string("content");
    w.endSection(start);
    w.u8(9);

    CllBinaryReader r(w.buffer());
    const auto section = r.section();
    EXPECT_EQ(section.tag, cllTag("TEST"));
    CllBinaryReader inner(section.content);
    EXPECT_EQ(inner.string(), "content");
    EXPECT_TRUE(inner.atEnd());
    EXPECT_EQ(r.u8(), 9);
}

// --- the reader never reads past its end ------------------------------------------

void expectDamaged(const std::function<void()> &read)
{
    try {
        read();
        ADD_FAILURE() << "read beyond the data without an error";
    } catch (const CllFileError &error) {
        EXPECT_EQ(error.kind(), CllFileError::Kind::Damaged);
    }
}

TEST(CllBinaryReader, EveryPrimitiveRefusesShortInput)
{
    const std::string three("\x01\x02\x03", 3);
    expectDamaged([&] { CllBinaryReader(three).u32(); });
    expectDamaged([&] { CllBinaryReader(three).u64(); });
    expectDamaged([&] { CllBinaryReader(three).f64(); });
    expectDamaged([&] { CllBinaryReader("", 0).u8(); });
    expectDamaged([&] { CllBinaryReader("\x01", 1).u16(); });
    expectDamaged([&] { CllBinaryReader(std::string_view("\x80\x80", 2)).varint(); });
    expectDamaged([&] { CllBinaryReader(std::string_view("\x05" "abc", 4)).string(); });
    expectDamaged([&] { CllBinaryReader(three).bytes(4); });
}

TEST(CllBinaryReader, OverlongVarintIsRefused)
{
    const std::string elevenBytes(11, '\xFF');
    expectDamaged([&] { CllBinaryReader(elevenBytes).varint(); });
    // Ten bytes whose last carries more than the 64th bit.
    std::string tooBig(9, '\xFF');
    tooBig.push_back('\x02');
    expectDamaged([&] { CllBinaryReader(tooBig).varint(); });
}

TEST(CllBinaryReader, HugeStringLengthIsRefusedWithoutAllocating)
{
    CllBinaryWriter w;
    w.varint(~0ULL);
    w.bytes("abc", 3);
    expectDamaged([&] { CllBinaryReader(w.buffer()).string(); });
}

TEST(CllBinaryReader, CountMustFitInRemainingBytes)
{
    CllBinaryWriter w;
    w.varint(4);
    w.zeros(8);
    EXPECT_EQ(CllBinaryReader(w.buffer()).count(2, "项"), 4u);
    expectDamaged([&] { CllBinaryReader(w.buffer()).count(3, "项"); });

    CllBinaryWriter huge;
    huge.varint(1ULL << 62);
    huge.zeros(16);
    expectDamaged([&] { CllBinaryReader(huge.buffer()).count(1, "项"); });
}

TEST(CllBinaryReader, BoundedAndBooleanCheckTheirRange)
{
    CllBinaryWriter w;
    w.varint(26);
    w.varint(27);
    w.u8(2);
    CllBinaryReader r(w.buffer());
    EXPECT_EQ(r.bounded(26, "列"), 26u);
    expectDamaged([&] { r.bounded(26, "列"); });
    expectDamaged([&] { r.boolean(); });
}

TEST(CllBinaryReader, SectionLongerThanDataIsRefused)
{
    CllBinaryWriter w;
    const auto start = w.beginSection(cllTag("CELL"));
    w.zeros(10);
    w.endSection(start);
    std::string truncated = w.buffer().substr(0, w.size() - 1);
    expectDamaged([&] { CllBinaryReader(truncated).section(); });
    // A length near 2^64 must not wrap around the bounds check.
    w.patchU64(start, ~0ULL - 2);
    expectDamaged([&] { CllBinaryReader(w.buffer()).section(); });
}

TEST(CllBinaryReader, TrailingBytesAreNoticed)
{
    const std::string data("\x01\x02", 2);
    CllBinaryReader r(data);
    r.u8();
    EXPECT_THROW(r.expectEnd("分段"), CllFileError);
}

} // namespace
} // namespace vantor
