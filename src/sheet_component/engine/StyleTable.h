#pragma once

// The workbook's table of distinct cell formats. A cell stores a 32-bit style id; id 0 is always
// the default format. Entries are never removed while the workbook lives, so style ids kept in
// undo records stay valid; the file writer may compact ids when it saves.

#include "sheet_component/engine/CellFormat.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vantor {

using StyleId = std::uint32_t;

class StyleTable {
public:
    StyleTable();

    // Returns the id of an equal format, adding it when it is new.
    StyleId intern(const CellFormat &format);
    // Unknown ids read as the default format.
    const CellFormat &format(StyleId id) const;
    std::size_t size() const { return m_formats.size(); }
    void clear();

private:
    std::vector<CellFormat> m_formats;
    std::unordered_map<CellFormat, StyleId, CellFormatHash> m_index;
};

} // namespace vantor
