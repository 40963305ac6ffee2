// The enabling rules of the menus and toolbars, by the project, view and sheet they depend on.
#include "app/CommandEnabling.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace vantor {
namespace {

using C = CommandId;

EnablingInput noProject(bool detail = true)
{
    EnablingInput in;
    in.detailView = detail;
    return in;
}

EnablingInput dataEntry(short sheet, bool detail = true, bool clipboard = true,
                        std::string text = "表3-4     应收账款清查评估明细表")
{
    EnablingInput in;
    in.projectOpen = true;
    in.projectKind = ProjectKind::DataEntry;
    in.currentSheet = sheet;
    in.detailView = detail;
    in.clipboardHasText = clipboard;
    in.selectedTreeText = std::move(text);
    return in;
}

EnablingInput summary(short node, bool detail = true, std::string text = "一号车间")
{
    EnablingInput in;
    in.projectOpen = true;
    in.projectKind = ProjectKind::Summary;
    in.currentSheet = 1;
    in.currentNode = node;
    in.detailView = detail;
    in.selectedTreeText = std::move(text);
    return in;
}

struct Row {
    const char *rule;
    EnablingInput input;
    std::vector<std::pair<C, bool>> menu;
    std::vector<std::pair<C, bool>> toolbar;
};

void check(const Row &row)
{
    SCOPED_TRACE(row.rule);
    const CommandStates s = enabledCommands(row.input);
    for (const auto &[id, on] : row.menu)
        EXPECT_EQ(s.menuEnabled(id), on) << "menu command " << static_cast<int>(id);
    for (const auto &[id, on] : row.toolbar)
        EXPECT_EQ(s.toolbarEnabled(id), on) << "toolbar command " << static_cast<int>(id);
}

const std::vector<C> kEditEntries = {C::EditUndo,   C::EditRedo,  C::EditCut,       C::EditCopy,
                                     C::EditPaste,  C::EditFill,  C::EditClear,     C::EditDelete,
                                     C::EditSelectAll, C::EditFind, C::DeleteRows, C::DeleteCols,
                                     C::DeleteSheet};

std::vector<std::pair<C, bool>> all(const std::vector<C> &ids, bool on)
{
    std::vector<std::pair<C, bool>> out;
    for (C id : ids)
        out.emplace_back(id, on);
    return out;
}

TEST(EnablingEditMenu, EverythingDisabledWithoutProjectOrInTheSummaryList)
{
    check({"编辑, no project", noProject(), all(kEditEntries, false), {}});
    check({"编辑, data-entry in summary list", dataEntry(16, false), all(kEditEntries, false), {}});
    check({"编辑, summary project in summary list", summary(3, false), all(kEditEntries, false), {}});
}

TEST(EnablingEditMenu, SummaryProjectOffersOnlyDeletingTheSelectedNode)
{
    auto rows = all(kEditEntries, false);
    for (auto &[id, on] : rows)
        on = id == C::EditDelete || id == C::DeleteSheet;
    check({"编辑, summary project, folder node", summary(3), rows, {}});
    EXPECT_EQ(enabledCommands(summary(3)).deleteSheetCaption, std::optional<std::string>("删除一号车间"));
    EXPECT_FALSE(enabledCommands(summary(0, true, "全部项目汇总")).menuEnabled(C::EditDelete)); // the root
}

TEST(EnablingEditMenu, DataEntryDetailSheetOffersEveryEntry)
{
    auto rows = all(kEditEntries, true);
    check({"编辑, data-entry sheet 16, clipboard text", dataEntry(16), rows, {}});
    const CommandStates s = enabledCommands(dataEntry(16));
    EXPECT_EQ(s.deleteSheetCaption, std::optional<std::string>("删除表3-4     应收账款清查评估明细表"));
    // The fill entries follow their submenu; 等差填充 never does.
    EXPECT_TRUE(s.menuEnabled(C::FillDown));
    EXPECT_TRUE(s.menuEnabled(C::FillSequence));
    EXPECT_FALSE(s.menuEnabled(C::FillArithmetic));
    check({"编辑, empty clipboard", dataEntry(16, true, false), {{C::EditPaste, false}, {C::EditCopy, true}}, {}});
}

TEST(EnablingEditMenu, SheetsTenAndSeventyEightCannotBeDeleted)
{
    for (short sheet : {10, 78}) {
        SCOPED_TRACE(sheet);
        const CommandStates s = enabledCommands(dataEntry(sheet, true, true, "表11      备抵科目补充明细表"));
        EXPECT_FALSE(s.menuEnabled(C::DeleteSheet));
        EXPECT_TRUE(s.menuEnabled(C::DeleteRows));
        EXPECT_EQ(s.deleteSheetCaption, std::optional<std::string>("不能删除表11      备抵科目补充明细表"));
    }
    EXPECT_TRUE(enabledCommands(dataEntry(11)).menuEnabled(C::DeleteSheet));
    EXPECT_TRUE(enabledCommands(dataEntry(77)).menuEnabled(C::DeleteSheet));
}

// Freezing, the settings, inserting and the data entries by project, view and sheet:
// '1' on, '0' off, '.' not asked of that case.
TEST(EnablingMenus, ViewSettingInsertAndDataEntriesFollowTheProjectTheViewAndTheSheet)
{
    const std::vector<C> ids = {C::ViewFreezeRows,     C::SettingProjectProperties, C::SettingSignatories,
                                C::SettingSheetTitles, C::InsertRows,               C::InsertCol,
                                C::InsertSheet,        C::InsertFolderNode,         C::InsertProjectData,
                                C::DataTotals,         C::DataImport,               C::DataOverview};
    const std::pair<const char *, EnablingInput> cases[] = {
        {"000000000..0", noProject()},   {"111111100110", dataEntry(16)},        {"0........000", dataEntry(78)},
        {"01100000000.", dataEntry(16, false)}, {"0110000110.1", summary(0)}, {"....00000..1", summary(0, false)},
    };
    for (const auto &[states, input] : cases) {
        ASSERT_EQ(std::string(states).size(), ids.size());
        Row row{states, input, {}, {}};
        for (std::size_t i = 0; i < ids.size(); ++i)
            if (states[i] == '0' || states[i] == '1')
                row.menu.emplace_back(ids[i], states[i] == '1');
        check(row);
    }
    check({"视图, 设置, no project", noProject(),
           {{C::ViewToolbar, true}, {C::ViewStatusBar, true}, {C::SettingLegalRepresentative, true}}, {}});
}

TEST(EnablingToolMenu, PriceDifferenceOnlyOnInventorySheets22To32)
{
    for (short sheet : {21, 22, 27, 32, 33, 78}) {
        SCOPED_TRACE(sheet);
        const CommandStates s = enabledCommands(dataEntry(sheet));
        EXPECT_EQ(s.menuEnabled(C::ToolPriceDifference), sheet >= 22 && sheet <= 32);
        EXPECT_TRUE(s.menuEnabled(C::ToolDecimalCheck));
    }
    for (const EnablingInput &in : {dataEntry(22, false), summary(0)})
        check({"工具, summary list or project", in,
               {{C::ToolDecimalCheck, false}, {C::ToolSignConversion, false}, {C::ToolPriceDifference, false},
                {C::ToolPassword, true}},
               {}});
}

const std::vector<C> kEditButtons = {C::EditUndo, C::EditRedo, C::EditCut, C::EditCopy, C::EditPaste, C::EditFind};
const std::vector<C> kSheetButtons = {C::DataTotals, C::SortAscending, C::SortDescending, C::MergeCells,
                                      C::UnmergeCells};

TEST(EnablingToolbars, EditingButtonsNeedADataEntrySheetAndSortAndMergeAreOffOn78)
{
    const struct {
        const char *rule;
        EnablingInput input;
        bool edit, sheet;
    } cases[] = {
        {"data-entry project", dataEntry(10), true, true},
        {"sheet 78", dataEntry(78), true, false},
        {"summary list", dataEntry(16, false), false, false},
        {"summary project", summary(0), false, false},
    };
    for (const auto &c : cases) {
        auto rows = all(kEditButtons, c.edit);
        for (auto r : all(kSheetButtons, c.sheet))
            rows.push_back(r);
        rows.insert(rows.end(), {{C::PaneSwitch, true}, {C::FileSave, true}, {C::FilePrintPreview, true},
                                 {C::FileNew, false}, {C::FileOpen, false}});
        check({c.rule, c.input, {}, rows});
    }
}

} // namespace
} // namespace vantor
