#include "project/ProjectStore.h"

#include "common/Utf8Text.h"
#include "project/Database.h"
#include "project/IsoDate.h"
#include "project/ProjectSchema.h"
#include "project/Savepoint.h"
#include "project/Statement.h"

#include <limits>
#include <map>
#include <set>

namespace vantor {

namespace {

const char *const kNodeColumns = "pmid, nodetype, parent, pmname, zczydw, zcpgs, xmfzr, pgjzr, frdb";

std::optional<std::string> dateText(const std::optional<std::chrono::year_month_day> &date)
{
    if (!date)
        return std::nullopt;
    return IsoDate::format(*date);
}

std::optional<std::chrono::year_month_day> readDate(const Statement &st, int column)
{
    auto text = st.columnOptionalText(column);
    if (!text)
        return std::nullopt;
    return IsoDate::parse(*text);
}

ProjectNode readNode(const Statement &st)
{
    ProjectNode node;
    node.pmid = st.columnInt16(0);
    node.nodetype = st.columnInt16(1);
    node.parent = st.columnInt16(2);
    node.properties.pmname = st.columnOptionalText(3);
    node.properties.zczydw = st.columnOptionalText(4);
    node.properties.zcpgs = st.columnOptionalText(5);
    node.properties.xmfzr = st.columnOptionalText(6);
    node.properties.pgjzr = readDate(st, 7);
    node.properties.frdb = st.columnOptionalText(8);
    return node;
}

SheetTotals readTotals(const Statement &st, int first)
{
    SheetTotals t;
    t.v1 = Amount::fromUnits(st.columnInt64(first));
    t.v2 = Amount::fromUnits(st.columnInt64(first + 1));
    t.v3 = Amount::fromUnits(st.columnInt64(first + 2));
    t.z1 = Amount::fromUnits(st.columnInt64(first + 3));
    t.z2 = Amount::fromUnits(st.columnInt64(first + 4));
    t.z3 = Amount::fromUnits(st.columnInt64(first + 5));
    return t;
}

void bindProperties(Statement &st, int first, const NodeProperties &p)
{
    st.bind(first, p.pmname);
    st.bind(first + 1, p.zczydw);
    st.bind(first + 2, p.zcpgs);
    st.bind(first + 3, p.xmfzr);
    st.bind(first + 4, dateText(p.pgjzr));
    st.bind(first + 5, p.frdb);
}

} // namespace

ProjectKind ProjectStore::kind() const
{
    Statement st = m_db.prepare("SELECT nodetype FROM pmprop WHERE pmid = 0");
    if (!st.step())
        throw DatabaseError("项目文件缺少项目属性记录");
    switch (st.columnInt16(0)) {
    case 0:
        return ProjectKind::Summary;
    case 1:
        return ProjectKind::DataEntry;
    default:
        throw DatabaseError("项目类型无效：" + std::to_string(st.columnInt16(0)));
    }
}

void ProjectStore::setKind(ProjectKind kind)
{
    m_db.prepare("UPDATE pmprop SET nodetype = ? WHERE pmid = 0").bindAll(static_cast<int>(kind)).run();
}

std::optional<ProjectNode> ProjectStore::node(int16_t pmid) const
{
    Statement st = m_db.prepare(std::string("SELECT ") + kNodeColumns + " FROM pmprop WHERE pmid = ?");
    st.bindAll(int{pmid});
    if (!st.step())
        return std::nullopt;
    return readNode(st);
}

std::vector<ProjectNode> ProjectStore::nodes() const
{
    Statement st = m_db.prepare(std::string("SELECT ") + kNodeColumns + " FROM pmprop ORDER BY pmid");
    std::vector<ProjectNode> out;
    while (st.step())
        out.push_back(readNode(st));
    return out;
}

void ProjectStore::updateNodeProperties(int16_t pmid, const NodeProperties &properties, std::optional<ProjectKind> kind)
{
    Statement st = m_db.prepare(kind ? "UPDATE pmprop SET pmname = ?, zczydw = ?, zcpgs = ?, xmfzr = ?, "
                                       "pgjzr = ?, frdb = ?, nodetype = ? WHERE pmid = ?"
                                     : "UPDATE pmprop SET pmname = ?, zczydw = ?, zcpgs = ?, xmfzr = ?, "
                                       "pgjzr = ?, frdb = ? WHERE pmid = ?");
    bindProperties(st, 1, properties);
    int next = 7;
    if (kind)
        st.bind(next++, static_cast<int>(*kind));
    st.bind(next, int{pmid});
    int64_t before = m_db.totalChanges();
    st.run();
    if (m_db.totalChanges() == before)
        throw DatabaseError("项目结点不存在：" + std::to_string(pmid));
}

int16_t ProjectStore::newNodeId() const
{
    Statement st = m_db.prepare("SELECT pmid FROM pmprop WHERE pmid > 0 ORDER BY pmid");
    int64_t counter = 1;
    while (st.step()) {
        if (st.columnInt64(0) != counter)
            break;
        ++counter;
    }
    if (counter > std::numeric_limits<int16_t>::max())
        throw DatabaseError("项目结点数量已达上限");
    return static_cast<int16_t>(counter);
}

int16_t ProjectStore::insertFolderNode(int16_t parent)
{
    if (parent != 0) {
        const auto folder = node(parent);
        if (!folder || folder->nodetype == static_cast<int16_t>(NodeType::Data))
            throw DatabaseError("上级结点" + std::to_string(parent) + "不是汇总结点");
    }
    Savepoint sp(m_db);
    int16_t id = newNodeId();
    m_db.prepare("INSERT INTO pmprop (pmid, nodetype, parent) VALUES (?, 0, ?)").bindAll(int{id}, int{parent}).run();
    sp.commit();
    return id;
}

int16_t ProjectStore::insertDataNode(int16_t parent, const NodeProperties &properties)
{
    Savepoint sp(m_db);
    int16_t id = newNodeId();
    Statement st = m_db.prepare("INSERT INTO pmprop (pmid, nodetype, parent, pmname, zczydw, zcpgs, xmfzr, "
                                "pgjzr, frdb) VALUES (?, 1, ?, ?, ?, ?, ?, ?, ?)");
    st.bind(1, int{id});
    st.bind(2, int{parent});
    bindProperties(st, 3, properties);
    st.run();
    sp.commit();
    return id;
}

std::vector<int16_t> ProjectStore::deleteNode(int16_t pmid)
{
    if (pmid == 0)
        throw DatabaseError("不能删除项目根结点");
    Savepoint sp(m_db);
    std::vector<int16_t> removed;
    {
        // The node and its descendants; a loop of parents in a damaged file ends.
        std::map<int16_t, std::vector<int16_t>> children;
        for (const ProjectNode &n : nodes())
            if (n.pmid != 0)
                children[n.parent].push_back(n.pmid);
        std::set<int16_t> below{pmid};
        std::vector<int16_t> pending{pmid};
        while (!pending.empty()) {
            const int16_t at = pending.back();
            pending.pop_back();
            for (const int16_t child : children[at])
                if (below.insert(child).second)
                    pending.push_back(child);
        }
        if (node(pmid))
            removed.assign(below.begin(), below.end());
    }
    Statement delProp = m_db.prepare("DELETE FROM sheetprop WHERE pmid = ?");
    Statement delData = m_db.prepare("DELETE FROM sheetdata WHERE pmid = ?");
    Statement delNode = m_db.prepare("DELETE FROM pmprop WHERE pmid = ?");
    std::optional<Statement> delSource;
    if (ProjectSchema::hasNodeSources(m_db))
        delSource.emplace(m_db.prepare("DELETE FROM nodesource WHERE pmid = ?"));
    for (int16_t id : removed) {
        delProp.bind(1, int{id}).run();
        delData.bind(1, int{id}).run();
        delNode.bind(1, int{id}).run();
        if (delSource)
            delSource->bind(1, int{id}).run();
    }
    sp.commit();
    return removed;
}

int16_t ProjectStore::parentForNewDataNode(int16_t selected) const
{
    if (selected == 0)
        return 0;
    auto n = node(selected);
    if (!n)
        return 0;
    if (n->nodetype != static_cast<int16_t>(NodeType::Data))
        return n->pmid; // a folder takes the new node in
    return n->parent;   // beside the selected data node
}

std::string ProjectStore::passwordHash() const
{
    Statement st = m_db.prepare("SELECT pwd FROM pmprop WHERE pmid = 0");
    if (!st.step())
        throw DatabaseError("项目文件缺少项目属性记录");
    return st.columnText(0);
}

void ProjectStore::setPasswordHash(const std::string &hash)
{
    m_db.prepare("UPDATE pmprop SET pwd = ? WHERE pmid = 0").bindAll(hash).run();
}

std::vector<SheetListRow> ProjectStore::sheets() const
{
    Statement st = m_db.prepare("SELECT id, code, name FROM sheetlist ORDER BY id");
    std::vector<SheetListRow> out;
    while (st.step())
        out.push_back({st.columnInt16(0), st.columnText(1), st.columnText(2)});
    return out;
}

std::vector<SheetListRow> ProjectStore::detailSheets() const
{
    Statement st = m_db.prepare("SELECT id, code, name FROM sheetlist WHERE id > 9 ORDER BY id");
    std::vector<SheetListRow> out;
    while (st.step())
        out.push_back({st.columnInt16(0), st.columnText(1), st.columnText(2)});
    return out;
}

std::optional<SheetListRow> ProjectStore::sheet(int16_t id) const
{
    Statement st = m_db.prepare("SELECT id, code, name FROM sheetlist WHERE id = ?");
    st.bindAll(int{id});
    if (!st.step())
        return std::nullopt;
    return SheetListRow{st.columnInt16(0), st.columnText(1), st.columnText(2)};
}

void ProjectStore::insertSheet(const SheetListRow &row)
{
    m_db.prepare("INSERT INTO sheetlist (id, code, name) VALUES (?, ?, ?)")
        .bindAll(int{row.id}, row.code, row.name)
        .run();
}

void ProjectStore::updateSheetName(int16_t id, const std::string &code, const std::string &name)
{
    m_db.prepare("UPDATE sheetlist SET code = ?, name = ? WHERE id = ?").bindAll(code, name, int{id}).run();
}

void ProjectStore::deleteSheet(int16_t id)
{
    Savepoint sp(m_db);
    m_db.prepare("DELETE FROM sheetlist WHERE id = ?").bindAll(int{id}).run();
    m_db.prepare("DELETE FROM sheetprop WHERE id = ?").bindAll(int{id}).run();
    m_db.prepare("DELETE FROM sheetdata WHERE id = ?").bindAll(int{id}).run();
    sp.commit();
}

std::vector<SheetSignatories> ProjectStore::signatories(int16_t pmid) const
{
    Statement st = m_db.prepare("SELECT id, tbr, pgry, tbrq FROM sheetprop WHERE pmid = ? ORDER BY id");
    st.bindAll(int{pmid});
    std::vector<SheetSignatories> out;
    while (st.step())
        out.push_back({st.columnInt16(0), st.columnText(1), st.columnText(2), readDate(st, 3)});
    return out;
}

std::vector<SignatorySheet> ProjectStore::signatorySheets(int16_t pmid, ProjectKind kind) const
{
    Statement st = m_db.prepare("SELECT l.id, l.code, l.name, p.tbr, p.pgry, p.tbrq, p.pmid IS NOT NULL "
                                "FROM sheetlist AS l LEFT JOIN "
                                "(SELECT * FROM sheetprop WHERE pmid = ? GROUP BY id) AS p ON l.id = p.id "
                                "WHERE l.id >= 3 AND l.id <= ? ORDER BY l.id");
    st.bindAll(int{pmid}, kind == ProjectKind::Summary ? 9 : 32767);
    std::vector<SignatorySheet> out;
    while (st.step()) {
        SignatorySheet row;
        row.id = st.columnInt16(0);
        row.code = st.columnText(1);
        row.name = st.columnText(2);
        row.signatories = {row.id, st.columnText(3), st.columnText(4), readDate(st, 5)};
        row.stored = st.columnInt64(6) != 0;
        out.push_back(std::move(row));
    }
    return out;
}

void ProjectStore::replaceSignatories(int16_t pmid, const std::vector<SheetSignatories> &rows)
{
    Savepoint sp(m_db);
    m_db.prepare("DELETE FROM sheetprop WHERE pmid = ?").bindAll(int{pmid}).run();
    Statement insert = m_db.prepare("INSERT INTO sheetprop (pmid, id, tbr, pgry, tbrq) VALUES (?, ?, ?, ?, ?)");
    for (const SheetSignatories &row : rows) {
        if (row.tbr.empty() && row.pgry.empty())
            continue;
        insert.bindAll(int{pmid}, int{row.id}, std::string(Utf8Text::left(row.tbr, kSignatoryLength)),
                       std::string(Utf8Text::left(row.pgry, kSignatoryLength)), dateText(row.tbrq));
        insert.run();
    }
    sp.commit();
}

std::vector<SheetDataRow> ProjectStore::sheetData() const
{
    Statement st = m_db.prepare("SELECT id, pmid, v1, v2, v3, z1, z2, z3 FROM sheetdata ORDER BY id, pmid");
    std::vector<SheetDataRow> out;
    while (st.step())
        out.push_back({st.columnInt16(0), st.columnInt16(1), readTotals(st, 2)});
    return out;
}

std::optional<SheetTotals> ProjectStore::sheetTotals(int16_t id, int16_t pmid) const
{
    Statement st = m_db.prepare("SELECT v1, v2, v3, z1, z2, z3 FROM sheetdata WHERE id = ? AND pmid = ?");
    st.bindAll(int{id}, int{pmid});
    if (!st.step())
        return std::nullopt;
    SheetTotals totals = readTotals(st, 0);
    if (st.step()) // several rows: the sheet has no single set of totals
        return std::nullopt;
    return totals;
}

void ProjectStore::writeSheetTotals(int16_t id, int16_t pmid, const SheetTotals &totals)
{
    // Switching sheets writes the totals every time; an unchanged sheet must
    // not make the project look modified, so an equal row is left alone.
    {
        Statement st = m_db.prepare("SELECT v1, v2, v3, z1, z2, z3 FROM sheetdata WHERE id = ? AND pmid = ?");
        st.bindAll(int{id}, int{pmid});
        int rows = 0;
        SheetTotals stored;
        while (st.step()) {
            ++rows;
            stored = readTotals(st, 0);
        }
        if (totals.isZero() ? rows == 0 : (rows == 1 && stored == totals))
            return;
    }
    Savepoint sp(m_db);
    deleteSheetTotals(id, pmid);
    if (!totals.isZero()) {
        m_db.prepare("INSERT INTO sheetdata (id, pmid, v1, v2, v3, z1, z2, z3) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
            .bindAll(int{id}, int{pmid}, totals.v1.units(), totals.v2.units(), totals.v3.units(), totals.z1.units(),
                     totals.z2.units(), totals.z3.units())
            .run();
    }
    sp.commit();
}

void ProjectStore::deleteSheetTotals(int16_t id, int16_t pmid)
{
    m_db.prepare("DELETE FROM sheetdata WHERE id = ? AND pmid = ?").bindAll(int{id}, int{pmid}).run();
}

std::map<int16_t, SheetTotals> ProjectStore::sumsById(const std::vector<int16_t> &nodes) const
{
    std::string sql = "SELECT id, sum(v1), sum(v2), sum(v3), sum(z1), sum(z2), sum(z3) FROM sheetdata";
    if (!nodes.empty()) {
        sql += " WHERE pmid IN (";
        for (size_t i = 0; i < nodes.size(); ++i)
            sql += i ? ",?" : "?";
        sql += ")";
    }
    sql += " GROUP BY id ORDER BY id";
    Statement st = m_db.prepare(sql);
    for (size_t i = 0; i < nodes.size(); ++i)
        st.bind(static_cast<int>(i + 1), int{nodes[i]});
    std::map<int16_t, SheetTotals> out;
    while (st.step())
        out[st.columnInt16(0)] = readTotals(st, 1);
    return out;
}

void ProjectStore::replaceNodeTotals(int16_t pmid, const std::map<int16_t, SheetTotals> &totals)
{
    Savepoint sp(m_db);
    m_db.prepare("DELETE FROM sheetdata WHERE pmid = ?").bindAll(int{pmid}).run();
    Statement insert =
        m_db.prepare("INSERT INTO sheetdata (id, pmid, v1, v2, v3, z1, z2, z3) VALUES (?,?,?,?,?,?,?,?)");
    for (const auto &[id, t] : totals) {
        if (t.isZero())
            continue;
        insert.bindAll(int{id}, int{pmid}, t.v1.units(), t.v2.units(), t.v3.units(), t.z1.units(), t.z2.units(),
                       t.z3.units());
        insert.run();
    }
    sp.commit();
}

std::optional<NodeSource> ProjectStore::nodeSource(int16_t pmid) const
{
    if (!ProjectSchema::hasNodeSources(m_db))
        return std::nullopt;
    Statement st = m_db.prepare("SELECT pmid, path, checksum FROM nodesource WHERE pmid = ?");
    st.bind(1, int{pmid});
    if (!st.step())
        return std::nullopt;
    return NodeSource{st.columnInt16(0), st.columnText(1), st.columnText(2)};
}

std::vector<NodeSource> ProjectStore::nodeSources() const
{
    std::vector<NodeSource> out;
    if (!ProjectSchema::hasNodeSources(m_db))
        return out;
    Statement st = m_db.prepare("SELECT pmid, path, checksum FROM nodesource ORDER BY pmid");
    while (st.step())
        out.push_back({st.columnInt16(0), st.columnText(1), st.columnText(2)});
    return out;
}

void ProjectStore::setNodeSource(const NodeSource &source)
{
    Savepoint sp(m_db);
    ProjectSchema::addNodeSources(m_db);
    m_db.prepare("INSERT OR REPLACE INTO nodesource (pmid, path, checksum) VALUES (?, ?, ?)")
        .bindAll(int{source.pmid}, source.path, source.checksum)
        .run();
    sp.commit();
}

} // namespace vantor
