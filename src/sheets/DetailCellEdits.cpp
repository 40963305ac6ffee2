#include "sheets/DetailCellEdits.h"

#include "common/Prompter.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailEditCommands.h"
#include "sheets/DetailLayouts.h"
#include "sheets/NumericInput.h"
#include "sheets/RowFormulas.h"
#include "sheets/RowRecomputeBatch.h"
#include "sheets/SheetCatalogue.h"

#include <algorithm>
#include <optional>

namespace vantor {

namespace {

constexpr const char *Title = "Vantor";

} // namespace

bool DetailCellEdits::mayEditCell(int sheet, int col, int row)
{
    if (sheet == SheetCatalogue::ContraSheetId) {
        if (row < DetailLayouts::ContraFirstRow)
            return false;
        return row > DetailLayouts::ContraLastRow || col > 1;
    }
    return row >= DetailLayouts::FirstDataRow;
}

bool DetailCellEdits::mayEdit(int sheet, int col, int row)
{
    m_editStarted = mayEditCell(sheet, col, row);
    return m_editStarted;
}

bool DetailCellEdits::acceptInput(const EditContext &context, int col, int row, std::string &text, Prompter &prompter)
{
    if (!context.detailEntry)
        return true;
    // Heading texts are free; on 表11 the rows above row 3 are its contra rows, which hold amounts.
    if (row < DetailLayouts::FirstDataRow && context.sheet != SheetCatalogue::ContraSheetId)
        return true;
    const std::optional<std::string> stored = NumericInput::storedInput(context.sheet, col, text);
    if (!stored) {
        prompter.message(NumericInput::refusal(col, row, text), Title, MessageIcon::Information);
        return false;
    }
    text = *stored;
    return true;
}

bool DetailCellEdits::cellLeft(Workbook &workbook, const EditContext &context, int col, int row, Prompter &prompter)
{
    // Leaving a cell that was not edited, or a heading, changes nothing; the started edit
    // waits for its own cell to be left.
    if (!context.detailEntry || row < DetailLayouts::FirstDataRow || !m_editStarted)
        return false;
    m_editStarted = false;
    if (!RowFormulas::cellEdited(workbook, context.sheet, row, col, context.freezeHeadings))
        prompter.message(AmountRangeMessage, Title, MessageIcon::Information);
    return true;
}

void DetailCellEdits::limitWrite(const Workbook &workbook, const EditContext &context, int *lastCol, int *lastRow)
{
    const int id = context.sheet;
    if (!context.detailEntry || !SheetCatalogue::isDetail(id))
        return;
    *lastRow = std::min(*lastRow, DetailEditCommands::MaxRows - 1);
    // A paste never grows a detail sheet sideways, nor reaches its rate and remarks columns.
    const int dataColumns = DetailLayouts::dataColumnCount(id);
    const bool sidewaysLimit = dataColumns > 0 && id != SheetCatalogue::ContraSheetId;
    *lastCol = std::min(*lastCol, sidewaysLimit ? dataColumns : workbook.Cols() - 1);
    if (DetailLayouts::rateColumn(id) == *lastCol)
        *lastCol -= 1;
}

void DetailCellEdits::cellsWritten(Workbook &workbook, const EditContext &context, int col1, int row1, int col2,
                                   int row2, int leftOut, Prompter &prompter)
{
    const int id = context.sheet;
    if (context.detailEntry && SheetCatalogue::isDetailKind(id)) {
        // Every written cell counts as typed and left: rows complete, the total row once.
        RowRecomputeBatch batch(workbook, id, context.freezeHeadings);
        const int rate = DetailLayouts::rateColumn(id);
        for (int r = std::max(row1, DetailLayouts::FirstDataRow); r <= std::min(row2, workbook.Rows() - 1); ++r)
            for (int c = col1; c <= std::min(col2, workbook.Cols() - 1); ++c)
                if (c != rate)
                    batch.cellEdited(r, c);
        batch.finish();
    }
    m_editStarted = false;
    if (leftOut > 0)
        prompter.message("有" + std::to_string(leftOut) +
                             "个单元格不能编辑或超出了表格的可编辑范围，这些单元格没有改变。",
                         Title, MessageIcon::Information);
}

} // namespace vantor
