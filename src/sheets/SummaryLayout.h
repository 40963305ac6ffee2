#pragma once

// The fixed layouts of the ten summary sheets 表1 … 表10 (b0 … b9) and of the contra-account
// supplement 表11 (b78): size, heading rows, column headings and their merges, the row captions
// and line numbers, column widths and the cell styles (宋体, amounts with two decimals and
// thousands separators, the rate column with two decimals). The summation writes amounts and
// formulas into fixed rows of these sheets; every such row carries its caption here, so the
// position of a caption is part of the contract with the summation. The layouts are data; one
// builder writes any of them into a workbook sheet (the template generator uses it).

#include <cstddef>
#include <span>
#include <string_view>

namespace vantor {

class Workbook;

enum class SummaryColumnKind {
    Caption,    // 项目 / 科目名称: the row captions
    LineNumber, // 行次 (or 序号 on 表11): 1, 2, 3 … of the captioned rows
    Amount,     // money: two decimals with thousands separators
    Rate,       // 增值率%: two decimals, the value is already a percentage
    Text,       // free text (备注)
};

struct SummaryColumn {
    SummaryColumnKind kind;
    int width; // pixels at 96 dpi
};

// A heading cell; merges are listed separately.
struct SummaryHeading {
    int col;
    int row;
    std::string_view text;
};

struct SummaryMerge {
    int col1, row1, col2, row2;
};

// One captioned row below the headings. `line` is the line number shown in the line column
// (0: none). Group and total rows are emphasised (bold).
struct SummaryRow {
    int row;
    std::string_view caption;
    int line;
    bool emphasis = false;
};

struct SummarySheetLayout {
    int id; // 0 … 9, or 78 for 表11
    int rows;
    int cols;
    int headerRows;    // rows 0 … headerRows-1 hold the headings
    int captionColumn; // where the captions go
    int lineColumn;    // where the line numbers go
    // Rows below the headings without a caption are blank form lines. On the summary sheets
    // the summation still writes 0 into them, so their zeros are hidden; on 表11 they are
    // the user's free rows.
    bool hideZerosInBlankRows;
    std::span<const SummaryColumn> columns; // one per column
    std::span<const SummaryHeading> headings;
    std::span<const SummaryMerge> merges;
    std::span<const SummaryRow> captions; // ascending rows

    // The caption row at `row`, or nullptr for a heading row or a blank line.
    const SummaryRow *captionAt(int row) const;
    SummaryColumnKind columnKind(int col) const { return columns[static_cast<std::size_t>(col)].kind; }
};

class SummaryLayout {
public:
    static constexpr std::string_view FontName = "宋体";
    static constexpr int FontSize = 9;

    // b0 … b9, then b78.
    static std::span<const SummarySheetLayout> layouts();
    // The layout of summary sheet 0 … 9 or of 表11 (78); nullptr for any other id.
    static const SummarySheetLayout *layout(int id);

    // Form code and title of the sheet, from the sheet catalogue ("表2-1", "资产评估结果分类汇总表").
    static std::string_view code(int id);
    static std::string_view title(int id);

    // Writes the layout into the sheet at `sheetIndex`: size, headings, merges, widths, styles,
    // captions and line numbers. Cells outside the headings and captions stay empty. Returns
    // false (and changes nothing) when `id` has no layout or the index is out of range.
    static bool build(Workbook &workbook, int sheetIndex, int id);
};

} // namespace vantor
