#pragma once

// Small value types shared by the sheet, the workbook and their users: cell ranges, page texts
// and the per-sheet print settings.

#include <array>
#include <string>
#include <vector>

namespace vantor {

// An inclusive block of cells, 0-based. A default range is empty (col1 > col2).
struct CellRange {
    int col1 = 0, row1 = 0, col2 = -1, row2 = -1;

    bool isEmpty() const { return col1 > col2 || row1 > row2; }
    bool contains(int col, int row) const { return col >= col1 && col <= col2 && row >= row1 && row <= row2; }
    bool intersects(const CellRange &o) const
    {
        return !isEmpty() && !o.isEmpty() && col1 <= o.col2 && o.col1 <= col2 && row1 <= o.row2 && o.row1 <= row2;
    }
    int colCount() const { return col2 - col1 + 1; }
    int rowCount() const { return row2 - row1 + 1; }
    bool operator==(const CellRange &) const = default;
    // Puts the corners in order (col1 <= col2, row1 <= row2).
    static CellRange normalized(int c1, int r1, int c2, int r2);
};

// Left, centre and right texts of a page header or footer.
struct PageTexts {
    std::string left, centre, right;
    bool operator==(const PageTexts &) const = default;
};

// How a sheet is printed. Margins are millimetres in the order left, top, right, bottom.
struct PrintSettings {
    CellRange printRange; // empty: the used part of the sheet
    PageTexts header, footer;
    int scale = 100; // percent
    bool scaleFlag1 = true, scaleFlag2 = true;
    std::array<double, 4> margins{10, 10, 10, 10};
    std::vector<int> rowPageBreaks; // sorted rows that start a new printed page
    int paperSize = 9;              // 9: A4 (the usual printer paper codes)
    bool landscape = false;
    bool operator==(const PrintSettings &) const = default;
};

// Frozen (unscrolled) rows; first == -1 means none.
struct FrozenRows {
    int first = -1, last = -1;
    bool any() const { return first >= 0 && last >= first; }
    bool operator==(const FrozenRows &) const = default;
};

} // namespace vantor
