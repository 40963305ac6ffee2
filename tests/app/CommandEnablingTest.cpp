// The enabling rules of the menus and toolbars, checked as invariants over the states they depend on.
#include "app/CommandEnabling.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace vantor {
namespace {

using C = CommandId;

EnablingInput state(ProjectKind kind, short sheet, bool detail, short node = 1)
{
    EnablingInput in;
    in.projectOpen = kind != ProjectKind::None;
    in.projectKind = kind;
    in.currentSheet = sheet;
    in.currentNode = node;
    in.detailView = detail;
    in.clipboardHasText = true;
    in.selectedTreeText = "表11      备抵科目补充明细表";
    return in;
}

// Every menu entry and button lit in `in` must be one of `allowed` (plus the commands that are
// always offered). The format commands are not among them: the summary sheets are read-only.
void expectOnlyFrom(const EnablingInput &in, std::set<C> allowed, const char *rule)
{
    SCOPED_TRACE(rule);
    for (C id : {C::ViewToolbar, C::ViewStatusBar, C::SettingLegalRepresentative, C::SettingInstitution,
                 C::ToolCalculators, C::HelpContents, C::HelpAbout, C::FileExit})
        allowed.insert(id);
    const CommandStates s = enabledCommands(in);
    for (int i = 0; i < commandCount; ++i)
        if (s.menu.test(i) || s.toolbar.test(i))
            EXPECT_TRUE(allowed.count(static_cast<C>(i))) << "command " << i << " is on";
}

TEST(CommandEnabling, EachStateOffersOnlyItsOwnCommands)
{
    const EnablingInput none = state(ProjectKind::None, -1, true);
    expectOnlyFrom(none, {C::FileNew, C::FileOpen}, "no project");
    for (C id : {C::FileNew, C::FileOpen, C::FileExit, C::HelpContents, C::HelpAbout})
        EXPECT_TRUE(enabledCommands(none).menuEnabled(id));

    const std::set<C> projectWide = {C::FileClose,
                                     C::FileSave,
                                     C::FileExportExcel,
                                     C::FilePageSetup,
                                     C::FilePrintPreview,
                                     C::FileReportPdf,
                                     C::SettingProjectProperties,
                                     C::SettingSignatories,
                                     C::ToolPassword,
                                     C::PaneSwitch,
                                     C::PaneDetail,
                                     C::PaneSummary,
                                     C::DataCheck};
    std::set<C> list = projectWide;
    list.insert(C::SettingSheetTitles);
    expectOnlyFrom(state(ProjectKind::DataEntry, 16, false), list, "summary list of a data-entry project");
    list.insert(C::DataOverview);
    expectOnlyFrom(state(ProjectKind::Summary, 1, false), list, "summary list of a summary project");

    std::set<C> summary = projectWide;
    summary.insert({C::EditDelete, C::DeleteSheet, C::InsertFolderNode, C::InsertProjectData, C::DataOverview});
    expectOnlyFrom(state(ProjectKind::Summary, 1, true), summary, "summary project tree");
    EXPECT_FALSE(enabledCommands(state(ProjectKind::Summary, 1, true, 0)).menuEnabled(C::EditDelete)); // root
    EnablingInput dataNode = state(ProjectKind::Summary, 1, true);
    dataNode.selectedDataNode = true;
    EXPECT_TRUE(enabledCommands(dataNode).menuEnabled(C::DataRefreshNode));
}

TEST(CommandEnabling, Sheet78OffersNoSortMergeFreezeTotalsOrImportAndDeleteNamesTheEntry)
{
    const CommandStates s78 = enabledCommands(state(ProjectKind::DataEntry, 78, true));
    for (C id : {C::SortAscending, C::SortDescending, C::MergeCells, C::UnmergeCells, C::ViewFreezeRows, C::DataTotals,
                 C::DataImport, C::DeleteSheet})
        EXPECT_FALSE(s78.menuEnabled(id) || s78.toolbarEnabled(id)) << static_cast<int>(id);
    EXPECT_EQ(s78.deleteSheetCaption, std::optional<std::string>("不能删除表11      备抵科目补充明细表"));
    const CommandStates s16 = enabledCommands(state(ProjectKind::DataEntry, 16, true));
    EXPECT_TRUE(s16.menuEnabled(C::DeleteSheet) && s16.toolbarEnabled(C::SortAscending));
    EXPECT_TRUE(s16.menuEnabled(C::FormatCell) && s16.toolbarEnabled(C::FormatBold) && s16.toolbarEnabled(C::FontName));
    EXPECT_EQ(s16.deleteSheetCaption, std::optional<std::string>("删除表11      备抵科目补充明细表"));
}

} // namespace
} // namespace vantor
