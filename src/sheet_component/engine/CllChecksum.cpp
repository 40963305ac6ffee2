#include "sheet_component/engine/CllChecksum.h"

#include <xxhash.h>

namespace vantor {

std::uint64_t CllChecksum::compute(const void *data, std::size_t size, std::uint64_t seed)
{
    return XXH64(data, size, seed);
}

} // namespace vantor
