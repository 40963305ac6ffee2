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

// ---------------------------------------------------------------------------------------------
// Invariants of the tables

bool inside(const SummaryMerge &m, int col, int row)
{
    return col >= m.col1 && col <= m.col2 && row >= m.row1 && row <= m.row2;
}

TEST(SummaryLayoutTable, EveryLayoutIsConsistentWithItselfAndTheCatalogue)
{
    std::set<int> ids;
    for (const SummarySheetLayout &l : SummaryLayout::layouts()) {
        SCOPED_TRACE("b" + std::to_string(l.id));
        EXPECT_TRUE(ids.insert(l.id).second);
        EXPECT_EQ(l.columns.size(), static_cast<std::size_t>(l.cols));
        EXPECT_LE(l.cols, 26);
        if (const SummarySheetEntry *e = SheetCatalogue::summaryEntry(l.id))
            EXPECT_TRUE(l.rows == e->rows && l.cols == e->cols) << "disagrees with the catalogue";
        else
            EXPECT_EQ(l.id, 78); // 表11 is a detail-range sheet with a summary layout
        EXPECT_EQ(l.columnKind(l.captionColumn), K::Caption);
        EXPECT_EQ(l.columnKind(l.lineColumn), K::LineNumber);
        const int captionWidth = l.columns[static_cast<std::size_t>(l.captionColumn)].width;
        for (const SummaryColumn &c : l.columns)
            EXPECT_TRUE(c.width > 20 && c.width <= captionWidth);

        // Headings lie in the heading rows, once per cell, never hidden by a merge; every
        // column has one in row 0 or sits under a merged group heading.
        std::set<std::pair<int, int>> cells;
        for (const SummaryHeading &h : l.headings) {
            EXPECT_TRUE(h.col >= 0 && h.col < l.cols && h.row >= 0 && h.row < l.headerRows) << h.text;
            EXPECT_TRUE(cells.insert({h.col, h.row}).second) << h.text;
            for (const SummaryMerge &m : l.merges)
                EXPECT_FALSE(inside(m, h.col, h.row) && (h.col != m.col1 || h.row != m.row1)) << h.text;
        }
        for (int c = 0; c < l.cols; ++c) {
            bool covered = cells.count({c, 0}) > 0;
            for (const SummaryMerge &m : l.merges)
                covered = covered || (inside(m, c, 0) && cells.count({m.col1, 0}));
            EXPECT_TRUE(covered) << "column " << c << " has no heading";
        }
        // Merges lie in the heading rows, span more than a cell and do not overlap.
        for (std::size_t i = 0; i < l.merges.size(); ++i) {
            const SummaryMerge &m = l.merges[i];
            EXPECT_TRUE(m.col1 >= 0 && m.col1 <= m.col2 && m.col2 < l.cols && m.row1 >= 0 && m.row1 <= m.row2 &&
                        m.row2 < l.headerRows && (m.col1 != m.col2 || m.row1 != m.row2));
            for (std::size_t j = i + 1; j < l.merges.size(); ++j) {
                const SummaryMerge &o = l.merges[j];
                EXPECT_FALSE(m.col1 <= o.col2 && o.col1 <= m.col2 && m.row1 <= o.row2 && o.row1 <= m.row2);
            }
        }
        // Captions lie below the headings, ascend, and their line numbers count them.
        ASSERT_FALSE(l.captions.empty());
        for (std::size_t i = 0; i < l.captions.size(); ++i) {
            EXPECT_TRUE(l.captions[i].row >= l.headerRows && l.captions[i].row < l.rows);
            EXPECT_FALSE(bareCaption(l.captions[i].caption).empty());
            EXPECT_EQ(l.captions[i].line, l.captions.front().line + static_cast<int>(i));
            EXPECT_TRUE(i == 0 || l.captions[i - 1].row < l.captions[i].row);
        }
        EXPECT_EQ(l.captions.front().line, l.id == 2 ? 40 : 1);
    }
    // 表2-2 is the second page of 表2: its numbering goes on where 表2-1 stops.
    EXPECT_EQ(layoutOf(2).captions.front().line, layoutOf(1).captions.back().line + 1);
    for (int id = 0; id < 10; ++id)
        EXPECT_NE(SummaryLayout::layout(id), nullptr) << id;
    for (int other : {-1, 10, 77, 79})
        EXPECT_EQ(SummaryLayout::layout(other), nullptr) << other;
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

TEST(SummaryLayoutBuild, EveryLayoutLandsInTheSheetWithItsFontAndAnEmptyValueBlock)
{
    for (const SummarySheetLayout &l : SummaryLayout::layouts()) {
        SCOPED_TRACE("b" + std::to_string(l.id));
        auto wb = built(l.id);
        wb->DoSetDefaultFont(12, 0, "Noto Sans");
        EXPECT_EQ(wb->Rows(0), l.rows);
        for (int c = 0; c < l.cols; ++c)
            EXPECT_EQ(wb->DoGetColWidth(c, 0), l.columns[static_cast<std::size_t>(c)].width);
        for (const SummaryHeading &h : l.headings)
            EXPECT_EQ(wb->DoGetSheetCellData(h.col, h.row, 0), CellValue::text(std::string(h.text)));
        for (const SummaryRow &r : l.captions) {
            EXPECT_EQ(wb->DoGetSheetCellData(l.captionColumn, r.row, 0), CellValue::text(std::string(r.caption)));
            EXPECT_EQ(wb->DoGetSheetCellData(l.lineColumn, r.row, 0), CellValue::number(r.line));
            EXPECT_EQ(wb->DoGetCellFont(l.captionColumn, r.row, 0).style, r.emphasis ? 1 : 0);
        }
        EXPECT_EQ(wb->sheet(0).merges().size(), l.merges.size());
        for (const SummaryMerge &m : l.merges)
            EXPECT_EQ(wb->sheet(0).mergeAt(m.col2, m.row2), (CellRange{m.col1, m.row1, m.col2, m.row2}));
        for (int row = 0; row < l.rows; ++row)
            for (int c = 0; c < l.cols; ++c) {
                EXPECT_EQ(wb->DoGetCellFont(c, row, 0).name, "宋体");
                // Nothing is written into the value block: the summation owns it.
                const bool valueCell = row >= l.headerRows && c != l.captionColumn && c != l.lineColumn;
                EXPECT_TRUE(!valueCell || wb->DoGetSheetCellData(c, row, 0).isEmpty()) << c << "," << row;
            }
    }
}

TEST(SummaryLayoutBuild, AmountsShowTwoDecimalsWithGroupingAndRatesTwoDecimals)
{
    auto wb = built(1);
    // 表2-1 row 39 (资产总计): C … G amounts, H the rate.
    for (int c = 2; c <= 6; ++c) {
        wb->DoSetCellData(c, 39, 1234567.5, 0);
        EXPECT_EQ(wb->displayText(0, c, 39), "1,234,567.50") << "column " << c;
    }
    wb->DoSetCellData(7, 39, 12.3456, 0);
    EXPECT_EQ(wb->displayText(0, 7, 39), "12.35");
    wb->DoSetCellData(7, 39, 1234.5, 0);
    EXPECT_EQ(wb->displayText(0, 7, 39), "1234.50") << "a rate is not grouped";
}

TEST(SummaryLayoutBuild, ZerosShowOnCaptionedRowsAndHideOnBlankFormLines)
{
    // 表3-2: rows 1, 2 are 股票/债券, rows 3 … 12 blank lines that the summation zeroes too.
    auto wb = built(4);
    for (int c = 2; c <= 6; ++c) {
        wb->DoSetCellData(c, 1, 0.0, 0);
        wb->DoSetCellData(c, 5, 0.0, 0);
        EXPECT_EQ(wb->displayText(0, c, 1) + "|" + wb->displayText(0, c, 5), "0.00|") << "column " << c;
    }
    // A non-zero amount on a blank line still shows.
    wb->DoSetCellData(2, 5, 7.0, 0);
    EXPECT_EQ(wb->displayText(0, 2, 5), "7.00");
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
    EXPECT_TRUE(wb.DoGetSheetCellData(3, 5, 0).isEmpty());
    EXPECT_EQ(wb.formulaText(0, 4, 6), "");
    EXPECT_TRUE(wb.sheet(0).merges().empty());
    EXPECT_EQ(wb.DoGetCellFont(3, 5, 0).name, "宋体");
}

TEST(SummaryLayoutBuild, RefusesUnknownIdsAndIndexesAndLeavesOtherSheetsAlone)
{
    Workbook wb;
    wb.DoAddSheet("b16");
    wb.DoSetCellData(0, 0, "keep", 0);
    for (int id : {-1, 10, 77, 79})
        EXPECT_FALSE(SummaryLayout::build(wb, 0, id)) << id;
    EXPECT_FALSE(SummaryLayout::build(wb, 2, 0));
    EXPECT_FALSE(SummaryLayout::build(wb, -1, 0));
    ASSERT_TRUE(SummaryLayout::build(wb, 1, 7));
    EXPECT_EQ(wb.DoGetSheetCellData(0, 0, 0), CellValue::text("keep"));
    EXPECT_EQ(wb.Cols(0), Workbook::DefaultCols);
}

} // namespace
} // namespace vantor
