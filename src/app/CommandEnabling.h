#pragma once

// Which commands of the main window are enabled, as one pure function of the
// program state and of what the left pane shows. Menus call it each time a top menu
// opens (the clipboard may have changed since) and the window calls it after every
// change of state, so toolbar buttons and shortcuts follow the same rules.

#include "app/CommandId.h"
#include "app/ProgramState.h"

#include <bitset>
#include <optional>
#include <string>

namespace vantor {

struct EnablingInput {
    bool projectOpen = false;
    ProjectKind projectKind = ProjectKind::None;
    bool detailView = true; // the project tree is shown, the summary-sheet list hidden
    short currentSheet = -1;
    short currentNode = 0;
    std::string selectedTreeText; // text of the selected project-tree entry
    bool clipboardHasText = false;
    bool selectedDataNode = false; // the selected project-tree entry is a data node

    static EnablingInput from(const ProgramState &state, bool detailView, std::string selectedTreeText,
                              bool clipboardHasText, bool selectedDataNode = false);
};

struct CommandStates {
    std::bitset<commandCount> menu;    // enabled menu entries
    std::bitset<commandCount> toolbar; // enabled buttons of both toolbars
    // New caption of 删除 > entry 2; nothing when the caption stays as it is.
    std::optional<std::string> deleteSheetCaption;
    // First entry of the 目录选择 drop-down.
    std::string paneFirstCaption;

    bool menuEnabled(CommandId id) const { return menu.test(static_cast<size_t>(id)); }
    bool toolbarEnabled(CommandId id) const { return toolbar.test(static_cast<size_t>(id)); }
};

CommandStates enabledCommands(const EnablingInput &in);

} // namespace vantor
