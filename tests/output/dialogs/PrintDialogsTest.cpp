// The rows-per-page dialog, the progress window, and the printed pages as the page renderer
// cuts them: one sheet of paper per page block, never a block split over two, centred.

#include "output/PrintEngine.h"
#include "output/dialogs/dlgPrint.h"
#include "output/dialogs/frmProgres.h"
#include "output/print/PrintSettingsStore.h"

#include "project/dialogs/DialogTestSupport.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/render/PrintPagination.h"
#include "sheet_component/render/SheetPrinter.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/RowFormulas.h"
#include "sheets/TemplateWorkbook.h"
#include "support/PageInk.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(dlgPrintTest, AcceptsOnlyTwentyFiveToFiftyAndRemembersPerKind)
{
    test::ScopedSettings settings;
    struct Case {
        const char *typed;
        int rows; // 0: the dialog stays open
    };
    for (const Case &c : {Case{"50", 50}, Case{"24", 0}, Case{"51", 0}, Case{"30行", 30}, Case{"", 0}}) {
        dlgPrint dialog(10);
        dialog.show();
        dialog.txtRows()->setText(QString::fromUtf8(c.typed));
        dialog.okButton()->click();
        EXPECT_EQ(dialog.rowsPerPage(), c.rows) << c.typed;
        EXPECT_EQ(dialog.isVisible(), c.rows == 0) << c.typed;
    }
    EXPECT_EQ(PrintSettingsStore::rows(10), 30);
    EXPECT_EQ(PrintSettingsStore::rows(40), 25) << "sheets 40 … 46 keep their own value";
    dlgPrint fixedAssets(43);
    EXPECT_EQ(fixedAssets.txtRows()->text(), "25");
    fixedAssets.txtRows()->setText("45");
    fixedAssets.okButton()->click();
    EXPECT_EQ(PrintSettingsStore::rows(40), 45);

    dlgPrint cancelled(16);
    cancelled.show();
    cancelled.txtRows()->setText("40");
    cancelled.cancelButton()->click();
    EXPECT_EQ(cancelled.rowsPerPage(), 0);
    EXPECT_EQ(PrintSettingsStore::rows(16), 30);
}

TEST(frmProgresTest, DisablesTheWindowAndFillsTheBar)
{
    QWidget main;
    main.show();
    {
        frmProgres progress(&main);
        progress.ShowProgress(5.6, "格式化页眉");
        EXPECT_FALSE(main.isEnabled());
        EXPECT_TRUE(progress.isEnabled()) << "its texts are drawn in the normal colour, not greyed";
        EXPECT_EQ(progress.stepText(), "格式化页眉");
        progress.ShowProgress(0.25, "正在制表");
        EXPECT_EQ(progress.percentText(), "2%") << "halves to even";
        progress.ShowProgress(10, "完成");
        EXPECT_EQ(progress.barWidth(), frmProgres::BarWidth);
        EXPECT_EQ(progress.percentText(), "100%");
    }
    EXPECT_TRUE(main.isEnabled()) << "closing the window gives the main window back";
}

TEST(PrintedPagesTest, EveryPageBlockIsOneSheetOfPaper)
{
    for (int16_t id : {16, 43}) {
        for (int rows : {25, 50}) {
            SCOPED_TRACE(std::to_string(id) + " / " + std::to_string(rows));
            Workbook wb;
            DetailSheetBuilder::build(wb, id);
            const int D = 2 * rows + 3;
            wb.SetRows(D + 3);
            for (int r = 3; r < D + 3; ++r)
                wb.DoSetCellData(1, r, "一个相当长的资产名称");
            RowFormulas::writeTotals(wb, id, true);
            const int P = PrintEngine::pageCount(D, rows);
            std::vector<CellRange> pages;
            PrintEngine::PrintDetailSheet(wb, id, 0, rows, PrintTexts::labels(id), nullptr, [&](Workbook &w, int s) {
                pages = PrintPagination::pages(w.sheet(s), w.printSettings(s));
            });
            ASSERT_EQ(static_cast<int>(pages.size()), P);
            for (int p = 1; p <= P; ++p) {
                EXPECT_EQ(pages[p - 1].row1, PrintEngine::pageStartRow(p, rows));
                EXPECT_EQ(pages[p - 1].col2, wb.Cols(0) - 1);
            }
        }
    }
}

// A detail and a summary form sit in the middle of the paper.
TEST(PrintedPagesTest, FormsAreCentred)
{
    Workbook wb;
    TemplateWorkbook::build(wb);
    const int detail = wb.findSheet("b16");
    wb.DoSetCurrentSheet(detail);
    wb.SetRows(8);
    wb.DoSetCellData(1, 3, "某某市某某区某某街道某某号某某大厦第十八层全体办公设备及其附属设施");
    wb.DoSetCellData(5, 3, 1234567.5);
    RowFormulas::writeTotals(wb, 16, true);
    for (const auto &[id, index] : {std::pair<int16_t, int>{16, detail}, {3, wb.findSheet("b3")}}) {
        SCOPED_TRACE(id);
        std::vector<QImage> pages;
        auto output = [&](Workbook &w, int s) { pages = SheetPrinter(w, s).renderImages(96); };
        if (id == 16)
            PrintEngine::PrintDetailSheet(wb, id, index, 25, PrintTexts::labels(id), nullptr, output);
        else
            PrintEngine::PrintSummarySheet(wb, id, index, PrintTexts::labels(id), output);
        ASSERT_FALSE(pages.empty());
        EXPECT_TRUE(test::centred(pages[0]));
    }
}

} // namespace
} // namespace vantor
