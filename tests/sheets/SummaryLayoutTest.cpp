#include "sheets/SummaryLayout.h"

#include "sheet_component/engine/Workbook.h"
#include "sheets/SheetCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {
namespace {

using K = SummaryColumnKind;

const SummarySheetLayout &layoutOf(int id)
{
    const SummarySheetLayout *l = SummaryLayout::layout(id);
    if (!l)
        throw std::runtime_error("no layout for " + std::to_string(id));
    return *l;
}

// Caption without its indentation (ideographic spaces) and without "其中：" / "减：".
std::string bareCaption(std::string_view caption)
{
    constexpr std::string_view ideographicSpace = "\u3000";
    for (bool changed = true; changed;) {
        changed = false;
        for (std::string_view prefix : {ideographicSpace, std::string_view("其中："),
                                        std::string_view("减："), std::string_view(" ")}) {
            if (caption.starts_with(prefix)) {
                caption.remove_prefix(prefix.size());
                changed = true;
            }
        }
    }
    return std::string(caption);
}

std::string captionText(int id, int row)
{
    const SummaryRow *r = layoutOf(id).captionAt(row);
    return r ? std::string(r->caption) : std::string();
}

// Sizes of the summary sheets and of 表11, as the summation sizes them.
struct SizeRow {
    int id, rows, cols;
};
const SizeRow kSizes[] = {
    {0, 16, 7}, {1, 40, 8},  {2, 28, 8}, {3, 19, 7}, {4, 16, 7},  {5, 19, 7},
    {6, 16, 7}, {7, 25, 12}, {8, 19, 7}, {9, 19, 7}, {78, 20, 6},
};

// Rows (0-based) into which the summation writes amounts or formulas, per sheet; on 表11 the
// four contra rows the sheet totals read.
struct WrittenRows {
    int id;
    std::vector<int> rows;
};

std::vector<int> rowsFrom(int from, int to)
{
    std::vector<int> v;
    for (int r = from; r <= to; ++r)
        v.push_back(r);
    return v;
}

std::vector<int> join(std::initializer_list<std::vector<int>> parts)
{
    std::vector<int> v;
    for (const auto &p : parts)
        v.insert(v.end(), p.begin(), p.end());
    return v;
}

const std::vector<WrittenRows> &writtenRows()
{
    static const std::vector<WrittenRows> rows{
        {0, rowsFrom(2, 15)},
        {1, rowsFrom(1, 39)},
        {2, join({rowsFrom(1, 15), rowsFrom(17, 23), {25, 27}})},
        {3, join({rowsFrom(1, 16), {18}})},
        {4, {1, 2, 13, 14, 15}},
        {5, join({rowsFrom(1, 11), {16, 17, 18}})},
        {6, {1, 2, 3, 13, 14, 15}},
        {7, join({rowsFrom(2, 5), rowsFrom(7, 10), {12, 14}, rowsFrom(16, 18), {20, 22, 24}})},
        {8, join({rowsFrom(1, 14), {18}})},
        {9, join({rowsFrom(1, 6), {18}})},
        {78, rowsFrom(1, 4)},
    };
    return rows;
}

// First row of the block the summation zeroes before it writes (columns C onward).
struct ZeroedBlock {
    int id, firstRow;
};
const ZeroedBlock kZeroedBlocks[] = {{0, 2}, {1, 2}, {2, 1}, {3, 1}, {4, 1},
                                     {5, 1}, {6, 1}, {7, 2}, {8, 1}, {9, 1}};

// ---------------------------------------------------------------------------------------------
// Shape of the tables

TEST(SummaryLayoutTable, HoldsTheTenSummarySheetsAndTable11)
{
    std::vector<int> ids;
    for (const SummarySheetLayout &l : SummaryLayout::layouts())
        ids.push_back(l.id);
    EXPECT_EQ(ids, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 78}));
    for (int other : {-1, 10, 11, 77, 79, 100})
        EXPECT_EQ(SummaryLayout::layout(other), nullptr) << other;
}

