#pragma once

// 更新项目数据: bringing a revised data-entry project into the data node of a summary
// project that was taken over from it. The node keeps its id, name, parent and place in
// the tree; its sheetdata rows are replaced by the totals of the file in one savepoint,
// and the file's path and checksum are remembered as the node's new source. Everything
// is read and compared before anything is written, so a file that cannot be read (a
// damaged file, a summary project, another program's database) leaves the node exactly
// as it was, and the message names the file.

#include "common/Prompter.h"
#include "project/ProjectSession.h"
#include "project/ProjectSource.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantor {

// The stored and the new totals of one sheet id of the node.
struct SheetChange {
    int16_t id = 0;
    SheetTotals before, after;
};

struct RefreshPlan {
    int16_t node = 0;
    SourceContent source;
    std::vector<SheetChange> changes; // sheet ids whose totals differ, ascending
};

// A refresh that cannot be done; what() names the file and the cause.
class RefreshError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ProjectRefresh {
public:
    // Reads the file and compares its totals with the node's. Throws RefreshError when the
    // node is not a data node or the file cannot be read as a data-entry project.
    static RefreshPlan prepare(const ProjectStore &store, int16_t node, const std::string &path,
                               const std::string &tempFolder);
    // Replaces the node's totals and source, all or nothing.
    static void apply(ProjectStore &store, const RefreshPlan &plan);

    // The data node taken over from the file at `path`, if any.
    static std::optional<int16_t> nodeTakenFrom(const ProjectStore &store, const std::string &path);

    // One line per changed sheet: code, then book and appraised values before → after
    // (liabilities shown positive as on the forms).
    static std::vector<std::string> changeLines(const RefreshPlan &plan);

    // The command on the node: asks for the file (proposing the remembered one), shows the
    // changes and asks for confirmation, then refreshes.
    static CommandResult run(ProjectSession &session, Prompter &prompter, int16_t node);
    // The same for a chosen file.
    static CommandResult refreshFile(ProjectSession &session, Prompter &prompter, int16_t node,
                                     const std::string &path);
};

} // namespace vantor
