#pragma once

// The 64-bit checksum of workbook files: XXH64 with seed 0, from libxxhash (about as
// fast as memory can be read, so it costs little even for files of tens of megabytes). Catches truncation, flipped bits
// and overwritten blocks; it is not a defence against deliberate forgery.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vantor {

class CllChecksum {
public:
    static std::uint64_t compute(const void *data, std::size_t size, std::uint64_t seed = 0);
    static std::uint64_t compute(std::string_view data) { return compute(data.data(), data.size()); }
};

} // namespace vantor
