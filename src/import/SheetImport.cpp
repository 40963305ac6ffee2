#include "import/SheetImport.h"

#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailCellEdits.h"
#include "sheets/DetailLayouts.h"
#include "sheets/SheetCatalogue.h"

#include <algorithm>

namespace vantor {

std::vector<RowBlock> SheetImport::contraBlocks(int firstRow, int sourceRows)
{
    const int n = std::max(0, sourceRows - firstRow);
    const int q = n / BlockRows;
    std::vector<RowBlock> blocks;
    blocks.push_back({BlockRows * q + firstRow, BlockRows * q + n % BlockRows + firstRow - 1});
    for (int k = 1; k <= q; ++k)
        blocks.push_back({BlockRows * (k - 1) + firstRow, BlockRows * k + firstRow - 1});
    return blocks;
}

std::optional<std::string> SheetImport::checkContraSheet(const Workbook &source, int sourceSheet)
{
    const int sourceRows = source.Rows(sourceSheet);
    if (sourceRows > LedgerFill::MaxRows)
        return "源表有" + std::to_string(sourceRows) + "行，超过明细表最多" + std::to_string(LedgerFill::MaxRows) +
               "行的限制，";
    return std::nullopt;
}

int SheetImport::copyContraSheet(Workbook &target, const Workbook &source, int sourceSheet)
{
    const int id = SheetCatalogue::ContraSheetId;
    const int sourceRows = source.Rows(sourceSheet);
    // 表11 has no total row: its four contra rows start right below the title, and they are
    // data like every row after them.
    const int firstRow = LedgerFill::firstEditableRow(id);
    const int cols = std::min(target.Cols(), source.Cols(sourceSheet));
    int written = 0;
    UndoGroup group(target);
    if (sourceRows > target.Rows())
        target.SetRows(sourceRows);
    target.DoSetUnScrollRow(-1, -1);
    for (const RowBlock &block : contraBlocks(firstRow, sourceRows))
        for (int row = block.first; row <= block.last; ++row)
            for (int col = 0; col < cols; ++col)
                if (DetailCellEdits::mayEditCell(id, col, row)) {
                    target.DoSetCellData(col, row, source.DoGetSheetCellData(col, row, sourceSheet));
                    ++written;
                }
    return written;
}

bool SheetImport::importContraSheet(Workbook &target, const Workbook &source, int sourceSheet, Prompter &prompter)
{
    if (const auto problem = checkContraSheet(source, sourceSheet)) {
        prompter.message(*problem + "没有导入任何数据。", Title, MessageIcon::Information);
        return false;
    }
    if (prompter.question(OverwriteQuestion, Title, QuestionButtons::YesNo) != Answer::Yes)
        return false;
    const int written = copyContraSheet(target, source, sourceSheet);
    prompter.message(ContraDone, Title, MessageIcon::Information);
    return written > 0;
}

std::optional<std::string> SheetImport::checkRows(const Workbook &target, int id, const LedgerFill::Rows &rows)
{
    const bool any = std::any_of(rows.begin(), rows.end(), [](const std::vector<std::string> &fields) {
        return std::any_of(fields.begin(), fields.end(), [](const std::string &f) { return !f.empty(); });
    });
    if (!any)
        return std::string("所选的行中没有数据，");
    return LedgerFill::check(target, id, DetailLayouts::FirstDataRow, rows);
}

bool SheetImport::importRows(Workbook &target, int id, const std::string &sheetCaption, const LedgerFill::Rows &rows,
                             Prompter &prompter, bool freezeHeadings)
{
    const int firstRow = DetailLayouts::FirstDataRow;
    if (const auto problem = checkRows(target, id, rows)) {
        prompter.message(*problem + "没有导入任何数据。", Title, MessageIcon::Information);
        return false;
    }
    const std::string question = "将把" + std::to_string(rows.size()) + "行数据导入明细表“" + sheetCaption + "”，从第" +
                                 std::to_string(firstRow + 1) + "行起依次填入，" + OverwriteQuestion;
    if (prompter.question(question, Title, QuestionButtons::YesNo) != Answer::Yes)
        return false;
    const LedgerFill::Result result = LedgerFill::fill(target, id, firstRow, rows, freezeHeadings);
    std::string done =
        "导入完毕，共导入" + std::to_string(result.rows) + "行、" + std::to_string(result.cells) + "个单元格。";
    if (result.outOfRangeRows > 0)
        done += "\n有" + std::to_string(result.outOfRangeRows) + "行的计算结果超出金额范围，这些单元格保持原来的内容。";
    prompter.message(done, Title, MessageIcon::Information);
    return true;
}

} // namespace vantor
