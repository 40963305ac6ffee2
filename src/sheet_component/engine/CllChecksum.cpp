#include "sheet_component/engine/CllChecksum.h"

#include <bit>
#include <cstring>

namespace vantor {

namespace {

constexpr std::uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr std::uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr std::uint64_t kPrime3 = 0x165667B19E3779F9ULL;
constexpr std::uint64_t kPrime4 = 0x85EBCA77C2B2AE63ULL;
constexpr std::uint64_t kPrime5 = 0x27D4EB2F165667C5ULL;

inline std::uint64_t load64(const unsigned char *p)
{
    std::uint64_t value;
    std::memcpy(&value, p, 8);
    if constexpr (std::endian::native == std::endian::big)
        value = __builtin_bswap64(value);
    return value;
}

inline std::uint32_t load32(const unsigned char *p)
{
    std::uint32_t value;
    std::memcpy(&value, p, 4);
    if constexpr (std::endian::native == std::endian::big)
        value = __builtin_bswap32(value);
    return value;
}

inline std::uint64_t round(std::uint64_t acc, std::uint64_t input)
{
    acc += input * kPrime2;
    acc = std::rotl(acc, 31);
    return acc * kPrime1;
}

inline std::uint64_t mergeRound(std::uint64_t acc, std::uint64_t value)
{
    acc ^= round(0, value);
    return acc * kPrime1 + kPrime4;
}

} // namespace

std::uint64_t CllChecksum::compute(const void *data, std::size_t size, std::uint64_t seed)
{
    const auto *p = static_cast<const unsigned char *>(data);
    const unsigned char *const end = p + size;
    std::uint64_t hash;

    if (size >= 32) {
        std::uint64_t v1 = seed + kPrime1 + kPrime2;
        std::uint64_t v2 = seed + kPrime2;
        std::uint64_t v3 = seed;
        std::uint64_t v4 = seed - kPrime1;
        const unsigned char *const limit = end - 32;
        do {
            v1 = round(v1, load64(p));
            v2 = round(v2, load64(p + 8));
            v3 = round(v3, load64(p + 16));
            v4 = round(v4, load64(p + 24));
            p += 32;
        } while (p <= limit);
        hash = std::rotl(v1, 1) + std::rotl(v2, 7) + std::rotl(v3, 12) + std::rotl(v4, 18);
        hash = mergeRound(hash, v1);
        hash = mergeRound(hash, v2);
        hash = mergeRound(hash, v3);
        hash = mergeRound(hash, v4);
    } else {
        hash = seed + kPrime5;
    }
    hash += static_cast<std::uint64_t>(size);

    while (end - p >= 8) {
        hash ^= round(0, load64(p));
        hash = std::rotl(hash, 27) * kPrime1 + kPrime4;
        p += 8;
    }
    if (end - p >= 4) {
        hash ^= static_cast<std::uint64_t>(load32(p)) * kPrime1;
        hash = std::rotl(hash, 23) * kPrime2 + kPrime3;
        p += 4;
    }
    while (p < end) {
        hash ^= (*p) * kPrime5;
        hash = std::rotl(hash, 11) * kPrime1;
        ++p;
    }
    hash ^= hash >> 33;
    hash *= kPrime2;
    hash ^= hash >> 29;
    hash *= kPrime3;
    hash ^= hash >> 32;
    return hash;
}

} // namespace vantor
