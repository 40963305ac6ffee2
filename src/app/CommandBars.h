#pragma once

// The menu bar and the two toolbars of the main window, built from CommandTable: the
// actions by command, the font and size boxes over the first buttons of the format
// toolbar, and the 目录选择 drop-down. Every action runs its command through the
// function given; enabling follows the CommandStates handed to refresh().

#include "app/CommandId.h"

#include <QObject>

#include <functional>
#include <map>
#include <string>

class QAction;
class QActionGroup;
class QComboBox;
class QMainWindow;
class QMenu;
class QToolBar;

namespace vantor {

class CommandDispatcher;
struct CommandStates;
struct FontStyle;
struct FormatToolbarState;
struct MenuEntry;

class CommandBars : public QObject {
    Q_OBJECT
public:
    // run: what an action, a button or a box runs; beforeMenu: called as a top menu opens.
    CommandBars(QMainWindow &window, std::function<void(CommandId)> run, std::function<void()> beforeMenu);

    // Enables entries and buttons: a command without a handler stays off.
    void refresh(const CommandStates &states, const CommandDispatcher &dispatcher);

    QAction *menuAction(CommandId id) const;
    QAction *toolbarAction(CommandId id) const;
    QMenu *menuOf(const std::string &array) const;
    QComboBox *fontBox() const { return m_cmbFont; }
    QComboBox *sizeBox() const { return m_cmbSize; }
    QToolBar *commandToolbar() const { return m_tbToolBar; }
    QToolBar *formatToolbar() const { return m_toolbar1; }

    // The format toolbar shows a cell's font, size, style and alignment.
    void showFormat(const FormatToolbarState &state);
    // The style toggles of the format toolbar.
    FontStyle styleButtons() const;

private:
    QAction *makeMenuAction(const MenuEntry &entry, QMenu *menu);
    void buildMenus(QMainWindow &window);
    void buildToolbars(QMainWindow &window);
    void buildFontBoxes();

    std::function<void(CommandId)> m_run;
    std::function<void()> m_beforeMenu;
    QToolBar *m_tbToolBar = nullptr;
    QToolBar *m_toolbar1 = nullptr;
    QComboBox *m_cmbFont = nullptr;
    QComboBox *m_cmbSize = nullptr;
    QActionGroup *m_alignGroup = nullptr;
    std::map<CommandId, QAction *> m_menuActions;
    std::map<CommandId, QAction *> m_toolActions;
    std::map<std::string, QMenu *> m_menus;
};

} // namespace vantor
