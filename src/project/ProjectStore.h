#pragma once

// Typed access to the tables of an open project database: the project
// properties and node tree (pmprop), the sheet catalogue (sheetlist), the
// signatories (sheetprop) and the sheet totals (sheetdata). Every operation
// that changes more than one row runs inside a savepoint, so it happens
// completely or not at all. The store does not own the connection.

#include "project/ProjectRecords.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vantor {

class Database;

class ProjectStore {
public:
    // frdb text that stands for "not set yet".
    static constexpr const char *kUnsetRepresentative = "请输入";
    // Characters kept of a preparer or appraiser name.
    static constexpr int kSignatoryLength = 10;

    explicit ProjectStore(Database &db) : m_db(db) {}

    Database &database() const { return m_db; }

    // --- pmprop ---------------------------------------------------------
    ProjectKind kind() const;
    void setKind(ProjectKind kind);
    std::optional<ProjectNode> node(int16_t pmid) const;
    // Every row, ordered by pmid (row 0 first).
    std::vector<ProjectNode> nodes() const;
    // Writes columns 3 to 8 of the node (absent values become NULL); with a
    // kind also nodetype (row 0 of a project that was never saved). Throws
    // DatabaseError when the node does not exist.
    void updateNodeProperties(int16_t pmid, const NodeProperties &properties,
                              std::optional<ProjectKind> kind = std::nullopt);

    // The smallest positive pmid not in use; throws DatabaseError when all
    // 32767 are taken.
    int16_t newNodeId() const;
    // Appends a folder node with nothing but its id, type and parent: under the root
    // (the tree's own command) or inside another folder. Throws DatabaseError when
    // `parent` is neither the root nor a folder.
    int16_t insertFolderNode(int16_t parent = 0);
    // Appends a data node under `parent` (0 or a folder) with the properties given.
    int16_t insertDataNode(int16_t parent, const NodeProperties &properties);
    // Removes the node, every node below it (folders inside folders too), and
    // the sheetprop and sheetdata rows of every removed node. The root cannot be
    // removed. Returns the removed ids in ascending order.
    std::vector<int16_t> deleteNode(int16_t pmid);

    // The parent a new data node gets when `selected` is the selected node:
    // the root for the root and for data nodes directly under it, the folder
    // for a folder and for a data node inside that folder.
    int16_t parentForNewDataNode(int16_t selected) const;

    // pwd of row 0: empty when the project has no password, else a password hash.
    std::string passwordHash() const;
    void setPasswordHash(const std::string &hash);

    // --- sheetlist ------------------------------------------------------
    std::vector<SheetListRow> sheets() const;       // every row by id
    std::vector<SheetListRow> detailSheets() const; // id > 9, by id
    std::optional<SheetListRow> sheet(int16_t id) const;
    void insertSheet(const SheetListRow &row);
    void updateSheetName(int16_t id, const std::string &code, const std::string &name);
    // Removes the catalogue row and the signatories and totals of the sheet,
    // so that the summations stop counting it.
    void deleteSheet(int16_t id);

    // --- sheetprop ------------------------------------------------------
    std::vector<SheetSignatories> signatories(int16_t pmid) const;
    // The sheets the signatories dialog lists for a node, by id: every sheet
    // from id 3 on in a data-entry project, sheets 3 to 9 in a summary project.
    std::vector<SignatorySheet> signatorySheets(int16_t pmid, ProjectKind kind) const;
    // Replaces all signatories of the node. Names are cut to 10 characters;
    // rows whose preparer and appraiser are both empty are not stored.
    void replaceSignatories(int16_t pmid, const std::vector<SheetSignatories> &rows);

    // --- sheetdata ------------------------------------------------------
    std::vector<SheetDataRow> sheetData() const; // every row, by id then pmid
    std::optional<SheetTotals> sheetTotals(int16_t id, int16_t pmid) const;
    // Stores the totals of one sheet of one node as its only row; all-zero
    // totals remove the row. Leaves the database untouched (no change is
    // counted) when the stored row already equals the new one.
    void writeSheetTotals(int16_t id, int16_t pmid, const SheetTotals &totals);
    void deleteSheetTotals(int16_t id, int16_t pmid);
    // Sums of the rows of the given nodes (all nodes when empty) per sheet id.
    // Overflow of a sum throws DatabaseError instead of wrapping.
    std::map<int16_t, SheetTotals> sumsById(const std::vector<int16_t> &nodes = {}) const;

    // Replaces every sheetdata row of the node by one row per sheet id, in one savepoint;
    // all-zero totals leave no row.
    void replaceNodeTotals(int16_t pmid, const std::map<int16_t, SheetTotals> &totals);

    // --- nodesource -------------------------------------------------------
    // Nothing is stored for nodes taken over before sources were remembered, and a file
    // without the table (an older version) has none at all.
    std::optional<NodeSource> nodeSource(int16_t pmid) const;
    std::vector<NodeSource> nodeSources() const; // by pmid
    // Stores (or replaces) the source of a node; adds the table to an older file first.
    void setNodeSource(const NodeSource &source);

private:
    Database &m_db;
};

} // namespace vantor
