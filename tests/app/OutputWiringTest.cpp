// The output commands in the assembled window: 存为Excel文件 writes the workbook beside the
// project (cancel, failure without a partial file, the extension added), and 科目类别统计...
// opens the overview window, whose every tree entry shows its list with the chart following,
// and which prints the chart as a page after the list.

#include "output/ExcelExportCommand.h"
#include "output/dialogs/OverviewChart.h"
#include "output/dialogs/OverviewPrinting.h"
#include "output/dialogs/frmQuery.h"
#include "sheet_component/engine/Workbook.h"
#include "support/AppFixture.h"
#include "support/PageInk.h"

#include <QApplication>
#include <QChart>
#include <QDir>
#include <QLabel>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <filesystem>

namespace vantor {
namespace {

using test::ScriptedPrompter;

SheetTotals totals(int64_t v1, int64_t v2, int64_t v3)
{
    const auto y = [](int64_t v) { return Amount::fromUnits(v * Amount::kScale); };
    return {y(v1), y(v2), y(v3), {}, {}, {}};
}

class OutputWiringTest : public test::AppFixture {
protected:
    OutputWiringTest()
    {
        makeSummaryFile();
        EXPECT_EQ(assembly.projects().openProjectFile(file("summary.mdb")), CommandResult::Done);
    }

    // Three data nodes, one without totals, with assets and liabilities.
    void makeSummaryFile()
    {
        writeProjectFile(ProjectKind::Summary, file("summary.mdb"), [](ProjectSession &s, ScriptedPrompter &) {
            s.storeNodeProperties({"汇总", "乙公司", "张三", "李四", std::nullopt, "王五"});
            ProjectStore &st = s.store();
            const int16_t a = st.insertDataNode(0, {"甲项目", {}, {}, {}, {}, {}});
            st.insertDataNode(0, {"空项目", {}, {}, {}, {}, {}});
            const int16_t c = st.insertDataNode(0, {"丙项目", {}, {}, {}, {}, {}});
            st.writeSheetTotals(10, a, totals(100, 100, 150));
            st.writeSheetTotals(16, a, totals(1000, 1050, 900));
            st.writeSheetTotals(43, c, totals(300, 300, 280));
            st.writeSheetTotals(58, c, totals(-500, -500, -400));
        });
    }
};

TEST_F(OutputWiringTest, ExportWritesTheWorkbookOrNothing)
{
    const bool modified = wb().IsModified();
    // Cancelled: nothing shown, nothing written.
    prompter.files.push_back(std::nullopt);
    EXPECT_TRUE(window().runCommand(CommandId::FileExportExcel));
    EXPECT_TRUE(prompter.messages().empty());

    // The extension is added; 表1 in ten thousand yuan.
    prompter.files.push_back(file("结果"));
    prompter.answers.push_back(Answer::No);
    window().runCommand(CommandId::FileExportExcel);
    EXPECT_TRUE(std::filesystem::exists(file("结果.xlsx")));

    // A folder in the way: the failure is told and no partial file is left anywhere.
    QDir(user.path()).mkdir("占用.xlsx");
    const auto before = QDir(user.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    prompter.shown.clear();
    prompter.files.push_back(file("占用.xlsx"));
    prompter.answers.push_back(Answer::No);
    window().runCommand(CommandId::FileExportExcel);
    EXPECT_EQ(prompter.shown.back().icon, MessageIcon::Critical);
    EXPECT_EQ(QDir(user.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    EXPECT_EQ(wb().IsModified(), modified);
}

TEST_F(OutputWiringTest, EveryEntryOfTheOverviewShowsItsListAndChart)
{
    window().show();
    ASSERT_TRUE(window().runCommand(CommandId::DataOverview));
    frmQuery *query = assembly.output().overview();
    ASSERT_NE(query, nullptr);
    QTreeWidget *tree = query->tree();
    tree->expandAll();
    const Workbook &list = query->list();
    const int total = list.Rows() - 1;
    ASSERT_EQ(total, 3 + 3);

    int clicked = 0;
    for (QTreeWidgetItemIterator it(tree); *it; ++it, ++clicked) {
        tree->scrollToItem(*it);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(*it).center());
        EXPECT_EQ(query->titleLabel()->text(), (*it)->text(0));
        // The chart shows the list's rows (the list's figures are the overview list's own tests').
        const auto values = query->chart()->values();
        if (values.empty()) { // a list without amounts: the chart says to choose another
            for (int col = 2; col < 5; ++col)
                EXPECT_EQ(list.DoGetSheetCellData(col, total, 0).number(), 0) << (*it)->text(0).toStdString();
            continue;
        }
        ASSERT_EQ(values.size(), 3u);
        for (int series = 0; series < 3; ++series)
            for (int row = 0; row < 3; ++row)
                EXPECT_EQ(values[series][row], list.DoGetSheetCellData(2 + series, 3 + row, 0).number());
    }
    EXPECT_EQ(clicked, 13 + 4); // the categories and sheets 10, 16, 43, 58

    // Printed: the list, then the chart on a page of its own.
    query->choose("k0");
    const auto pages = OverviewPrinting(list, 0, *query->chart()).renderImages(48);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_TRUE(test::centred(pages[0])) << "the list sits in the middle of the paper";

    // Opening again rebuilds the window; turning to the main window closes it.
    window().runCommand(CommandId::DataOverview);
    ASSERT_NE(assembly.output().overview(), nullptr);
    QApplication::setActiveWindow(assembly.output().overview());
    QApplication::setActiveWindow(&window());
    for (int i = 0; i < 100 && assembly.output().overview(); ++i)
        QTest::qWait(10);
    EXPECT_EQ(assembly.output().overview(), nullptr);
}

} // namespace
} // namespace vantor
