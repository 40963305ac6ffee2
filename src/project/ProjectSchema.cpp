#include "project/ProjectSchema.h"

#include "project/Database.h"
#include "project/Savepoint.h"
#include "project/Statement.h"

#include <array>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace vantor {

namespace {

// Column names in their positions; pwd of pmprop is addressed by name only
// but still has a fixed place at the end.
struct TableLayout {
    const char *name;
    std::vector<const char *> columns;
};

const std::array<TableLayout, 4> &layouts()
{
    static const std::array<TableLayout, 4> tables{{
        {"pmprop", {"pmid", "nodetype", "parent", "pmname", "zczydw", "zcpgs", "xmfzr", "pgjzr", "frdb", "pwd"}},
        {"sheetlist", {"id", "code", "name"}},
        {"sheetprop", {"pmid", "id", "tbr", "pgry", "tbrq"}},
        {"sheetdata", {"id", "pmid", "v1", "v2", "v3", "z1", "z2", "z3"}},
    }};
    return tables;
}

const char *const kCreateSql = R"sql(
CREATE TABLE pmprop (
    pmid     INTEGER NOT NULL UNIQUE CHECK (pmid BETWEEN -32768 AND 32767),
    nodetype INTEGER NOT NULL DEFAULT 0 CHECK (nodetype BETWEEN -32768 AND 32767),
    parent   INTEGER NOT NULL DEFAULT 0 CHECK (parent BETWEEN -32768 AND 32767),
    pmname   TEXT,
    zczydw   TEXT,
    zcpgs    TEXT,
    xmfzr    TEXT,
    pgjzr    TEXT,
    frdb     TEXT,
    pwd      TEXT NOT NULL DEFAULT ''
);
CREATE TABLE sheetlist (
    id   INTEGER NOT NULL UNIQUE CHECK (id BETWEEN -32768 AND 32767),
    code TEXT NOT NULL DEFAULT '',
    name TEXT NOT NULL DEFAULT ''
);
CREATE TABLE sheetprop (
    pmid INTEGER NOT NULL CHECK (pmid BETWEEN -32768 AND 32767),
    id   INTEGER NOT NULL CHECK (id BETWEEN -32768 AND 32767),
    tbr  TEXT,
    pgry TEXT,
    tbrq TEXT
);
CREATE INDEX sheetprop_node ON sheetprop (pmid, id);
CREATE TABLE sheetdata (
    id   INTEGER NOT NULL CHECK (id BETWEEN -32768 AND 32767),
    pmid INTEGER NOT NULL DEFAULT 0 CHECK (pmid BETWEEN -32768 AND 32767),
    v1   INTEGER NOT NULL DEFAULT 0,
    v2   INTEGER NOT NULL DEFAULT 0,
    v3   INTEGER NOT NULL DEFAULT 0,
    z1   INTEGER NOT NULL DEFAULT 0,
    z2   INTEGER NOT NULL DEFAULT 0,
    z3   INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX sheetdata_sheet ON sheetdata (id, pmid);
CREATE INDEX sheetdata_node ON sheetdata (pmid);
)sql";

// Version 2: where each data node of a summary project was taken over from, so that a
// revised file can be recognised and brought in again. Version-1 files lack it.
const char *const kNodeSourceSql = R"sql(
CREATE TABLE nodesource (
    pmid     INTEGER NOT NULL UNIQUE CHECK (pmid BETWEEN -32768 AND 32767),
    path     TEXT NOT NULL,
    checksum TEXT NOT NULL
);
)sql";

std::string kindName(const std::string &type)
{
    if (type == "trigger")
        return "触发器";
    if (type == "view")
        return "视图";
    if (type == "index")
        return "索引";
    return "数据表";
}

struct SchemaEntry {
    std::string type, name, table, sql;
    bool operator<(const SchemaEntry &o) const
    {
        return std::tie(type, name, table, sql) < std::tie(o.type, o.name, o.table, o.sql);
    }
    bool operator==(const SchemaEntry &o) const = default;
};

