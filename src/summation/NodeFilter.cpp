#include "summation/NodeFilter.h"

#include "project/ProjectStore.h"

#include <map>
#include <set>

namespace vantor {

NodeFilter NodeFilter::forNode(const ProjectStore &store, int16_t pmid)
{
    NodeFilter filter;
    if (pmid == 0)
        return filter;
    filter.m_pmid = pmid;

    std::map<int16_t, int16_t> types;                 // pmid → nodetype
    std::map<int16_t, std::vector<int16_t>> children; // parent → children by pmid
    for (const ProjectNode &node : store.nodes()) {
        if (node.pmid == 0)
            continue;
        types[node.pmid] = node.nodetype;
        children[node.parent].push_back(node.pmid);
    }
    const auto type = types.find(pmid);
    if (type == types.end() || type->second == static_cast<int16_t>(NodeType::Data))
        return filter;

    // Depth first, each folder once: a damaged file whose parents form a loop still ends.
    std::set<int16_t> expanded{pmid};
    std::vector<int16_t> list;
    std::vector<int16_t> pending{pmid};
    while (!pending.empty()) {
        const int16_t folder = pending.back();
        pending.pop_back();
        const auto found = children.find(folder);
        if (found == children.end())
            continue;
        std::vector<int16_t> nested;
        for (const int16_t child : found->second) {
            if (child == pmid)
                continue;
            list.push_back(child);
            if (types[child] != static_cast<int16_t>(NodeType::Data) && expanded.insert(child).second)
                nested.push_back(child);
        }
        pending.insert(pending.end(), nested.rbegin(), nested.rend());
    }
    if (list.empty())
        return filter; // a folder without children sums like a data node
    filter.m_pmid = 0;
    filter.m_nodes = std::move(list);
    return filter;
}

std::string NodeFilter::listText() const
{
    if (m_nodes.empty())
        return {};
    std::string text = "IN (";
    for (std::size_t i = 0; i < m_nodes.size(); ++i) {
        if (i > 0)
            text += ",";
        text += std::to_string(m_nodes[i]);
    }
    return text + ")";
}

std::vector<int16_t> NodeFilter::sqlNodes() const
{
    if (!m_nodes.empty())
        return m_nodes;
    return m_pmid != 0 ? std::vector<int16_t>{m_pmid} : std::vector<int16_t>{};
}

} // namespace vantor