TEST(SummaryLayoutTable, SizesAreThoseTheSummationUses)
{
    for (const SizeRow &s : kSizes) {
        const SummarySheetLayout &l = layoutOf(s.id);
        EXPECT_EQ(l.rows, s.rows) << "b" << s.id;
        EXPECT_EQ(l.cols, s.cols) << "b" << s.id;
        EXPECT_EQ(l.columns.size(), static_cast<std::size_t>(s.cols)) << "b" << s.id;
        if (const SummarySheetEntry *e = SheetCatalogue::summaryEntry(s.id)) {
            EXPECT_EQ(l.rows, e->rows) << "b" << s.id << " disagrees with the catalogue";
            EXPECT_EQ(l.cols, e->cols) << "b" << s.id << " disagrees with the catalogue";
        }
    }
}

TEST(SummaryLayoutTable, CodesAndTitlesComeFromTheCatalogue)
{
    EXPECT_EQ(SummaryLayout::code(0), "表1");
    EXPECT_EQ(SummaryLayout::title(0), "资产评估结果汇总表");
    EXPECT_EQ(SummaryLayout::code(1), "表2-1");
    EXPECT_EQ(SummaryLayout::code(2), "表2-2");
    EXPECT_EQ(SummaryLayout::title(2), "资产评估结果分类汇总表");
    EXPECT_EQ(SummaryLayout::code(9), "表10");
    EXPECT_EQ(SummaryLayout::title(9), "长期负债清查评估汇总表");
    EXPECT_EQ(SummaryLayout::code(78), "表11");
    EXPECT_EQ(SummaryLayout::title(78), "备抵科目补充明细表");
    EXPECT_TRUE(SummaryLayout::code(10).empty());
    EXPECT_TRUE(SummaryLayout::title(-1).empty());
}

// Column roles per sheet: A captions, B line numbers, money from C on, the rate columns last.
TEST(SummaryLayoutTable, ColumnKindsFollowTheColumnPatterns)
{
    struct Pattern {
        int id;
        std::vector<K> kinds;
    };
    const std::vector<K> seven{K::Caption, K::LineNumber, K::Amount, K::Amount,
                               K::Amount,  K::Amount,     K::Rate};
    const std::vector<K> eight{K::Caption, K::LineNumber, K::Amount, K::Amount,
                               K::Amount,  K::Amount,     K::Amount, K::Rate};
    std::vector<K> twelve{K::Caption, K::LineNumber};
    twelve.insert(twelve.end(), 8, K::Amount);
    twelve.insert(twelve.end(), 2, K::Rate);
    const Pattern patterns[] = {
        {0, seven},
        {1, eight},
        {2, eight},
        {3, seven},
        {4, seven},
        {5, seven},
        {6, seven},
        {7, twelve},
        {8, seven},
        {9, seven},
        {78, {K::LineNumber, K::Caption, K::Amount, K::Amount, K::Amount, K::Text}},
    };
    for (const Pattern &p : patterns) {
        const SummarySheetLayout &l = layoutOf(p.id);
        ASSERT_EQ(l.columns.size(), p.kinds.size()) << "b" << p.id;
        for (int c = 0; c < l.cols; ++c)
            EXPECT_EQ(l.columnKind(c), p.kinds[static_cast<std::size_t>(c)])
                << "b" << p.id << " column " << c;
        EXPECT_EQ(l.columnKind(l.captionColumn), K::Caption) << "b" << p.id;
        EXPECT_EQ(l.columnKind(l.lineColumn), K::LineNumber) << "b" << p.id;
    }
}

