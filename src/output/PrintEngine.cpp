#include "output/PrintEngine.h"

#include "common/Amount.h"
#include "common/Rounding.h"
#include "output/PrintFit.h"
#include "output/PrintProgress.h"
#include "output/PrintScratchSheet.h"
#include "sheet_component/engine/ColumnFit.h"
#include "sheet_component/engine/UndoGroup.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailLayouts.h"
#include "sheets/RowFormulas.h"
#include "sheets/SheetCatalogue.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

namespace vantor {

namespace {

constexpr int DataRowHeight = 20;
constexpr int TitleRowHeight = 30;
constexpr int TitleFontSize = 16;
constexpr const char *TitleFont = "宋体";
constexpr const char *SubtotalCaption = "本页小计";
constexpr const char *GrandTotalCaption = "合    计";

constexpr std::array<double, 4> DetailMargins = PrintFit::DetailMargins;
constexpr std::array<double, 4> FixedAssetMargins = PrintFit::FixedAssetMargins;
constexpr std::array<double, 4> SummaryMargins = PrintFit::SummaryMargins;
// The two pages of the balance sheet (表2-1, 表2-2): the wider one needs the paper across.
constexpr bool BalanceSheetLandscape = true;

bool isFixedAssetSheet(int id)
{
    return id >= 40 && id <= 46;
}

void step(PrintProgress *progress, double at, const char *text)
{
    if (!progress)
        return;
    progress->ShowProgress(at, text);
    if (progress->cancelled())
        throw PrintCancelled();
}

std::string pageNumberText(int page, int pages)
{
    return "共" + std::to_string(pages) + "页，第" + std::to_string(page) + "页";
}

// Writes an amount with the two-decimal style of summed columns.
void writeAmount(Workbook &wb, int sheet, int col, int row, double value)
{
    wb.DoSetCellData(col, row, value, sheet);
    wb.DoSetCellNumberStyle(col, row, 1, false, 2, -1, 1, 1, 0, sheet);
}

void caption(Workbook &wb, int sheet, int row, const char *text)
{
    wb.DoSetCellData(0, row, text, sheet);
    wb.DoJoinCells(0, row, 1, row, sheet);
    wb.DoSetCellAlignment(0, row, AlignCenter, sheet);
}

// The exact sum of the numbers in rows first … last of a column (texts and empty cells count 0).
double columnSum(const Sheet &sheet, int col, int first, int last)
{
    Amount sum;
    for (int r = first; r <= last; ++r) {
        const CellValue v = sheet.value(col, r);
        if (!v.isNumber())
            continue;
        if (const auto amount = Amount::fromDouble(v.number()))
            sum += *amount;
        else
            throw AmountOverflow("页小计超出了金额的有效范围。");
    }
    return sum.toDouble();
}

// Copies rows first … last (values, formats, heights and the merges inside them) to `target`.
void copyRows(Workbook &wb, int sheet, int cols, int first, int last, int target)
{
    const Sheet &s = wb.sheet(sheet);
    std::vector<CellRange> merges;
    for (const CellRange &m : s.merges())
        if (m.row1 >= first && m.row2 <= last)
            merges.push_back(m);
    const int offset = target - first;
    for (int r = first; r <= last; ++r) {
        for (int c = 0; c < cols; ++c) {
            wb.DoSetCellData(c, r + offset, s.value(c, r), sheet);
            wb.setCellFormat(c, r + offset, wb.cellFormat(c, r, sheet), sheet);
        }
        wb.DoSetRowHeight(r + offset, s.rowHeight(r), sheet);
    }
    for (const CellRange &m : merges)
        wb.DoJoinCells(m.col1, m.row1 + offset, m.col2, m.row2 + offset, sheet);
}

// Rows 0 … 4: title, base date, code, the page-number row and the holding-unit and unit line.
void titleBlock(Workbook &wb, int sheet, int cols, const PrintTexts &t, PrintProgress *progress)
{
    const int last = cols - 1;
    wb.DoInsertRows(0, 5, sheet);
    auto line = [&](int row, const std::string &text, int align) {
        wb.DoSetCellData(0, row, text, sheet);
        wb.DoJoinCells(0, row, last, row, sheet);
        wb.DoSetCellAlignment(0, row, align, sheet);
    };
    line(0, t.sheetName, AlignCenter);
    wb.DoSetCellFont(0, 0, TitleFontSize, fontStyleCode(true, false, false), TitleFont, sheet);
    wb.DoSetRowHeight(0, TitleRowHeight, sheet);
    line(1, t.baseDate, AlignCenter);
    line(2, t.sheetCode, AlignRight);
    step(progress, 5.6, "格式化页眉");
    wb.DoJoinCells(0, 3, last, 3, sheet);
    wb.DoSetCellAlignment(0, 3, AlignRight, sheet);
    const int unitCol = std::max(1, cols - 2);
    wb.DoSetCellData(0, 4, t.holdingUnit, sheet);
    wb.DoJoinCells(0, 4, unitCol - 1, 4, sheet);
    wb.DoSetCellAlignment(0, 4, AlignLeft, sheet);
    wb.DoSetCellData(unitCol, 4, t.unitLine, sheet);
    wb.DoJoinCells(unitCol, 4, last, 4, sheet);
    wb.DoSetCellAlignment(unitCol, 4, AlignRight, sheet);
    step(progress, 5.9, "格式化页眉");
}

// Both halves of a signature row merged: columns 0 … split-1 and split … cols-1.
void splitRow(Workbook &wb, int sheet, int cols, int row)
{
    const int split = PrintEngine::signatureSplit(cols);
    wb.DoJoinCells(0, row, split - 1, row, sheet);
    wb.DoJoinCells(split, row, cols - 1, row, sheet);
}

void pageSetup(Workbook &wb, int sheet, int cols, const std::vector<std::pair<int, int>> &blocks,
               const std::array<double, 4> &margins, int scale, std::optional<bool> landscape = std::nullopt)
{
    wb.DoSetPageHeader("", "", "", sheet);
    wb.DoSetPageFooter("", "", "", sheet);
    wb.DoSetPrintRange(0, cols - 1, 0, wb.Rows(sheet) - 1, sheet);
    wb.DoSetPageMargins(margins[0], margins[1], margins[2], margins[3], sheet);
    std::vector<int> breaks;
    for (std::size_t i = 1; i < blocks.size(); ++i)
        breaks.push_back(blocks[i].first);
    wb.setRowPageBreaks(std::move(breaks), sheet);
    const PageFit fit = PrintFit::fit(wb.sheet(sheet), cols, blocks, margins, scale, landscape);
    wb.setPaper(PaperSizes::A4, fit.landscape, sheet);
    wb.DoSetPrintScale(fit.scale, true, true, sheet);
}

std::string squeezed(std::string text)
{
    std::string out;
    for (char ch : text)
        if (ch != ' ')
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

// True when the total row already holds the formulas the total-row command would write, so that
// printing does not count as a change of the sheet.
bool totalsCurrent(const Workbook &wb, int index, int id)
{
    const int rows = wb.Rows(index);
    const int cols = std::min(wb.Cols(index), DetailLayouts::MaxColumns);
    for (int c = 2; c < cols; ++c)
        if (DetailLayouts::isSummedColumn(id, c) && squeezed(wb.formulaText(index, c, DetailLayouts::TotalRow)) !=
                                                        squeezed(RowFormulas::totalSumFormula(c, rows)))
            return false;
    const std::string rate = RowFormulas::totalRateFormula(id);
    return rate.empty() ||
           squeezed(wb.formulaText(index, DetailLayouts::rateColumn(id), DetailLayouts::TotalRow)) == squeezed(rate);
}

} // namespace

int PrintEngine::pageCount(int dataRows, int rowsPerPage)
{
    if (dataRows <= 0)
        return 1;
    return (dataRows + rowsPerPage - 1) / rowsPerPage;
}

int PrintEngine::pageStartRow(int page, int rowsPerPage)
{
    return page <= 1 ? 0 : (rowsPerPage + 8) * (page - 1) + 3;
}

int PrintEngine::signatureSplit(int cols)
{
    return static_cast<int>(roundHalfEven(cols / 2.0 - 1.0, 0)) + 1;
}

void PrintEngine::PrintDetailSheet(Workbook &source, int16_t id, int index, int rowsPerPage, const PrintTexts &texts,
                                   PrintProgress *progress, const PrintOutput &output)
{
    const int R = std::clamp(rowsPerPage, MinRowsPerPage, MaxRowsPerPage);
    step(progress, 0, "开始打印准备工作");
    PrintScratchSheet scratch(source, index);
    Workbook &wb = scratch.workbook();
    // The scratch copy is thrown away: nothing in it needs undoing.
    UndoPause pause(wb);
    const int N = scratch.index();
    // A total row that is not current is brought up to date on the copy: the user's sheet is
    // only read.
    if (!totalsCurrent(source, index, id))
        RowFormulas::writeTotals(wb, id, false);
    step(progress, 0.5, "正在制表");
    step(progress, 1.0, "正在制表");

    // The total row's figures, kept for the grand total; then the heading rows go flat and the
    // total row leaves, so that data starts at row 2.
    const int C = wb.Cols(N);
    std::vector<double> totals(static_cast<std::size_t>(C));
    std::vector<int> summed;
    for (int j = 0; j < C; ++j) {
        totals[static_cast<std::size_t>(j)] = wb.DoGetSheetCellData(j, DetailLayouts::TotalRow, N).number();
        if (j >= 2 && DetailLayouts::isSummedColumn(id, j))
            summed.push_back(j);
    }
    // The grand total shows the total rate as the sheet does.
    const int rateCol = DetailLayouts::rateColumn(id);
    const CellFormat rateFormat =
        rateCol > 0 && rateCol < C ? wb.cellFormat(rateCol, DetailLayouts::TotalRow, N) : CellFormat{};
    step(progress, 1.5, "正在制表");
    for (int j = 0; j < C; ++j) {
        wb.DoSetCell3DState(j, 0, 0, N);
        wb.DoSetCell3DState(j, 1, 0, N);
    }
    wb.DoDeleteRows(DetailLayouts::TotalRow, 1, N);

    // Pad to whole pages, then open the gap after each page's data: 8 rows between pages (empty
    // row, subtotal, signature block, the next page's page-number and unit rows and headings),
    // 4 after the last (subtotal, grand total, signature block).
    const int D = std::max(0, wb.Rows(N) - 2);
    const int P = pageCount(D, R);
    wb.SetRows(P * R + 2, N);
    wb.DoSetRowHeightRange(2, wb.Rows(N) - 1, DataRowHeight, 0, N);
    for (int p = 1; p <= P; ++p) {
        if (p < P)
            wb.DoInsertRows(p * (R + 8) - 6, 8, N);
        else
            wb.DoAppendRows(4, N);
        step(progress, 2.0 / P * p + 1.5, "生成标准格式");
    }
    wb.DoSetRowHeightRange(wb.Rows(N) - 4, wb.Rows(N) - 1, DataRowHeight, 0, N);

    const Sheet &sheet = wb.sheet(N);
    for (int p = 1; p <= P; ++p) {
        const int first = (R + 8) * (p - 1) + 2; // 0-based data rows of the page
        const int last = first + R - 1;
        const int s = last + 2;
        const int subtotalRow = p == P ? s - 1 : s;
        for (int j : summed)
            writeAmount(wb, N, j, subtotalRow, columnSum(sheet, j, first, last));
        caption(wb, N, subtotalRow, SubtotalCaption);
        if (p == P) {
            caption(wb, N, s, GrandTotalCaption);
            for (int j : summed)
                writeAmount(wb, N, j, s, totals[static_cast<std::size_t>(j)]);
            if (rateCol > 0 && rateCol < C) {
                wb.DoSetCellData(rateCol, s, totals[static_cast<std::size_t>(rateCol)], N);
                wb.setCellFormat(rateCol, s, rateFormat, N);
            }
        } else {
            wb.DoJoinCells(0, s - 1, 1, s - 1, N);
        }
        wb.DoSetRangeBorder(0, first - 2, C - 1, s, 0, 1, 0, N);
        step(progress, 2.0 / P * p + 3.5, "计算页小计");
    }

    titleBlock(wb, N, C, texts, progress);

    // Later pages repeat the page-number row, the unit row and the two heading rows.
    for (int p = 2; p <= P; ++p) {
        copyRows(wb, N, C, 3, 6, pageStartRow(p, R));
        step(progress, 1.0 / P * p + 6.0, "格式化页眉");
    }

    const int a = R + 9;
    const int split = signatureSplit(C);
    splitRow(wb, N, C, a);
    splitRow(wb, N, C, a + 1);
    wb.DoSetCellData(0, a, texts.formFiller, N);
    wb.DoSetCellData(split, a, texts.appraisers, N);
    wb.DoSetCellData(0, a + 1, texts.filledDate, N);
    wb.DoSetCellData(split, a + 1, texts.institution, N);
    for (int p = 2; p <= P; ++p) {
        copyRows(wb, N, C, a, a + 1, (R + 8) * p + 1);
        step(progress, 1.0 / P * p + 7.9, "格式化页脚");
    }

    std::vector<std::pair<int, int>> blocks;
    for (int p = 1; p <= P; ++p) {
        wb.DoSetCellData(0, pageStartRow(p, R) + (p == 1 ? 3 : 0), pageNumberText(p, P), N);
        blocks.emplace_back(pageStartRow(p, R), p < P ? pageStartRow(p + 1, R) - 1 : wb.Rows(N) - 1);
    }
    step(progress, 10, "完成");

    const bool fixedAssets = isFixedAssetSheet(id);
    // Every amount of a column prints in the column's own size: columns widen to their amounts
    // and the whole page scales alike.
    ColumnFit::toNumbers(wb, N);
    pageSetup(wb, N, C, blocks, fixedAssets ? FixedAssetMargins : DetailMargins, fixedAssets ? 90 : 100);
    if (progress)
        progress->finished();
    if (output)
        output(wb, N);
}

void PrintEngine::PrintSummarySheet(Workbook &source, int16_t id, int index, const PrintTexts &t,
                                    const PrintOutput &output)
{
    PrintScratchSheet scratch(source, index);
    Workbook &wb = scratch.workbook();
    const int N = scratch.index();
    const int C = wb.Cols(N);
    wb.DoSetRangeBorder(0, 0, C - 1, wb.Rows(N) - 1, 0, 1, 0, N);
    titleBlock(wb, N, C, t, nullptr);

    wb.DoAppendRows(2, N);
    const int L2 = wb.Rows(N) - 1;
    const int L1 = L2 - 1;
    const int split = signatureSplit(C);
    splitRow(wb, N, C, L1);
    splitRow(wb, N, C, L2);
    wb.DoSetRowHeightRange(1, 4, 18, 0, N);
    wb.DoSetRowHeightRange(L1, L2, 18, 0, N);

    auto sign = [&](int col, int row, const std::string &text) { wb.DoSetCellData(col, row, text, N); };
    switch (id) {
    case 0:
        sign(0, 3, pageNumberText(1, 1));
        sign(0, L1, t.institution);
        sign(split, L1, t.projectLeader);
        sign(0, L2, t.legalRep);
        sign(split, L2, t.signingAppraiser);
        break;
    case 1:
    case 2:
        // 表2-1 and 表2-2 are the two pages of one balance sheet.
        sign(0, 3, pageNumberText(id, 2));
        sign(0, L2, t.institution);
        sign(split, L2, t.signingAppraiser);
        if (id == 1) {
            wb.DoSetRowHeight(L1, 10, N);
            wb.DoSetRowHeightRange(1, 4, 15, 0, N);
        }
        break;
    default:
        sign(0, 3, pageNumberText(1, 1));
        sign(0, L1, t.formFiller);
        sign(split, L1, t.appraisers);
        sign(0, L2, t.filledDate);
        sign(split, L2, t.institution);
        break;
    }
    ColumnFit::toNumbers(wb, N);
    // 表2-1 and 表2-2 are two pages of one form and print in one orientation.
    pageSetup(wb, N, C, {{0, L2}}, SummaryMargins, 100,
              id == 1 || id == 2 ? std::optional<bool>(BalanceSheetLandscape) : std::nullopt);
    if (output)
        output(wb, N);
}

PrintEngine::Outcome PrintEngine::PrintSheet(Workbook &wb, const PrintContext &context,
                                             const std::function<PrintTexts(int16_t id)> &texts,
                                             const std::function<int(int16_t id)> &askRows, PrintProgress *progress,
                                             const PrintOutput &output)
{
    const int index = wb.CurrentSheet();
    auto textsOf = [&](int16_t id) { return texts ? texts(id) : PrintTexts::labels(id); };
    if (context.summaryView) {
        const std::string &key = context.summaryKey;
        int number = -1;
        if (key.size() < 2 || key[0] != 'b' ||
            std::from_chars(key.data() + 1, key.data() + key.size(), number).ec != std::errc() ||
            !SheetCatalogue::isSummary(number))
            return Outcome::NothingToPrint;
        PrintSummarySheet(wb, static_cast<int16_t>(number), index, textsOf(static_cast<int16_t>(number)), output);
        return Outcome::Printed;
    }
    const int16_t id = context.sheetId;
    if (id == SheetCatalogue::ContraSheetId) {
        PrintSummarySheet(wb, id, index, textsOf(id), output);
        return Outcome::Printed;
    }
    if (!SheetCatalogue::isDetailKind(id))
        return Outcome::NothingToPrint;
    if (wb.Rows(index) > MaxDetailRows)
        return Outcome::TooManyRows;
    const int rows = askRows ? askRows(id) : MinRowsPerPage;
    if (rows == 0)
        return Outcome::Cancelled;
    PrintDetailSheet(wb, id, index, rows, textsOf(id), progress, output);
    return Outcome::Printed;
}

} // namespace vantor
