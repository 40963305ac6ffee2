#include "app/CheckWiring.h"

#include "app/ProjectController.h"
#include "app/ProjectDocument.h"
#include "app/SheetHost.h"
#include "app/frmMain.h"
#include "project/ProjectRefresh.h"
#include "project/ProjectTree.h"
#include "sheet_component/engine/Selection.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/SheetCatalogue.h"
#include "summation/dialogs/dlgCheck.h"

namespace vantor {

CheckWiring::CheckWiring(frmMain &window, ProjectController &projects)
    : m_window(window), m_doc(window.document()), m_projects(projects)
{
    m_window.dispatcher().setHandler(CommandId::DataCheck, [this] { openCheck(); });
    m_window.dispatcher().setHandler(CommandId::DataRefreshNode, [this] { refreshNode(); });
}

CheckWiring::~CheckWiring()
{
    m_window.dispatcher().setHandler(CommandId::DataCheck, nullptr);
    m_window.dispatcher().setHandler(CommandId::DataRefreshNode, nullptr);
    delete m_check.data();
}

dlgCheck *CheckWiring::checkWindow() const
{
    return m_check.data();
}

void CheckWiring::openCheck()
{
    if (!m_projects.session().isOpen())
        return;
    delete m_check.data();
    m_check = new dlgCheck(
        [this](const CheckLimits &limits) {
            ProjectSession &session = m_projects.session();
            if (!session.isOpen())
                return CheckReport{};
            m_projects.writeShownSheetTotals();
            return ProjectCheck::run(m_doc.workbook(), session.store(), limits);
        },
        &m_window);
    m_check->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(m_check.data(), &dlgCheck::findingActivated, m_check.data(), [this](int index) {
        const auto &findings = m_check->report().findings;
        if (index >= 0 && index < static_cast<int>(findings.size()))
            showFinding(findings[static_cast<std::size_t>(index)]);
    });
    m_check->refresh();
    m_check->show();
    m_check->activateWindow();
}

void CheckWiring::showFinding(const CheckFinding &finding)
{
    if (!m_projects.session().isOpen() || !m_window.endEdit())
        return;
    if (finding.node != 0) {
        if (!m_doc.detailView())
            m_window.showDetailPane();
        m_projects.onProjectTreeClicked(ProjectTree::nodeKey(finding.node));
    }
    const std::string label = SheetCatalogue::label(finding.sheetId);
    if (SheetCatalogue::isSummary(finding.sheetId)) {
        m_window.showSummaryPane();
        m_window.showSummarySheet(label);
    } else if (finding.node == 0 && SheetCatalogue::isDetail(finding.sheetId)) {
        if (!m_doc.detailView())
            m_window.showDetailPane();
        m_projects.onProjectTreeClicked(label);
    } else {
        m_window.refreshCommands();
        return;
    }
    Workbook &wb = m_doc.workbook();
    if (finding.col >= 0 && finding.row >= 0 && wb.DoGetSheetLabel(wb.CurrentSheet()) == label) {
        m_doc.selection().DoGotoCell(finding.col, finding.row);
        m_window.sheet().DoRedraw();
        m_window.activateWindow();
        m_window.sheet().widget()->setFocus();
    }
    m_window.refreshCommands();
}

void CheckWiring::refreshNode()
{
    ProjectSession &session = m_projects.session();
    if (!m_doc.state().isSummary())
        return;
    const TreeEntry *entry = m_doc.currentTreeEntry();
    if (!entry || entry->tag != "d")
        return;
    const auto node = ProjectTree::keyNumber(entry->key);
    if (!node)
        return;
    if (ProjectRefresh::run(session, m_window.prompter(), static_cast<int16_t>(*node)) == CommandResult::Done)
        m_doc.setStatus(1, QStringLiteral("就绪"));
}

} // namespace vantor
