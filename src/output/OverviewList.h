#pragma once

// The overview lists: for one asset or liability category (or one detail sheet) every data
// node of the project side by side with its book, adjusted and appraised value, appreciation
// and appreciation rate, and a total row. The figures come from the per-sheet totals in
// sheetdata only; liabilities, stored negated there, are shown positive.
//
// Lists are named by key: "k0" … "k12" for the categories, "b" + sheet id for one sheet.

#include "common/Amount.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

class Database;
class Workbook;

struct OverviewRow {
    std::string pmname;
    Amount je1, je2, je3; // book, adjusted, appraised
};

// One entry of the list tree; parent "" for the top level.
struct OverviewTreeEntry {
    std::string key;
    std::string text;
    std::string parent;
};

// Everything the overview window shows, read at once when it opens, so that the window never
// holds on to the project file.
struct OverviewSnapshot {
    std::string unit;
    int nodeCount = 0;
    std::vector<OverviewTreeEntry> tree;
    std::map<std::string, std::vector<OverviewRow>> lists; // by key, one per tree entry
};

class OverviewList {
public:
    static constexpr int Cols = 7;
    static constexpr int FirstDataRow = 3;

    // The fixed category entries followed by one entry per detail sheet with totals in the
    // file, each under its category; parents come before their children.
    static std::vector<OverviewTreeEntry> tree(Database &db);

    // The tree and every list of it.
    static OverviewSnapshot snapshot(Database &db);

    // Whether the key names a list.
    static bool isKey(std::string_view key);

    // The rows of a list, one per data node by node id; nothing for an unknown key. Throws
    // DatabaseError when the file cannot be read, AmountOverflow when a sum does not fit.
    static std::optional<std::vector<OverviewRow>> query(Database &db, std::string_view key);

    // (appraised − base) / |base| × 100 to two decimals, halves to even; 0 for a zero base
    // and for a rate too large to hold.
    static Amount GrowthRate(Amount base, Amount appraised);

    // Sets up the list sheet (current sheet of `workbook`) for `nodeCount` data nodes:
    // headings, unit row, widths, alignment and number styles.
    static void BuildOverview(Workbook &workbook, int nodeCount, const std::string &unit);

    // Fills the sheet set up by BuildOverview with the rows of a list and their total, and
    // puts `title` in its title row.
    static void FillOverview(Workbook &workbook, const std::vector<OverviewRow> &rows, const std::string &title);
};

} // namespace vantor
