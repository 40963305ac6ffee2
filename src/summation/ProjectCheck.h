#pragma once

// 数据检查: whether the figures of a project hang together, as a reviewer checks them
// before a report leaves the firm. A data-entry project is checked sheet by sheet from its
// workbook and its stored totals: stored totals current, total rows equal to the sum of
// their data rows, derived cells and row rates as the row formulas give them, numbers where
// numbers belong, half-filled rows, outlying rates, the balance of 表1 and 表2, and the report
// texts. A summary project has no detail sheets: each data node is checked from its stored
// totals (balance, class rows, sheet rates, report texts), and a node whose source file
// changed since it was taken over is pointed out.
//
// The check only reads: the workbook, the project and the files are left as they were. The
// summary sheets are evaluated in a workbook of its own.

#include "common/Amount.h"
#include "project/ProjectRecords.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantor {

class ProjectStore;
class Workbook;

enum class CheckSeverity { Error, Hint }; // 错误, 提示

struct CheckFinding {
    CheckSeverity severity = CheckSeverity::Error;
    int16_t node = 0;     // the data node of a summary project; 0 otherwise
    std::string nodeName; // empty for a data-entry project
    int sheetId = -1;     // -1: the project or node as a whole
    std::string sheetCode;
    std::string sheetName;
    int col = -1; // the cell, 0-based; -1 when the finding names no cell
    int row = -1;
    std::string message;

    // The cell as the sheet shows it ("F12"), empty when there is none.
    std::string cellName() const;
};

// The rates beyond which a row or a whole sheet is pointed out, in percent.
struct CheckLimits {
    Amount rowRate = Amount::fromUnits(100 * Amount::kScale);
    Amount sheetRate = Amount::fromUnits(50 * Amount::kScale);
};

struct CheckReport {
    std::vector<CheckFinding> findings;

    int count(CheckSeverity severity) const;
    // "检查完毕：未发现错误和提示。" or "检查完毕：错误 2 项，提示 5 项。"
    std::string summary() const;
};

class ProjectCheck {
public:
    // Checks the open project. `workbook` is the project's workbook (a data-entry project's
    // detail sheets are read from it; ignored for a summary project). `node` limits a
    // summary project's check to one data node.
    static CheckReport run(const Workbook &workbook, const ProjectStore &store, const CheckLimits &limits,
                           std::optional<int16_t> node = std::nullopt);

    static const char *severityText(CheckSeverity severity);
    // The findings as CSV (UTF-8, a heading line, fields quoted where needed).
    static std::string csv(const CheckReport &report);
    // One finding as a line: severity, node, sheet code, cell, message, tab-separated.
    static std::string line(const CheckFinding &finding);
};

} // namespace vantor
