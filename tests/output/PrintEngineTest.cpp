// The printed form of detail and summary sheets: pagination, subtotals, totals, page heads,
// signature blocks and page set-up on the temporary sheet, and the workbook left as it was.

#include "output/PrintEngine.h"
#include "output/PrintProgress.h"

#include "sheet_component/engine/DisplayFormat.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DetailDisplay.h"
#include "sheets/DetailLayouts.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/RowFormulas.h"
#include "sheets/TemplateWorkbook.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace vantor {
namespace {

constexpr int16_t kId = 16; // book 5, adjusted 6, appraised 7, rate 8
constexpr int kBook = 5;
constexpr int kRate = 8;

// The "print" sheet as the output saw it.
struct Printed {
    int rows = 0, cols = 0;
    std::vector<std::vector<std::string>> text;
    std::vector<std::vector<double>> number;
    PrintSettings settings;
    std::string label;
    const std::string &at(int col, int row) const { return text.at(row).at(col); }
};

Printed capture(Workbook &wb, int sheet)
{
    Printed p;
    p.rows = wb.Rows(sheet);
    p.cols = wb.Cols(sheet);
    p.settings = wb.printSettings(sheet);
    p.label = wb.DoGetSheetLabel(sheet);
    for (int r = 0; r < p.rows; ++r) {
        p.text.emplace_back();
        p.number.emplace_back();
        for (int c = 0; c < p.cols; ++c) {
            p.text.back().push_back(wb.displayText(sheet, c, r));
            p.number.back().push_back(wb.DoGetSheetCellData(c, r, sheet).number());
        }
    }
    return p;
}

PrintTexts signedTexts(int16_t id)
{
    PrintTexts t = PrintTexts::labels(id, "某某资产评估有限公司");
    t.formFiller += "张三";
    t.appraisers += "李四";
    t.filledDate += "2024年03月05日";
    t.signingAppraiser += "赵六";
    t.sheetName = "明细表";
    return t;
}

// Everything about the workbook a print must leave alone.
std::vector<std::string> snapshot(Workbook &wb)
{
    std::vector<std::string> s{std::to_string(wb.SheetCount()), std::to_string(wb.CurrentSheet()),
                               std::to_string(wb.IsModified()), std::to_string(wb.undoStack().undoCount())};
    for (int i = 0; i < wb.SheetCount(); ++i) {
        const Sheet &sheet = wb.sheet(i);
        s.push_back(sheet.label() + "/" + std::to_string(sheet.rows()) + "/" + std::to_string(sheet.frozenRows().last) +
                    "/" + std::to_string(sheet.merges().size()) + "/" + std::to_string(sheet.printSettings().scale));
        for (int r = 0; r < sheet.rows(); ++r)
            for (int c = 0; c < sheet.cols(); ++c)
                s.push_back(wb.displayText(i, c, r) + "|" + wb.formulaText(i, c, r));
    }
    return s;
}

class PrintEngineTest : public ::testing::Test {
protected:
    // A workbook with one other sheet and detail sheet `id` of `dataRows` rows: item k has the
    // book value k + 0.25 and the appraised value 2k.
    int makeDetail(int16_t id, int dataRows)
    {
        wb.DoAddSheet("b" + std::to_string(id));
        const int index = wb.SheetCount() - 1;
        wb.DoSetCurrentSheet(index);
        DetailSheetBuilder::build(wb, id);
        wb.SetRows(dataRows + 3);
        const ColumnRoles roles = DetailLayouts::columnRoles(id);
        for (int k = 1; k <= dataRows; ++k) {
            wb.DoSetCellData(0, k + 2, static_cast<double>(k));
            wb.DoSetCellData(1, k + 2, "项目" + std::to_string(k));
            wb.DoSetCellData(roles.book, k + 2, k + 0.25);
            wb.DoSetCellData(roles.adjusted, k + 2, k + 0.25);
            wb.DoSetCellData(roles.appraised, k + 2, 2.0 * k);
        }
        RowFormulas::writeTotals(wb, id, true);
        wb.DoSetModified(false);
        return index;
    }

    Printed printDetail(int16_t id, int index, int rows, PrintProgress *progress = nullptr)
    {
        Printed printed;
        PrintEngine::PrintDetailSheet(wb, id, index, rows, signedTexts(id), progress,
                                      [&](Workbook &w, int sheet) { printed = capture(w, sheet); });
        return printed;
    }

