#include "app/SummaryWiring.h"

#include "app/ProjectController.h"
#include "app/ProjectDocument.h"
#include "app/frmMain.h"
#include "output/print/PrintSettingsStore.h"
#include "project/ProjectTakeover.h"
#include "project/ProjectTree.h"
#include "summation/SummaryDriver.h"

#include <exception>

namespace vantor {

SummaryWiring::SummaryWiring(frmMain &window, ProjectController &projects)
    : m_window(window), m_doc(window.document()), m_projects(projects)
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
        SummaryDriver::build(m_doc.workbook(), session.store(), label, static_cast<int16_t>(node), m_window.prompter(),
                             &yuan);
        if (yuan)
            PrintSettingsStore::setSummaryInYuan(*yuan);
    } catch (const std::exception &e) {
        m_window.prompter().message(std::string(e.what()) + "\n汇总表没有重新计算，表中仍是上次计算的数据。",
                                    ProjectSession::kTitle, MessageIcon::Critical);
    }
}

void SummaryWiring::insertProjectData()
{
    if (!m_doc.state().isSummary())
        return;
    ProjectSession &session = m_projects.session();
    // The parent follows the selected entry of the project tree.
    int16_t selected = session.currentNode();
    if (!m_doc.currentEntry().empty())
        selected = ProjectTree::keyNumber(m_doc.currentEntry()).value_or(selected);
    int16_t id = 0;
    if (ProjectTakeover::run(session, m_window.prompter(), selected, &id) != CommandResult::Done)
        return;

    // A file taken over before was offered as a refresh of its node: that node stays where it is.
    const std::string key = ProjectTree::nodeKey(id);
    if (m_doc.entry(key)) {
        m_doc.setCurrentEntry(key);
        m_doc.setCurrentNode(id);
        return;
    }
    const auto node = session.store().node(id);
    std::string parent = node ? ProjectTree::nodeKey(node->parent) : std::string();
    if (!m_doc.entry(parent))
        parent = m_doc.entry(ProjectTree::kRootKey) ? ProjectTree::kRootKey : "";
    m_doc.insertEntry(TreeEntry{key, node ? node->properties.pmname.value_or("") : std::string(), "d", parent});
    m_doc.setCurrentEntry(key);
    m_doc.setCurrentNode(id);
    m_doc.setStatus(1, QStringLiteral("就绪"));
    m_doc.setStatus(2, session.statusProjectName());
    m_doc.setStatus(3, session.statusUnit());
}

} // namespace vantor
