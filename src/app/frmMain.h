#pragma once

// The main window: the two toolbars, the menu bar, the left pane with the project
// tree and the list of summary sheets, the splitter, the spreadsheet view and the
// status bar. It builds its menus and toolbars from CommandTable, enables them with
// enabledCommands(), routes every command through its CommandDispatcher and
// forwards the spreadsheet's events to DetailCellEdits, which decides what an edit
// does. Commands of other subsystems are plugged in with dispatcher().setHandler();
// the moments at which the window calls other subsystems are the ShellHooks.

#include "app/CommandDispatcher.h"
#include "app/CommandEnabling.h"
#include "app/CommandTable.h"
#include "app/PaneLayout.h"
#include "app/ProgramState.h"
#include "app/QtPrompter.h"
#include "app/ShellHooks.h"
#include "sheets/DetailCellEdits.h"

#include <QMainWindow>
#include <QUrl>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMenu;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace vantor {

class HelpWindow;
class PaneFocusMark;
class StatusPanel;
class SheetHost;
class Workbook;

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // Entries of both trees carry their key ("b16", "p3") in this data role of column 0.
    static constexpr int treeKeyRole = Qt::UserRole;

    explicit frmMain(ProgramState &state, QWidget *parent = nullptr);
    ~frmMain() override;

    ProgramState &state() { return m_state; }
    Workbook &workbook() { return *m_workbook; }
    SheetHost &sheet() { return *m_sheet; }
    CommandDispatcher &dispatcher() { return m_dispatcher; }
    ShellHooks &hooks() { return m_hooks; }
    Prompter &prompter() { return *m_prompter; }
    // Tests replace the dialogs and the desktop's URL opener.
    void setPrompter(Prompter *prompter) { m_prompter = prompter ? prompter : &m_qtPrompter; }
    void setUrlOpener(std::function<bool(const QUrl &)> opener) { m_urlOpener = std::move(opener); }

    QTreeWidget *projectTree() const { return m_tvTreeView; }
    QTreeWidget *fixedTree() const { return m_tvwFixed; }
    QComboBox *fontBox() const { return m_cmbFont; }
    QComboBox *sizeBox() const { return m_cmbSize; }
    QToolBar *commandToolbar() const { return m_tbToolBar; }
    QToolBar *formatToolbar() const { return m_toolbar1; }

    // The project tree is shown (tvw_fixed hidden).
    bool isDetailView() const;
    // The two entries of the 目录选择 drop-down.
    void showSummaryPane();
    void showDetailPane();
    // Puts the tree in view without the rest of a pane switch (used by the project
    // store when it opens and closes projects).
    void setDetailView(bool detail);

    bool freezeChecked() const;
    void setFreezeChecked(bool checked);
    void toggleFreezeRows();

    // Status bar panels 1..3.
    void setStatusPanel(int panel, const QString &text);
    QString statusPanel(int panel) const;

    // Re-applies the enabling rules to every entry and button.
    void refreshCommands();
    CommandStates commandStates() const;
    QAction *menuAction(CommandId id) const;
    QAction *toolbarAction(CommandId id) const;
    QMenu *menuOf(const std::string &array) const;

    bool &sheetSwitchGuard() { return m_sheetSwitchGuard; }

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
    void buildMenus();
    void buildToolbars();
    void buildBody();
    void buildStatusBar();
    void fillFixedTree();
    void connectSheetEvents();
    void registerHandlers();
    // What the sheet's events need to know of the window.
    EditContext editContext() const;
    QAction *makeMenuAction(const MenuEntry &entry, QMenu *menu);
    void layoutPanes();
    void applyLayout();
    void onFixedTreeClicked(QTreeWidgetItem *item);
    void onProjectTreeItem(QTreeWidgetItem *item);
    // Undo and redo of the detail sheets: the step's own sheet is shown first.
    void undoOrRedo(bool redo);
    void showSheetLabel(const std::string &label);

    // Format toolbar commands. Only a detail sheet of a data-entry project takes them.
    bool formatsSheet() const;
    // The format toolbar follows the active cell of the sheet now shown.
    void showActiveCellFormat();
    void applyStyleButtons();
    void applyAlignment(int code);
    void applyFontNameBox();
    void applyFontSizeBox();

    ProgramState &m_state;
    std::unique_ptr<Workbook> m_workbook; // outlives the view below
    std::unique_ptr<SheetHost> m_sheet;
    CommandDispatcher m_dispatcher;
    ShellHooks m_hooks;
    QtPrompter m_qtPrompter;
    Prompter *m_prompter;
    std::function<bool(const QUrl &)> m_urlOpener;
    DetailCellEdits m_edits;
    bool m_sheetSwitchGuard = true;
    bool m_splitterMoving = false;
    HelpWindow *m_help = nullptr;
    int m_treeHandlerDepth = 0; // tree changes made while a tree click is handled

    QToolBar *m_tbToolBar = nullptr;
    QToolBar *m_toolbar1 = nullptr;
    QComboBox *m_cmbFont = nullptr;
    QComboBox *m_cmbSize = nullptr;
    QWidget *m_body = nullptr;
    QTreeWidget *m_tvTreeView = nullptr;
    QTreeWidget *m_tvwFixed = nullptr;
    QWidget *m_imgSplitter = nullptr;
    QWidget *m_picSplitter = nullptr;
    PaneFocusMark *m_focusMark = nullptr;
    StatusPanel *m_panels[3] = {nullptr, nullptr, nullptr};
    QActionGroup *m_alignGroup = nullptr;

    std::map<CommandId, QAction *> m_menuActions;
    std::map<CommandId, QAction *> m_toolActions;
    std::map<std::string, QMenu *> m_menus;

    PaneLayout m_layout;
    int m_shadowLeft = 0; // twips, while the splitter is dragged
};

} // namespace vantor
