#pragma once

// The commands that change the shape or the content of the detail sheet shown in the main
// window: insert and delete rows and columns, the row count, row heights and column widths,
// the six fills, clearing, sorting and sign conversion. Each works on the workbook's current
// sheet, which the caller guarantees to be the detail sheet of kind `id`, and on the user's
// selection as the view reports it. Each user action is one undo step. Guards (heading rows,
// a single-cell fill, a single-row sort) end a command silently and return false; limits are
// reported through the Prompter and leave the sheet unchanged.
//
// `freezeHeadings` is the state of the view option "不滚动行": rows 0 … 2 are frozen again
// after a command that had to release them.

#include "sheet_component/engine/CellValue.h"
#include "sheet_component/engine/SheetTypes.h"

#include <functional>
#include <string>

namespace vantor {

class Prompter;
class Workbook;

// What the small number-entry dialog is asked to show.
struct NumberRequest {
    std::string caption;
    std::string label;
    int minimum = 0;
    int maximum = 0;
    int initial = 0;
};

// Shows the number-entry dialog and returns the number entered, 0 when the user cancelled.
using NumberEntry = std::function<int(const NumberRequest &)>;

enum class FillDirection { Down, Up, Right, Left, Repeat, Sequence };

class DetailEditCommands {
public:
    static constexpr int MinRows = 20;
    static constexpr int MaxRows = 12403;
    static constexpr int MaxCols = 26;
    static constexpr int MaxSortRows = 512;

    static constexpr const char *Title = "Vantor";
    static constexpr const char *TooManyColumns = "评估明细表最多只能设置26列。";
    static constexpr const char *BuiltInColumns = "不能删除表格中固有的列。";
    static constexpr const char *InsertAmongBuiltInColumns = "不能在表格中固有的列之间插入列，请在备注列或其后插入。";
    static constexpr const char *FewerRowsQuestion = "要设置的行数比当前表格行数少，将删除多余的行。继续吗？";
    static constexpr const char *ClearQuestion = "执行清除操作将删除选定区域的内容，并且不可撤销，是否继续？";
    static constexpr const char *SortLimit = "目前版本能处理的有效排序范围最多为512行。";

    // May a user's command write the cell? Not in the sheet's frame (see DetailCellEdits), not
    // when it is locked.
    static bool userMayWrite(const Workbook &workbook, int id, int col, int row);

    // The dialog requests of the three number-entry commands.
    static NumberRequest rowCountRequest(int currentRows);
    static NumberRequest rowHeightRequest(int currentHeight);
    static NumberRequest columnWidthRequest(int currentWidth);

    // 插入 > 行: as many rows as are selected, before the first selected row; never beyond
    // MaxRows and never cutting rows off the end of the sheet.
    static bool insertRows(Workbook &workbook, int id, CellRange selection, bool freezeHeadings);
    // 插入 > 列: one column before the active cell; at most MaxCols, and not among the
    // sequence and data columns.
    static bool insertColumn(Workbook &workbook, int id, Prompter &prompter, bool freezeHeadings = false);
    // 编辑 > 删除 > 删除行: the selected data rows; the sheet keeps at least MinRows rows.
    static bool deleteRows(Workbook &workbook, int id, CellRange selection, bool freezeHeadings);
    // 编辑 > 删除 > 删除列: the selected columns, refused for the sequence and data columns.
    static bool deleteColumns(Workbook &workbook, int id, CellRange selection, Prompter &prompter,
                              bool freezeHeadings = false);

    // 格式 > 设置行数...
    static bool setRowCount(Workbook &workbook, int id, const NumberEntry &entry, Prompter &prompter,
                            bool freezeHeadings);
    // 格式 > 行 > 行高... / 最适合行高
    static bool setRowHeight(Workbook &workbook, CellRange selection, const NumberEntry &entry);
    static bool bestRowHeight(Workbook &workbook, CellRange selection);
    // 格式 > 列 > 列宽... / 最适合列宽
    static bool setColumnWidth(Workbook &workbook, CellRange selection, const NumberEntry &entry);
    static bool bestColumnWidth(Workbook &workbook, CellRange selection);

    // 编辑 > 填充单元格: values (never formulas) copied over the selected data cells; every
    // written cell is recomputed as if the user had typed it and left it.
    static bool fill(Workbook &workbook, int id, CellRange selection, FillDirection direction, bool freezeHeadings);
    // The whole number a sequence fill starts from: a numeric value rounded (halves to even),
    // 1 for anything else.
    static double sequenceStart(const CellValue &value);

    // 编辑 > 清除内容: asks first; the total row is rebuilt afterwards.
    static bool clearContents(Workbook &workbook, int id, CellRange selection, Prompter &prompter, bool freezeHeadings);

    // 升序排列 / 降序排列: the selected data rows, whole rows moving with the value of
    // `keyColumn`: numbers, then texts, then errors, then empty cells (empty last either way).
    // Values move, formats stay. At most MaxSortRows rows. The total row is rebuilt at once.
    static bool sort(Workbook &workbook, int id, CellRange selection, int keyColumn, bool ascending, Prompter &prompter,
                     bool freezeHeadings);

    // 工具 > 正负符号转换: every numeric, unlocked cell of the selection's data rows becomes
    // 0 minus its value and its row is recomputed.
    static bool convertSigns(Workbook &workbook, int id, CellRange selection, bool freezeHeadings);
};

} // namespace vantor
