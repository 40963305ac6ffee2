#pragma once

// Plain records of the project database, one per table row kind, as the store
// reads and writes them. Ids and kinds are 16-bit as in the file; amounts are
// exact (vantor::Amount); dates are calendar dates, absent when not set.

#include "common/Amount.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace vantor {

// The kind of the open project, stored in nodetype of pmprop row 0.
enum class ProjectKind : int16_t { None = -1, Summary = 0, DataEntry = 1 };

// nodetype of the other pmprop rows.
enum class NodeType : int16_t { Folder = 0, Data = 1 };

// The editable properties of one project node (pmprop columns 3 to 8); a null
// column is an absent value.
struct NodeProperties {
    std::optional<std::string> pmname;                // 项目名称简称
    std::optional<std::string> zczydw;                // 资产占有单位
    std::optional<std::string> zcpgs;                 // 签字注册评估师
    std::optional<std::string> xmfzr;                 // 项目负责人员
    std::optional<std::chrono::year_month_day> pgjzr; // 评估基准日期
    std::optional<std::string> frdb;                  // 单位法人代表; "请输入" counts as not set
};

struct ProjectNode {
    int16_t pmid = 0;
    int16_t nodetype = 0; // in row 0 the project kind
    int16_t parent = 0;
    NodeProperties properties;
};

// One row of sheetlist.
struct SheetListRow {
    int16_t id = 0;
    std::string code;
    std::string name;
};

// One row of sheetprop: the signatories of one sheet of one node.
struct SheetSignatories {
    int16_t id = 0;
    std::string tbr;                                 // 单位填表人, at most 10 characters are stored
    std::string pgry;                                // 评估人员, at most 10 characters are stored
    std::optional<std::chrono::year_month_day> tbrq; // 填表日期
};

// One line of the signatories dialog: a sheet of the catalogue with the
// signatories a node has for it (empty when it has none).
struct SignatorySheet {
    int16_t id = 0;
    std::string code;
    std::string name;
    SheetSignatories signatories;
    bool stored = false; // the node has a sheetprop row for the sheet
};

// The six totals of one sheetdata row.
struct SheetTotals {
    Amount v1, v2, v3; // book, adjusted, appraised
    Amount z1, z2, z3; // the same of the cost (原值) columns

    bool isZero() const
    {
        return v1.isZero() && v2.isZero() && v3.isZero() && z1.isZero() && z2.isZero() && z3.isZero();
    }
    friend bool operator==(const SheetTotals &, const SheetTotals &) = default;
};

// Where a data node of a summary project was taken over from: the project file's path
// (absolute) and the checksum of its content at that moment (ProjectSource::checksum).
struct NodeSource {
    int16_t pmid = 0;
    std::string path;
    std::string checksum;
    friend bool operator==(const NodeSource &, const NodeSource &) = default;
};

// The sheet ids first … last (both included) of a query over sheetdata.
struct SheetIdRange {
    int first;
    int last;
};

struct SheetDataRow {
    int16_t id = 0;
    int16_t pmid = 0;
    SheetTotals totals;
};

} // namespace vantor
