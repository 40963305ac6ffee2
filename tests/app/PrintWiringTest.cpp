// 打印预览 in the assembled window: a detail sheet asks for its rows per page and prints its
// pages, a summary sheet prints on one page, cancelling prints nothing, and the workbook the user
// sees is the same afterwards. 设置 > 评估机构 puts the institution on the forms.

#include "app/MainAssembly.h"
#include "output/dialogs/PrintSettingsStore.h"
#include "project/EngineProjectWorkbook.h"
#include "project/dialogs/DialogTestSupport.h"
#include "sheet_component/engine/Workbook.h"
#include "support/ScriptedPrompter.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::ScriptedPrompter;

class PrintWiringTest : public ::testing::Test
{
  protected:
    PrintWiringTest() : assembly(state, {VANTOR_BIN_DIR, work.path().toStdString(), PasswordCost::minimal()})
    {
        window().setPrompter(&prompter);
        Workbook wb;
        EngineProjectWorkbook pw(wb);
        ProjectSession s({VANTOR_BIN_DIR, scratch.path().toStdString(), PasswordCost::minimal()}, pw);
        ScriptedPrompter p;
        EXPECT_EQ(s.newProject(ProjectKind::DataEntry, p), CommandResult::Done);
        s.storeNodeProperties({"甲项目", "甲公司", "张三", "李四", std::nullopt, "王五"});
        p.files.push_back(path());
        EXPECT_EQ(s.saveProject(p), CommandResult::Done);
        EXPECT_EQ(s.closeProject(p), CommandResult::Done);
        assembly.printing().setRowsAsker([this](int16_t) { return ++asked, rows; });
        assembly.printing().setOutput([this](Workbook &wb, int sheet) {
            printedLabel = wb.DoGetSheetLabel(sheet);
            printedRows = wb.Rows(sheet);
            pageText = wb.displayText(sheet, 0, 3);
            institution =
                wb.displayText(sheet, 0, wb.Rows(sheet) - 1) + wb.displayText(sheet, 0, wb.Rows(sheet) - 2);
            for (int c = 0; c < wb.Cols(sheet); ++c)
                institution += wb.displayText(sheet, c, wb.Rows(sheet) - 1);
        });
    }
    ~PrintWiringTest() override { window().setPrompter(nullptr); }

    frmMain &window() { return assembly.window(); }
    std::string path() const { return user.filePath("data.mdb").toStdString(); }
    std::vector<std::string> state_of(Workbook &wb)
    {
        return {std::to_string(wb.SheetCount()), std::to_string(wb.CurrentSheet()),
                std::to_string(wb.IsModified()), std::to_string(wb.undoStack().undoCount()),
                std::to_string(wb.Rows())};
    }

    test::ScopedSettings settings;
    QTemporaryDir work, user, scratch;
    ProgramState state;
    MainAssembly assembly;
    ScriptedPrompter prompter;
    int rows = 25, asked = 0;
    std::string printedLabel, pageText, institution;
    int printedRows = 0;
};

TEST_F(PrintWiringTest, DetailSheetPrintsItsPagesAndLeavesTheWorkbookAsItWas)
{
    EXPECT_FALSE(window().menuAction(CommandId::FilePrintPreview)->isEnabled());
    ASSERT_EQ(assembly.projects().openProjectFile(path()), CommandResult::Done);
    EXPECT_TRUE(window().menuAction(CommandId::FilePrintPreview)->isEnabled());
    EXPECT_TRUE(window().toolbarAction(CommandId::FilePrintPreview)->isEnabled());
    Workbook &wb = window().workbook();
    wb.SetRows(60); // 57 data rows: three pages of 25
    EXPECT_TRUE(window().runCommand(CommandId::DataTotals));
    wb.DoSetModified(false);
    const auto before = state_of(wb);

    rows = 0;
    EXPECT_TRUE(window().runCommand(CommandId::FilePrintPreview));
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(printedLabel.empty()) << "cancelled: nothing printed";

    rows = 25;
    EXPECT_TRUE(window().runCommand(CommandId::FilePrintPreview));
    EXPECT_EQ(printedLabel, "print");
    EXPECT_EQ(printedRows, 3 * (25 + 8) + 3);
    EXPECT_EQ(pageText, "共3页，第1页");
    EXPECT_EQ(state_of(wb), before);
    EXPECT_TRUE(window().isEnabled());
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(PrintWiringTest, PreviewShowsThePrintedPages)
{
    ASSERT_EQ(assembly.projects().openProjectFile(path()), CommandResult::Done);
    window().workbook().SetRows(60);
    assembly.printing().setOutput(nullptr);
    int previewPages = -1;
    std::function<void()> inspect = [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QPrintPreviewDialog *>(w); dialog && dialog->isVisible()) {
                if (auto *pages = dialog->findChild<QPrintPreviewWidget *>())
                    previewPages = pages->pageCount();
                dialog->grab().save(QDir::temp().filePath("vantor-print-preview.png"));
                dialog->reject();
                return;
            }
        QTimer::singleShot(20, inspect);
    };
    QTimer::singleShot(0, inspect);
    EXPECT_TRUE(window().runCommand(CommandId::FilePrintPreview));
    EXPECT_EQ(previewPages, 3);
    EXPECT_EQ(window().workbook().findSheet("print"), -1);
}

TEST_F(PrintWiringTest, SummarySheetPrintsOnOnePageWithTheInstitution)
{
    PrintSettingsStore::setInstitution("某某评估公司");
    ASSERT_EQ(assembly.projects().openProjectFile(path()), CommandResult::Done);
    prompter.answers.push_back(Answer::No);
    window().dispatcher().dispatch(CommandId::PaneSummary);
    QTreeWidget *list = window().fixedTree();
    list->setCurrentItem(list->topLevelItem(4));
    emit list->itemClicked(list->topLevelItem(4), 0);
    Workbook &wb = window().workbook();
    const auto before = state_of(wb);

    EXPECT_TRUE(window().runCommand(CommandId::FilePrintPreview));
    EXPECT_EQ(asked, 0) << "summary sheets have no rows per page";
    EXPECT_EQ(pageText, "共1页，第1页");
    EXPECT_NE(institution.find("评估机构：某某评估公司"), std::string::npos);
    EXPECT_EQ(state_of(wb), before);
}

TEST_F(PrintWiringTest, InstitutionIsASettingOfTheProgram)
{
    QAction *entry = window().menuAction(CommandId::SettingInstitution);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->isEnabled()) << "also without a project";
    prompter.inputs.push_back("某某资产评估有限公司");
    EXPECT_TRUE(window().runCommand(CommandId::SettingInstitution));
    EXPECT_EQ(PrintSettingsStore::institution(), "某某资产评估有限公司");
    prompter.inputs.push_back(std::nullopt);
    EXPECT_TRUE(window().runCommand(CommandId::SettingInstitution));
    EXPECT_EQ(PrintSettingsStore::institution(), "某某资产评估有限公司");
}

} // namespace
} // namespace vantor
