// 获取外部数据 through the main window's command: a text table imported into the detail
// sheet shown, undone as one step.
#include "app/CellWidgetHost.h"
#include "import/dialogs/frmImport.h"
#include "sheet_component/widget/CellWidget.h"
#include "support/AppFixture.h"

#include <fstream>

namespace vantor {
namespace {

using ToolsWiringTest = test::AppFixture;

TEST_F(ToolsWiringTest, ImportsATextTableIntoTheShownDetailSheetAsOneUndoStep)
{
    newProjectWithSheet(SheetListRow{22, "表3-10-1", "存货-原材料清查评估明细表"});
    Workbook &wb = this->wb();
    const std::string csv = (work.path() + "/台账.csv").toStdString();
    std::ofstream(csv) << "序号,名称\n1,\"甲材料, 一级\",,,,1200.50\n2,乙材料,,,,99\n";
    ASSERT_TRUE(run(CommandId::DataImport));
    frmImport *importer = assembly.tools().importWindow();
    ASSERT_TRUE(importer);
    prompter.files = {csv};
    ASSERT_TRUE(importer->openFile());
    importer->setMappingFile((work.path() + "/columns.txt").toStdString());
    importer->setColumnChooser([](int id, const LedgerHeadings &, int cols, const LedgerMapping::Columns &) {
        return std::optional<ColumnChoice>({LedgerMapping::byPosition(id, cols), 1}); // from the second line on
    });
    // A value still being typed in the main window is stored before the import.
    CellWidget &view = static_cast<CellWidgetHost &>(window().sheet()).cellWidget();
    view.moveTo(5, 10);
    ASSERT_TRUE(view.startEditing("700", true));
    prompter.answers = {Answer::Yes};
    ASSERT_TRUE(importer->importSheet());
    EXPECT_FALSE(view.isEditing());
    EXPECT_EQ(wb.DoGetCellData(5, 10).number(), 700);
    EXPECT_EQ(wb.DoGetCellData(1, 3).text(), "甲材料, 一级");
    EXPECT_EQ(wb.DoGetCellData(5, 2).number(), 1999.5);

    wb.DoUndo();
    EXPECT_TRUE(wb.DoGetCellData(1, 3).isEmpty());
    EXPECT_EQ(wb.DoGetCellData(5, 10).number(), 700);
}

} // namespace
} // namespace vantor
