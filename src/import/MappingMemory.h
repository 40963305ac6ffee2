#pragma once

// The column mappings a user has chosen, kept per set of ledger headings so that the next
// ledger of the same client maps itself. One file per user (in the user's configuration
// folder, private to them); each line holds a key (LedgerMapping::memoryKey), a tab and
// the ledger column of every form column. A missing or damaged file remembers nothing.

#include "import/LedgerMapping.h"

#include <map>
#include <optional>
#include <string>

namespace vantor {

class MappingMemory {
public:
    static constexpr std::size_t MaxEntries = 500;

    // The user's file: $XDG_CONFIG_HOME/Vantor/ledger-columns.txt (~/.config when unset).
    static std::string defaultPath();

    explicit MappingMemory(std::string path = defaultPath());

    std::optional<LedgerMapping::Columns> recall(const std::string &key) const;
    // Remembers and writes the file at once; false when it could not be written (the
    // import goes on without it).
    bool remember(const std::string &key, const LedgerMapping::Columns &columns);

private:
    std::string m_path;
    std::map<std::string, LedgerMapping::Columns> m_entries;
};

} // namespace vantor
