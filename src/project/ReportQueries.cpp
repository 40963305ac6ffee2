#include "project/ReportQueries.h"

#include "project/Database.h"
#include "project/Statement.h"

#include <array>

namespace vantor {

namespace {

// "(+id BETWEEN ? AND ? OR …)"; "+id" keeps the id index out of the plan (see sumsInRanges).
std::string idCondition(std::size_t ranges)
{
    std::string sql = "(";
    for (std::size_t i = 0; i < ranges; ++i)
        sql += i ? " OR +id BETWEEN ? AND ?" : "+id BETWEEN ? AND ?";
    return sql + ")";
}

int bindRanges(Statement &st, const std::vector<SheetIdRange> &ids, int next)
{
    for (const SheetIdRange &range : ids) {
        st.bind(next++, range.first);
        st.bind(next++, range.last);
    }
    return next;
}

Amount amountAt(const Statement &st, int column)
{
    return st.isNull(column) ? Amount() : Amount::fromUnits(st.columnInt64(column));
}

} // namespace

// The database selects the rows and the program adds them: grouping in SQL walks the id index
// with a table lookup per row, or sorts every row, either of which costs several times a plain
// scan of the table; the pmid index still serves the node condition. Amount addition is
// checked, so a sum beyond the currency range throws instead of wrapping.
std::map<int16_t, SheetTotals> ReportQueries::sumsInRanges(Database &db, const std::vector<SheetIdRange> &ids,
                                                           const std::vector<int16_t> &nodes, bool withCost)
{
    std::map<int16_t, SheetTotals> sums;
    if (ids.empty())
        return sums;
    std::string sql = withCost ? "SELECT id, v1, v2, v3, z1, z2, z3" : "SELECT id, v1, v2, v3";
    sql += " FROM sheetdata WHERE " + idCondition(ids.size());
    if (!nodes.empty()) {
        sql += " AND pmid IN (";
        for (std::size_t i = 0; i < nodes.size(); ++i)
            sql += i ? ",?" : "?";
        sql += ")";
    }

    Statement st = db.prepare(sql);
    int next = bindRanges(st, ids, 1);
    for (const int16_t node : nodes)
        st.bind(next++, int{node});
    const int columns = withCost ? 6 : 3;
    std::array<std::array<Amount, 6>, 128> byId{};
    std::array<bool, 128> seen{};
    while (st.step()) {
        const int16_t id = st.columnInt16(0);
        if (id < 0 || id >= static_cast<int>(byId.size()))
            continue;
        seen[id] = true;
        for (int c = 0; c < columns; ++c)
            byId[id][c] += Amount::fromUnits(st.columnInt64(c + 1));
    }
    for (std::size_t id = 0; id < byId.size(); ++id)
        if (seen[id]) {
            const auto &a = byId[id];
            sums[static_cast<int16_t>(id)] = {a[0], a[1], a[2], a[3], a[4], a[5]};
        }
    return sums;
}

std::vector<NodeSums> ReportQueries::dataNodeSums(Database &db, const std::vector<SheetIdRange> &ids)
{
    Statement st = db.prepare("SELECT p.pmname, d.je1, d.je2, d.je3 FROM (SELECT pmid, pmname FROM pmprop WHERE "
                              "nodetype = ?) AS p LEFT OUTER JOIN (SELECT pmid, sum(v1) AS je1, sum(v2) AS je2, "
                              "sum(v3) AS je3 FROM sheetdata WHERE " +
                              (ids.empty() ? std::string("0") : idCondition(ids.size())) +
                              " GROUP BY pmid) AS d ON p.pmid = d.pmid ORDER BY p.pmid");
    st.bind(1, static_cast<int>(NodeType::Data));
    bindRanges(st, ids, 2);
    std::vector<NodeSums> rows;
    while (st.step())
        rows.push_back({st.columnText(0), amountAt(st, 1), amountAt(st, 2), amountAt(st, 3)});
    return rows;
}

std::vector<SheetListRow> ReportQueries::detailSheetsWithTotals(Database &db)
{
    Statement st = db.prepare("SELECT d.id, l.code, l.name FROM (SELECT DISTINCT id FROM sheetdata WHERE id > ?) "
                              "AS d LEFT OUTER JOIN sheetlist AS l ON l.id = d.id ORDER BY d.id");
    st.bind(1, 9);
    std::vector<SheetListRow> out;
    while (st.step())
        out.push_back({st.columnInt16(0), st.columnText(1), st.columnText(2)});
    return out;
}

int ReportQueries::dataNodeCount(Database &db)
{
    Statement st = db.prepare("SELECT count(pmid) FROM pmprop WHERE nodetype = ?");
    st.bind(1, static_cast<int>(NodeType::Data));
    return st.step() ? static_cast<int>(st.columnInt64(0)) : 0;
}

std::string ReportQueries::holdingUnit(Database &db)
{
    Statement st = db.prepare("SELECT zczydw FROM pmprop WHERE pmid = ?");
    st.bind(1, 0);
    return st.step() ? st.columnText(0) : std::string();
}

} // namespace vantor
