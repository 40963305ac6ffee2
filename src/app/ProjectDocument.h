#pragma once

// The open project as the main window shows it: the ProjectSession and the workbook
// it loads, which node and sheet are current, the entries of the project tree and the
// one selected, the summary sheet chosen in the list, which pane is shown, whether the
// heading rows are frozen, the status texts and the title. The program's state
// (ProgramState, mGlobal) is kept in line with the session here and nowhere else.
//
// Every change is made through this class and announced by a signal: the main
// window, its two trees and its status bar follow the signals; the project commands
// and the other subsystems change the document, never the widgets. changed() follows
// every change, so the enabled commands are recomputed after each.

#include "project/ProjectSession.h"
#include "project/ProjectTree.h"

#include <QObject>
#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace vantor {

class EngineProjectWorkbook;
class Selection;
class Workbook;
struct ProgramState;

class ProjectDocument : public QObject {
    Q_OBJECT
public:
    ProjectDocument(ProgramState &state, ProjectSessionConfig config, QObject *parent = nullptr);
    ~ProjectDocument() override;

    ProgramState &state() { return m_state; }
    const ProgramState &state() const { return m_state; }
    Workbook &workbook() { return *m_workbook; }
    const Workbook &workbook() const { return *m_workbook; }
    // Where the user is in the workbook (saved with it, never undone).
    Selection &selection() { return *m_selection; }
    ProjectSession &session() { return *m_session; }

    // Copies what is open, its kind, its files, its node and sheet from the session.
    void syncFromSession();
    // The sheet (id) or node (pmid) shown, in the session and in the state.
    void setCurrentSheet(short id);
    void setCurrentNode(short pmid);
    // No sheet is shown (the one shown was deleted): no totals are written for it.
    void forgetCurrentSheet();

    // The project tree is shown; false: the list of summary sheets.
    bool detailView() const { return m_detailView; }
    void setDetailView(bool detail);
    // The two heading rows of a detail sheet stay in view.
    bool freezeRows() const { return m_freezeRows; }
    void setFreezeRows(bool frozen);
    // False while a tree click switches the sheet: a second click is ignored meanwhile.
    bool sheetSwitchAllowed() const { return m_sheetSwitchAllowed; }
    void setSheetSwitchAllowed(bool allowed) { m_sheetSwitchAllowed = allowed; }

    // The project tree: entries in display order, parents before their children.
    const std::vector<TreeEntry> &treeEntries() const { return m_entries; }
    const TreeEntry *entry(const std::string &key) const;
    // Keys of the top-level entries in order.
    std::vector<std::string> topLevelKeys() const;
    void resetTree(std::vector<TreeEntry> entries);
    // Puts the entry among its siblings at `position` (-1: last).
    void insertEntry(TreeEntry entry, int position = -1);
    // Removes the entry and everything under it.
    void removeEntry(const std::string &key);
    void renameEntry(const std::string &key, const std::string &text);
    // The selected entry; empty when none.
    const std::string &currentEntry() const { return m_currentEntry; }
    const TreeEntry *currentTreeEntry() const { return entry(m_currentEntry); }
    void setCurrentEntry(const std::string &key);

    // The summary sheet chosen in the list ("b0".."b9") and its caption.
    const std::string &summaryLabel() const { return m_summaryLabel; }
    const std::string &summaryCaption() const { return m_summaryCaption; }
    void setSummarySheet(const std::string &label, const std::string &caption);

    // Status panels 1..3 and the window title.
    QString status(int panel) const;
    void setStatus(int panel, const QString &text);
    void setStatus(int panel, const std::string &text) { setStatus(panel, QString::fromStdString(text)); }
    void setTitle(const QString &title);

    // The sheet shown changed, or its layout (rows frozen, sheets added): views lay it out again.
    void showSheetChanges() { emit sheetChanged(); }

signals:
    void changed();
    void detailViewChanged(bool detail);
    void freezeRowsChanged(bool frozen);
    void treeReset();
    void entryInserted(const std::string &key);
    void entryRemoved(const std::string &key);
    void entryRenamed(const std::string &key);
    void currentEntryChanged(const std::string &key);
    void statusChanged(int panel, const QString &text);
    void titleChanged(const QString &title);
    void sheetChanged();

private:
    ProgramState &m_state;
    std::unique_ptr<Workbook> m_workbook;
    std::unique_ptr<Selection> m_selection;
    std::unique_ptr<EngineProjectWorkbook> m_projectWorkbook;
    std::unique_ptr<ProjectSession> m_session;

    bool m_detailView = true;
    bool m_freezeRows = false;
    bool m_sheetSwitchAllowed = true;
    std::vector<TreeEntry> m_entries;
    std::string m_currentEntry;
    std::string m_summaryLabel;
    std::string m_summaryCaption;
    QString m_status[3];
};

} // namespace vantor
