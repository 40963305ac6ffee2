#include "sheet_component/render/SheetGeometry.h"

#include "sheet_component/engine/Sheet.h"

#include <algorithm>

namespace vantor {

namespace {

int edge(const std::vector<int> &edges, int index)
{
    if (edges.size() < 2)
        return 0;
    const int last = static_cast<int>(edges.size()) - 1;
    if (index <= 0)
        return edges.front() + index * (edges[1] - edges[0]);
    if (index > last)
        return edges.back() +
               (index - last) * (edges[static_cast<std::size_t>(last)] - edges[static_cast<std::size_t>(last - 1)]);
    return edges[static_cast<std::size_t>(index)];
}

int indexAt(const std::vector<int> &edges, int pos)
{
    const int count = static_cast<int>(edges.size()) - 1;
    if (count <= 0)
        return -1;
    // First edge greater than pos; the index before it contains pos.
    const auto it = std::upper_bound(edges.begin(), edges.end(), pos);
    const int index = static_cast<int>(it - edges.begin()) - 1;
    return std::clamp(index, 0, count - 1);
}

} // namespace

void SheetGeometry::rebuild(const Sheet &sheet)
{
    m_colX.resize(static_cast<std::size_t>(sheet.cols()) + 1);
    m_rowY.resize(static_cast<std::size_t>(sheet.rows()) + 1);
    m_colX[0] = 0;
    for (int c = 0; c < sheet.cols(); ++c)
        m_colX[static_cast<std::size_t>(c) + 1] = m_colX[static_cast<std::size_t>(c)] + std::max(0, sheet.colWidth(c));
    m_rowY[0] = 0;
    for (int r = 0; r < sheet.rows(); ++r)
        m_rowY[static_cast<std::size_t>(r) + 1] = m_rowY[static_cast<std::size_t>(r)] + std::max(0, sheet.rowHeight(r));
}

bool SheetGeometry::isStale(const Sheet &sheet) const
{
    return cols() != sheet.cols() || rows() != sheet.rows();
}

int SheetGeometry::colX(int col) const
{
    return edge(m_colX, col);
}

int SheetGeometry::rowY(int row) const
{
    return edge(m_rowY, row);
}

int SheetGeometry::colAt(int x) const
{
    return indexAt(m_colX, x);
}

int SheetGeometry::rowAt(int y) const
{
    return indexAt(m_rowY, y);
}

} // namespace vantor
