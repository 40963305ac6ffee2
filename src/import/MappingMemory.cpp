#include "import/MappingMemory.h"

#include "common/AtomicFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace vantor {

std::string MappingMemory::defaultPath()
{
    const char *config = std::getenv("XDG_CONFIG_HOME");
    const char *home = std::getenv("HOME");
    const fs::path base = config && *config ? fs::path(config) : fs::path(home ? home : "/tmp") / ".config";
    return (base / "Vantor" / "ledger-columns.txt").string();
}

MappingMemory::MappingMemory(std::string path) : m_path(std::move(path))
{
    std::ifstream in(m_path);
    std::string line;
    while (std::getline(in, line) && m_entries.size() < MaxEntries) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos)
            continue;
        LedgerMapping::Columns columns;
        std::istringstream fields(line.substr(tab + 1));
        std::string field;
        bool ok = true;
        while (ok && std::getline(fields, field, ',')) {
            char *end = nullptr;
            const long v = std::strtol(field.c_str(), &end, 10);
            ok = !field.empty() && *end == '\0' && v >= LedgerMapping::Unmapped && v < 1000;
            columns.push_back(static_cast<int>(v));
        }
        if (ok)
            m_entries[line.substr(0, tab)] = std::move(columns);
    }
}

std::optional<LedgerMapping::Columns> MappingMemory::recall(const std::string &key) const
{
    const auto it = m_entries.find(key);
    if (it == m_entries.end())
        return std::nullopt;
    return it->second;
}

bool MappingMemory::remember(const std::string &key, const LedgerMapping::Columns &columns)
{
    if (key.find_first_of("\t\n") != std::string::npos)
        return false;
    if (m_entries.size() >= MaxEntries && !m_entries.count(key))
        m_entries.erase(m_entries.begin());
    m_entries[key] = columns;
    std::string text;
    for (const auto &[k, cols] : m_entries) {
        text += k + '\t';
        for (std::size_t i = 0; i < cols.size(); ++i)
            text += (i ? "," : "") + std::to_string(cols[i]);
        text += '\n';
    }
    try {
        std::error_code ec;
        if (fs::create_directories(fs::path(m_path).parent_path(), ec))
            fs::permissions(fs::path(m_path).parent_path(), fs::perms::owner_all, ec);
        AtomicFile file(m_path);
        file.write(text);
        file.commit();
    } catch (const AtomicFileError &) {
        return false;
    }
    return true;
}

} // namespace vantor
