#include "app/CommandEnabling.h"

#include "sheets/SheetCatalogue.h"

#include <initializer_list>
#include <utility>

namespace vantor {

EnablingInput EnablingInput::from(const ProgramState &state, bool detailView, std::string selectedTreeText,
                                  bool clipboardHasText, bool selectedDataNode)
{
    EnablingInput in;
    in.projectOpen = state.projectOpen;
    in.projectKind = state.projectOpen ? state.projectKind : ProjectKind::None;
    in.detailView = detailView;
    in.currentSheet = state.currentSheet;
    in.currentNode = state.currentNode;
    in.selectedTreeText = std::move(selectedTreeText);
    in.clipboardHasText = clipboardHasText;
    in.selectedDataNode = selectedDataNode;
    return in;
}

namespace {

using C = CommandId;

void set(std::bitset<commandCount> &bits, std::initializer_list<C> ids, bool on)
{
    for (C id : ids)
        bits.set(static_cast<size_t>(id), on);
}

} // namespace

CommandStates enabledCommands(const EnablingInput &in)
{
    CommandStates s;
    auto &m = s.menu;
    auto &t = s.toolbar;

    const bool open = in.projectOpen;
    const bool dataEntry = open && in.projectKind == ProjectKind::DataEntry;
    const bool summary = open && in.projectKind == ProjectKind::Summary;
    const bool detail = in.detailView;
    const bool dataEntryDetail = dataEntry && detail;
    const short sheet = in.currentSheet;

    // 文件
    set(m, {C::FileNew, C::FileOpen}, !open);
    set(m, {C::FileClose, C::FileSave, C::FileExportExcel, C::FilePageSetup, C::FilePrintPreview, C::FileReportPdf},
        open);
    set(m, {C::FileExit}, true);

    // 编辑: everything starts disabled.
    if (summary && detail) {
        set(m, {C::EditDelete, C::DeleteSheet}, true);
        s.deleteSheetCaption = "删除" + in.selectedTreeText;
        if (in.currentNode == 0)
            set(m, {C::EditDelete}, false);
    } else if (dataEntryDetail) {
        set(m,
            {C::EditUndo, C::EditRedo, C::EditCut, C::EditCopy, C::EditFill, C::EditClear, C::EditDelete,
             C::EditSelectAll, C::EditFind, C::DeleteRows, C::DeleteCols},
            true);
        set(m, {C::EditPaste}, in.clipboardHasText);
        const bool fixedSheet = SheetCatalogue::isFixedDetail(sheet);
        s.deleteSheetCaption = (fixedSheet ? "不能删除" : "删除") + in.selectedTreeText;
        set(m, {C::DeleteSheet}, !fixedSheet);
    }
    // The fill entries follow their submenu; 等差填充 is never offered.
    set(m, {C::FillDown, C::FillUp, C::FillRight, C::FillLeft, C::FillRepeat, C::FillSequence},
        m.test(static_cast<size_t>(C::EditFill)));

    // 视图
    set(m, {C::ViewToolbar, C::ViewStatusBar}, true);
    set(m, {C::ViewFreezeRows}, dataEntryDetail && sheet != SheetCatalogue::ContraSheetId);

    // 设置
    set(m, {C::SettingProjectProperties, C::SettingSignatories}, open);
    set(m, {C::SettingSheetTitles}, open && detail && !summary);
    set(m, {C::SettingLegalRepresentative, C::SettingInstitution}, true);

    // 插入
    set(m, {C::InsertRows, C::InsertCol, C::InsertSheet}, dataEntryDetail);
    set(m, {C::InsertFolderNode, C::InsertProjectData}, summary && detail);

    // 格式: only a detail sheet of a data-entry project is the user's to format; the summary
    // sheets are computed and read-only.
    set(m, {C::FormatCell, C::FormatRow, C::RowHeight, C::RowBestHeight, C::FormatCol, C::ColWidth, C::ColBestWidth},
        dataEntryDetail);
    set(m, {C::FormatRowCount}, dataEntryDetail);

    // 工具
    set(m, {C::ToolDecimalCheck, C::ToolSignConversion}, dataEntryDetail);
    set(m, {C::ToolPriceDifference}, dataEntryDetail && SheetCatalogue::isInventory(sheet));
    set(m, {C::ToolCalculators}, true);
    set(m, {C::ToolPassword}, open);

    // 数据
    set(m, {C::DataTotals, C::DataImport}, dataEntryDetail && sheet != SheetCatalogue::ContraSheetId);
    set(m, {C::DataOverview}, summary);
    set(m, {C::DataCheck}, open);
    set(m, {C::DataRefreshNode}, summary && detail && in.selectedDataNode);

    // 帮助
    set(m, {C::HelpContents, C::HelpAbout}, true);

    // Toolbars. New and Open belong to the state without a project; the project
    // buttons to an open one, the editing ones to a detail sheet of a data-entry
    // project, and sorting and merging to the sheets with a total row (not 表11).
    set(t, {C::FileNew, C::FileOpen}, !open);
    set(t, {C::HelpContents}, true);
    set(t, {C::PaneSwitch, C::PaneDetail, C::PaneSummary, C::FileSave, C::FilePrintPreview}, open);
    set(t, {C::EditUndo, C::EditRedo, C::EditCut, C::EditCopy, C::EditPaste, C::EditFind}, dataEntryDetail);
    set(t, {C::DataTotals, C::SortAscending, C::SortDescending, C::MergeCells, C::UnmergeCells},
        dataEntryDetail && SheetCatalogue::isDetailKind(sheet));
    set(t,
        {C::FormatBold, C::FormatItalic, C::FormatUnderline, C::AlignLeft, C::AlignCenter, C::AlignRight, C::FontName,
         C::FontSize},
        dataEntryDetail);

    s.paneFirstCaption = summary ? "项目目录" : "明细表(M)";
    return s;
}

} // namespace vantor
