#include "sheet_component/engine/CllBinaryReader.h"

#include <bit>

namespace vantor {

namespace {

template <typename T> T readLittleEndian(const unsigned char *p)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        value |= static_cast<std::uint64_t>(p[i]) << (8 * i);
    return static_cast<T>(value);
}

} // namespace

void CllBinaryReader::damaged(const std::string &detail)
{
    throw CllFileError(CllFileError::Kind::Damaged, detail);
}

std::uint16_t CllBinaryReader::u16()
{
    need(2);
    const auto value = readLittleEndian<std::uint16_t>(m_data + m_pos);
    m_pos += 2;
    return value;
}

std::uint32_t CllBinaryReader::u32()
{
    need(4);
    const auto value = readLittleEndian<std::uint32_t>(m_data + m_pos);
    m_pos += 4;
    return value;
}

std::uint64_t CllBinaryReader::u64()
{
    need(8);
    const auto value = readLittleEndian<std::uint64_t>(m_data + m_pos);
    m_pos += 8;
    return value;
}

double CllBinaryReader::f64()
{
    return std::bit_cast<double>(u64());
}

std::uint64_t CllBinaryReader::varintSlow()
{
    std::uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
        need(1);
        const std::uint8_t byte = m_data[m_pos++];
        // The tenth byte may carry only the top bit of a 64-bit value.
        if (shift == 63 && byte > 1)
            damaged("整数编码超出范围");
        value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0)
            return value;
    }
    damaged("整数编码超出范围");
}

std::uint64_t CllBinaryReader::bounded(std::uint64_t max, const char *what)
{
    const std::uint64_t value = varint();
    if (value > max)
        damaged(std::string(what) + "超出范围");
    return value;
}

bool CllBinaryReader::boolean()
{
    const std::uint8_t value = u8();
    if (value > 1)
        damaged("逻辑值无效");
    return value == 1;
}

std::size_t CllBinaryReader::count(std::size_t minItemBytes, const char *what)
{
    const std::uint64_t value = varint();
    if (minItemBytes == 0)
        minItemBytes = 1;
    if (value > remaining() / minItemBytes)
        damaged(std::string(what) + "的数目与文件长度不符");
    return static_cast<std::size_t>(value);
}

std::string_view CllBinaryReader::stringView()
{
    const std::uint64_t length = varint();
    if (length > remaining())
        damaged("文字长度超出文件");
    return bytes(static_cast<std::size_t>(length));
}

std::string_view CllBinaryReader::bytes(std::size_t size)
{
    need(size);
    std::string_view view(reinterpret_cast<const char *>(m_data + m_pos), size);
    m_pos += size;
    return view;
}

CllBinaryReader::Section CllBinaryReader::section()
{
    const std::uint32_t tag = u32();
    const std::uint64_t length = u64();
    if (length > remaining())
        damaged("分段长度超出文件");
    return Section{tag, bytes(static_cast<std::size_t>(length))};
}

void CllBinaryReader::expectEnd(const char *what) const
{
    if (!atEnd())
        damaged(std::string(what) + "后有多余的数据");
}

} // namespace vantor
