#pragma once

// The ten summary sheets 表1 … 表10 (b0 … b9) computed from sheet totals. For each sheet:
// the ids its summing query reads, and its content from the sums of those ids: which row
// each id's amounts go to, the increments and rates computed here (rates to two decimals,
// halves to even, 0 when the adjusted amount is 0), and the subtotal, total and rate
// formulas that the workbook evaluates. b0, b2 and b3 read figures of b1 with getcell;
// `b1Sheet` is b1's sheet number in those formulas (its index + 1).
//
// Sums are as stored: liabilities and contra rows negated. The sheets show liabilities as
// positive amounts; a contra row shows as a positive provision where it has a row of its
// own and reduces its group where it shares the group's row (b1 rows 4, 14 and 19).

#include "project/ProjectRecords.h"
#include "summation/SummaryContent.h"

#include <cstdint>
#include <map>
#include <vector>

namespace vantor {

using SheetSums = std::map<int16_t, SheetTotals>;

// The summing query of a sheet: the ids it admits and whether it reads the cost sums.
struct SummaryQuery {
    std::vector<SheetIdRange> ids; // empty: the sheet runs no query (b3)
    bool withCost = false;
};

class SummarySheets {
public:
    static constexpr int Count = 10;
    static constexpr const char *UnitQuestion = "本表金额单位默认为人民币万元，按“是”则以人民币元显示。";

    static SummaryQuery query(int sheet);
    // The content of a sheet from sums that may hold more ids than its query admits: each
    // sheet takes the ids it maps and ignores the others. b0's amounts are rounded to two decimals of ten
    // thousand yuan unless `yuan`.
    static SummaryContent content(int sheet, const SheetSums &sums, int b1Sheet, bool yuan);

    // `amount` ÷ `divisor` rounded once to two decimals, halves to even.
    static Amount scaled(Amount amount, int64_t divisor);
    // Decimal text without superfluous zeros ("1234.5", "-60", "0"), as amounts are placed
    // into formula texts.
    static std::string plainDecimal(Amount amount);
};

} // namespace vantor
