#pragma once

// Pixel positions of the columns and rows of one sheet (at zoom 1): running sums of widths and
// heights, so that finding the row under a point or the top of row 12,000 costs a binary search
// or one lookup instead of a walk over the sheet. Rebuilt when the layout changes, never per paint.

#include <vector>

namespace vantor {

class Sheet;

class SheetGeometry {
public:
    void rebuild(const Sheet &sheet);
    // True when the sheet's size no longer matches what was measured.
    bool isStale(const Sheet &sheet) const;

    int cols() const { return static_cast<int>(m_colX.size()) - 1; }
    int rows() const { return static_cast<int>(m_rowY.size()) - 1; }
    // Left edge of column c (c may be cols(): the right edge of the last column).
    int colX(int col) const;
    int rowY(int row) const;
    int colWidth(int col) const { return colX(col + 1) - colX(col); }
    int rowHeight(int row) const { return rowY(row + 1) - rowY(row); }
    int totalWidth() const { return m_colX.empty() ? 0 : m_colX.back(); }
    int totalHeight() const { return m_rowY.empty() ? 0 : m_rowY.back(); }
    // Column / row containing the sheet coordinate; clamped to the valid range, -1 when the sheet is empty.
    int colAt(int x) const;
    int rowAt(int y) const;

private:
    std::vector<int> m_colX{0};
    std::vector<int> m_rowY{0};
};

} // namespace vantor
