#include "app/CheckWiring.h"

#include "app/ProjectController.h"
#include "app/SheetHost.h"
#include "app/frmMain.h"
#include "project/ProjectRefresh.h"
#include "project/ProjectTree.h"
#include "sheet_component/engine/Selection.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/SheetCatalogue.h"
#include "summation/dialogs/dlgCheck.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace vantor {

namespace {

QTreeWidgetItem *findEntry(QTreeWidget *tree, const QString &key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, frmMain::treeKeyRole).toString() == key)
            return *it;
    return nullptr;
}

} // namespace

CheckWiring::CheckWiring(frmMain &window, ProjectController &projects) : m_window(window), m_projects(projects)
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
            return ProjectCheck::run(m_window.workbook(), session.store(), limits);
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
        if (!m_window.isDetailView())
            m_window.showDetailPane();
        if (QTreeWidgetItem *item =
                findEntry(m_window.projectTree(), QString::fromStdString(ProjectTree::nodeKey(finding.node)))) {
            m_window.projectTree()->setCurrentItem(item);
            m_projects.onProjectTreeClicked(item);
        }
    }
    const QString label = QString::fromStdString(SheetCatalogue::label(finding.sheetId));
    if (SheetCatalogue::isSummary(finding.sheetId)) {
        m_window.showSummaryPane();
        if (QTreeWidgetItem *item = findEntry(m_window.fixedTree(), label)) {
            m_window.fixedTree()->setCurrentItem(item);
            emit m_window.fixedTree()->itemClicked(item, 0);
        }
    } else if (finding.node == 0 && SheetCatalogue::isDetail(finding.sheetId)) {
        if (!m_window.isDetailView())
            m_window.showDetailPane();
        if (QTreeWidgetItem *item = findEntry(m_window.projectTree(), label)) {
            m_window.projectTree()->setCurrentItem(item);
            m_projects.onProjectTreeClicked(item);
        }
    } else {
        m_window.refreshCommands();
        return;
    }
    Workbook &wb = m_window.workbook();
    if (finding.col >= 0 && finding.row >= 0 && wb.DoGetSheetLabel(wb.CurrentSheet()) == label.toStdString()) {
        m_window.selection().DoGotoCell(finding.col, finding.row);
        m_window.sheet().DoRedraw();
        m_window.activateWindow();
        m_window.sheet().widget()->setFocus();
    }
    m_window.refreshCommands();
}

void CheckWiring::refreshNode()
{
    ProjectSession &session = m_projects.session();
    if (!m_window.state().isSummary())
        return;
    QTreeWidgetItem *item = m_window.projectTree()->currentItem();
    if (!item || item->data(0, ProjectController::treeTagRole).toString() != QStringLiteral("d"))
        return;
    const auto node = ProjectTree::keyNumber(item->data(0, frmMain::treeKeyRole).toString().toStdString());
    if (!node)
        return;
    if (ProjectRefresh::run(session, m_window.prompter(), static_cast<int16_t>(*node)) == CommandResult::Done) {
        m_window.setStatusPanel(1, "就绪");
        m_window.refreshCommands();
    }
}

} // namespace vantor
