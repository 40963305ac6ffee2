#include "app/PrintWiring.h"

#include "app/ProjectController.h"
#include "app/SheetHost.h"
#include "app/frmMain.h"
#include "output/PrintProgress.h"
#include "output/print/PrintSettingsStore.h"
#include "output/dialogs/dlgPrint.h"
#include "output/dialogs/frmProgres.h"
#include "sheet_component/widget/PrintPreview.h"
#include "summation/SummaryDriver.h"

#include <QTreeWidget>
#include <QWidget>

#include <exception>

namespace vantor {

namespace {

constexpr const char *Title = "打印";

// The view does not repaint while the layout runs on the temporary sheet.
class FrozenView {
public:
    explicit FrozenView(QWidget *view) : m_view(view) { m_view->setUpdatesEnabled(false); }
    ~FrozenView() { m_view->setUpdatesEnabled(true); }
    FrozenView(const FrozenView &) = delete;
    FrozenView &operator=(const FrozenView &) = delete;

private:
    QWidget *m_view;
};

} // namespace

PrintWiring::PrintWiring(frmMain &window, ProjectController &projects)
    : m_window(window), m_projects(projects)
{
    m_window.dispatcher().setHandler(CommandId::FilePrintPreview, [this] { print(); });
    m_window.dispatcher().setHandler(CommandId::SettingInstitution, [this] { editInstitution(); });
}

PrintWiring::~PrintWiring()
{
    m_window.dispatcher().setHandler(CommandId::FilePrintPreview, nullptr);
    m_window.dispatcher().setHandler(CommandId::SettingInstitution, nullptr);
}

void PrintWiring::print()
{
    ProgramState &state = m_window.state();
    ProjectSession &session = m_projects.session();
    if (!state.projectOpen || !session.isOpen())
        return;
    PrintContext context;
    context.summaryView = !m_window.isDetailView() || state.isSummary();
    if (QTreeWidgetItem *item = m_window.fixedTree()->currentItem())
        context.summaryKey = item->data(0, frmMain::treeKeyRole).toString().toStdString();
    context.sheetId = state.currentSheet;
    context.freezeHeadings = m_window.freezeChecked();

    const std::string institution = PrintSettingsStore::institution();
    const int16_t node = state.currentNode;
    std::optional<bool> yuan = PrintSettingsStore::summaryInYuan();
    auto texts = [&](int16_t id) {
        PrintTexts t = PrintTexts::read(session.store(), node, id, institution);
        t.unitLine = PrintTexts::unitLineOf(id, yuan);
        return t;
    };
    auto askRows = [&](int16_t id) {
        state.rowsPerPage = m_askRows ? m_askRows(id) : dlgPrint::ask(id, &m_window);
        return state.rowsPerPage;
    };
    SheetHost &view = m_window.sheet();
    auto output = [&](Workbook &workbook, int sheet) {
        if (m_output)
            m_output(workbook, sheet);
        else
            PrintPreview::exec(workbook, sheet, &m_window);
    };

    PrintEngine::Outcome outcome = PrintEngine::Outcome::Cancelled;
    try {
        // A summary sheet prints the figures of the node whose name it carries: in a summary
        // project the node chosen in the tree may differ from the one the sheet showed last.
        if (context.summaryView && state.isSummary() && SummaryDriver::sheetOf(context.summaryKey) >= 0)
            SummaryDriver::build(m_window.workbook(), session.store(), context.summaryKey, node,
                                 m_window.prompter(), &yuan);
        frmProgres progress(&m_window);
        FrozenView frozen(view.widget());
        outcome = PrintEngine::PrintSheet(m_window.workbook(), context, texts, askRows, &progress, output);
    } catch (const PrintCancelled &) {
    } catch (const std::exception &e) {
        m_window.prompter().message(std::string(e.what()) + "\n没有打印，工作表保持原样。", Title,
                                    MessageIcon::Critical);
    }
    view.DoRefreshLayout();
    view.DoRedraw();
    // The keys go back to the sheet, also where no window manager returns the focus to the
    // window a dialog closed over.
    m_window.activateWindow();
    view.widget()->setFocus();
    if (outcome == PrintEngine::Outcome::TooManyRows)
        m_window.prompter().message("明细表超过" + std::to_string(PrintEngine::MaxDetailRows) +
                                        "行，不能打印。",
                                    Title, MessageIcon::Information);
}

void PrintWiring::editInstitution()
{
    const auto name = m_window.prompter().inputText("评估机构名称（打印在每张表的签章栏）：", "评估机构",
                                                    PrintSettingsStore::institution());
    if (name)
        PrintSettingsStore::setInstitution(*name);
}

} // namespace vantor
