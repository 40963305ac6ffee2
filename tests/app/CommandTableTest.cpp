// The menu and toolbar table: captions, accelerators, shortcuts, indexes and keys.
#include "app/CommandTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace vantor {
namespace {

struct Expected {
    const char *array;
    int index;
    const char *caption;
    const char *shortcut;
};

const Expected kEntries[] = {
    {"m_File", 0, "新建(&N)...", "Ctrl+N"},   {"m_File", 1, "打开(&O)...", "Ctrl+O"},
    {"m_File", 2, "关闭(&C)", ""},            {"m_File", 4, "保存(&S)...", "Ctrl+S"},
    {"m_File", 5, "存为Excel文件", ""},        {"m_File", 7, "页面设置...", ""},
    {"m_File", 8, "打印预览", "Ctrl+P"},       {"m_File", 10, "退出系统", ""},
    {"m_Edit", 0, "撤消(&U)", ""},            {"m_Edit", 1, "重复(&R)", ""},
    {"m_Edit", 3, "剪切(&T)", "Ctrl+X"},      {"m_Edit", 4, "复制(&C)", "Ctrl+C"},
    {"m_Edit", 5, "粘贴(&P)", "Ctrl+V"},      {"m_Edit", 7, "填充单元格", ""},
    {"m_Edit", 8, "清除内容", ""},            {"m_Edit", 9, "删除(&D)", ""},
    {"m_Edit", 10, "全选(&A)", ""},           {"m_Edit", 11, "查找(&F)...", "Ctrl+F"},
    {"m_Fill", 0, "向下填充", ""},            {"m_Fill", 1, "向上填充", ""},
    {"m_Fill", 2, "向右填充", ""},            {"m_Fill", 3, "向左填充", ""},
    {"m_Fill", 5, "重复填充", ""},            {"m_Fill", 6, "等差填充", ""},
    {"m_Fill", 7, "序列填充", ""},            {"m_delete", 0, "删除行(&R)", ""},
    {"m_delete", 1, "删除列(&C)", ""},        {"m_delete", 2, "删除明细表", ""},
    {"m_View", 0, "工具栏(&T)", ""},          {"m_View", 1, "状态栏(&B)", ""},
    {"m_View", 3, "不滚动行", ""},            {"m_setting", 0, "项目属性(&P)...", ""},
    {"m_setting", 1, "签章人员(&M)...", ""},  {"m_setting", 2, "表格标题(&T)...", ""},
    {"m_setting", 4, "法人代表...", ""},      {"m_insert", 0, "行(&R)", ""},
    {"m_insert", 1, "列(&C)", ""},            {"m_insert", 2, "明细表...", ""},
    {"m_insert", 4, "汇总结点...", ""},       {"m_insert", 5, "项目数据...", ""},
    {"m_format", 0, "单元格(E)...", ""},      {"m_format", 1, "行(&R)", ""},
    {"m_format", 2, "列(&C)", ""},            {"m_format", 3, "设置行数...", ""},
    {"m_row", 0, "行高(&H)...", ""},          {"m_row", 1, "最适合行高", ""},
    {"m_col", 0, "列宽(&W)...", ""},          {"m_col", 1, "最适合列宽", ""},
    {"m_tool", 0, "检测小数溢出", ""},        {"m_tool", 1, "正负符号转换", ""},
    {"m_tool", 2, "存货材料调差...", ""},     {"m_tool", 4, "常用计算公式...", ""},
    {"m_tool", 6, "设置打开密码...", ""},     {"m_tool", 7, "选项(&O)...", ""},
    {"m_data", 0, "计算合计行", ""},          {"m_data", 1, "获取外部数据", ""},
    {"m_data", 3, "科目类别统计...", ""},     {"m_help", 0, "目录(&C)...", ""},
    {"m_help", 2, "关于(&A)...", ""},
};

TEST(MenuTable, EveryEntryHasItsCaptionAndShortcut)
{
    for (const Expected &x : kEntries) {
        SCOPED_TRACE(std::string(x.array) + " " + std::to_string(x.index));
        const auto entries = entriesOf(x.array);
        auto it = std::find_if(entries.begin(), entries.end(), [&](const MenuEntry &e) { return e.index == x.index; });
        ASSERT_NE(it, entries.end());
        EXPECT_EQ(it->caption, x.caption);
        EXPECT_EQ(it->shortcut, x.shortcut);
        EXPECT_FALSE(it->isSeparator());
    }
}

TEST(MenuTable, MissingIndexesAreSeparatorsAndNothingElseIsThere)
{
    std::map<std::string, std::set<int>> named;
    for (const Expected &x : kEntries)
        named[x.array].insert(x.index);
    for (const MenuEntry &e : menuEntries()) {
        SCOPED_TRACE(e.array + " " + std::to_string(e.index) + " " + e.caption);
        ASSERT_TRUE(named.count(e.array));
        EXPECT_EQ(named[e.array].count(e.index) == 1, !e.isSeparator());
    }
    // Indexes run without gaps from 0 in every array.
    for (const auto &[array, indexes] : named) {
        const auto entries = entriesOf(array);
        for (size_t i = 0; i < entries.size(); ++i)
            EXPECT_EQ(entries[i].index, static_cast<int>(i)) << array;
    }
}

TEST(MenuTable, OnlyTheEightShortcutsExistAndNoneRepeats)
{
    std::set<std::string> seen;
    for (const MenuEntry &e : menuEntries())
        if (!e.shortcut.empty()) {
            EXPECT_TRUE(seen.insert(e.shortcut).second) << e.shortcut;
        }
    EXPECT_EQ(seen, (std::set<std::string>{"Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+P", "Ctrl+X", "Ctrl+C", "Ctrl+V",
                                           "Ctrl+F"}));
}

TEST(MenuTable, EachCommandHasOneMenuEntryAndSubmenusExist)
{
    std::set<CommandId> commands;
    std::set<std::string> arrays;
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
    }
    for (const TopMenu &t : topMenus())
        EXPECT_FALSE(entriesOf(t.array).empty()) << t.name;
    EXPECT_EQ(topMenus().size(), 9u);
}

