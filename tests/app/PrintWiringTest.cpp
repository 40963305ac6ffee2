// 打印预览 in the assembled window: a detail sheet asks for its rows per page (cancel prints
// nothing) and opens the preview on its pages; a summary sheet prints without asking, with the
// institution set in 设置 > 评估机构; the workbook the user sees is the same afterwards.

#include "output/print/PrintSettingsStore.h"
#include "project/dialogs/DialogTestSupport.h"
#include "sheet_component/engine/Workbook.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace vantor {
namespace {

class PrintWiringTest : public test::AppFixture {
protected:
    PrintWiringTest()
    {
        writeProjectFile(ProjectKind::DataEntry, path());
        assembly.printing().setRowsAsker([this](int16_t) { return ++asked, rows; });
        EXPECT_EQ(assembly.projects().openProjectFile(path()), CommandResult::Done);
    }

    std::string path() const { return work.filePath("data.mdb").toStdString(); }
    std::vector<int> stateOf(Workbook &wb)
    {
        return {wb.SheetCount(), wb.CurrentSheet(), wb.IsModified(), static_cast<int>(wb.undoStack().undoCount()),
                wb.Rows()};
    }

    test::ScopedSettings settings;
    int rows = 25, asked = 0;
};

TEST_F(PrintWiringTest, DetailSheetPreviewShowsItsPagesAndLeavesTheWorkbookAsItWas)
{
    Workbook &wb = this->wb();
    wb.SetRows(60); // 57 data rows: three pages of 25
    EXPECT_TRUE(window().runCommand(CommandId::DataTotals));
    wb.DoSetModified(false);
    const auto before = stateOf(wb);

    int previewPages = -1;
    std::function<void()> inspect = [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QPrintPreviewDialog *>(w); dialog && dialog->isVisible()) {
                previewPages = dialog->findChild<QPrintPreviewWidget *>()->pageCount();
                dialog->reject();
                return;
            }
        QTimer::singleShot(20, inspect);
    };
    rows = 0;
    EXPECT_TRUE(window().runCommand(CommandId::FilePrintPreview));
    EXPECT_EQ(asked, 1);
    rows = 25;
    QTimer::singleShot(0, inspect);
    EXPECT_TRUE(window().runCommand(CommandId::FilePrintPreview));
    EXPECT_EQ(previewPages, 3);
    EXPECT_EQ(stateOf(wb), before);
    EXPECT_TRUE(window().isEnabled());
}

TEST_F(PrintWiringTest, InstitutionSettingReachesThePrintedSummarySheet)
{
    prompter.inputs = {"某某评估公司", std::nullopt}; // set, then cancelled: kept
    EXPECT_TRUE(window().runCommand(CommandId::SettingInstitution));
    EXPECT_TRUE(window().runCommand(CommandId::SettingInstitution));
    EXPECT_EQ(PrintSettingsStore::institution(), "某某评估公司");

    prompter.answers.push_back(Answer::No);
    window().dispatcher().dispatch(CommandId::PaneSummary);
    QTreeWidget *list = window().fixedTree();
    list->setCurrentItem(list->topLevelItem(4));
    emit list->itemClicked(list->topLevelItem(4), 0);
    std::string signatures;
    assembly.printing().setOutput([&](Workbook &wb, int sheet) {
        for (int c = 0; c < wb.Cols(sheet); ++c)
            signatures += wb.displayText(sheet, c, wb.Rows(sheet) - 1);
    });
    const auto before = stateOf(wb());
    EXPECT_TRUE(window().runCommand(CommandId::FilePrintPreview));
    EXPECT_EQ(asked, 0) << "summary sheets have no rows per page";
    EXPECT_NE(signatures.find("评估机构：某某评估公司"), std::string::npos);
    EXPECT_EQ(stateOf(wb()), before);
}

TEST_F(PrintWiringTest, WholeReportIsWrittenAsOnePdfAndTheWorkbookStaysAsItWas)
{
    Workbook &wb = this->wb();
    wb.DoSetCellData(1, 3, "库存现金");
    wb.DoSetModified(false);
    const auto before = stateOf(wb);
    const std::string pdf = work.filePath("报表").toStdString();
    assembly.printing().setReportPath([&] { return pdf; });
    prompter.answers.push_back(Answer::No); // 表1 in ten thousand yuan
    EXPECT_TRUE(window().runCommand(CommandId::FileReportPdf));
    EXPECT_EQ(prompter.shown.back().icon, MessageIcon::Information) << prompter.shown.back().text;
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(pdf + ".pdf")));
    EXPECT_EQ(stateOf(wb), before);
}

} // namespace
} // namespace vantor
