#include "sheet_component/engine/CllBinaryWriter.h"

#include <bit>
#include <cstring>

namespace vantor {

namespace {

template <typename T> void appendLittleEndian(std::string &buffer, T value)
{
    char bytes[sizeof(T)];
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<char>(static_cast<std::uint64_t>(value) >> (8 * i));
    buffer.append(bytes, sizeof(T));
}

} // namespace

void CllBinaryWriter::u16(std::uint16_t value)
{
    appendLittleEndian(m_buffer, value);
}

void CllBinaryWriter::u32(std::uint32_t value)
{
    appendLittleEndian(m_buffer, value);
}

void CllBinaryWriter::u64(std::uint64_t value)
{
    appendLittleEndian(m_buffer, value);
}

void CllBinaryWriter::f64(double value)
{
    u64(std::bit_cast<std::uint64_t>(value));
}

std::size_t CllBinaryWriter::beginSection(std::uint32_t tag)
{
    u32(tag);
    const std::size_t start = m_buffer.size();
    u64(0);
    return start;
}

void CllBinaryWriter::endSection(std::size_t start)
{
    patchU64(start, m_buffer.size() - start - 8);
}

void CllBinaryWriter::patchU64(std::size_t position, std::uint64_t value)
{
    for (std::size_t i = 0; i < 8; ++i)
        m_buffer[position + i] = static_cast<char>(value >> (8 * i));
}

} // namespace vantor
