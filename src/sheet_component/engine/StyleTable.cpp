#include "sheet_component/engine/StyleTable.h"

namespace vantor {

StyleTable::StyleTable()
{
    clear();
}

StyleId StyleTable::intern(const CellFormat &format)
{
    auto it = m_index.find(format);
    if (it != m_index.end())
        return it->second;
    const auto id = static_cast<StyleId>(m_formats.size());
    m_formats.push_back(format);
    m_index.emplace(format, id);
    return id;
}

const CellFormat &StyleTable::format(StyleId id) const
{
    return id < m_formats.size() ? m_formats[id] : m_formats.front();
}

void StyleTable::clear()
{
    m_formats.assign(1, CellFormat{});
    m_index.clear();
    m_index.emplace(CellFormat{}, 0);
}

} // namespace vantor
