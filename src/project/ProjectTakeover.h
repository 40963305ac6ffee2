#pragma once

// Taking a data-entry project into the open summary project as a new data
// node (insert_node with kind 1): the other project's properties become the
// node's pmprop row, the signatories of its summary sheets the node's
// sheetprop rows, and the totals of all its sheets the node's sheetdata rows.
// The other project's workbook is not read. The other file is read through a
// short-lived copy, _temp.mdb in the work folder, and everything is added in
// one savepoint, so a failure leaves no partial node behind.

#include "common/Prompter.h"
#include "project/ProjectSession.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vantor {

class ProjectTakeover {
public:
    // Asks for the project file and takes it over under the parent that the
    // selected node implies. On success the new node is the current node and
    // its id is returned through `newNode`. A file that is already a data node of the
    // project is offered as a refresh of that node instead (then `newNode` is that node).
    static CommandResult run(ProjectSession &session, Prompter &prompter, int16_t selectedNode,
                             int16_t *newNode = nullptr);
    // The same for a given file (after the file dialog).
    static CommandResult takeOverFile(ProjectSession &session, Prompter &prompter, const std::string &path,
                                      int16_t selectedNode, int16_t *newNode = nullptr);
};

} // namespace vantor