TEST(SummaryLayoutTable, WidthsArePositiveAndCaptionColumnsWidest)
{
    for (const SummarySheetLayout &l : SummaryLayout::layouts()) {
        int captionWidth = l.columns[static_cast<std::size_t>(l.captionColumn)].width;
        for (int c = 0; c < l.cols; ++c) {
            int w = l.columns[static_cast<std::size_t>(c)].width;
            EXPECT_GT(w, 20) << "b" << l.id << " column " << c;
            EXPECT_LE(w, captionWidth) << "b" << l.id << " column " << c;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Headings and merges

TEST(SummaryLayoutHeadings, EveryColumnHasAHeadingInsideTheHeadingRows)
{
    for (const SummarySheetLayout &l : SummaryLayout::layouts()) {
        std::set<int> headed;
        for (const SummaryHeading &h : l.headings) {
            EXPECT_GE(h.col, 0) << "b" << l.id;
            EXPECT_LT(h.col, l.cols) << "b" << l.id;
            EXPECT_GE(h.row, 0) << "b" << l.id;
            EXPECT_LT(h.row, l.headerRows) << "b" << l.id << " heading below the heading rows: " << h.text;
            EXPECT_FALSE(h.text.empty()) << "b" << l.id;
            if (h.row == 0)
                headed.insert(h.col);
        }
        // A column without its own row-0 heading sits under a merged group heading.
        for (int c = 0; c < l.cols; ++c) {
            bool covered = headed.count(c) > 0;
            for (const SummaryMerge &m : l.merges)
                covered = covered || (m.row1 == 0 && c >= m.col1 && c <= m.col2 && headed.count(m.col1));
            EXPECT_TRUE(covered) << "b" << l.id << " column " << c << " has no heading";
        }
    }
}

TEST(SummaryLayoutHeadings, HeadingCellsAreUniqueAndNotHiddenByAMerge)
{
    for (const SummarySheetLayout &l : SummaryLayout::layouts()) {
        std::set<std::pair<int, int>> cells;
        for (const SummaryHeading &h : l.headings) {
            EXPECT_TRUE(cells.insert({h.col, h.row}).second)
                << "b" << l.id << " twice at " << h.col << "," << h.row;
            for (const SummaryMerge &m : l.merges) {
                bool inside = h.col >= m.col1 && h.col <= m.col2 && h.row >= m.row1 && h.row <= m.row2;
                bool topLeft = h.col == m.col1 && h.row == m.row1;
                EXPECT_FALSE(inside && !topLeft)
                    << "b" << l.id << " heading " << h.text << " hidden by a merge";
            }
        }
    }
}

TEST(SummaryLayoutHeadings, MergesStayInsideTheHeadingRowsAndDoNotOverlap)
{
    for (const SummarySheetLayout &l : SummaryLayout::layouts()) {
        for (std::size_t i = 0; i < l.merges.size(); ++i) {
            const SummaryMerge &m = l.merges[i];
            EXPECT_LE(m.col1, m.col2) << "b" << l.id;
            EXPECT_LE(m.row1, m.row2) << "b" << l.id;
            EXPECT_GE(m.col1, 0) << "b" << l.id;
            EXPECT_LT(m.col2, l.cols) << "b" << l.id;
            EXPECT_GE(m.row1, 0) << "b" << l.id;
            EXPECT_LT(m.row2, l.headerRows) << "b" << l.id << " merge reaches the value rows";
            EXPECT_TRUE(m.col1 != m.col2 || m.row1 != m.row2) << "b" << l.id << " one-cell merge";
            for (std::size_t j = i + 1; j < l.merges.size(); ++j) {
                const SummaryMerge &o = l.merges[j];
                bool overlap = m.col1 <= o.col2 && o.col1 <= m.col2 && m.row1 <= o.row2 && o.row1 <= m.row2;
                EXPECT_FALSE(overlap) << "b" << l.id << " merges " << i << " and " << j << " overlap";
            }
        }
    }
}

TEST(SummaryLayoutHeadings, FixedAssetsSplitEveryValueHeadingIntoCostAndNet)
{
    const SummarySheetLayout &l = layoutOf(7);
    EXPECT_EQ(l.headerRows, 2);
    for (int c = 2; c < 12; ++c) {
        auto sub = std::find_if(l.headings.begin(), l.headings.end(),
                                [c](const SummaryHeading &h) { return h.col == c && h.row == 1; });
        ASSERT_NE(sub, l.headings.end()) << "column " << c;
        EXPECT_EQ(sub->text, c % 2 == 0 ? "原值" : "净值") << "column " << c;
    }
    // Columns K and L are the two rates (of E/G and of F/H).
    auto rate = std::find_if(l.headings.begin(), l.headings.end(),
                             [](const SummaryHeading &h) { return h.col == 10 && h.row == 0; });
    ASSERT_NE(rate, l.headings.end());
    EXPECT_EQ(rate->text, "增值率%");
}

TEST(SummaryLayoutHeadings, ClassSheetsHeadTheEightColumnPattern)
{
    // C book, D adjustment, E adjusted, F appraised, G increment, H rate.
    const char *expected[] = {"项目",         "行次",     "帐面价值", "调整值",
                              "调整后帐面值", "评估价值", "增减值",   "增值率%"};
    for (int id : {1, 2}) {
        const SummarySheetLayout &l = layoutOf(id);
        for (int c = 0; c < 8; ++c) {
            auto h = std::find_if(l.headings.begin(), l.headings.end(),
                                  [c](const SummaryHeading &x) { return x.col == c && x.row == 0; });
            ASSERT_NE(h, l.headings.end());
            EXPECT_EQ(h->text, expected[c]) << "b" << id << " column " << c;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Captions at the rows the summation writes

TEST(SummaryLayoutCaptions, EveryWrittenRowIsACaptionedRowBelowTheHeadings)
{
    for (const WrittenRows &w : writtenRows()) {
        const SummarySheetLayout &l = layoutOf(w.id);
        for (int row : w.rows) {
            EXPECT_GE(row, l.headerRows) << "b" << w.id << " row " << row << " is a heading row";
            EXPECT_LT(row, l.rows) << "b" << w.id;
            const SummaryRow *r = l.captionAt(row);
            ASSERT_NE(r, nullptr) << "b" << w.id << " row " << row << " has no caption";
            EXPECT_FALSE(bareCaption(r->caption).empty())
                << "b" << w.id << " row " << row << " blank caption";
        }
    }
}

TEST(SummaryLayoutCaptions, NoCaptionOnARowThatNeverGetsAmounts)
{
    for (const WrittenRows &w : writtenRows()) {
        const SummarySheetLayout &l = layoutOf(w.id);
        for (const SummaryRow &r : l.captions)
            EXPECT_TRUE(std::find(w.rows.begin(), w.rows.end(), r.row) != w.rows.end())
                << "b" << w.id << " row " << r.row << " (" << r.caption << ") is never filled";
    }
}

TEST(SummaryLayoutCaptions, TheZeroedBlockNeverCoversAHeading)
{
    for (const ZeroedBlock &z : kZeroedBlocks)
        EXPECT_LE(layoutOf(z.id).headerRows, z.firstRow) << "b" << z.id;
}

TEST(SummaryLayoutCaptions, CaptionsAscendWithinTheSheet)
{
    for (const SummarySheetLayout &l : SummaryLayout::layouts()) {
        for (std::size_t i = 1; i < l.captions.size(); ++i)
            EXPECT_LT(l.captions[i - 1].row, l.captions[i].row) << "b" << l.id;
    }
}

TEST(SummaryLayoutCaptions, LineNumbersCountTheCaptionedRows)
{
    for (const SummarySheetLayout &l : SummaryLayout::layouts()) {
        ASSERT_FALSE(l.captions.empty());
        int first = l.captions.front().line;
        for (std::size_t i = 0; i < l.captions.size(); ++i)
            EXPECT_EQ(l.captions[i].line, first + static_cast<int>(i))
                << "b" << l.id << " row " << l.captions[i].row;
        EXPECT_EQ(first, l.id == 2 ? 40 : 1) << "b" << l.id;
    }
    // 表2-2 is the second page of 表2: its numbering goes on where 表2-1 stops.
    EXPECT_EQ(layoutOf(2).captions.front().line, layoutOf(1).captions.back().line + 1);
}

// Rows of 表2-1 that hold one detail sheet each: the caption names that sheet's account.
TEST(SummaryLayoutCaptions, SingleSheetRowsOfTable21NameTheirDetailSheet)
{
    struct IdRow {
        int id, row;
    };
    const IdRow rows[] = {{15, 4},  {16, 5},  {17, 8},  {18, 9},  {19, 10}, {20, 11}, {21, 12},
                          {33, 14}, {34, 15}, {35, 16}, {36, 17}, {47, 27}, {50, 29}, {51, 30},
                          {52, 32}, {53, 33}, {54, 35}, {55, 36}, {56, 37}, {57, 38}};
    for (const IdRow &r : rows) {
        std::string caption = bareCaption(captionText(1, r.row));
        ASSERT_FALSE(caption.empty()) << "row " << r.row;
        EXPECT_NE(SheetCatalogue::entry(r.id)->name.find(caption), std::string_view::npos)
            << "b1 row " << r.row << " \"" << caption << "\" is not sheet " << r.id;
    }
}

// The group sheets map sheet ids to rows by a fixed offset; each row names its detail sheet.
TEST(SummaryLayoutCaptions, GroupSheetRowsNameTheirDetailSheets)
{
    struct Map {
        int sheet, firstId, lastId, firstRow;
    };
    const Map maps[] = {
        {2, 58, 71, 2},  // 表2-2 流动负债
        {2, 72, 77, 18}, // 表2-2 长期负债
        {5, 22, 32, 1},  // 表3-10 存货
        {6, 37, 39, 1},  // 表4 长期投资
        {8, 58, 71, 1},  // 表9 流动负债
        {9, 72, 77, 1},  // 表10 长期负债
    };
    for (const Map &m : maps) {
        for (int id = m.firstId; id <= m.lastId; ++id) {
            int row = m.firstRow + id - m.firstId;
            std::string caption = bareCaption(captionText(m.sheet, row));
            ASSERT_FALSE(caption.empty()) << "b" << m.sheet << " row " << row;
            EXPECT_NE(SheetCatalogue::entry(id)->name.find(caption), std::string_view::npos)
                << "b" << m.sheet << " row " << row << " \"" << caption << "\" is not sheet " << id;
        }
    }
}

TEST(SummaryLayoutCaptions, KeyRowsCarryTheirAccounts)
{
    struct Key {
        int sheet, row;
        const char *text;
    };
    const Key keys[] = {
        // 表2-1: groups, the provision row subtracted from 应收账款, the 固定资产 breakdown.
        {1, 1, "流动资产"},
        {1, 2, "货币资金"},
        {1, 3, "短期投资"},
        {1, 6, "坏账准备"},
        {1, 7, "应收账款净额"},
        {1, 13, "存货"},
        {1, 18, "长期投资"},
        {1, 19, "固定资产"},
        {1, 20, "原值"},
        {1, 21, "机器设备"},
        {1, 22, "建筑物"},
        {1, 23, "累计折旧"},
        {1, 24, "净值"},
        {1, 25, "机器设备"},
        {1, 26, "建筑物"},
        {1, 28, "在建工程"},
        {1, 31, "无形资产"},
        {1, 34, "递延资产"},
        {1, 39, "资产总计"},
        // 表2-2.
        {2, 1, "流动负债"},
        {2, 17, "长期负债"},
        {2, 25, "负债总计"},
        {2, 27, "净资产"},
        // 表1, filled from the 表2-1 rows named in the comments.
        {0, 2, "流动资产"},   // 2
        {0, 3, "长期投资"},   // 19
        {0, 4, "固定资产"},   // 20
        {0, 5, "在建工程"},   // 29
        {0, 6, "建筑物"},     // 27
        {0, 7, "设备"},       // 26
        {0, 8, "无形资产"},   // 32
        {0, 9, "土地使用权"}, // 33
        {0, 10, "其他资产"},
        {0, 11, "资产总计"}, // 40
        {0, 12, "流动负债"},
        {0, 13, "长期负债"},
        {0, 14, "负债总计"},
        {0, 15, "净资产"},
        // Provisions and net rows of the group sheets.
        {3, 18, "流动资产合计"},
        {4, 1, "股票"},
        {4, 2, "债券"},
        {4, 13, "合计"},
        {4, 14, "短期投资跌价准备"},
        {4, 15, "净额"},
        {5, 16, "合计"},
        {5, 17, "存货跌价准备"},
        {5, 18, "净额"},
        {6, 13, "合计"},
        {6, 14, "长期投资减值准备"},
        {6, 15, "净额"},
        {8, 18, "流动负债合计"},
        {9, 18, "长期负债合计"},
        // 表5: the sub-totals and the rows of sheets 40 … 51.
        {7, 2, "房屋建筑物类合计"},
        {7, 3, "房屋建筑物"},
        {7, 4, "构筑物"},
        {7, 5, "管道"},
        {7, 7, "设备类合计"},
        {7, 8, "机器设备"},
        {7, 9, "车辆"},
        {7, 10, "电子设备"},
        {7, 12, "其他设备"},
        {7, 14, "工程物资"},
        {7, 16, "在建工程"},
        {7, 17, "土建工程"},
        {7, 18, "设备安装工程"},
        {7, 20, "固定资产清理"},
        {7, 22, "待处理固定资产净损失"},
        {7, 24, "固定资产合计"},
    };
    for (const Key &k : keys) {
        std::string caption = captionText(k.sheet, k.row);
        EXPECT_NE(caption.find(k.text), std::string::npos)
            << "b" << k.sheet << " row " << k.row << " reads \"" << caption << "\", expected " << k.text;
    }
}

TEST(SummaryLayoutCaptions, SubtractedProvisionsReadAsSubtractions)
{
    // The rows whose amount a formula subtracts: 应收账款 − 坏账准备 and the three net rows.
    const std::pair<int, int> provisions[] = {{1, 6}, {3, 5}, {4, 14}, {5, 17}, {6, 14}, {1, 23}};
    for (auto [sheet, row] : provisions)
        EXPECT_NE(captionText(sheet, row).find("减："), std::string::npos)
            << "b" << sheet << " row " << row << ": " << captionText(sheet, row);
}

// 表3 shows rows 3 … 18 of 表2-1 one row higher; both must name the same accounts.
TEST(SummaryLayoutCaptions, CurrentAssetsMirrorTable21)
{
    for (int row = 1; row <= 16; ++row)
        EXPECT_EQ(bareCaption(captionText(3, row)), bareCaption(captionText(1, row + 1))) << "b3 row " << row;
}

// 表11 rows 1 … 4 are the contra rows 3 … 6: 3 reduces 应收账款 (表2-1), 4 短期投资 (表3-2),
// 5 存货 (表3-10), 6 长期投资 (表4). Each contra row names the provision of the row it feeds.
TEST(SummaryLayoutCaptions, ContraRowsOfTable11MatchTheProvisionRows)
{
    const SummarySheetLayout &l = layoutOf(78);
    EXPECT_EQ(l.captionColumn, 1);
    EXPECT_EQ(l.lineColumn, 0);
    EXPECT_FALSE(l.hideZerosInBlankRows);
    const std::pair<int, int> fed[] = {{1, 6}, {4, 14}, {5, 17}, {6, 14}};
    for (int r = 1; r <= 4; ++r) {
        EXPECT_EQ(SheetCatalogue::contraRowId(r), r + 2);
        auto [sheet, row] = fed[r - 1];
        EXPECT_EQ(bareCaption(captionText(78, r)), bareCaption(captionText(sheet, row)))
            << "表11 row " << r << " vs b" << sheet << " row " << row;
    }
}

// ---------------------------------------------------------------------------------------------
// The builder

// A workbook with one sheet laid out as `id`.
std::unique_ptr<Workbook> built(int id)
{
    auto wb = std::make_unique<Workbook>();
    EXPECT_TRUE(SummaryLayout::build(*wb, 0, id));
    return wb;
}

TEST(SummaryLayoutBuild, SizesWidthsHeadingsCaptionsAndLineNumbers)
{
    for (const SummarySheetLayout &l : SummaryLayout::layouts()) {
        auto wb = built(l.id);
        EXPECT_EQ(wb->Cols(0), l.cols) << "b" << l.id;
        EXPECT_EQ(wb->Rows(0), l.rows) << "b" << l.id;
        for (int c = 0; c < l.cols; ++c)
            EXPECT_EQ(wb->DoGetColWidth(c, 0), l.columns[static_cast<std::size_t>(c)].width) << "b" << l.id;
        for (const SummaryHeading &h : l.headings)
            EXPECT_EQ(wb->DoGetSheetCellData(h.col, h.row, 0), CellValue::text(std::string(h.text)))
                << "b" << l.id;
        for (const SummaryRow &r : l.captions) {
            EXPECT_EQ(wb->DoGetSheetCellData(l.captionColumn, r.row, 0),
                      CellValue::text(std::string(r.caption)))
                << "b" << l.id << " row " << r.row;
            EXPECT_EQ(wb->DoGetSheetCellData(l.lineColumn, r.row, 0), CellValue::number(r.line))
                << "b" << l.id << " row " << r.row;
        }
        // Nothing is written into the value block: the summation owns it.
        for (int row = l.headerRows; row < l.rows; ++row) {
            for (int c = 0; c < l.cols; ++c) {
                if (c != l.captionColumn && c != l.lineColumn) {
                    EXPECT_TRUE(wb->DoGetSheetCellData(c, row, 0).isEmpty())
                        << "b" << l.id << " " << c << "," << row;
                }
            }
        }
    }
}

TEST(SummaryLayoutBuild, MergesLandInTheSheet)
{
    for (const SummarySheetLayout &l : SummaryLayout::layouts()) {
        auto wb = built(l.id);
        const auto &merges = wb->sheet(0).merges();
        EXPECT_EQ(merges.size(), l.merges.size()) << "b" << l.id;
        for (const SummaryMerge &m : l.merges) {
            auto at = wb->sheet(0).mergeAt(m.col2, m.row2);
            ASSERT_TRUE(at.has_value()) << "b" << l.id;
            EXPECT_EQ(*at, (CellRange{m.col1, m.row1, m.col2, m.row2})) << "b" << l.id;
        }
    }
}

TEST(SummaryLayoutBuild, EveryCellUsesTheFormFont)
{
    for (const SummarySheetLayout &l : SummaryLayout::layouts()) {
        auto wb = built(l.id);
        wb->DoSetDefaultFont(12, 0, "Noto Sans");
        for (int row = 0; row < l.rows; ++row) {
            for (int c = 0; c < l.cols; ++c) {
                FontSpec f = wb->DoGetCellFont(c, row, 0);
                EXPECT_EQ(f.name, "宋体") << "b" << l.id << " " << c << "," << row;
                EXPECT_EQ(f.size, SummaryLayout::FontSize) << "b" << l.id << " " << c << "," << row;
            }
        }
        // Headings and emphasised rows are bold, item rows are not.
        EXPECT_EQ(wb->DoGetCellFont(l.captionColumn, 0, 0).style, 1) << "b" << l.id;
        for (const SummaryRow &r : l.captions)
            EXPECT_EQ(wb->DoGetCellFont(l.captionColumn, r.row, 0).style, r.emphasis ? 1 : 0)
                << "b" << l.id << " row " << r.row;
    }
}

TEST(SummaryLayoutBuild, AmountsShowTwoDecimalsWithGroupingAndRatesTwoDecimals)
{
    auto wb = built(1);
    // 表2-1 row 39 (资产总计): C … G amounts, H the rate.
    for (int c = 2; c <= 6; ++c) {
        wb->DoSetCellData(c, 39, 1234567.5, 0);
        EXPECT_EQ(wb->displayText(0, c, 39), "1,234,567.50") << "column " << c;
        wb->DoSetCellData(c, 39, -0.004, 0);
        EXPECT_NE(wb->displayText(0, c, 39).find("0.00"), std::string::npos) << "column " << c;
    }
    wb->DoSetCellData(7, 39, 12.3456, 0);
    EXPECT_EQ(wb->displayText(0, 7, 39), "12.35");
    wb->DoSetCellData(7, 39, 1234.5, 0);
    EXPECT_EQ(wb->displayText(0, 7, 39), "1234.50") << "a rate is not grouped";
    // Amounts and rates are right-aligned, captions left, line numbers centred.
    EXPECT_EQ(wb->DoGetCellAlignment(2, 39, 0), AlignRight);
    EXPECT_EQ(wb->DoGetCellAlignment(7, 39, 0), AlignRight);
    EXPECT_EQ(wb->DoGetCellAlignment(0, 39, 0), AlignLeft);
    EXPECT_EQ(wb->DoGetCellAlignment(1, 39, 0), AlignCenter);
}

TEST(SummaryLayoutBuild, ZerosShowOnCaptionedRowsAndHideOnBlankFormLines)
{
    // 表3-2: rows 1, 2 are 股票/债券, rows 3 … 12 blank lines that the summation zeroes too.
    auto wb = built(4);
    for (int c = 2; c <= 6; ++c) {
        wb->DoSetCellData(c, 1, 0.0, 0);
        wb->DoSetCellData(c, 5, 0.0, 0);
        EXPECT_EQ(wb->displayText(0, c, 1), "0.00") << "column " << c;
        EXPECT_EQ(wb->displayText(0, c, 5), "") << "column " << c;
    }
    // A non-zero amount on a blank line still shows.
    wb->DoSetCellData(2, 5, 7.0, 0);
    EXPECT_EQ(wb->displayText(0, 2, 5), "7.00");
}

TEST(SummaryLayoutBuild, FreeRowsOfTable11ShowWhatTheUserTypes)
{
    auto wb = built(78);
    wb->DoSetCellData(2, 10, 0.0, 0);
    EXPECT_EQ(wb->displayText(0, 2, 10), "0.00");
    wb->DoSetCellData(3, 2, 2500.0, 0);
    EXPECT_EQ(wb->displayText(0, 3, 2), "2,500.00");
    EXPECT_EQ(wb->DoGetSheetCellData(1, 1, 0), CellValue::text("坏账准备"));
    EXPECT_EQ(wb->DoGetSheetCellData(0, 4, 0), CellValue::number(4));
}

TEST(SummaryLayoutBuild, RebuildingASheetRemovesWhatWasThere)
{
    Workbook wb;
    wb.SetCols(20, 0);
    wb.SetRows(60, 0);
    wb.DoSetCellData(15, 50, "left over", 0);
    wb.DoSetCellData(3, 5, 99.0, 0);
    wb.DoSetCellFormula(4, 6, "d6*2", 0);
    wb.DoJoinCells(2, 3, 5, 4, 0);
    wb.DoSetCellFont(3, 5, 20, 2, "Arial", 0);
    ASSERT_TRUE(SummaryLayout::build(wb, 0, 9));
    EXPECT_EQ(wb.Cols(0), 7);
    EXPECT_EQ(wb.Rows(0), 19);
    EXPECT_TRUE(wb.DoGetSheetCellData(3, 5, 0).isEmpty());
    EXPECT_TRUE(wb.DoGetSheetCellData(4, 6, 0).isEmpty());
    EXPECT_EQ(wb.formulaText(0, 4, 6), "");
    EXPECT_TRUE(wb.sheet(0).merges().empty());
    EXPECT_EQ(wb.DoGetCellFont(3, 5, 0).name, "宋体");
    EXPECT_EQ(wb.DoGetCellFont(3, 5, 0).size, SummaryLayout::FontSize);
    // Building twice gives the same sheet.
    ASSERT_TRUE(SummaryLayout::build(wb, 0, 9));
    EXPECT_EQ(wb.DoGetSheetCellData(0, 18, 0), CellValue::text("长期负债合计"));
}

TEST(SummaryLayoutBuild, OtherSheetsOfTheWorkbookStayUntouched)
{
    Workbook wb;
    wb.DoAddSheet("b16");
    wb.DoSetCellData(0, 0, "序号", 0);
    wb.DoSetCellData(5, 3, 42.0, 0);
    ASSERT_TRUE(SummaryLayout::build(wb, 1, 7));
    EXPECT_EQ(wb.DoGetSheetCellData(0, 0, 0), CellValue::text("序号"));
    EXPECT_EQ(wb.DoGetSheetCellData(5, 3, 0), CellValue::number(42));
    EXPECT_EQ(wb.Cols(1), 12);
    EXPECT_EQ(wb.DoGetSheetLabel(1), "b16") << "the builder does not relabel";
}

TEST(SummaryLayoutBuild, RefusesUnknownIdsAndSheetIndexes)
{
    Workbook wb;
    wb.DoSetCellData(0, 0, "keep", 0);
    for (int id : {-1, 10, 77, 79})
        EXPECT_FALSE(SummaryLayout::build(wb, 0, id)) << id;
    EXPECT_FALSE(SummaryLayout::build(wb, 1, 0));
    EXPECT_FALSE(SummaryLayout::build(wb, -1, 0));
    EXPECT_EQ(wb.DoGetSheetCellData(0, 0, 0), CellValue::text("keep"));
    EXPECT_EQ(wb.Cols(0), Workbook::DefaultCols);
}

// The summation's own writes on a built sheet: zero the block, write amounts and the total
// formulas. Captions, line numbers and headings survive, and the totals compute.
TEST(SummaryLayoutBuild, TheSummationWritesBesideTheCaptions)
{
    auto wb = built(9);
    for (int row = 1; row < 19; ++row) {
        for (int c = 2; c < 7; ++c)
            wb->DoSetCellData(c, row, 0.0, 0);
    }
    wb->DoSetCellData(2, 1, 1200.5, 0);
    wb->DoSetCellData(2, 6, 99.5, 0);
    ASSERT_TRUE(wb->DoSetCellFormula(2, 18, "sum(c2:c7)", 0));
    EXPECT_EQ(wb->displayText(0, 2, 18), "1,300.00");
    EXPECT_EQ(wb->DoGetSheetCellData(0, 18, 0), CellValue::text("长期负债合计"));
    EXPECT_EQ(wb->DoGetSheetCellData(1, 18, 0), CellValue::number(7));
    EXPECT_EQ(wb->DoGetSheetCellData(2, 0, 0), CellValue::text("帐面价值"));
}

} // namespace
} // namespace vantor
