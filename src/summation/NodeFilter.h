#pragma once

// Which sheetdata rows a summary sheet sums for the selected project node. Exactly one of
// three forms results:
//   whole project   pmid 0, no list: every row counts (the root, and a data-entry project);
//   one node        pmid ≠ 0, no list: the rows of that node (a data node, or a folder
//                   without children, which then normally sums to nothing);
//   several nodes   pmid 0, a list: the rows of the nodes below a folder. Folders inside
//                   the folder are expanded at every depth; each contributes its own rows
//                   as well as those of its children.
// The ids come from pmprop as integers; the store binds them as parameters.

#include <cstdint>
#include <string>
#include <vector>

namespace vantor {

class ProjectStore;

class NodeFilter {
public:
    // The filter for node `pmid` of the project (0: the root). A node that does not exist
    // is treated as a data node: its condition admits no row.
    static NodeFilter forNode(const ProjectStore &store, int16_t pmid);

    int16_t pmid() const { return m_pmid; }
    // The listed nodes: the folder's children by pmid, then the children of each folder
    // among them; empty for the first two forms.
    const std::vector<int16_t> &nodes() const { return m_nodes; }
    bool isWholeProject() const { return m_pmid == 0 && m_nodes.empty(); }

    // "IN (7,8)" for several nodes, else empty: the node list as users and logs see it.
    std::string listText() const;
    // The nodes whose rows count, as the store's queries take them: empty for the whole
    // project, else the one node or the listed ones.
    std::vector<int16_t> sqlNodes() const;

private:
    int16_t m_pmid = 0;
    std::vector<int16_t> m_nodes;
};

} // namespace vantor
