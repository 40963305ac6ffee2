#include "app/CommandTable.h"

#include <algorithm>

namespace vantor {

namespace {

using C = CommandId;
using I = IconKind;

MenuEntry sep(const char *array, int index)
{
    MenuEntry e;
    e.array = array;
    e.index = index;
    e.caption = "-";
    return e;
}

MenuEntry item(const char *array, int index, const char *caption, C command, I icon = I::None,
               const char *shortcut = "")
{
    MenuEntry e;
    e.array = array;
    e.index = index;
    e.caption = caption;
    e.command = command;
    e.icon = icon;
    e.shortcut = shortcut;
    return e;
}

MenuEntry sub(const char *array, int index, const char *caption, C command, const char *submenu)
{
    MenuEntry e = item(array, index, caption, command);
    e.submenu = submenu;
    return e;
}

MenuEntry notOffered(MenuEntry e)
{
    e.offered = false;
    return e;
}

MenuEntry checkable(MenuEntry e)
{
    e.checkable = true;
    return e;
}

std::vector<MenuEntry> buildMenuEntries()
{
    return {
        item("m_File", 0, "新建(&N)...", C::FileNew, I::New, "Ctrl+N"),
        item("m_File", 1, "打开(&O)...", C::FileOpen, I::Open, "Ctrl+O"),
        item("m_File", 2, "关闭(&C)", C::FileClose, I::Close),
        sep("m_File", 3),
        item("m_File", 4, "保存(&S)...", C::FileSave, I::Save, "Ctrl+S"),
        item("m_File", 5, "存为Excel文件", C::FileExportExcel, I::Excel),
        sep("m_File", 6),
        item("m_File", 7, "页面设置...", C::FilePageSetup, I::PageSetup),
        item("m_File", 8, "打印预览", C::FilePrintPreview, I::Print, "Ctrl+P"),
        item("m_File", 9, "整套报表存为PDF...", C::FileReportPdf, I::Print),
        sep("m_File", 10),
        item("m_File", 11, "退出系统", C::FileExit, I::Exit),

        item("m_Edit", 0, "撤消(&U)", C::EditUndo, I::Undo, "Ctrl+Z"),
        item("m_Edit", 1, "重复(&R)", C::EditRedo, I::Redo, "Ctrl+Y"),
        sep("m_Edit", 2),
        item("m_Edit", 3, "剪切(&T)", C::EditCut, I::Cut, "Ctrl+X"),
        item("m_Edit", 4, "复制(&C)", C::EditCopy, I::Copy, "Ctrl+C"),
        item("m_Edit", 5, "粘贴(&P)", C::EditPaste, I::Paste, "Ctrl+V"),
        sep("m_Edit", 6),
        sub("m_Edit", 7, "填充单元格", C::EditFill, "m_Fill"),
        item("m_Edit", 8, "清除内容", C::EditClear, I::Clear),
        sub("m_Edit", 9, "删除(&D)", C::EditDelete, "m_delete"),
        item("m_Edit", 10, "全选(&A)", C::EditSelectAll, I::SelectAll, "Ctrl+A"),
        item("m_Edit", 11, "查找(&F)...", C::EditFind, I::Find, "Ctrl+F"),

        item("m_Fill", 0, "向下填充", C::FillDown),
        item("m_Fill", 1, "向上填充", C::FillUp),
        item("m_Fill", 2, "向右填充", C::FillRight),
        item("m_Fill", 3, "向左填充", C::FillLeft),
        sep("m_Fill", 4),
        item("m_Fill", 5, "重复填充", C::FillRepeat),
        notOffered(item("m_Fill", 6, "等差填充", C::FillArithmetic)),
        item("m_Fill", 7, "序列填充", C::FillSequence),

        item("m_delete", 0, "删除行(&R)", C::DeleteRows),
        item("m_delete", 1, "删除列(&C)", C::DeleteCols),
        item("m_delete", 2, "删除明细表", C::DeleteSheet, I::Delete),

        checkable(item("m_View", 0, "工具栏(&T)", C::ViewToolbar)),
        checkable(item("m_View", 1, "状态栏(&B)", C::ViewStatusBar)),
        sep("m_View", 2),
        checkable(item("m_View", 3, "不滚动行", C::ViewFreezeRows, I::Freeze)),

        item("m_setting", 0, "项目属性(&P)...", C::SettingProjectProperties, I::Properties),
        item("m_setting", 1, "签章人员(&M)...", C::SettingSignatories),
        item("m_setting", 2, "表格标题(&T)...", C::SettingSheetTitles),
        sep("m_setting", 3),
        item("m_setting", 4, "法人代表...", C::SettingLegalRepresentative),
        item("m_setting", 5, "评估机构...", C::SettingInstitution),

        item("m_insert", 0, "行(&R)", C::InsertRows, I::InsertRows),
        item("m_insert", 1, "列(&C)", C::InsertCol, I::InsertCol),
        item("m_insert", 2, "明细表...", C::InsertSheet),
        sep("m_insert", 3),
        item("m_insert", 4, "汇总结点...", C::InsertFolderNode),
        item("m_insert", 5, "项目数据...", C::InsertProjectData, I::Import),

        item("m_format", 0, "单元格(E)...", C::FormatCell),
        sub("m_format", 1, "行(&R)", C::FormatRow, "m_row"),
        sub("m_format", 2, "列(&C)", C::FormatCol, "m_col"),
        item("m_format", 3, "设置行数...", C::FormatRowCount),

        item("m_row", 0, "行高(&H)...", C::RowHeight),
        item("m_row", 1, "最适合行高", C::RowBestHeight),

        item("m_col", 0, "列宽(&W)...", C::ColWidth),
        item("m_col", 1, "最适合列宽", C::ColBestWidth),

        item("m_tool", 0, "检测小数溢出", C::ToolDecimalCheck),
        item("m_tool", 1, "正负符号转换", C::ToolSignConversion),
        item("m_tool", 2, "存货材料调差...", C::ToolPriceDifference),
        sep("m_tool", 3),
        item("m_tool", 4, "常用计算公式...", C::ToolCalculators, I::Calculator),
        sep("m_tool", 5),
        item("m_tool", 6, "设置打开密码...", C::ToolPassword, I::Password),
        notOffered(item("m_tool", 7, "选项(&O)...", C::ToolOptions)),

        item("m_data", 0, "计算合计行", C::DataTotals, I::Sum),
        item("m_data", 1, "获取外部数据", C::DataImport, I::Import),
        sep("m_data", 2),
        item("m_data", 3, "科目类别统计...", C::DataOverview, I::Overview),
        item("m_data", 4, "数据检查...", C::DataCheck),
        item("m_data", 5, "更新项目数据...", C::DataRefreshNode),

        item("m_help", 0, "目录(&C)...", C::HelpContents, I::Help),
        sep("m_help", 1),
        item("m_help", 2, "关于(&A)...", C::HelpAbout, I::About),
    };
}

ToolbarButton tb(int index, const char *key, C command, I icon)
{
    ToolbarButton b;
    b.toolbar = ToolbarId::Command;
    b.index = index;
    b.key = key;
    b.command = command;
    b.icon = icon;
    return b;
}

ToolbarButton tbSep(ToolbarId toolbar, int index)
{
    ToolbarButton b;
    b.toolbar = toolbar;
    b.index = index;
    return b;
}

ToolbarButton fb(int index, const char *key, C command, I icon, bool checkable)
{
    ToolbarButton b = tb(index, key, command, icon);
    b.toolbar = ToolbarId::Format;
    b.checkable = checkable;
    return b;
}

ToolbarButton fbCovered(int index)
{
    ToolbarButton b = tbSep(ToolbarId::Format, index);
    b.coveredByCombos = true;
    return b;
}

std::vector<ToolbarButton> buildToolbarButtons()
{
    const ToolbarId cmd = ToolbarId::Command;
    const ToolbarId fmt = ToolbarId::Format;
    return {
        tbSep(cmd, 1),
        tb(2, "目录选择", C::PaneSwitch, I::PaneSwitch),
        tbSep(cmd, 3),
        tb(4, "新建", C::FileNew, I::New),
        tb(5, "打开", C::FileOpen, I::Open),
        tb(6, "保存", C::FileSave, I::Save),
        tbSep(cmd, 7),
        tb(8, "打印", C::FilePrintPreview, I::Print),
        tbSep(cmd, 9),
        tb(10, "撤消", C::EditUndo, I::Undo),
        tb(11, "重复", C::EditRedo, I::Redo),
        tbSep(cmd, 12),
        tb(13, "剪切", C::EditCut, I::Cut),
        tb(14, "复制", C::EditCopy, I::Copy),
        tb(15, "粘贴", C::EditPaste, I::Paste),
        tbSep(cmd, 16),
        tb(17, "查找", C::EditFind, I::Find),
        tbSep(cmd, 18),
        tb(19, "求和", C::DataTotals, I::Sum),
        tb(20, "升序排列", C::SortAscending, I::SortAscending),
        tb(21, "降序排列", C::SortDescending, I::SortDescending),
        tbSep(cmd, 22),
        tb(23, "帮助", C::HelpContents, I::Help),

        fbCovered(1),
        fbCovered(2),
        fbCovered(3),
        fb(4, "粗体", C::FormatBold, I::Bold, true),
        fb(5, "斜体", C::FormatItalic, I::Italic, true),
        fb(6, "下划线", C::FormatUnderline, I::Underline, true),
        tbSep(fmt, 7),
        fb(8, "左对齐", C::AlignLeft, I::AlignLeft, true),
        fb(9, "居中", C::AlignCenter, I::AlignCenter, true),
        fb(10, "右对齐", C::AlignRight, I::AlignRight, true),
        tbSep(fmt, 11),
        fb(12, "合并单元", C::MergeCells, I::Merge, false),
        fb(13, "取消合并单元", C::UnmergeCells, I::Unmerge, false),
    };
}

} // namespace

const std::vector<TopMenu> &topMenus()
{
    static const std::vector<TopMenu> menus = {
        {"mnuFile", "文件(&F)", "m_File"},     {"mnuEdit", "编辑(&E)", "m_Edit"},
        {"mnuView", "视图(&V)", "m_View"},     {"mnuSetting", "设置(&S)", "m_setting"},
        {"mnuInsert", "插入(&I)", "m_insert"}, {"mnuFormat", "格式(&O)", "m_format"},
        {"mnuTool", "工具(&T)", "m_tool"},     {"mnuData", "数据(&D)", "m_data"},
        {"mnuHelp", "帮助(&H)", "m_help"},
    };
    return menus;
}

const std::vector<MenuEntry> &menuEntries()
{
    static const std::vector<MenuEntry> entries = buildMenuEntries();
    return entries;
}

const std::vector<ToolbarButton> &toolbarButtons()
{
    static const std::vector<ToolbarButton> buttons = buildToolbarButtons();
    return buttons;
}

std::vector<MenuEntry> entriesOf(const std::string &array)
{
    std::vector<MenuEntry> out;
    for (const MenuEntry &e : menuEntries())
        if (e.array == array)
            out.push_back(e);
    std::sort(out.begin(), out.end(), [](const MenuEntry &a, const MenuEntry &b) { return a.index < b.index; });
    return out;
}

std::optional<MenuEntry> menuEntryFor(CommandId command)
{
    for (const MenuEntry &e : menuEntries())
        if (!e.isSeparator() && e.command == command)
            return e;
    return std::nullopt;
}

std::optional<ToolbarButton> toolbarButton(ToolbarId toolbar, int index)
{
    for (const ToolbarButton &b : toolbarButtons())
        if (b.toolbar == toolbar && b.index == index)
            return b;
    return std::nullopt;
}

} // namespace vantor
