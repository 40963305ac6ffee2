#pragma once

// The layouts of the detail sheets (明细表): the frame every detail sheet shares
// (two heading rows, the total row 2, data from row 3; column 0 "序号", the kind's
// data columns 1 … D, then "备注") and, per kind, the data-column headings, the
// heading groups spanning sub-columns, and the column roles: which columns hold
// book value, adjusted book value, appraised value and the 原值 (cost) values,
// which are summed in the total row and which holds the appreciation rate. Kinds
// that share a form share one table entry. The row formulas, the decimal check, the
// sheet totals and the import all read the roles from here.

#include <span>
#include <string_view>
#include <vector>

namespace vantor {

// Column indexes of a kind's money columns; 0 means "none" (column 0 is always 序号).
struct ColumnRoles {
    int book = 0;      // 帐面价值 (净值 for fixed assets)
    int adjusted = 0;  // 调整后帐面值
    int appraised = 0; // 评估价值
    int costBook = 0;  // 原值 sub-columns of the fixed-asset kinds 40 … 46
    int costAdjusted = 0;
    int costAppraised = 0;

    bool hasCost() const { return costBook > 0; }
    bool operator==(const ColumnRoles &) const = default;
};

// A two-level heading: `text` in row 0 merged over columns first … last, the
// sub-columns' own headings in row 1.
struct HeadingGroup {
    int first;
    int last;
    std::string_view text;
};

struct DetailLayout {
    std::vector<int> ids;                   // the sheet ids sharing this layout
    int dataColumns;                        // D
    std::vector<std::string_view> headings; // headings of columns 1 … D ('\r' breaks a line)
    std::vector<HeadingGroup> groups;       // two-level headings
    ColumnRoles roles;
    std::vector<int> furtherSummed;          // summed besides the money and cost columns
    int rateColumn;                          // 增值率%; 0 when the kind has none
    std::vector<std::string_view> prefilled; // captions pre-filled in column 1 from row 3 on

    int columnCount() const { return dataColumns + 2; }
    int remarksColumn() const { return dataColumns + 1; }
    // Heading written for column c: 序号, a data heading, 备注; in row 1 for sub-columns.
    std::string_view heading(int col) const;
    // The group spanning column c, or nullptr for a single-level heading.
    const HeadingGroup *groupOf(int col) const;
    bool isSummed(int col) const;
    // Every summed column, ascending.
    std::vector<int> summedColumns() const;
};

class DetailLayouts {
public:
    static constexpr int HeadingRow = 0;
    static constexpr int SubHeadingRow = 1;
    static constexpr int TotalRow = 2;
    static constexpr int FirstDataRow = 3;
    static constexpr int NewSheetRows = 28;
    static constexpr int MaxColumns = 26; // formula letters A … Z
    static constexpr std::string_view SequenceHeading = "序号";
    static constexpr std::string_view TotalCaption = "合计";
    static constexpr std::string_view RemarksHeading = "备注";

    // 表11: the four contra rows are rows 1 … 4, amounts in columns 2 … 4.
    static constexpr int ContraDataColumns = 4;
    static constexpr int ContraFirstRow = 1;
    static constexpr int ContraLastRow = 4;
    static constexpr ColumnRoles ContraRoles{2, 3, 4, 0, 0, 0};

    // Every layout entry, in the order of the lowest id of each.
    static std::span<const DetailLayout> layouts();
    // The layout of detail kind 10 … 77; nullptr for other ids (78 has no built layout).
    static const DetailLayout *layout(int id);

    // D of a kind: as the layout says for 10 … 77, 4 for 78, 0 for any other id.
    static int dataColumnCount(int id);
    // Roles of kind 10 … 77; all zero for any other id.
    static ColumnRoles columnRoles(int id);
    // Whether column `col` of kind `id` carries a sum in the total row; false for unknown ids.
    static bool isSummedColumn(int id, int col);
    // The rate column of a kind, 0 when it has none.
    static int rateColumn(int id);
};

} // namespace vantor
