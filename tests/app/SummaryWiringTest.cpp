// The summary sheets and the takeover in the assembled main window: a summary project
// opened from its file shows b0 … b9 with the taken-over figures when each entry of the
// summary list is clicked; 插入 > 项目数据 adds a node under the selected folder.

#include "app/ProjectTreeView.h"
#include "project/ProjectTakeover.h"
#include "project/ProjectTree.h"
#include "sheet_component/engine/Workbook.h"
#include "support/AppFixture.h"

#include <QDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::ScriptedPrompter;

SheetTotals totals(const char *v1, const char *v2, const char *v3, const char *z1 = "0", const char *z2 = "0",
                   const char *z3 = "0")
{
    return {*Amount::parse(v1), *Amount::parse(v2), *Amount::parse(v3),
            *Amount::parse(z1), *Amount::parse(z2), *Amount::parse(z3)};
}

class SummaryWiringTest : public test::AppFixture {
protected:
    SummaryWiringTest() { makeFiles(); }

    // data.mdb with totals on nine sheets, and summary.mdb that took it over once.
    void makeFiles()
    {
        writeProjectFile(ProjectKind::DataEntry, file("data.mdb"), [](ProjectSession &s, ScriptedPrompter &) {
            s.storeNodeProperties({"甲项目", "甲公司", "张三", "李四", std::nullopt, "王五"});
            ProjectStore &st = s.store();
            st.writeSheetTotals(16, 0, totals("1000", "1050", "900"));
            st.writeSheetTotals(13, 0, totals("200", "200", "210"));
            st.writeSheetTotals(22, 0, totals("300", "300", "330"));
            st.writeSheetTotals(37, 0, totals("400", "400", "440"));
            st.writeSheetTotals(43, 0, totals("300", "300", "280", "500", "500", "450"));
            st.writeSheetTotals(58, 0, totals("-500", "-500", "-500"));
            st.writeSheetTotals(72, 0, totals("-5000", "-5000", "-4000"));
        });
        writeProjectFile(ProjectKind::Summary, file("summary.mdb"), [this](ProjectSession &s, ScriptedPrompter &p) {
            s.storeNodeProperties({"汇总", "乙公司", "张三", "李四", std::nullopt, "王五"});
            s.insertFolderNode();
            ASSERT_EQ(ProjectTakeover::takeOverFile(s, p, file("data.mdb"), 0), CommandResult::Done);
        });
    }

    std::string shown(const char *label, int col, int row)
    {
        Workbook &wb = this->wb();
        return wb.displayText(wb.findSheet(label), col, row);
    }
    void click(QTreeWidget *tree, QTreeWidgetItem *item)
    {
        tree->scrollToItem(item);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    }
};

TEST_F(SummaryWiringTest, SummaryProjectShowsEverySheetFromTheSummaryList)
{
    ASSERT_EQ(assembly.projects().openProjectFile(file("summary.mdb")), CommandResult::Done);
    window().show();
    prompter.answers.push_back(Answer::No); // the pane switch shows b0
    window().dispatcher().dispatch(CommandId::PaneSummary);

    // One taken-over figure in column C of each sheet.
    const std::pair<int, const char *> expected[] = {
        {14, "5,500.00"}, {39, "2,200.00"}, {25, "5,500.00"}, {18, "1,500.00"}, {13, "200.00"},
        {16, "300.00"},   {13, "400.00"},   {7, "500.00"},    {18, "500.00"},   {18, "5,000.00"},
    };
    QTreeWidget *list = window().fixedTree();
    ASSERT_EQ(list->topLevelItemCount(), 10);
    for (int i = 0; i < 10; ++i) {
        const std::string label = "b" + std::to_string(i);
        QTreeWidgetItem *item = list->topLevelItem(i);
        if (i == 0)
            prompter.answers.push_back(Answer::Yes);
        click(list, item);
        Workbook &wb = this->wb();
        EXPECT_EQ(wb.DoGetSheetLabel(wb.CurrentSheet()), label);
        EXPECT_EQ(window().statusPanel(1), item->text(0));
        EXPECT_EQ(shown(label.c_str(), 2, expected[i].first), expected[i].second) << label;
    }
    EXPECT_TRUE(prompter.answers.empty());
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(SummaryWiringTest, InsertProjectDataPutsTheNodeIntoTheSelectedFolder)
{
    ASSERT_EQ(assembly.projects().openProjectFile(file("summary.mdb")), CommandResult::Done);
    QTreeWidget *tree = window().projectTree();
    QTreeWidgetItem *folder = window().projectTreeView().item("p1");
    ASSERT_NE(folder, nullptr);
    tree->setCurrentItem(folder);
    emit tree->itemClicked(folder, 0);
    ASSERT_TRUE(window().menuAction(CommandId::InsertProjectData)->isEnabled());

    prompter.files.push_back(file("data.mdb"));
    prompter.answers.push_back(Answer::No); // already a node: take it over once more all the same
    window().menuAction(CommandId::InsertProjectData)->trigger();
    ASSERT_EQ(state.currentNode, 3);
    QTreeWidgetItem *added = tree->currentItem();
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->parent(), folder);
    EXPECT_EQ(added->text(0), "甲项目");

    // 更新项目数据 on the new node from the same file, confirmed: the node stays where it is.
    ASSERT_TRUE(window().menuAction(CommandId::DataRefreshNode)->isEnabled());
    prompter.files.push_back(file("data.mdb"));
    prompter.answers.push_back(Answer::Yes);
    window().menuAction(CommandId::DataRefreshNode)->trigger();
    EXPECT_TRUE(prompter.answers.empty() && prompter.files.empty());
    EXPECT_EQ(tree->currentItem(), added);

    // The root now sums both nodes.
    window().hooks().computeSummarySheet("b1", 0);
    EXPECT_EQ(shown("b1", 2, 39), "4,400.00");
}

} // namespace
} // namespace vantor
