#include "app/ProjectDocument.h"

#include "app/ProgramState.h"
#include "project/EngineProjectWorkbook.h"
#include "sheet_component/engine/Selection.h"
#include "sheet_component/engine/Workbook.h"

#include <algorithm>
#include <set>

namespace vantor {

ProjectDocument::ProjectDocument(ProgramState &state, ProjectSessionConfig config, QObject *parent)
    : QObject(parent), m_state(state), m_workbook(std::make_unique<Workbook>()),
      m_selection(std::make_unique<Selection>(*m_workbook)),
      m_projectWorkbook(std::make_unique<EngineProjectWorkbook>(*m_workbook, m_selection.get())),
      m_session(std::make_unique<ProjectSession>(std::move(config), *m_projectWorkbook))
{
    // Load: no project, no sheet.
    m_state.projectOpen = false;
    m_state.projectKind = ProjectKind::None;
    m_state.currentSheet = -1;
    m_status[0] = QStringLiteral("就绪");
}

// The session goes first: it removes its working copies while the workbook still exists.
ProjectDocument::~ProjectDocument()
{
    m_session.reset();
}

void ProjectDocument::syncFromSession()
{
    const bool open = m_session->isOpen();
    m_state.projectOpen = open;
    m_state.projectKind = open ? m_session->kind() : ProjectKind::None;
    m_state.projectPath = m_session->projectPath();
    m_state.workbookPath = m_session->workbookPath();
    m_state.currentNode = m_session->currentNode();
    m_state.currentSheet = open ? m_session->currentSheet() : -1;
    emit changed();
}

void ProjectDocument::setCurrentSheet(short id)
{
    m_session->setCurrentSheet(id);
    syncFromSession();
}

void ProjectDocument::setCurrentNode(short pmid)
{
    m_session->setCurrentNode(pmid);
    syncFromSession();
}

void ProjectDocument::forgetCurrentSheet()
{
    m_state.currentSheet = -1;
    emit changed();
}

void ProjectDocument::setDetailView(bool detail)
{
    if (detail == m_detailView)
        return;
    m_detailView = detail;
    emit detailViewChanged(detail);
    emit changed();
}

void ProjectDocument::setFreezeRows(bool frozen)
{
    m_freezeRows = frozen;
    // Also when unchanged: a menu entry that toggled its own check mark is put right.
    emit freezeRowsChanged(frozen);
}

// ---------------------------------------------------------------- tree

const TreeEntry *ProjectDocument::entry(const std::string &key) const
{
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [&key](const TreeEntry &e) { return e.key == key; });
    return it == m_entries.end() ? nullptr : &*it;
}

std::vector<std::string> ProjectDocument::topLevelKeys() const
{
    std::vector<std::string> keys;
    for (const TreeEntry &e : m_entries)
        if (e.parentKey.empty() || !entry(e.parentKey))
            keys.push_back(e.key);
    return keys;
}

void ProjectDocument::resetTree(std::vector<TreeEntry> entries)
{
    m_entries = std::move(entries);
    m_currentEntry.clear();
    emit treeReset();
    emit changed();
}

void ProjectDocument::insertEntry(TreeEntry added, int position)
{
    auto at = m_entries.end();
    int sibling = 0;
    for (auto it = m_entries.begin(); it != m_entries.end() && position >= 0; ++it)
        if (it->parentKey == added.parentKey && sibling++ == position) {
            at = it;
            break;
        }
    const std::string key = added.key;
    m_entries.insert(at, std::move(added));
    emit entryInserted(key);
    emit changed();
}

void ProjectDocument::removeEntry(const std::string &key)
{
    if (!entry(key))
        return;
    // The entry and its descendants; parents come before their children.
    std::set<std::string> gone{key};
    for (const TreeEntry &e : m_entries)
        if (gone.count(e.parentKey))
            gone.insert(e.key);
    emit entryRemoved(key);
    std::erase_if(m_entries, [&gone](const TreeEntry &e) { return gone.count(e.key) > 0; });
    if (gone.count(m_currentEntry))
        setCurrentEntry({});
    emit changed();
}

void ProjectDocument::renameEntry(const std::string &key, const std::string &text)
{
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [&key](const TreeEntry &e) { return e.key == key; });
    if (it == m_entries.end())
        return;
    it->text = text;
    emit entryRenamed(key);
    emit changed();
}

void ProjectDocument::setCurrentEntry(const std::string &key)
{
    if (key == m_currentEntry)
        return;
    m_currentEntry = entry(key) ? key : std::string();
    emit currentEntryChanged(m_currentEntry);
    emit changed();
}

void ProjectDocument::setSummarySheet(const std::string &label, const std::string &caption)
{
    m_summaryLabel = label;
    m_summaryCaption = caption;
}

// ---------------------------------------------------------------- status and title

QString ProjectDocument::status(int panel) const
{
    return panel >= 1 && panel <= 3 ? m_status[panel - 1] : QString();
}

void ProjectDocument::setStatus(int panel, const QString &text)
{
    if (panel < 1 || panel > 3)
        return;
    m_status[panel - 1] = text;
    emit statusChanged(panel, text);
}

void ProjectDocument::setTitle(const QString &title)
{
    emit titleChanged(title);
}

} // namespace vantor
