#pragma once

// The menu bar and the two toolbars of the main window as data: one row per menu
// entry (menu array, index, caption with its accelerator, shortcut, icon, command)
// and one row per toolbar button (toolbar, index, key which is also the tooltip,
// icon, command). The window builds its QActions from these rows and nothing else,
// so a caption or shortcut is changed here and only here.

#include "app/CommandId.h"

#include <optional>
#include <string>
#include <vector>

namespace vantor {

// Pictures for menu entries and toolbar buttons, drawn by IconFactory.
enum class IconKind {
    None,
    New,
    Open,
    Close,
    Save,
    Excel,
    PageSetup,
    Print,
    Exit,
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Find,
    SelectAll,
    Clear,
    Delete,
    Sum,
    SortAscending,
    SortDescending,
    Help,
    About,
    PaneSwitch,
    Bold,
    Italic,
    Underline,
    AlignLeft,
    AlignCenter,
    AlignRight,
    Merge,
    Unmerge,
    Calculator,
    Password,
    Properties,
    Import,
    Overview,
    InsertRows,
    InsertCol,
    Freeze,
};

struct TopMenu {
    std::string name;    // mnuFile, mnuEdit, ...
    std::string caption; // 文件(&F)
    std::string array;   // m_File: the entries' menu array
};

struct MenuEntry {
    std::string array; // m_File, m_Edit, m_Fill, ...
    int index = 0;
    std::string caption;  // "-" for a separator
    std::string shortcut; // portable key sequence text, e.g. "Ctrl+N"; empty for none
    CommandId command = CommandId::Count_;
    std::string submenu; // the array this entry opens, empty for a plain entry
    IconKind icon = IconKind::None;
    bool offered = true;    // false: shown greyed, never enabled, no action
    bool checkable = false; // 视图 entries carry a check mark

    bool isSeparator() const { return caption == "-"; }
};

enum class ToolbarId { Command, Format };

struct ToolbarButton {
    ToolbarId toolbar = ToolbarId::Command;
    int index = 0;   // 1-based button index
    std::string key; // equals the tooltip; empty for a separator
    CommandId command = CommandId::Count_;
    IconKind icon = IconKind::None;
    bool checkable = false;
    // Format toolbar buttons 1..3 lie under the font and size boxes.
    bool coveredByCombos = false;

    bool isSeparator() const { return key.empty() && !coveredByCombos; }
};

const std::vector<TopMenu> &topMenus();
const std::vector<MenuEntry> &menuEntries();
const std::vector<ToolbarButton> &toolbarButtons();

// The entries of one menu array in index order, separators included.
std::vector<MenuEntry> entriesOf(const std::string &array);
// The menu entry (not the toolbar button) that carries a command.
std::optional<MenuEntry> menuEntryFor(CommandId command);
std::optional<ToolbarButton> toolbarButton(ToolbarId toolbar, int index);

// The two entries of the 目录选择 drop-down.
inline constexpr const char *paneDetailCaption = "明细表(M)";
inline constexpr const char *paneProjectCaption = "项目目录";
inline constexpr const char *paneSummaryCaption = "汇总表(T)";

} // namespace vantor
