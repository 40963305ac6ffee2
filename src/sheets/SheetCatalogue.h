#pragma once

// The fixed set of standard forms of an appraisal job. Every sheet is named by a
// small sheet id: 0 … 9 the summary sheets, 10 … 77 the detail sheets, 78 the
// contra-account supplement 表11 (whose four data rows are stored as ids 3 … 6 in
// `sheetdata`). This class holds the one table of those sheets with their form
// codes, default names and summation groups, the id ↔ label conversions ("b" + id)
// and the tree captions built from code and name. Everything is a pure lookup.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace vantor {

// Where a sheet's totals belong in the balance sheet of the appraisal.
enum class SheetCategory {
    Summary,             // 0 … 9, computed from the others
    CurrentAssets,       // 流动资产
    LongTermInvestments, // 长期投资
    FixedAssets,         // 固定资产
    IntangibleAssets,    // 无形资产
    DeferredAssets,      // 递延资产
    OtherLongTermAssets, // 其他长期资产
    CurrentLiabilities,  // 流动负债
    LongTermLiabilities, // 长期负债
    ContraAccounts,      // 表11
};

// A finer group inside 流动资产 that has a summary sheet of its own.
enum class SheetSubgroup { None, CashFunds, ShortTermInvestments, Inventories };

// The id groups the summations add up. Contra rows of 表11 (ids 3 … 6 in
// `sheetdata`) belong to the groups whose amounts they reduce.
enum class SheetGroup {
    CashFunds,            // 货币资金 10 … 12
    ShortTermInvestments, // 短期投资 13, 14, contra 4
    Inventories,          // 存货 22 … 32, contra 5
    CurrentAssets,        // 流动资产 10 … 36, contra 3, 4, 5
    LongTermInvestments,  // 长期投资 37 … 39, contra 6
    FixedAssets,          // 固定资产 40 … 51
    IntangibleAssets,     // 无形资产 52, 53
    DeferredAssets,       // 递延资产 54, 55
    AllAssets,            // 3 … 57
    CurrentLiabilities,   // 流动负债 58 … 71
    LongTermLiabilities,  // 长期负债 72 … 77
    AllLiabilities,       // 58 … 77
};

struct CatalogueEntry {
    int id;
    std::string_view code; // form code, e.g. "表3-4"
    std::string_view name; // default form name
    SheetCategory category;
    SheetSubgroup subgroup;
};

struct SummarySheetEntry {
    int id; // 0 … 9
    std::string_view code;
    std::string_view name;
    int rows;
    int cols;
};

class SheetCatalogue {
public:
    static constexpr int FirstDetailId = 10;
    static constexpr int LastDetailId = 77;
    static constexpr int ContraSheetId = 78;
    static constexpr int FirstContraRowId = 3;
    static constexpr int LastContraRowId = 6;
    // The add-sheet dialog offers these kinds; 10 always comes with the template.
    static constexpr int FirstAddableId = 11;
    static constexpr int LastAddableId = 77;
    // Width, in characters, of the code field of a tree caption.
    static constexpr int DetailCodeWidth = 10;
    static constexpr int SummaryCodeWidth = 6;

    // Detail sheets 10 … 78 in id order.
    static std::span<const CatalogueEntry> detailSheets();
    // Summary sheets 0 … 9 in id order.
    static std::span<const SummarySheetEntry> summarySheets();

    // The entry of a detail sheet (10 … 78), nullptr for any other id.
    static const CatalogueEntry *entry(int id);
    static const SummarySheetEntry *summaryEntry(int id);
    // Default code and name of ids 10 … 78; two empty strings for any other id.
    static std::pair<std::string, std::string> codeAndName(int id);

    static bool isSummary(int id) { return id >= 0 && id <= 9; }
    static bool isDetail(int id) { return id >= FirstDetailId && id <= ContraSheetId; }
    // The detail sheets built from a layout with a total row (10 … 77); 表11 is a form of its own.
    static bool isDetailKind(int id) { return id >= FirstDetailId && id <= LastDetailId; }
    // The detail sheets every project has and keeps: the first one and 表11.
    static bool isFixedDetail(int id) { return id == FirstDetailId || id == ContraSheetId; }
    // The inventory sheets (存货), which have a price-difference tool of their own.
    static bool isInventory(int id)
    {
        const CatalogueEntry *e = entry(id);
        return e && e->subgroup == SheetSubgroup::Inventories;
    }
    static bool isAsset(int id) { return id >= FirstDetailId && id <= 57; }
    static bool isLiability(int id) { return id >= 58 && id <= LastDetailId; }
    static bool isContraRow(int sheetdataId)
    {
        return sheetdataId >= FirstContraRowId && sheetdataId <= LastContraRowId;
    }
    // Whether totals of this `sheetdata` id are stored negated (liabilities and contra rows).
    static bool isStoredNegated(int sheetdataId) { return isLiability(sheetdataId) || isContraRow(sheetdataId); }
    // `sheetdata` id of data row 1 … 4 of 表11; 0 for other rows.
    static int contraRowId(int contraSheetRow);

    // Membership of a `sheetdata` id in a summation group, and the group's ids ascending.
    static bool inGroup(SheetGroup group, int sheetdataId);
    static std::span<const int> groupIds(SheetGroup group);

    // "b" + id.
    static std::string label(int id);
    // The numeric value of a label or tree key after its first character ("b16" → 16,
    // "p3" → 3); nothing when no digits follow.
    static std::optional<int> idOfLabel(std::string_view label);

    // Tree caption: code left-aligned in a field of `codeWidth` characters (cut when
    // longer), then the name. Summary sheets use 6, detail sheets 10.
    static std::string caption(std::string_view code, std::string_view name, int codeWidth);
    // Caption of a catalogue sheet with its default code and name; empty for unknown ids.
    static std::string defaultCaption(int id);
    // Reverse of a detail caption: the first ten characters trimmed, and the rest.
    static std::pair<std::string, std::string> splitDetailCaption(std::string_view caption);
};

} // namespace vantor
