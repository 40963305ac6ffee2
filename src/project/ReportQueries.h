#pragma once

// The read-only queries behind the summary sheets and the overview lists: sums of the sheet
// totals (sheetdata) by sheet id or by data node, and the few node facts the lists show.
// Ids reach SQL only as bound integers. Read errors throw DatabaseError; a sum beyond the
// currency range throws, AmountOverflow or DatabaseError, and never wraps.

#include "project/ProjectRecords.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vantor {

class Database;

// One data node of an overview list: its name and the sums of its rows.
struct NodeSums {
    std::string pmname;
    Amount v1, v2, v3; // book, adjusted, appraised; zero when the node has no row
};

class ReportQueries {
public:
    // Per sheet id that has rows: the sums of the rows whose id lies in one of `ids`, of the
    // nodes `nodes` (every node when empty). The cost sums z1 … z3 only with `withCost`, else
    // zero. Nothing for empty `ids`.
    static std::map<int16_t, SheetTotals> sumsInRanges(Database &db, const std::vector<SheetIdRange> &ids,
                                                       const std::vector<int16_t> &nodes, bool withCost);

    // Every data node by pmid with the sums of its rows whose id lies in one of `ids`.
    static std::vector<NodeSums> dataNodeSums(Database &db, const std::vector<SheetIdRange> &ids);

    // The detail sheets (id > 9) that have totals, by id, named as in sheetlist; the code and
    // name are empty for a sheet the catalogue lacks (a summary project lists no detail sheets).
    static std::vector<SheetListRow> detailSheetsWithTotals(Database &db);

    // The number of data nodes, and the asset-holding unit of the project (pmprop row 0).
    static int dataNodeCount(Database &db);
    static std::string holdingUnit(Database &db);
};

} // namespace vantor
