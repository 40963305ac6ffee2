#include "app/DetailCommandsWiring.h"

#include "app/ProjectController.h"
#include "app/ProjectDocument.h"
#include "app/SheetHost.h"
#include "app/frmMain.h"
#include "calculators/dialogs/dlgFormat.h"
#include "calculators/dialogs/dlgShareLng.h"
#include "calculators/dialogs/dlgTiaoCha.h"
#include "project/ProjectStore.h"
#include "project/ProjectTree.h"
#include "project/dialogs/dlgFrdb.h"
#include "project/dialogs/dlgSheetName.h"
#include "project/dialogs/dlgSheetProp.h"
#include "sheet_component/engine/Selection.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/DecimalCheck.h"
#include "sheets/SheetCatalogue.h"

#include <QWidget>

#include <algorithm>
#include <chrono>
#include <exception>

namespace vantor {

namespace {

constexpr CommandId kWired[] = {CommandId::InsertRows,
                                CommandId::InsertCol,
                                CommandId::DeleteRows,
                                CommandId::DeleteCols,
                                CommandId::DeleteSheet,
                                CommandId::FormatRowCount,
                                CommandId::RowHeight,
                                CommandId::RowBestHeight,
                                CommandId::ColWidth,
                                CommandId::ColBestWidth,
                                CommandId::FillDown,
                                CommandId::FillUp,
                                CommandId::FillRight,
                                CommandId::FillLeft,
                                CommandId::FillRepeat,
                                CommandId::FillSequence,
                                CommandId::EditClear,
                                CommandId::SortAscending,
                                CommandId::SortDescending,
                                CommandId::ToolSignConversion,
                                CommandId::ToolPriceDifference,
                                CommandId::FormatCell,
                                CommandId::ToolDecimalCheck,
                                CommandId::SettingSignatories,
                                CommandId::SettingSheetTitles,
                                CommandId::SettingLegalRepresentative};

std::chrono::year_month_day today()
{
    return std::chrono::year_month_day{std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
}

} // namespace

DetailCommandsWiring::DetailCommandsWiring(frmMain &window, ProjectController &projects)
    : m_window(window), m_doc(window.document()), m_projects(projects)
{
    registerCommands();
}

DetailCommandsWiring::~DetailCommandsWiring()
{
    for (CommandId id : kWired)
        m_window.dispatcher().setHandler(id, nullptr);
    // The node deletion stays with the project controller while it lives.
    m_window.dispatcher().setHandler(CommandId::DeleteSheet, [&projects = m_projects] { projects.deleteNode(); });
}

int DetailCommandsWiring::askNumber(const NumberRequest &request)
{
    const int number = m_numberEntry ? m_numberEntry(request) : dlgShareLng::ask(request, &m_window);
    m_doc.state().sharedNumber = number;
    return number;
}

void DetailCommandsWiring::afterCommand()
{
    m_window.sheet().DoRedraw();
    m_window.refreshCommands();
}

void DetailCommandsWiring::onDetail(const std::function<bool(int id)> &command)
{
    const ProgramState &state = m_doc.state();
    if (!state.isDataEntry() || !m_doc.detailView() || !SheetCatalogue::isDetail(state.currentSheet))
        return;
    command(state.currentSheet);
    afterCommand();
}

void DetailCommandsWiring::registerCommands()
{
    using C = CommandId;
    CommandDispatcher &d = m_window.dispatcher();
    Workbook &wb = m_doc.workbook();
    frmMain &w = m_window;
    Selection &view = m_doc.selection();
    auto sel = [&view] { return view.DoGetSelectionLong(); };
    ProjectDocument &doc = m_doc;
    auto freeze = [&doc] { return doc.freezeRows(); };
    NumberEntry entry = [this](const NumberRequest &r) { return askNumber(r); };
    using E = DetailEditCommands;

    auto detail = [this](std::function<bool(int)> f) { return [this, f] { onDetail(f); }; };
    d.setHandler(C::InsertRows, detail([&wb, sel, freeze](int id) { return E::insertRows(wb, id, sel(), freeze()); }));
    d.setHandler(C::InsertCol, detail([&wb, &w, &view, freeze](int id) {
                     return E::insertColumn(wb, id, view.CurrentCol(), w.prompter(), freeze());
                 }));
    d.setHandler(C::DeleteRows, detail([&wb, sel, freeze](int id) { return E::deleteRows(wb, id, sel(), freeze()); }));
    d.setHandler(C::DeleteCols, detail([&wb, &w, sel, freeze](int id) {
                     return E::deleteColumns(wb, id, sel(), w.prompter(), freeze());
                 }));
    d.setHandler(C::FormatRowCount, detail([&wb, &w, entry, freeze](int id) {
                     return E::setRowCount(wb, id, entry, w.prompter(), freeze());
                 }));
    d.setHandler(C::RowHeight, detail([&wb, sel, entry](int) { return E::setRowHeight(wb, sel(), entry); }));
    d.setHandler(C::RowBestHeight, detail([&wb, sel](int) { return E::bestRowHeight(wb, sel()); }));
    d.setHandler(C::ColWidth, detail([&wb, sel, entry](int) { return E::setColumnWidth(wb, sel(), entry); }));
    d.setHandler(C::ColBestWidth, detail([&wb, sel](int) { return E::bestColumnWidth(wb, sel()); }));

    const std::pair<C, FillDirection> fills[] = {
        {C::FillDown, FillDirection::Down},     {C::FillUp, FillDirection::Up},
        {C::FillRight, FillDirection::Right},   {C::FillLeft, FillDirection::Left},
        {C::FillRepeat, FillDirection::Repeat}, {C::FillSequence, FillDirection::Sequence}};
    for (const auto &[cmd, dir] : fills)
        d.setHandler(cmd, detail([&wb, sel, freeze, direction = dir](int id) {
                         return E::fill(wb, id, sel(), direction, freeze());
                     }));

    d.setHandler(C::EditClear, detail([&wb, &w, sel, freeze](int id) {
                     return E::clearContents(wb, id, sel(), w.prompter(), freeze());
                 }));
    for (const bool ascending : {true, false})
        d.setHandler(ascending ? C::SortAscending : C::SortDescending,
                     detail([&wb, &w, &doc, &view, sel, freeze, ascending](int id) {
                         // The key column is the active one, handed over like every other shared number.
                         doc.state().sharedNumber = view.CurrentCol();
                         return E::sort(wb, id, sel(), doc.state().sharedNumber, ascending, w.prompter(), freeze());
                     }));
    d.setHandler(C::ToolSignConversion,
                 detail([&wb, sel, freeze](int id) { return E::convertSigns(wb, id, sel(), freeze()); }));
    d.setHandler(C::ToolPriceDifference, detail([&wb, &w, sel, freeze](int id) {
                     return dlgTiaoCha(wb, id, sel(), w.prompter(), freeze(), &w).exec() == QDialog::Accepted;
                 }));
    d.setHandler(C::ToolDecimalCheck, detail([&view, &w](int) {
                     const auto found = DecimalCheck::run(view, w.prompter());
                     if (found)
                         w.sheet().widget()->setFocus();
                     return found.has_value();
                 }));
    // The summary sheets are computed and read-only: only a detail sheet takes a format.
    d.setHandler(C::FormatCell,
                 detail([&wb, &w, sel](int) { return dlgFormat(wb, sel(), &w).exec() == QDialog::Accepted; }));

    d.setHandler(C::SettingSignatories, [this] { editSignatories(); });
    d.setHandler(C::SettingSheetTitles, [this] { editSheetName(); });
    d.setHandler(C::SettingLegalRepresentative, [this] { dlgFrdb(&m_window).exec(); });
    d.setHandler(C::DeleteSheet, [this] {
        if (m_doc.state().isDataEntry())
            deleteDetailSheet();
        else
            m_projects.deleteNode();
    });
}

void DetailCommandsWiring::editSignatories()
{
    const ProgramState &state = m_doc.state();
    if (!state.projectOpen)
        return;
    ProjectStore &store = m_projects.session().store();
    const int16_t node = state.currentNode;
    dlgSheetProp dialog(
        store.signatorySheets(node, state.projectKind), today(),
        [&store, node](const std::vector<SheetSignatories> &rows) { store.replaceSignatories(node, rows); },
        m_window.prompter(), &m_window);
    dialog.exec();
}

void DetailCommandsWiring::editSheetName()
{
    const ProgramState &state = m_doc.state();
    if (!state.isDataEntry() || !SheetCatalogue::isDetail(state.currentSheet))
        return;
    ProjectStore &store = m_projects.session().store();
    const auto row = store.sheet(state.currentSheet);
    if (!row)
        return;
    const int16_t id = row->id;
    dlgSheetName dialog(
        *row, [&store, id](const std::string &code, const std::string &name) { store.updateSheetName(id, code, name); },
        m_window.prompter(), &m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_doc.renameEntry(ProjectTree::sheetKey(id), dialog.caption());
    m_doc.setStatus(1, dialog.caption());
}

bool DetailCommandsWiring::deleteDetailSheet()
{
    ProgramState &state = m_doc.state();
    const TreeEntry *item = m_doc.currentTreeEntry();
    if (!state.isDataEntry() || !item)
        return false;
    const std::string key = item->key;
    const std::optional<int16_t> id = ProjectTree::keyNumber(key);
    // The first detail sheet and 表11 belong to every project.
    if (!id || !SheetCatalogue::isDetail(*id) || SheetCatalogue::isFixedDetail(*id))
        return false;
    if (m_window.prompter().question("删除明细表将永久删除" + item->text + "，删除后不能撤消。是否继续？",
                                     ProjectSession::kTitle, QuestionButtons::YesNo,
                                     MessageIcon::Warning) != Answer::Yes)
        return false;

    // The store goes first: its sheetdata rows would otherwise keep counting in the summaries.
    try {
        m_projects.session().store().deleteSheet(*id);
    } catch (const std::exception &e) {
        m_window.prompter().message(std::string(e.what()) + "\n明细表没有删除。", ProjectSession::kTitle,
                                    MessageIcon::Critical);
        return false;
    }
    Workbook &wb = m_doc.workbook();
    for (int i = wb.SheetCount() - 1; i >= 0; --i)
        if (wb.DoGetSheetLabel(i) == key) {
            wb.DoDeleteSheets(i, 1);
            break;
        }
    // The sheet's rows in the project file are gone for good: an undo that brought
    // back the workbook sheet alone would leave a sheet outside the project. The
    // history is dropped with it, as the question said.
    wb.undoStack().clear();

    std::vector<std::string> keys = m_doc.topLevelKeys();
    const auto index = std::find(keys.begin(), keys.end(), key) - keys.begin();
    m_doc.removeEntry(key);
    keys.erase(keys.begin() + index);
    // No totals are written for the sheet that is gone.
    m_doc.forgetCurrentSheet();
    if (!keys.empty())
        m_projects.onProjectTreeClicked(keys[index > 0 ? index - 1 : 0]);
    afterCommand();
    return true;
}

} // namespace vantor