// The schema entries of a database, without the statistics tables SQLite's
// ANALYZE keeps (they only steer the query planner).
std::set<SchemaEntry> schemaEntries(Database &db)
{
    std::set<SchemaEntry> entries;
    Statement st = db.prepare("SELECT type, name, tbl_name, coalesce(sql, '') FROM sqlite_schema");
    while (st.step()) {
        SchemaEntry entry{st.columnText(0), st.columnText(1), st.columnText(2), st.columnText(3)};
        if (entry.type == "table" && entry.name.rfind("sqlite_stat", 0) == 0)
            continue;
        entries.insert(std::move(entry));
    }
    return entries;
}

// The entries a project database of the given version has, read from one made afresh.
const std::set<SchemaEntry> &expectedEntries(int64_t version)
{
    static const std::array<std::set<SchemaEntry>, 2> expected = [] {
        Database db(":memory:", Database::Mode::ReadWriteCreate);
        db.exec(kCreateSql);
        std::set<SchemaEntry> first = schemaEntries(db);
        db.exec(kNodeSourceSql);
        return std::array<std::set<SchemaEntry>, 2>{first, schemaEntries(db)};
    }();
    return expected[version >= 2 ? 1 : 0];
}

int64_t userVersion(Database &db)
{
    Statement st = db.prepare("PRAGMA user_version");
    return st.step() ? st.columnInt64(0) : 0;
}

} // namespace

void ProjectSchema::create(Database &db, int16_t kind)
{
    Savepoint sp(db);
    db.exec(kCreateSql);
    db.exec(kNodeSourceSql);
    db.prepare("INSERT INTO pmprop (pmid, nodetype, parent, pwd) VALUES (0, ?, 0, '')").bindAll(int{kind}).run();
    db.exec("PRAGMA application_id = " + std::to_string(kApplicationId));
    db.exec("PRAGMA user_version = " + std::to_string(kVersion));
    sp.commit();
}

void ProjectSchema::check(Database &db)
{
    Statement appId = db.prepare("PRAGMA application_id");
    int64_t id = appId.step() ? appId.columnInt64(0) : 0;
    if (id != kApplicationId)
        throw DatabaseError("文件不是Vantor项目数据库");

    const int64_t version = userVersion(db);
    if (version < 1 || version > kVersion)
        throw DatabaseError("项目文件的版本(" + std::to_string(version) + ")不是本程序能读取的版本(" +
                            std::to_string(kVersion) + ")");

    for (const TableLayout &table : layouts()) {
        Statement info = db.prepare("SELECT name FROM pragma_table_info(?) ORDER BY cid");
        info.bind(1, table.name);
        size_t position = 0;
        while (info.step()) {
            if (position < table.columns.size() && info.columnText(0) != table.columns[position])
                break;
            ++position;
        }
        if (position < table.columns.size())
            throw DatabaseError(std::string("项目文件缺少数据表或字段：") + table.name);
    }

    // Nothing of its own: a trigger, view, index or table the program did not
    // make could run or change things behind the program's back.
    const std::set<SchemaEntry> &expected = expectedEntries(version);
    const std::set<SchemaEntry> actual = schemaEntries(db);
    for (const SchemaEntry &entry : actual) {
        if (!expected.count(entry))
            throw DatabaseError("项目文件已损坏：含有本程序不认识的" + kindName(entry.type) + "“" + entry.name + "”");
    }
    if (actual.size() != expected.size())
        throw DatabaseError("项目文件已损坏：缺少数据表或索引");

    Statement root = db.prepare("SELECT count(*) FROM pmprop WHERE pmid = 0");
    if (!root.step() || root.columnInt64(0) != 1)
        throw DatabaseError("项目文件缺少项目属性记录");
}

bool ProjectSchema::hasNodeSources(Database &db)
{
    return userVersion(db) >= 2;
}

void ProjectSchema::addNodeSources(Database &db)
{
    if (hasNodeSources(db))
        return;
    Savepoint sp(db);
    db.exec(kNodeSourceSql);
    db.exec("PRAGMA user_version = 2");
    sp.commit();
}

} // namespace vantor
