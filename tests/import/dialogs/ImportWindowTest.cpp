// The import window as the user meets it: opening an Excel file and a workbook, refusing a
// damaged one, importing the selected rows into the main window's sheet, and a PNG.

#include "import/dialogs/frmImport.h"

#include "sheet_component/widget/CellWidget.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/TemplateWorkbook.h"
#include "support/ScriptedPrompter.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vantor;

namespace
{

const std::string kSample = VANTOR_TEST_DATA_DIR "/import/other-program.xlsx";

struct ImportWindow : ::testing::Test {
    test::ScriptedPrompter prompter;
    Workbook project;
    int targetId = 22;
    int imports = 0;
    frmImport window{prompter,
                     [this]() -> std::optional<ImportTarget> {
                         return ImportTarget{&project, targetId, "表3-10-1", true};
                     },
                     [this] { ++imports; }};

    void SetUp() override { ASSERT_TRUE(DetailSheetBuilder::build(project, 22)); }
};

TEST_F(ImportWindow, ImportsTheSelectedRowsOfAnExcelSheet)
{
    prompter.files = {kSample};
    ASSERT_TRUE(window.openFile());
    ASSERT_EQ(window.tvwSht->topLevelItemCount(), 1);
    EXPECT_EQ(window.windowTitle(), "获取外部数据--明细");
    EXPECT_TRUE(window.mnuImport->isEnabled());
    // The sheet is shown as values with its widths and merges, and nothing to undo.
    EXPECT_EQ(window.view().DoGetCellData(1, 2).number(), -1234.5);
    EXPECT_EQ(window.view().DoGetColWidth(1), 114);
    EXPECT_EQ(window.view().sheet(0).merges().size(), 1u);
    EXPECT_FALSE(window.view().CanUndo());

    // Rows 1 … 3 of the file selected: the text row, the empty row and the values row.
    window.view().DoSelectRange(0, 0, 4, 2);
    prompter.answers = {Answer::Yes};
    EXPECT_TRUE(window.importSheet());
    EXPECT_EQ(imports, 1);
    EXPECT_EQ(project.DoGetCellData(0, 3).text(), "机器设备");
    EXPECT_EQ(project.DoGetCellData(1, 5).number(), -1234.5);
    EXPECT_EQ(project.DoGetCellData(4, 5).text(), "O'Brien & Co");
    EXPECT_NE(prompter.shown[1].text.find("3行"), std::string::npos);

    window.copySelection();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("机器设备"));

    window.show();
    const auto shots = std::filesystem::temp_directory_path() / "vantor-dialog-shots";
    std::filesystem::create_directories(shots);
    EXPECT_TRUE(window.grab().save(QString::fromStdString((shots / "frmImport.png").string())));
}

TEST_F(ImportWindow, AWorkbookImportsOnly表11)
{
    const auto folder = std::filesystem::temp_directory_path() / "vantor-import-window";
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "other.cll").string();
    {
        Workbook other;
        TemplateWorkbook::build(other);
        other.DoSetCellData(2, 1, 100.0, other.findSheet("b78"));
        other.DoSaveFile(path);
    }
    prompter.files = {path};
    ASSERT_TRUE(window.openFile());
    ASSERT_EQ(window.tvwSht->topLevelItemCount(), 2);
    EXPECT_FALSE(window.mnuImport->isEnabled()); // b10 shown first
    window.showEntry(window.tvwSht->topLevelItem(1));
    EXPECT_TRUE(window.mnuImport->isEnabled());

    // The main window shows another sheet: refused with a message, nothing written.
    EXPECT_FALSE(window.importSheet());
    EXPECT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(imports, 0);
    std::filesystem::remove_all(folder);
}

TEST_F(ImportWindow, ADamagedFileOrCancelKeepsWhatIsOpen)
{
    prompter.files = {kSample};
    ASSERT_TRUE(window.openFile());
    const auto bad = std::filesystem::temp_directory_path() / "vantor-damaged.xlsx";
    std::ofstream(bad) << "PK\x03\x04 not really";
    prompter.files = {bad.string(), std::nullopt};
    EXPECT_FALSE(window.openFile());
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.shown.back().icon, MessageIcon::Critical);
    EXPECT_FALSE(window.openFile());
    EXPECT_EQ(window.tvwSht->topLevelItemCount(), 1);
    EXPECT_EQ(window.view().DoGetCellData(0, 0).text(), "机器设备");
    std::filesystem::remove(bad);

    // Nothing is imported when no detail sheet is shown.
    frmImport none(prompter, [] { return std::optional<ImportTarget>(); }, {});
    prompter.files = {kSample};
    ASSERT_TRUE(none.openFile());
    EXPECT_FALSE(none.importSheet());
}

} // namespace
