#pragma once

// Every command of the main window has one id. Menu entries and toolbar buttons
// that do the same thing share the id; the dispatcher maps ids to handlers and the
// enabling rules are expressed in ids, so widgets never decide anything themselves.

namespace vantor {

enum class CommandId {
    // 文件
    FileNew,
    FileOpen,
    FileClose,
    FileSave,
    FileExportExcel,
    FilePageSetup,
    FilePrintPreview,
    FileReportPdf, // the whole report as one PDF
    FileExit,
    // 编辑
    EditUndo,
    EditRedo,
    EditCut,
    EditCopy,
    EditPaste,
    EditFill, // submenu m_Fill
    FillDown,
    FillUp,
    FillRight,
    FillLeft,
    FillRepeat,
    FillArithmetic, // never offered
    FillSequence,
    EditClear,
    EditDelete, // submenu m_delete
    DeleteRows,
    DeleteCols,
    DeleteSheet, // caption rewritten when the menu opens
    EditSelectAll,
    EditFind,
    // 视图
    ViewToolbar,
    ViewStatusBar,
    ViewFreezeRows, // 不滚动行
    // 设置
    SettingProjectProperties,
    SettingSignatories,
    SettingSheetTitles,
    SettingLegalRepresentative,
    SettingInstitution, // the appraisal institution printed on every form
    // 插入
    InsertRows,
    InsertCol,
    InsertSheet,
    InsertFolderNode,
    InsertProjectData,
    // 格式
    FormatCell,
    FormatRow, // submenu m_row
    RowHeight,
    RowBestHeight,
    FormatCol, // submenu m_col
    ColWidth,
    ColBestWidth,
    FormatRowCount,
    // 工具
    ToolDecimalCheck,
    ToolSignConversion,
    ToolPriceDifference,
    ToolCalculators,
    ToolPassword,
    ToolOptions, // never offered
    // 数据
    DataTotals,
    DataImport,
    DataOverview,
    // 帮助
    HelpContents,
    HelpAbout,
    // Command toolbar only
    PaneSwitch,  // drop-down button 目录选择
    PaneDetail,  // its entry "明细表(M)" / "项目目录"
    PaneSummary, // its entry "汇总表(T)"
    SortAscending,
    SortDescending,
    // Format toolbar
    FormatBold,
    FormatItalic,
    FormatUnderline,
    AlignLeft,
    AlignCenter,
    AlignRight,
    MergeCells,
    UnmergeCells,
    FontName, // cmbFont chosen
    FontSize, // cmbSize chosen

    Count_
};

constexpr int commandCount = static_cast<int>(CommandId::Count_);

} // namespace vantor
