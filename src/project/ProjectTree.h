#pragma once

// The content of the project tree as data: the entries the main window puts
// into its tree view for a data-entry project (its detail sheets) and for a
// summary project (root, folder nodes, data nodes), the key and caption rules,
// and the search for a sheet label that starts in the middle of the workbook.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vantor {

class ProjectStore;

struct TreeEntry {
    std::string key; // "b" + sheet id, or "p" + pmid
    std::string text;
    std::string tag;       // "d" for data nodes
    std::string parentKey; // empty: top level
    bool operator==(const TreeEntry &) const = default;
};

class ProjectTree {
public:
    static constexpr const char *kRootKey = "p0";
    static constexpr const char *kNewRootText = "全部项目汇总";
    static constexpr const char *kNewFolderText = "子目录";

    // "b" + id and "p" + pmid.
    static std::string sheetKey(int id) { return "b" + std::to_string(id); }
    static std::string nodeKey(int pmid) { return "p" + std::to_string(pmid); }
    // The number after the first character of a key; nullopt when there is none
    // or it does not fit 16 bits.
    static std::optional<int16_t> keyNumber(const std::string &key);

    // code padded with blanks or cut to 10 characters, followed by the name.
    static std::string sheetCaption(const std::string &code, const std::string &name);

    // One entry per sheetlist row with id > 9, by id.
    static std::vector<TreeEntry> detailSheetEntries(const ProjectStore &store);
    // The root and its folders first, then the data nodes under "p" + parent.
    // A data node whose parent does not exist is put under the root, so that
    // no node of a damaged file disappears from the tree. `rootText` replaces
    // the name of row 0 (a new project shows "全部项目汇总").
    static std::vector<TreeEntry> nodeEntries(const ProjectStore &store,
                                              const std::optional<std::string> &rootText = std::nullopt);

    // Index of the first sheet with the label, searching the indexes from
    // round-half-even(count / 2) up to count - 1 and then downwards to 0;
    // -1 when no sheet has it.
    static int findSheetFromMiddle(int count, const std::function<std::string(int)> &labelAt, const std::string &label);
    // Index of the first sheet with the label from index 0 upwards; -1 when none.
    static int findSheetFromStart(int count, const std::function<std::string(int)> &labelAt, const std::string &label);
};

} // namespace vantor
