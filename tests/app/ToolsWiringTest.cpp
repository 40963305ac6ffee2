// The tool windows reached through the main window's commands: the calculators from the
// tools menu, and 获取外部数据 importing a text table into the detail sheet shown, undone
// as one step.
#include "app/ToolsWiring.h"
#include "app/CellWidgetHost.h"
#include "app/ProjectController.h"
#include "app/frmMain.h"
#include "calculators/dialogs/frmToolgs.h"
#include "import/dialogs/frmImport.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/widget/CellWidget.h"
#include "support/ScriptedProjectDialogs.h"
#include "support/ScriptedPrompter.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

namespace vantor {
namespace {

using C = CommandId;

class ToolsWiringTest : public ::testing::Test {
protected:
    ToolsWiringTest() : window(state)
    {
        ProjectSessionConfig config{VANTOR_BIN_DIR, work.path().toStdString(), PasswordCost::minimal()};
        projects = std::make_unique<ProjectController>(window, config);
        projects->setDialogs(&dialogs);
        window.setPrompter(&prompter);
        window.hooks().writeSheetTotals = [](short) {};
        tools = std::make_unique<ToolsWiring>(window);
        window.refreshCommands();
    }
    ~ToolsWiringTest() override
    {
        tools.reset();
        projects.reset();
        window.setPrompter(nullptr);
    }

    QTemporaryDir work;
    ProgramState state;
    frmMain window;
    test::ScriptedPrompter prompter;
    test::ScriptedProjectDialogs dialogs;
    std::unique_ptr<ProjectController> projects;
    std::unique_ptr<ToolsWiring> tools;
};

TEST_F(ToolsWiringTest, CalculatorsOpenOnceFromTheToolsMenu)
{
    EXPECT_TRUE(window.dispatcher().dispatch(C::ToolCalculators));
    frmToolgs *first = tools->calculators();
    ASSERT_TRUE(first && first->isVisible());
    first->close();
    window.dispatcher().dispatch(C::ToolCalculators);
    EXPECT_TRUE(tools->calculators() == first && first->isVisible());
}

TEST_F(ToolsWiringTest, ImportsATextTableIntoTheShownDetailSheetAsOneUndoStep)
{
    dialogs.kinds = {ProjectKind::DataEntry};
    dialogs.forms = {test::filledForm()};
    dialogs.sheets = {SheetListRow{22, "表3-10-1", "存货-原材料清查评估明细表"}};
    ASSERT_EQ(projects->newProject(), CommandResult::Done);
    window.dispatcher().dispatch(C::InsertSheet);
    ASSERT_EQ(state.currentSheet, 22);
    Workbook &wb = window.workbook();

    const std::string csv = (work.path() + "/台账.csv").toStdString();
    std::ofstream(csv) << "序号,名称\n1,\"甲材料, 一级\",,,,1200.50\n2,乙材料,,,,99\n";
    ASSERT_TRUE(window.dispatcher().dispatch(C::DataImport));
    frmImport *import = tools->importWindow();
    ASSERT_TRUE(import);
    prompter.files = {csv};
    ASSERT_TRUE(import->openFile());
    import->setMappingFile((work.path() + "/columns.txt").toStdString());
    import->setColumnChooser([](int id, const LedgerHeadings &, int cols, const LedgerMapping::Columns &) {
        return std::optional<ColumnChoice>({LedgerMapping::byPosition(id, cols), 1}); // from the second line on
});
// A value still being typed in the main window is stored before the import.
CellWidget &view = static_cast<CellWidgetHost &>(window.sheet()).cellWidget();
view.moveTo(5, 10);
ASSERT_TRUE(view.startEditing("700", true));
prompter.answers = {Answer::Yes};
ASSERT_TRUE(import->importSheet());
EXPECT_FALSE(view.isEditing());
EXPECT_EQ(wb.DoGetCellData(5, 10).number(), 700);
EXPECT_EQ(wb.DoGetCellData(1, 3).text(), "甲材料, 一级");
EXPECT_EQ(wb.DoGetCellData(5, 2).number(), 1999.5);

wb.DoUndo();
EXPECT_TRUE(wb.DoGetCellData(1, 3).isEmpty());
EXPECT_EQ(wb.DoGetCellData(5, 10).number(), 700);
} // namespace

} // namespace vantor
} // namespace vantor
