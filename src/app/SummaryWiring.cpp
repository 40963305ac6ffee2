#include "app/SummaryWiring.h"

#include "app/ProjectController.h"
#include "app/frmMain.h"
#include "output/print/PrintSettingsStore.h"
#include "project/ProjectTakeover.h"
#include "project/ProjectTree.h"
#include "summation/SummaryDriver.h"

#include <QTreeWidget>

#include <exception>

namespace vantor {

namespace {

QString qs(const std::string &text)
{
    return QString::fromStdString(text);
}

} // namespace

SummaryWiring::SummaryWiring(frmMain &window, ProjectController &projects) : m_window(window), m_projects(projects)
{
    m_window.hooks().computeSummarySheet = [this](const std::string &label, short node) {
        computeSummarySheet(label, node);
    };
    m_window.dispatcher().setHandler(CommandId::InsertProjectData, [this] { insertProjectData(); });
}

SummaryWiring::~SummaryWiring()
{
    m_window.hooks().computeSummarySheet = nullptr;
    m_window.dispatcher().setHandler(CommandId::InsertProjectData, nullptr);
}

void SummaryWiring::computeSummarySheet(const std::string &label, short node)
{
    ProjectSession &session = m_projects.session();
    if (!session.isOpen())
        return;
    try {
        // Showing 表1 asks for its unit each time; printing reuses the answer.
        std::optional<bool> yuan;
        SummaryDriver::build(m_window.workbook(), session.store(), label, static_cast<int16_t>(node),
                             m_window.prompter(), &yuan);
        if (yuan)
            PrintSettingsStore::setSummaryInYuan(*yuan);
    } catch (const std::exception &e) {
        m_window.prompter().message(std::string(e.what()) + "\n汇总表没有重新计算，表中仍是上次计算的数据。",
                                    ProjectSession::kTitle, MessageIcon::Critical);
    }
}

void SummaryWiring::insertProjectData()
{
    ProgramState &state = m_window.state();
    if (!state.isSummary())
        return;
    ProjectSession &session = m_projects.session();
    // The parent follows the selected entry of the project tree.
    int16_t selected = session.currentNode();
    if (QTreeWidgetItem *item = m_window.projectTree()->currentItem())
        selected =
            ProjectTree::keyNumber(item->data(0, frmMain::treeKeyRole).toString().toStdString()).value_or(selected);
    int16_t id = 0;
    if (ProjectTakeover::run(session, m_window.prompter(), selected, &id) != CommandResult::Done)
        return;

    // A file taken over before was offered as a refresh of its node: that node stays where it is.
    if (QTreeWidgetItem *existing = m_projects.treeItem(ProjectTree::nodeKey(id))) {
        m_window.projectTree()->setCurrentItem(existing);
        state.currentNode = id;
        m_window.refreshCommands();
        return;
    }
    const auto node = session.store().node(id);
    QTreeWidgetItem *parent = node ? m_projects.treeItem(ProjectTree::nodeKey(node->parent)) : nullptr;
    if (!parent)
        parent = m_projects.treeItem(ProjectTree::kRootKey);
    const QString text = qs(node ? node->properties.pmname.value_or("") : std::string());
    auto *item = parent ? new QTreeWidgetItem(parent, QStringList{text})
                        : new QTreeWidgetItem(m_window.projectTree(), QStringList{text});
    item->setData(0, frmMain::treeKeyRole, qs(ProjectTree::nodeKey(id)));
    item->setData(0, ProjectController::treeTagRole, QStringLiteral("d"));
    if (parent)
        parent->setExpanded(true);
    m_window.projectTree()->setCurrentItem(item);
    state.currentNode = id;
    m_window.setStatusPanel(1, "就绪");
    m_window.setStatusPanel(2, qs(session.statusProjectName()));
    m_window.setStatusPanel(3, qs(session.statusUnit()));
    m_window.refreshCommands();
}

} // namespace vantor
