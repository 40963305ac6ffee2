#pragma once

// The look of one cell: font, alignment, 3D state, text style, lock, zero display, number style,
// input mask and borders. Cells do not hold a CellFormat each; they hold a style id into the
// workbook's StyleTable, so thousands of cells with the same look share one entry.
//
// Units: font sizes are points; widths, heights and margins elsewhere are pixels at 96 dpi.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vantor {

// Font style codes as the sheets use them: bits are not used, the codes are an enumeration.
// 0 normal, 1 bold, 2 italic, 3 underline, 4 bold+italic, 5 bold+underline, 6 italic+underline,
// 7 bold+italic+underline.
bool fontStyleBold(int code);
bool fontStyleItalic(int code);
bool fontStyleUnderline(int code);
int fontStyleCode(bool bold, bool italic, bool underline);

struct FontSpec {
    std::string name; // e.g. "宋体"
    int size = 0;     // points
    int style = 0;    // code 0..7
    bool operator==(const FontSpec &) const = default;
};

// Horizontal alignment codes. 0 is "general": text left, numbers right.
enum AlignmentCode : int {
    AlignGeneral = 0,
    AlignLeft = 33,
    AlignRight = 34,
    AlignRight2 = 35,
    AlignCenter = 36,
};

// Number style as DoSetCellNumberStyle takes it. kind 0 is the general style (numbers shown with
// the digits they need); kind 1 a numeric style with a fixed count of decimals, optional percent
// (value × 100 followed by "%") and optional thousands grouping. The remaining fields are kept
// as given so that they survive a save and load.
struct NumberStyle {
    int kind = 0;
    bool percent = false;
    int decimals = 2;
    int negative = -1;
    int grouping = 0; // 1: thousands separators
    int extra1 = 0;
    int extra2 = 0;
    bool operator==(const NumberStyle &) const = default;
};

// Border line per side; 0 none, 1 thin line, 2 thick line.
struct CellBorders {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const CellBorders &) const = default;
    bool any() const { return left || top || right || bottom; }
};

struct CellFormat {
    // An empty name or a size of 0 means "the workbook's default font".
    std::string fontName;
    int fontSize = 0;
    int fontStyle = 0;
    int alignment = AlignGeneral; // AlignmentCode; text is always vertically centred
    int threeD = 0;               // 0 flat, 1 raised, 2 sunken
    int textStyle = 0;            // 0 single line, 1 wrap, 2 overflow
    bool locked = false;
    bool showZero = true;
    NumberStyle number;
    std::string inputMask;
    CellBorders borders;

    bool operator==(const CellFormat &) const = default;
};

struct CellFormatHash {
    std::size_t operator()(const CellFormat &f) const;
};

} // namespace vantor