TEST(MenuTable, OptionsAndArithmeticFillAreNotOffered)
{
    for (const MenuEntry &e : menuEntries()) {
        const bool expectedOff = e.command == CommandId::ToolOptions || e.command == CommandId::FillArithmetic;
        if (!e.isSeparator()) {
            EXPECT_EQ(e.offered, !expectedOff) << e.caption;
        }
    }
}

TEST(MenuTable, ViewEntriesCarryCheckMarks)
{
    EXPECT_TRUE(menuEntryFor(CommandId::ViewToolbar)->checkable);
    EXPECT_TRUE(menuEntryFor(CommandId::ViewStatusBar)->checkable);
    EXPECT_TRUE(menuEntryFor(CommandId::ViewFreezeRows)->checkable);
    EXPECT_FALSE(menuEntryFor(CommandId::FileNew)->checkable);
}

TEST(ToolbarTable, CommandToolbarHas23ButtonsWithKeysAsTooltips)
{
    const std::map<int, std::pair<const char *, CommandId>> expected = {
        {2, {"目录选择", CommandId::PaneSwitch}},   {4, {"新建", CommandId::FileNew}},
        {5, {"打开", CommandId::FileOpen}},         {6, {"保存", CommandId::FileSave}},
        {8, {"打印", CommandId::FilePrintPreview}}, {10, {"撤消", CommandId::EditUndo}},
        {11, {"重复", CommandId::EditRedo}},        {13, {"剪切", CommandId::EditCut}},
        {14, {"复制", CommandId::EditCopy}},        {15, {"粘贴", CommandId::EditPaste}},
        {17, {"查找", CommandId::EditFind}},        {19, {"求和", CommandId::DataTotals}},
        {20, {"升序排列", CommandId::SortAscending}}, {21, {"降序排列", CommandId::SortDescending}},
        {23, {"帮助", CommandId::HelpContents}},
    };
    for (int index = 1; index <= 23; ++index) {
        SCOPED_TRACE(index);
        const auto b = toolbarButton(ToolbarId::Command, index);
        ASSERT_TRUE(b.has_value());
        auto it = expected.find(index);
        if (it == expected.end()) {
            EXPECT_TRUE(b->isSeparator());
        } else {
            EXPECT_EQ(b->key, it->second.first);
            EXPECT_EQ(b->command, it->second.second);
            EXPECT_NE(b->icon, IconKind::None);
        }
    }
    EXPECT_FALSE(toolbarButton(ToolbarId::Command, 24).has_value());
}

TEST(ToolbarTable, FormatToolbarButtons)
{
    const std::map<int, std::pair<const char *, CommandId>> expected = {
        {4, {"粗体", CommandId::FormatBold}},       {5, {"斜体", CommandId::FormatItalic}},
        {6, {"下划线", CommandId::FormatUnderline}}, {8, {"左对齐", CommandId::AlignLeft}},
        {9, {"居中", CommandId::AlignCenter}},      {10, {"右对齐", CommandId::AlignRight}},
        {12, {"合并单元", CommandId::MergeCells}},   {13, {"取消合并单元", CommandId::UnmergeCells}},
    };
    for (int index = 1; index <= 13; ++index) {
        SCOPED_TRACE(index);
        const auto b = toolbarButton(ToolbarId::Format, index);
        ASSERT_TRUE(b.has_value());
        auto it = expected.find(index);
        if (index <= 3) {
            EXPECT_TRUE(b->coveredByCombos);
        } else if (it == expected.end()) {
            EXPECT_TRUE(b->isSeparator());
        } else {
            EXPECT_EQ(b->key, it->second.first);
            EXPECT_EQ(b->command, it->second.second);
        }
    }
    // The style toggles keep their state: the toolbar, not the cell, decides the style.
    EXPECT_TRUE(toolbarButton(ToolbarId::Format, 4)->checkable);
    EXPECT_FALSE(toolbarButton(ToolbarId::Format, 12)->checkable);
}

} // namespace
} // namespace vantor