    Workbook wb;
};

struct PageCase {
    int dataRows, rowsPerPage, pages;
};

class PrintPaginationTest : public PrintEngineTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(PrintPaginationTest, PagesCarryHeadsDataSubtotalsTotalsAndSignatures)
{
    const auto [D, R, P] = GetParam();
    const int index = makeDetail(kId, D);
    // The grand total's rate reads as the sheet shows its total rate: in the rate column's style.
    CellFormat rateShown = wb.cellFormat(kRate, 2, index);
    rateShown.number = *DetailDisplay::columnStyles(wb.sheet(index).label()).at(kRate, 2);
    const std::string userRate = formatCellValue(wb.DoGetSheetCellData(kRate, 2, index), rateShown);
    const Printed p = printDetail(kId, index, R);
    const PrintTexts t = signedTexts(kId);
    const int split = PrintEngine::signatureSplit(p.cols);

    ASSERT_EQ(PrintEngine::pageCount(D, R), P);
    EXPECT_EQ(p.label, "print");
    EXPECT_EQ(p.rows, P * (R + 8) + 3);
    EXPECT_EQ(p.settings.rowPageBreaks.size(), static_cast<std::size_t>(P - 1));
    EXPECT_EQ(p.at(0, 0), t.sheetName);

    for (int page = 1; page <= P; ++page) {
        SCOPED_TRACE("page " + std::to_string(page));
        const int head = PrintEngine::pageStartRow(page, R) + (page == 1 ? 3 : 0);
        EXPECT_EQ(p.at(0, head), "共" + std::to_string(P) + "页，第" + std::to_string(page) + "页");
        EXPECT_EQ(p.at(p.cols - 2, head + 1), "金额单位：人民币元");
        const int first = head + 4;
        double pageSum = 0;
        for (int i = 0; i < R; ++i) {
            const int k = (page - 1) * R + i + 1;
            if (k <= D) {
                EXPECT_EQ(p.at(1, first + i), "项目" + std::to_string(k));
                pageSum += k + 0.25;
            } else {
                for (int c = 0; c < p.cols; ++c)
                    EXPECT_EQ(p.at(c, first + i), "") << "padding row " << i << " col " << c;
            }
        }
        const bool last = page == P;
        const int subtotal = first + R + (last ? 0 : 1);
        EXPECT_EQ(p.at(0, subtotal), "本页小计");
        EXPECT_DOUBLE_EQ(p.number[subtotal][kBook], pageSum);
        int sign = subtotal + 1;
        if (last) {
            EXPECT_EQ(p.at(0, sign), "合    计");
            EXPECT_DOUBLE_EQ(p.number[sign][kBook], D * (D + 1) / 2.0 + 0.25 * D);
            EXPECT_EQ(p.at(kRate, sign), userRate);
            EXPECT_EQ(p.at(1, sign), "") << "columns 0 and 1 never get sums";
            ++sign;
        }
        EXPECT_EQ(p.at(0, sign), t.formFiller);
        EXPECT_EQ(p.at(split, sign + 1), t.institution);
        EXPECT_EQ(sign + 2, last ? p.rows : PrintEngine::pageStartRow(page + 1, R));
    }
}

INSTANTIATE_TEST_SUITE_P(DataRows, PrintPaginationTest,
                         ::testing::Values(PageCase{100, 25, 4}, PageCase{26, 25, 2}, PageCase{25, 25, 1},
                                           PageCase{1, 25, 1}, PageCase{0, 25, 1}));

TEST_F(PrintEngineTest, FixedAssetSheetsPrintSmallerWithWiderMargins)
{
    for (int16_t id : {16, 40, 46, 77}) {
        SCOPED_TRACE(id);
        Workbook fresh;
        wb.assignFrom(std::move(fresh));
        const Printed p = printDetail(id, makeDetail(id, 60), 50);
        const bool fixedAsset = id >= 40 && id <= 46;
        const std::array<double, 4> margins =
            fixedAsset ? std::array<double, 4>{20, 16, 6, 10} : std::array<double, 4>{12, 6, 6, 10};
        EXPECT_EQ(p.settings.margins, margins);
        EXPECT_LE(p.settings.scale, fixedAsset ? 90 : 100);
        EXPECT_GE(p.settings.scale, 50) << "a page of 50 rows still prints legibly";
    }
}

TEST_F(PrintEngineTest, CancelledPrintOutputsNothingAndLeavesTheWorkbook)
{
    const int index = makeDetail(kId, 30);
    const auto before = snapshot(wb);
    struct CancelAt : PrintProgress {
        int calls = 0;
        void ShowProgress(double, const std::string &) override { ++calls; }
        bool cancelled() const override { return calls >= 6; }
    } cancel;
    bool output = false;
    EXPECT_THROW(PrintEngine::PrintDetailSheet(wb, kId, index, 25, signedTexts(kId), &cancel,
                                               [&](Workbook &, int) { output = true; }),
                 PrintCancelled);
    EXPECT_FALSE(output);
    EXPECT_EQ(snapshot(wb), before);
}

TEST_F(PrintEngineTest, StaleTotalsAndAmountStylesAreTheFormsOwn)
{
    const int index = makeDetail(kId, 3);
    wb.DoSetCellData(kBook, 3, 1234567.5, index);
    wb.DoSetCellData(kRate, 4, -5.0, index);
    wb.DoClearCellFormula(kBook, DetailLayouts::TotalRow, index); // the total row is out of date
    wb.DoSetModified(false);
    const auto before = snapshot(wb);
    const Printed p = printDetail(kId, index, 25);
    EXPECT_EQ(snapshot(wb), before) << "the user's sheet, undo history and modified flag stay";
    constexpr int first = 7, total = first + 26; // below the title block, page head and headings
    EXPECT_EQ(p.at(kBook, first), "1,234,567.50");
    EXPECT_EQ(p.at(kRate, first + 1), "-5.00");
    EXPECT_EQ(p.at(0, total), "合    计");
    EXPECT_DOUBLE_EQ(p.number[total][kBook], 1234567.5 + 2.25 + 3.25);
}

TEST_F(PrintEngineTest, DriverAsksForRowsAndStopsOnCancelOrTooManyRows)
{
    const int index = makeDetail(kId, 3);
    PrintContext context;
    context.sheetId = kId;
    int asked = 0;
    bool output = false;
    auto print = [&](int answer) {
        return PrintEngine::PrintSheet(
            wb, context, nullptr, [&](int16_t) { return ++asked, answer; }, nullptr,
            [&](Workbook &, int) { output = true; });
    };
    EXPECT_EQ(print(0), PrintEngine::Outcome::Cancelled);
    EXPECT_FALSE(output);

    wb.SetRows(PrintEngine::MaxDetailRows + 1, index);
    asked = 0;
    EXPECT_EQ(print(25), PrintEngine::Outcome::TooManyRows);
    EXPECT_EQ(asked, 0);
}

TEST_F(PrintEngineTest, SummarySheetFitsOnePageWithItsUnitAndSignatureLines)
{
    TemplateWorkbook::build(wb);
    const int index = wb.findSheet("b3");
    const auto before = snapshot(wb);
    const PrintTexts t = signedTexts(3);
    Printed p;
    PrintEngine::PrintSummarySheet(wb, 3, index, t, [&](Workbook &w, int sheet) { p = capture(w, sheet); });
    EXPECT_EQ(snapshot(wb), before);
    EXPECT_EQ(p.rows, wb.Rows(index) + 7);
    EXPECT_EQ(p.at(p.cols - 2, 4), "金额单位：人民币元");
    EXPECT_TRUE(p.settings.rowPageBreaks.empty());
    EXPECT_EQ(p.at(0, 3), "共1页，第1页");
    // The form's own preparer and the institution sign it.
    const int split = PrintEngine::signatureSplit(p.cols);
    EXPECT_EQ(p.at(0, p.rows - 2), t.formFiller);
    EXPECT_EQ(p.at(split, p.rows - 1), t.institution);

    // 表2-1 and 表2-2 are the two pages of one form: one orientation.
    std::vector<bool> landscape;
    for (int16_t id : {1, 2})
        PrintEngine::PrintSummarySheet(
            wb, id, wb.findSheet("b" + std::to_string(id)), signedTexts(id),
            [&](Workbook &w, int sheet) { landscape.push_back(w.printSettings(sheet).landscape); });
    ASSERT_EQ(landscape.size(), 2u);
    EXPECT_EQ(landscape[0], landscape[1]);
}

TEST(PrintTextsTest, DatesAndUnitLine)
{
    EXPECT_EQ(PrintTexts::chineseDate(
                  std::chrono::year_month_day{std::chrono::year{2024}, std::chrono::month{3}, std::chrono::day{5}}),
              "2024年03月05日");
    EXPECT_EQ(PrintTexts::chineseDate(std::nullopt), "");
    // 表1's unit line reads the unit it was computed in.
    EXPECT_EQ(PrintTexts::unitLineOf(0, false), "金额单位：人民币万元");
}

} // namespace
} // namespace vantor
