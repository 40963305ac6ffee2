#pragma once

// 整表导入: the data of a sheet opened in the import window entered into the detail
// sheet shown in the main window (the workbook's current sheet), as one undo step.
//
// From another workbook only 表11 is taken over, cell values copied as they are into the
// same cells of the project's 表11, walked in blocks of 256 rows. The fixed captions of
// the sheet are not written.
//
// From an Excel or text file, the chosen rows are typed into the detail sheet from row 4
// on, each cell as if the user had typed it and left it (LedgerFill): row formulas, total
// row. Rows or columns that do not fit the sheet are refused before anything changes.
//
// Both ask the user first and report the result through the Prompter.

#include "common/Prompter.h"
#include "import/ForeignSheet.h"
#include "sheets/LedgerFill.h"

#include <optional>
#include <string>
#include <vector>

namespace vantor {

class Workbook;

struct RowBlock {
    int first = 0;
    int last = -1; // empty when last < first
    bool operator==(const RowBlock &) const = default;
};

class SheetImport {
public:
    static constexpr int BlockRows = 256;
    static constexpr const char *Title = "获取外部数据";
    static constexpr const char *OverwriteQuestion = "如果当前明细表单元格中包含数据，这些单元将被覆盖，是否继续？";
    static constexpr const char *ContraDone = "导入完毕，数据已经全部写入当前明细表中。";

    // The row blocks of a 表11 copy of rows firstRow … sourceRows−1: first the rest block
    // (the rows past the last whole block of 256), then the whole blocks in order.
    static std::vector<RowBlock> contraBlocks(int firstRow, int sourceRows);

    // Why sheet `sourceSheet` cannot go into 表11, in Chinese; nothing when it can.
    static std::optional<std::string> checkContraSheet(const Workbook &source, int sourceSheet);
    // Copies sheet `sourceSheet` of `source` into the current sheet of `target` (表11), as
    // one undo step, without asking. Returns the number of cells written.
    static int copyContraSheet(Workbook &target, const Workbook &source, int sourceSheet);
    // The same after the overwrite question; reports the end. True when cells were written.
    static bool importContraSheet(Workbook &target, const Workbook &source, int sourceSheet, Prompter &prompter);

    // Why the rows cannot go into detail sheet `id` from row 4 on, in Chinese; nothing when
    // they can.
    static std::optional<std::string> checkRows(const Workbook &target, int id, const LedgerFill::Rows &rows);
    // Types the rows into detail sheet `id`, the current sheet of `target`, from row 4 on,
    // after the user confirms. `sheetCaption` names the target in the question.
    static bool importRows(Workbook &target, int id, const std::string &sheetCaption, const LedgerFill::Rows &rows,
                           Prompter &prompter, bool freezeHeadings);
};

} // namespace vantor
