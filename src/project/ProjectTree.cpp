#include "project/ProjectTree.h"

#include "project/ProjectStore.h"
#include "sheets/SheetCatalogue.h"

#include <charconv>
#include <map>
#include <set>

namespace vantor {

std::optional<int16_t> ProjectTree::keyNumber(const std::string &key)
{
    if (key.size() < 2)
        return std::nullopt;
    int value = 0;
    const char *first = key.data() + 1;
    const char *last = key.data() + key.size();
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || value < INT16_MIN || value > INT16_MAX)
        return std::nullopt;
    return static_cast<int16_t>(value);
}

std::string ProjectTree::sheetCaption(const std::string &code, const std::string &name)
{
    return SheetCatalogue::caption(code, name, SheetCatalogue::DetailCodeWidth);
}

std::vector<TreeEntry> ProjectTree::detailSheetEntries(const ProjectStore &store)
{
    std::vector<TreeEntry> out;
    for (const SheetListRow &row : store.detailSheets())
        out.push_back({sheetKey(row.id), sheetCaption(row.code, row.name), "", ""});
    return out;
}

std::vector<TreeEntry> ProjectTree::nodeEntries(const ProjectStore &store, const std::optional<std::string> &rootText)
{
    std::vector<TreeEntry> out;
    std::vector<ProjectNode> nodes = store.nodes();
    std::map<int16_t, const ProjectNode *> folders;
    for (const ProjectNode &node : nodes) {
        if (node.pmid == 0)
            out.push_back({kRootKey, rootText.value_or(node.properties.pmname.value_or("")), "", ""});
        else if (node.nodetype != static_cast<int16_t>(NodeType::Data))
            folders[node.pmid] = &node;
    }
    // Folders under their parent folder, every parent before its children; a folder
    // whose parent is no folder, or that sits in a loop of parents, goes under the root.
    std::map<int16_t, std::vector<int16_t>> inside;
    for (const auto &[pmid, folder] : folders)
        inside[folders.count(folder->parent) && folder->parent != pmid ? folder->parent : 0].push_back(pmid);
    std::set<int16_t> placed;
    const std::function<void(int16_t, const std::string &)> place = [&](int16_t pmid, const std::string &parent) {
        if (!placed.insert(pmid).second)
            return;
        out.push_back({nodeKey(pmid), folders.at(pmid)->properties.pmname.value_or(""), "", parent});
        for (const int16_t child : inside[pmid])
            place(child, nodeKey(pmid));
    };
    for (const int16_t pmid : inside[0])
        place(pmid, kRootKey);
    for (const auto &[pmid, folder] : folders)
        place(pmid, kRootKey);
    for (const ProjectNode &node : nodes) {
        if (node.pmid == 0 || node.nodetype != static_cast<int16_t>(NodeType::Data))
            continue;
        std::string parent = placed.count(node.parent) ? nodeKey(node.parent) : std::string(kRootKey);
        out.push_back({nodeKey(node.pmid), node.properties.pmname.value_or(""), "d", parent});
    }
    return out;
}

int ProjectTree::findSheetFromMiddle(int count, const std::function<std::string(int)> &labelAt,
                                     const std::string &label)
{
    // count / 2 rounded to the nearest integer, a half going to the even one.
    int half = count / 2;
    if (count % 2 != 0 && half % 2 != 0)
        ++half;
    for (int i = half; i < count; ++i)
        if (labelAt(i) == label)
            return i;
    for (int i = std::min(half, count) - 1; i >= 0; --i)
        if (labelAt(i) == label)
            return i;
    return -1;
}

int ProjectTree::findSheetFromStart(int count, const std::function<std::string(int)> &labelAt, const std::string &label)
{
    for (int i = 0; i < count; ++i)
        if (labelAt(i) == label)
            return i;
    return -1;
}

} // namespace vantor
