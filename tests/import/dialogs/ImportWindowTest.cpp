// The import window as the user meets it: opening an Excel file and a workbook, refusing a
// damaged one, importing the selected rows into the main window's sheet.

#include "import/dialogs/frmImport.h"

#include "../LedgerFixture.h"
#include "common/Amount.h"
#include "sheet_component/widget/CellWidget.h"
#include "sheets/DetailSheetBuilder.h"
#include "sheets/TemplateWorkbook.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

const std::string kSample = VANTOR_TEST_DATA_DIR "/import/other-program.xlsx";

struct ImportWindow : ::testing::Test {
    test::ScriptedPrompter prompter;
    test::TempDir dir;
    Workbook project;
    int targetId = 22;
    int imports = 0;
    frmImport window{prompter,
                     [this]() -> std::optional<ImportTarget> {
                         return ImportTarget{&project, targetId, "表3-10-1", true};
                     },
                     [this] { ++imports; }};

    std::vector<LedgerMapping::Columns> proposals;
    std::optional<ColumnChoice> choice;

    void SetUp() override
    {
        ASSERT_TRUE(DetailSheetBuilder::build(project, 22));
        window.setMappingFile(dir.file("columns.txt"));
        window.setColumnChooser([this](int id, const LedgerHeadings &, int cols, const LedgerMapping::Columns &p) {
            proposals.push_back(p);
            return choice ? choice : std::optional<ColumnChoice>({LedgerMapping::byPosition(id, cols), 0});
        });
    }
};

TEST_F(ImportWindow, ImportsTheSelectedRowsOfAnExcelSheet)
{
    prompter.files = {kSample};
    ASSERT_TRUE(window.openFile());
    ASSERT_EQ(window.tvwSht->topLevelItemCount(), 1);
    EXPECT_EQ(window.windowTitle(), "获取外部数据--明细");

    // Rows 1 … 3 of the file selected: the text row, the empty row and the values row.
    window.Cell1->selection().DoSelectRange(0, 0, 4, 2);
    // By position the company name lands in 单价, a number column: listed, then skipped.
    prompter.answers = {Answer::Yes, Answer::Yes};
    EXPECT_TRUE(window.importSheet());
    EXPECT_EQ(imports, 1);
    EXPECT_NE(prompter.shown.at(1).text.find("第3行 E列（帐面价值/单价）：“O'Brien & Co”"), std::string::npos)
        << prompter.shown.at(1).text;
    EXPECT_TRUE(project.DoGetCellData(4, 5).isEmpty());

    window.copySelection();
    EXPECT_TRUE(QApplication::clipboard()->text().startsWith("机器设备"));
}

TEST_F(ImportWindow, AWorkbookImportsOnly表11)
{
    const std::string path = dir.file("other.cll");
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
}

TEST_F(ImportWindow, ADamagedFileOrCancelKeepsWhatIsOpen)
{
    prompter.files = {kSample};
    ASSERT_TRUE(window.openFile());
    test::writeFile(dir.file("damaged.xlsx"), "PK\x03\x04 not really");
    prompter.files = {dir.file("damaged.xlsx"), std::nullopt};
    EXPECT_FALSE(window.openFile());
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_FALSE(window.openFile());
    EXPECT_EQ(window.tvwSht->topLevelItemCount(), 1);
    EXPECT_EQ(window.view().DoGetCellData(0, 0).text(), "机器设备");

    // Nothing is imported when no detail sheet is shown.
    frmImport none(prompter, [] { return std::optional<ImportTarget>(); }, {});
    prompter.files = {kSample};
    ASSERT_TRUE(none.openFile());
    EXPECT_FALSE(none.importSheet());
}

TEST_F(ImportWindow, ALedgerAsksForItsColumnsRemembersThemAndListsUnreadableCells)
{
    test::writeLedgerXlsx(dir.file("ledger.xlsx"));
    prompter.files = {dir.file("ledger.xlsx")};
    ASSERT_TRUE(window.openFile());
    targetId = 40;
    project.assignFrom(Workbook());
    ASSERT_TRUE(DetailSheetBuilder::build(project, 40));
    LedgerMapping::Columns chosen(17, LedgerMapping::Unmapped);
    chosen[2] = 1;
    chosen[7] = 3;
    choice = ColumnChoice{chosen, 3};
    // One cell reads as no number: 否 cancels before anything changes.
    prompter.answers = {Answer::No};
    EXPECT_FALSE(window.importSheet());
    EXPECT_NE(prompter.shown.back().text.find("第7行 D列（帐面价值/原值）：“壹万”"), std::string::npos);
    EXPECT_TRUE(project.DoGetCellData(2, 3).isEmpty());
    // The next ledger with these headings is proposed the mapping chosen before; 是 skips the cell.
    prompter.answers = {Answer::Yes, Answer::Yes};
    EXPECT_TRUE(window.importSheet());
    EXPECT_EQ(proposals.back(), chosen);
    EXPECT_EQ(project.DoGetCellData(2, 5).text(), "车棚");
    EXPECT_EQ(Amount::fromDouble(project.DoGetCellData(7, 2).number()), Amount::parse("14469"));

    window.close();
    EXPECT_EQ(window.tvwSht->topLevelItemCount(), 0);
    EXPECT_EQ(window.file().kind(), ExternalWorkbook::Kind::None);
}

} // namespace
