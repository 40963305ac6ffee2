#include "sheets/SummaryLayout.h"

#include "sheet_component/engine/CellFormat.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/SheetCatalogue.h"

#include <array>
#include <string>
#include <vector>

namespace vantor {

namespace {

using K = SummaryColumnKind;

// Widths in pixels at 96 dpi. 宋体 9 pt is 12 px per Chinese character; an amount column holds
// "99,999,999,999.99".
constexpr int LineWidth = 40;
constexpr int AmountWidth = 110;
constexpr int NarrowAmountWidth = 96; // 表5 has ten value columns
constexpr int RateWidth = 72;

// Captions are indented with ideographic spaces (U+3000), as the printed forms are.

// ---- 表1 资产评估结果汇总表 (b0): two heading rows, the second with the column letters. ----

constexpr std::array<SummaryColumn, 7> kB0Columns{{
    {K::Caption, 144},
    {K::LineNumber, LineWidth},
    {K::Amount, AmountWidth},
    {K::Amount, AmountWidth},
    {K::Amount, AmountWidth},
    {K::Amount, AmountWidth},
    {K::Rate, 96},
}};

constexpr std::array<SummaryHeading, 12> kB0Headings{{
    {0, 0, "项目"},
    {1, 0, "行次"},
    {2, 0, "帐面价值"},
    {3, 0, "调整后帐面值"},
    {4, 0, "评估价值"},
    {5, 0, "增减值"},
    {6, 0, "增值率%"},
    {2, 1, "A"},
    {3, 1, "B"},
    {4, 1, "C"},
    {5, 1, "D=C-B"},
    {6, 1, "E=D/B×100%"},
}};

constexpr std::array<SummaryMerge, 2> kB0Merges{{{0, 0, 0, 1}, {1, 0, 1, 1}}};

constexpr std::array<SummaryRow, 14> kB0Rows{{
    {2, "流动资产", 1},
    {3, "长期投资", 2},
    {4, "固定资产", 3},
    {5, "其中：在建工程", 4},
    {6, "　　　建筑物", 5},
    {7, "　　　设备", 6},
    {8, "无形资产", 7},
    {9, "其中：土地使用权", 8},
    {10, "其他资产", 9},
    {11, "资产总计", 10, true},
    {12, "流动负债", 11},
    {13, "长期负债", 12},
    {14, "负债总计", 13, true},
    {15, "净资产", 14, true},
}};

// ---- 表2-1 and 表2-2 资产评估结果分类汇总表 (b1, b2): one heading row, eight columns. ----

constexpr std::array<SummaryColumn, 8> kClassColumns{{
    {K::Caption, 192},
    {K::LineNumber, LineWidth},
    {K::Amount, AmountWidth},
    {K::Amount, AmountWidth},
    {K::Amount, AmountWidth},
    {K::Amount, AmountWidth},
    {K::Amount, AmountWidth},
    {K::Rate, RateWidth},
}};

constexpr std::array<SummaryHeading, 8> kClassHeadings{{
    {0, 0, "项目"},
    {1, 0, "行次"},
    {2, 0, "帐面价值"},
    {3, 0, "调整值"},
    {4, 0, "调整后帐面值"},
    {5, 0, "评估价值"},
    {6, 0, "增减值"},
    {7, 0, "增值率%"},
}};

// 表2-1: the asset side. Rows 22/23 and 26/27 break the 原值 and 净值 of 固定资产 down into
// machinery and buildings; 其他设备 counts in the totals without a row of its own.
constexpr std::array<SummaryRow, 39> kB1Rows{{
    {1, "流动资产", 1, true},
    {2, "　货币资金", 2},
    {3, "　短期投资", 3},
    {4, "　应收票据", 4},
    {5, "　应收账款", 5},
    {6, "　减：坏账准备", 6},
    {7, "　应收账款净额", 7},
    {8, "　应收股利（应收利润）", 8},
    {9, "　应收利息", 9},
    {10, "　预付账款", 10},
    {11, "　应收补贴款", 11},
    {12, "　其他应收款", 12},
    {13, "　存货", 13},
    {14, "　待摊费用", 14},
    {15, "　待处理流动资产净损失", 15},
    {16, "　一年内到期的长期债券投资", 16},
    {17, "　其他流动资产", 17},
    {18, "长期投资", 18, true},
    {19, "固定资产", 19, true},
    {20, "　固定资产原值", 20},
    {21, "　其中：机器设备", 21},
    {22, "　　　　建筑物", 22},
    {23, "　减：累计折旧", 23},
    {24, "　固定资产净值", 24},
    {25, "　其中：机器设备", 25},
    {26, "　　　　建筑物", 26},
    {27, "　工程物资", 27},
    {28, "　在建工程", 28},
    {29, "　固定资产清理", 29},
    {30, "　待处理固定资产净损失", 30},
    {31, "无形资产", 31, true},
    {32, "　土地使用权", 32},
    {33, "　其他无形资产", 33},
    {34, "递延资产", 34, true},
    {35, "　开办费", 35},
    {36, "　长期待摊费用", 36},
    {37, "其他长期资产", 37, true},
    {38, "递延税款借项", 38, true},
    {39, "资产总计", 39, true},
}};

// 表2-2: the liability side, printed as the second page of 表2, so its line numbers go on
// from those of 表2-1.
constexpr std::array<SummaryRow, 24> kB2Rows{{
    {1, "流动负债", 40, true},
    {2, "　短期借款", 41},
    {3, "　应付票据", 42},
    {4, "　应付账款", 43},
    {5, "　预收账款", 44},
    {6, "　代销商品款", 45},
    {7, "　其他应付款", 46},
    {8, "　应付工资", 47},
    {9, "　应付福利费", 48},
    {10, "　应交税金", 49},
    {11, "　应付利润（应付股利）", 50},
    {12, "　其他应交款", 51},
    {13, "　预提费用", 52},
    {14, "　一年内到期的长期负债", 53},
    {15, "　其他流动负债", 54},
    {17, "长期负债", 55, true},
    {18, "　长期借款", 56},
    {19, "　应付债券", 57},
    {20, "　长期应付款", 58},
    {21, "　住房周转金", 59},
    {22, "　其他长期负债", 60},
    {23, "　递延税款贷项", 61},
    {25, "负债总计", 62, true},
    {27, "净资产", 63, true},
}};

// ---- The 清查评估汇总表 of one asset or liability group: one heading row, seven columns. ----

constexpr std::array<SummaryColumn, 7> kGroupColumns{{
    {K::Caption, 192},
    {K::LineNumber, LineWidth},
    {K::Amount, AmountWidth},
    {K::Amount, AmountWidth},
    {K::Amount, AmountWidth},
    {K::Amount, AmountWidth},
    {K::Rate, RateWidth},
}};

constexpr std::array<SummaryHeading, 7> kGroupHeadings{{
    {0, 0, "科目名称"},
    {1, 0, "行次"},
    {2, 0, "帐面价值"},
    {3, 0, "调整后帐面值"},
    {4, 0, "评估价值"},
    {5, 0, "增减值"},
    {6, 0, "增值率%"},
}};

// 表3 流动资产 (b3) mirrors rows 3 … 18 of 表2-1 and its 流动资产 total.
constexpr std::array<SummaryRow, 17> kB3Rows{{
    {1, "货币资金", 1},
    {2, "短期投资", 2},
    {3, "应收票据", 3},
    {4, "应收账款", 4},
    {5, "减：坏账准备", 5},
    {6, "应收账款净额", 6},
    {7, "应收股利（应收利润）", 7},
    {8, "应收利息", 8},
    {9, "预付账款", 9},
    {10, "应收补贴款", 10},
    {11, "其他应收款", 11},
    {12, "存货", 12},
    {13, "待摊费用", 13},
    {14, "待处理流动资产净损失", 14},
    {15, "一年内到期的长期债券投资", 15},
    {16, "其他流动资产", 16},
    {18, "流动资产合计", 17, true},
}};

// 表3-2 短期投资 (b4).
constexpr std::array<SummaryRow, 5> kB4Rows{{
    {1, "股票投资", 1},
    {2, "债券投资", 2},
    {13, "短期投资合计", 3, true},
    {14, "减：短期投资跌价准备", 4},
    {15, "短期投资净额", 5, true},
}};

// 表3-10 存货 (b5).
constexpr std::array<SummaryRow, 14> kB5Rows{{
    {1, "原材料", 1},
    {2, "材料采购（在途物资）", 2},
    {3, "在库低值易耗品", 3},
    {4, "包装物", 4},
    {5, "委托加工材料", 5},
    {6, "产成品（库存商品）", 6},
    {7, "在产品（自制半成品）", 7},
    {8, "分期收款发出商品", 8},
    {9, "在用低值易耗品", 9},
    {10, "委托代销商品", 10},
    {11, "受托代销商品", 11},
    {16, "存货合计", 12, true},
    {17, "减：存货跌价准备", 13},
    {18, "存货净额", 14, true},
}};

// 表4 长期投资 (b6).
constexpr std::array<SummaryRow, 6> kB6Rows{{
    {1, "股票投资", 1},
    {2, "债券投资", 2},
    {3, "其他投资", 3},
    {13, "长期投资合计", 4, true},
    {14, "减：长期投资减值准备", 5},
    {15, "长期投资净额", 6, true},
}};

// 表9 流动负债 (b8).
constexpr std::array<SummaryRow, 15> kB8Rows{{
    {1, "短期借款", 1},
    {2, "应付票据", 2},
    {3, "应付账款", 3},
    {4, "预收账款", 4},
    {5, "代销商品款", 5},
    {6, "其他应付款", 6},
    {7, "应付工资", 7},
    {8, "应付福利费", 8},
    {9, "应交税金", 9},
    {10, "应付利润（应付股利）", 10},
    {11, "其他应交款", 11},
    {12, "预提费用", 12},
    {13, "一年内到期的长期负债", 13},
    {14, "其他流动负债", 14},
    {18, "流动负债合计", 15, true},
}};

// 表10 长期负债 (b9).
constexpr std::array<SummaryRow, 7> kB9Rows{{
    {1, "长期借款", 1},
    {2, "应付债券", 2},
    {3, "长期应付款", 3},
    {4, "住房周转金", 4},
    {5, "其他长期负债", 5},
    {6, "递延税款贷项", 6},
    {18, "长期负债合计", 7, true},
}};

// ---- 表5 固定资产 (b7): two heading rows, 原值 and 净值 under each value heading. ----

constexpr std::array<SummaryColumn, 12> kB7Columns{{
    {K::Caption, 168},
    {K::LineNumber, LineWidth},
    {K::Amount, NarrowAmountWidth},
    {K::Amount, NarrowAmountWidth},
    {K::Amount, NarrowAmountWidth},
    {K::Amount, NarrowAmountWidth},
    {K::Amount, NarrowAmountWidth},
    {K::Amount, NarrowAmountWidth},
    {K::Amount, NarrowAmountWidth},
    {K::Amount, NarrowAmountWidth},
    {K::Rate, 60},
    {K::Rate, 60},
}};

constexpr std::array<SummaryHeading, 17> kB7Headings{{
    {0, 0, "科目名称"},
    {1, 0, "行次"},
    {2, 0, "帐面价值"},
    {4, 0, "调整后帐面值"},
    {6, 0, "评估价值"},
    {8, 0, "增减值"},
    {10, 0, "增值率%"},
    {2, 1, "原值"},
    {3, 1, "净值"},
    {4, 1, "原值"},
    {5, 1, "净值"},
    {6, 1, "原值"},
    {7, 1, "净值"},
    {8, 1, "原值"},
    {9, 1, "净值"},
    {10, 1, "原值"},
    {11, 1, "净值"},
}};

constexpr std::array<SummaryMerge, 7> kB7Merges{{
    {0, 0, 0, 1},
    {1, 0, 1, 1},
    {2, 0, 3, 0},
    {4, 0, 5, 0},
    {6, 0, 7, 0},
    {8, 0, 9, 0},
    {10, 0, 11, 0},
}};

constexpr std::array<SummaryRow, 16> kB7Rows{{
    {2, "房屋建筑物类合计", 1, true},
    {3, "　房屋建筑物", 2},
    {4, "　构筑物及其他辅助设施", 3},
    {5, "　管道和沟槽", 4},
    {7, "设备类合计", 5, true},
    {8, "　机器设备", 6},
    {9, "　车辆", 7},
    {10, "　电子设备", 8},
    {12, "其他设备", 9},
    {14, "工程物资", 10},
    {16, "在建工程", 11, true},
    {17, "　土建工程", 12},
    {18, "　设备安装工程", 13},
    {20, "固定资产清理", 14},
    {22, "待处理固定资产净损失", 15},
    {24, "固定资产合计", 16, true},
}};

// ---- 表11 备抵科目补充明细表 (b78): 序号, the contra account, its three amounts, 备注. ----
// Rows 1 … 4 are the four contra rows (stored as `sheetdata` ids 3 … 6 in this order); the
// rows below are free for the user.

constexpr std::array<SummaryColumn, 6> kB78Columns{{
    {K::LineNumber, 48},
    {K::Caption, 160},
    {K::Amount, AmountWidth},
    {K::Amount, AmountWidth},
    {K::Amount, AmountWidth},
    {K::Text, 120},
}};

constexpr std::array<SummaryHeading, 6> kB78Headings{{
    {0, 0, "序号"},
    {1, 0, "科目名称"},
    {2, 0, "帐面价值"},
    {3, 0, "调整后帐面值"},
    {4, 0, "评估价值"},
    {5, 0, "备注"},
}};

constexpr std::array<SummaryRow, 4> kB78Rows{{
    {1, "坏账准备", 1},
    {2, "短期投资跌价准备", 2},
    {3, "存货跌价准备", 3},
    {4, "长期投资减值准备", 4},
}};

constexpr std::span<const SummaryMerge> kNoMerges{};

const std::array<SummarySheetLayout, 11> kLayouts{{
    {0, 16, 7, 2, 0, 1, true, kB0Columns, kB0Headings, kB0Merges, kB0Rows},
    {1, 40, 8, 1, 0, 1, true, kClassColumns, kClassHeadings, kNoMerges, kB1Rows},
    {2, 28, 8, 1, 0, 1, true, kClassColumns, kClassHeadings, kNoMerges, kB2Rows},
    {3, 19, 7, 1, 0, 1, true, kGroupColumns, kGroupHeadings, kNoMerges, kB3Rows},
    {4, 16, 7, 1, 0, 1, true, kGroupColumns, kGroupHeadings, kNoMerges, kB4Rows},
    {5, 19, 7, 1, 0, 1, true, kGroupColumns, kGroupHeadings, kNoMerges, kB5Rows},
    {6, 16, 7, 1, 0, 1, true, kGroupColumns, kGroupHeadings, kNoMerges, kB6Rows},
    {7, 25, 12, 2, 0, 1, true, kB7Columns, kB7Headings, kB7Merges, kB7Rows},
    {8, 19, 7, 1, 0, 1, true, kGroupColumns, kGroupHeadings, kNoMerges, kB8Rows},
    {9, 19, 7, 1, 0, 1, true, kGroupColumns, kGroupHeadings, kNoMerges, kB9Rows},
    {78, 20, 6, 1, 1, 0, false, kB78Columns, kB78Headings, kNoMerges, kB78Rows},
}};

// The look of one cell of a layout; every cell gets the form's font explicitly, so the sheet
// looks the same whatever default font the workbook has.
CellFormat cellFormatFor(const SummarySheetLayout &layout, int col, int row)
{
    CellFormat f;
    f.fontName = std::string(SummaryLayout::FontName);
    f.fontSize = SummaryLayout::FontSize;
    if (row < layout.headerRows) {
        f.fontStyle = fontStyleCode(true, false, false);
        f.alignment = AlignCenter;
        f.textStyle = 1; // wrap
        return f;
    }
    const SummaryRow *caption = layout.captionAt(row);
    if (caption && caption->emphasis)
        f.fontStyle = fontStyleCode(true, false, false);
    switch (layout.columnKind(col)) {
    case SummaryColumnKind::Caption:
    case SummaryColumnKind::Text:
        f.alignment = AlignLeft;
        break;
    case SummaryColumnKind::LineNumber:
        f.alignment = AlignCenter;
        break;
    case SummaryColumnKind::Amount:
        f.alignment = AlignRight;
        f.number = NumberStyle{1, false, 2, -1, 1, 1, 0};
        break;
    case SummaryColumnKind::Rate:
        f.alignment = AlignRight;
        f.number = NumberStyle{1, false, 2, -1, 0, 1, 0};
        break;
    }
    const bool valueColumn =
        layout.columnKind(col) == SummaryColumnKind::Amount || layout.columnKind(col) == SummaryColumnKind::Rate;
    if (valueColumn && !caption && layout.hideZerosInBlankRows)
        f.showZero = false;
    return f;
}

} // namespace

const SummaryRow *SummarySheetLayout::captionAt(int row) const
{
    for (const SummaryRow &r : captions) {
        if (r.row == row)
            return &r;
    }
    return nullptr;
}

std::span<const SummarySheetLayout> SummaryLayout::layouts()
{
    return kLayouts;
}

const SummarySheetLayout *SummaryLayout::layout(int id)
{
    for (const SummarySheetLayout &l : kLayouts) {
        if (l.id == id)
            return &l;
    }
    return nullptr;
}

std::string_view SummaryLayout::code(int id)
{
    if (const SummarySheetEntry *s = SheetCatalogue::summaryEntry(id))
        return s->code;
    if (const CatalogueEntry *e = id == SheetCatalogue::ContraSheetId ? SheetCatalogue::entry(id) : nullptr)
        return e->code;
    return {};
}

std::string_view SummaryLayout::title(int id)
{
    if (const SummarySheetEntry *s = SheetCatalogue::summaryEntry(id))
        return s->name;
    if (const CatalogueEntry *e = id == SheetCatalogue::ContraSheetId ? SheetCatalogue::entry(id) : nullptr)
        return e->name;
    return {};
}

bool SummaryLayout::build(Workbook &workbook, int sheetIndex, int id)
{
    const SummarySheetLayout *l = layout(id);
    if (!l || sheetIndex < 0 || sheetIndex >= workbook.SheetCount())
        return false;
    const int s = sheetIndex;

    // Start from a clean grid: a sheet reused for a layout must not keep merges or formats.
    for (const CellRange &m : std::vector<CellRange>(workbook.sheet(s).merges()))
        workbook.DoUnjoinCells(m.col1, m.row1, s);
    workbook.SetCols(l->cols, s);
    workbook.SetRows(l->rows, s);
    for (int row = 0; row < l->rows; ++row) {
        for (int col = 0; col < l->cols; ++col)
            workbook.DoClearCell(col, row, ClearAll, s);
    }

    for (int col = 0; col < l->cols; ++col)
        workbook.DoSetColWidth(col, l->columns[static_cast<std::size_t>(col)].width, s);
    for (int row = 0; row < l->rows; ++row) {
        for (int col = 0; col < l->cols; ++col)
            workbook.setCellFormat(col, row, cellFormatFor(*l, col, row), s);
    }

    for (const SummaryHeading &h : l->headings)
        workbook.DoSetCellData(h.col, h.row, std::string(h.text), s);
    for (const SummaryMerge &m : l->merges)
        workbook.DoJoinCells(m.col1, m.row1, m.col2, m.row2, s);
    for (const SummaryRow &r : l->captions) {
        workbook.DoSetCellData(l->captionColumn, r.row, std::string(r.caption), s);
        if (r.line > 0)
            workbook.DoSetCellData(l->lineColumn, r.row, static_cast<double>(r.line), s);
    }
    return true;
}

} // namespace vantor
