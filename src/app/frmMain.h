#pragma once

// The main window: the two toolbars, the menu bar (CommandBars), the left pane with
// the project tree and the list of summary sheets, the splitter, the spreadsheet
// view and the status bar. It observes the ProjectDocument — the panes, the tree, the
// freeze check mark, the status texts and the title follow its signals — routes every
// command through its CommandDispatcher and forwards the spreadsheet's events to
// DetailCellEdits, which decides what an edit does. Commands of other subsystems are
// plugged in with dispatcher().setHandler(); the moments at which the window calls
// other subsystems are the ShellHooks.

#include "app/CommandDispatcher.h"
#include "app/CommandEnabling.h"
#include "app/CommandTable.h"
#include "app/PaneLayout.h"
#include "app/ProjectDocument.h"
#include "app/QtPrompter.h"
#include "app/ShellHooks.h"
#include "sheets/DetailCellEdits.h"

#include <QMainWindow>
#include <QUrl>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QComboBox;
class QMenu;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace vantor {

class CommandBars;
class HelpWindow;
class PaneFocusMark;
class ProjectTreeView;
class StatusPanel;
class SheetHost;
class Selection;
class Workbook;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // The document must outlive the window.
    explicit frmMain(ProjectDocument &document, QWidget *parent = nullptr);
    ~frmMain() override;

    ProjectDocument &document() { return m_doc; }
    SheetHost &sheet() { return *m_sheet; }
    CommandDispatcher &dispatcher() { return m_dispatcher; }
    ShellHooks &hooks() { return m_hooks; }
    Prompter &prompter() { return *m_prompter; }
    // Tests replace the dialogs and the desktop's URL opener.
    void setPrompter(Prompter *prompter) { m_prompter = prompter ? prompter : &m_qtPrompter; }
    void setUrlOpener(std::function<bool(const QUrl &)> opener) { m_urlOpener = std::move(opener); }

    QTreeWidget *projectTree() const;
    ProjectTreeView &projectTreeView() const { return *m_treeView; }
    QTreeWidget *fixedTree() const { return m_tvwFixed; }
    CommandBars &bars() const { return *m_bars; }
    QComboBox *fontBox() const;
    QComboBox *sizeBox() const;

    // The two entries of the 目录选择 drop-down.
    void showSummaryPane();
    void showDetailPane();
    // Shows a summary sheet ("b0".."b9") as a click on its entry in the list does.
    void showSummarySheet(const std::string &label);
    void toggleFreezeRows();

    // Status bar panels 1..3 as shown.
    QString statusPanel(int panel) const;

    // Re-applies the enabling rules to every entry and button.
    void refreshCommands();
    CommandStates commandStates() const;
    QAction *menuAction(CommandId id) const;
    QAction *toolbarAction(CommandId id) const;
    QMenu *menuOf(const std::string &array) const;

    // Ends an edit still open in the sheet as if the user had left the cell (the row
    // formulas run); false when the value is refused, the editor stays open and the
    // command that asked must not go on. Every command, tree click, pane switch and
    // the window's close call it first.
    bool endEdit();
    // Runs a command as the menu, toolbar and shortcuts do: the open edit ends first.
    bool runCommand(CommandId id);
    // The help document in the program's help window.
    bool showHelpWindow(const QUrl &url);
    HelpWindow *helpWindow() const { return m_help; }

    // The keyboard among the panes: the project tree, the spreadsheet and the summary
    // list, those shown, in that order (F6 forward, Shift+F6 back). An edit still open
    // in the sheet ends first, as leaving the cell would; a refused one keeps the focus.
    void cyclePaneFocus(bool forward);
    // The pane holding the keyboard focus (the sheet while its editor has it), or nullptr.
    QWidget *focusedPane() const;
    void focusSheet();

    // SizeControls with the splitter at x twips; the layout in use.
    void sizeControls(int xTwips);
    const PaneLayout &paneLayout() const { return m_layout; }
    WindowMetrics windowMetrics() const;

    // Events of the spreadsheet view.
    bool onMayEdit(int col, int row);
    bool onMayAct(int col, int row) const;
    void onTextChanged(int col, int row);
    void onActiveCellChanged(int oldCol, int oldRow, int newCol, int newRow);
    void onRightClick(int col, int row, const QPoint &globalPos);
    bool onInputToStore(int col, int row, std::string &text);
    void onEditCommitted(int col, int row);
    void onWriteLimit(int *lastCol, int *lastRow) const;
    void onCellsWritten(int col1, int row1, int col2, int row2, int leftOut);

    // Shows the format of a cell in the format toolbar.
    void showCellFormat(int col, int row);
    bool clipboardHasText() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildBody();
    void buildStatusBar();
    void fillFixedTree();
    void observeDocument();
    void connectSheetEvents();
    void registerHandlers();
    // What the sheet's events need to know of the window.
    EditContext editContext() const;
    void layoutPanes();
    void applyLayout();
    void showDetailView(bool detail);
    void onFixedTreeClicked(QTreeWidgetItem *item);
    void onProjectTreeEntry(const std::string &key);
    // Undo and redo of the detail sheets: the step's own sheet is shown first.
    void undoOrRedo(bool redo);
    void showSheetLabel(const std::string &label);

    // The format toolbar follows the active cell of the sheet now shown.
    void showActiveCellFormat();

    ProjectDocument &m_doc;
    ProgramState &m_state; // the document's
    Workbook &m_workbook;  // the document's; outlives the view below
    std::unique_ptr<SheetHost> m_sheet;
    CommandDispatcher m_dispatcher;
    ShellHooks m_hooks;
    QtPrompter m_qtPrompter;
    Prompter *m_prompter;
    std::function<bool(const QUrl &)> m_urlOpener;
    DetailCellEdits m_edits;
    bool m_splitterMoving = false;
    bool m_fixedTreeHandling = false; // the list changes while its click is handled
    HelpWindow *m_help = nullptr;

    CommandBars *m_bars = nullptr;
    QWidget *m_body = nullptr;
    QTreeWidget *m_tvTreeView = nullptr;
    ProjectTreeView *m_treeView = nullptr;
    QTreeWidget *m_tvwFixed = nullptr;
    QWidget *m_imgSplitter = nullptr;
    QWidget *m_picSplitter = nullptr;
    PaneFocusMark *m_focusMark = nullptr;
    StatusPanel *m_panels[3] = {nullptr, nullptr, nullptr};

    PaneLayout m_layout;
    int m_shadowLeft = 0; // twips, while the splitter is dragged
};

} // namespace vantor
