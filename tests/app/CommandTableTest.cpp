// The menu and toolbar table, checked by its invariants: one entry per command,
// submenus that exist, shortcuts that never repeat, toolbar keys that are unique.
#include "app/CommandTable.h"

#include <QKeySequence>
#include <gtest/gtest.h>

#include <set>

namespace vantor {
namespace {

TEST(MenuTable, OneEntryPerCommandSubmenusExistAndShortcutsNeverRepeat)
{
    std::set<CommandId> commands;
    std::set<std::string> arrays, shortcuts;
    for (const MenuEntry &e : menuEntries())
        arrays.insert(e.array);
    for (const MenuEntry &e : menuEntries()) {
        if (e.isSeparator())
            continue;
        EXPECT_NE(e.command, CommandId::Count_) << e.caption;
        EXPECT_TRUE(commands.insert(e.command).second) << e.caption;
        if (!e.submenu.empty()) {
            EXPECT_TRUE(arrays.count(e.submenu)) << e.submenu;
        }
        if (!e.shortcut.empty()) {
            EXPECT_TRUE(shortcuts.insert(e.shortcut).second) << e.shortcut;
            EXPECT_FALSE(QKeySequence(QString::fromStdString(e.shortcut), QKeySequence::PortableText).isEmpty());
        }
    }
    for (const TopMenu &t : topMenus())
        EXPECT_FALSE(entriesOf(t.array).empty()) << t.name;
    // The clipboard and undo keys belong to the window (the sheet leaves them to it).
    for (const char *key : {"Ctrl+Z", "Ctrl+Y", "Ctrl+X", "Ctrl+C", "Ctrl+V", "Ctrl+A", "Ctrl+S"})
        EXPECT_TRUE(shortcuts.count(key)) << key;
}

TEST(ToolbarTable, KeysAreUniquePerToolbar)
{
    std::set<std::pair<int, std::string>> keys;
    for (const ToolbarButton &b : toolbarButtons())
        if (!b.isSeparator() && !b.coveredByCombos) {
            EXPECT_TRUE(keys.insert({static_cast<int>(b.toolbar), b.key}).second) << b.key;
        }
}

} // namespace
} // namespace vantor
