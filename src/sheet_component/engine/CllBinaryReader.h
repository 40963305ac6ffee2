#pragma once

// Reads the primitives CllBinaryWriter writes from a byte range it does not own.
// Every read is checked against the bytes that remain: a short or inconsistent
// input throws CllFileError (Damaged) and never reads past the end. Counts that
// decide how much to allocate are read through count(), which refuses any count
// whose items could not fit in the remaining bytes.

#include "sheet_component/engine/CllFileError.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vantor {

class CllBinaryReader {
public:
    CllBinaryReader(const void *data, std::size_t size) : m_data(static_cast<const unsigned char *>(data)), m_size(size)
    {
    }
    explicit CllBinaryReader(std::string_view data) : CllBinaryReader(data.data(), data.size()) {}
    // The reader does not own its bytes: a temporary string would be gone before the reading.
    explicit CllBinaryReader(std::string &&) = delete;

    std::uint8_t u8()
    {
        need(1);
        return m_data[m_pos++];
    }
    std::uint16_t u16();
    std::uint32_t u32();
    std::uint64_t u64();
    double f64();
    std::uint64_t varint()
    {
        // Fast path: one byte, the common case for small numbers and deltas.
        if (m_pos < m_size && m_data[m_pos] < 0x80)
            return m_data[m_pos++];
        // Amounts take a few bytes; away from the end no byte needs its own bounds check.
        if (m_size - m_pos >= 10) {
            const unsigned char *p = m_data + m_pos;
            std::uint64_t value = 0;
            for (int i = 0; i < 9; ++i) {
                value |= static_cast<std::uint64_t>(p[i] & 0x7F) << (7 * i);
                if (p[i] < 0x80) {
                    m_pos += static_cast<std::size_t>(i) + 1;
                    return value;
                }
            }
        }
        return varintSlow();
    }
    std::int64_t svarint()
    {
        const std::uint64_t raw = varint();
        return static_cast<std::int64_t>(raw >> 1) ^ -static_cast<std::int64_t>(raw & 1);
    }
    // A varint that must lie in [0, max]; what names the value in the error.
    std::uint64_t bounded(std::uint64_t max, const char *what);
    int boundedInt(int max, const char *what)
    {
        return static_cast<int>(bounded(static_cast<std::uint64_t>(max), what));
    }
    bool boolean();
    // A count of items each at least minItemBytes long (at least 1).
    std::size_t count(std::size_t minItemBytes, const char *what);
    std::string string() { return std::string(stringView()); }
    std::string_view stringView();
    std::string_view bytes(std::size_t size);

    // The next section: its tag and a reader over exactly its content. The
    // section's bytes are skipped in this reader.
    struct Section {
        std::uint32_t tag;
        std::string_view content;
    };
    Section section();

    std::size_t position() const { return m_pos; }
    std::size_t remaining() const { return m_size - m_pos; }
    bool atEnd() const { return m_pos == m_size; }
    // Throws unless every byte was read: trailing garbage is damage too.
    void expectEnd(const char *what) const;

    [[noreturn]] static void damaged(const std::string &detail);

private:
    void need(std::size_t bytes) const
    {
        if (bytes > m_size - m_pos)
            damaged("数据在预期之前结束");
    }
    std::uint64_t varintSlow();

    const unsigned char *m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

} // namespace vantor
