#pragma once

// Appends the primitive values of the workbook file to a byte buffer: fixed-width
// little-endian integers, LEB128 variable-length integers (zigzag for signed ones),
// IEEE doubles, length-prefixed strings and sections whose length is patched in
// when they end. Never fails except by running out of memory.

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {

class CllBinaryWriter {
public:
    CllBinaryWriter() = default;
    explicit CllBinaryWriter(std::size_t reserve) { m_buffer.reserve(reserve); }

    void u8(std::uint8_t value) { m_buffer.push_back(static_cast<char>(value)); }
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void u64(std::uint64_t value);
    void f64(double value);
    void varint(std::uint64_t value)
    {
        char bytes[10];
        int n = 0;
        while (value >= 0x80) {
            bytes[n++] = static_cast<char>((value & 0x7F) | 0x80);
            value >>= 7;
        }
        bytes[n++] = static_cast<char>(value);
        m_buffer.append(bytes, static_cast<std::size_t>(n));
    }
    void svarint(std::int64_t value)
    {
        varint((static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63));
    }
    void boolean(bool value) { u8(value ? 1 : 0); }
    // Length (varint) and the bytes.
    void string(std::string_view value)
    {
        varint(value.size());
        m_buffer.append(value.data(), value.size());
    }
    void bytes(const void *data, std::size_t size) { m_buffer.append(static_cast<const char *>(data), size); }
    void zeros(std::size_t count) { m_buffer.append(count, '\0'); }

    // A section: a four-character tag, a u64 length, the content. beginSection
    // returns the position that endSection needs to patch the length in.
    std::size_t beginSection(std::uint32_t tag);
    void endSection(std::size_t start);

    // Overwrites eight bytes already written (lengths and checksums of the header).
    void patchU64(std::size_t position, std::uint64_t value);

    std::size_t size() const { return m_buffer.size(); }
    const std::string &buffer() const { return m_buffer; }
    std::string &buffer() { return m_buffer; }

private:
    std::string m_buffer;
};

// The tag of a section, from four ASCII characters: cllTag("CELL").
constexpr std::uint32_t cllTag(const char (&name)[5])
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(name[0])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(name[1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(name[2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(name[3])) << 24;
}

} // namespace vantor
