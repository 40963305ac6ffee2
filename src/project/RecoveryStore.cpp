#include "project/RecoveryStore.h"

#include "project/Database.h"
#include "project/PrivateFolder.h"

#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>

namespace fs = std::filesystem;

namespace vantor {

namespace {

constexpr const char *kIndexHeader = "vantor-recovery";
constexpr uintmax_t kMinimumFileSize = 1024;

bool usable(const std::string &path)
{
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return !ec && size >= kMinimumFileSize;
}

} // namespace

RecoveryStore::RecoveryStore(std::string folder) : m_folder(std::move(folder)) {}

std::string RecoveryStore::indexPath() const
{
    return (fs::path(m_folder) / "recovery.txt").string();
}

std::string RecoveryStore::generationPath(uint64_t generation, const char *extension) const
{
    return (fs::path(m_folder) / ("recovery-" + std::to_string(generation) + extension)).string();
}

std::optional<uint64_t> RecoveryStore::currentGeneration() const
{
    std::ifstream in(indexPath(), std::ios::binary);
    std::string header, number;
    if (!std::getline(in, header) || header != kIndexHeader || !std::getline(in, number) || number.empty() ||
        number.size() > 18 || number.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoull(number);
}

void RecoveryStore::write(Database &database, const std::function<void(const std::string &)> &saveWorkbook,
                          const std::string &projectPath, const std::string &projectName)
{
    PrivateFolder::ensure(m_folder);
    const uint64_t generation = currentGeneration().value_or(0) + 1;
    const std::string databaseCopy = generationPath(generation, ".mdb");
    const std::string workbookCopy = generationPath(generation, ".cll");
    try {
        // Nothing here waits for the disk: the copy runs on the GUI thread and
        // guards against a crash of the program, after which the system still
        // holds everything written. (After a power cut a copy may be damaged;
        // restoring it then fails with a message and nothing else is lost.)
        fs::remove(databaseCopy);
        database.backupTo(databaseCopy);
        saveWorkbook(workbookCopy);
        // A project path never holds a line feed (file dialogs do not give one);
        // one that did would only lose the name, not the copy. Names are typed
        // in one line edit.
        const std::string pending = indexPath() + ".new";
        {
            std::ofstream index(pending, std::ios::binary | std::ios::trunc);
            index << kIndexHeader << "\n" << generation << "\n" << projectPath << "\n" << projectName << "\n";
            if (!index.flush())
                throw std::runtime_error("无法写入恢复文件：" + pending);
        }
        fs::rename(pending, indexPath());
    } catch (...) {
        std::error_code ec;
        fs::remove(databaseCopy, ec);
        fs::remove(workbookCopy, ec);
        fs::remove(databaseCopy + "-journal", ec);
        throw;
    }
    // Only the generation the index names is kept.
    static const std::regex copyName(R"(recovery-(\d+)\.(mdb|cll)(-journal)?)");
    std::error_code ec;
    for (fs::directory_iterator it(m_folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::smatch match;
        const std::string name = it->path().filename().string();
        if (std::regex_match(name, match, copyName) && (match[1] != std::to_string(generation) || match[3].matched))
            fs::remove(it->path(), ec);
    }
}

std::optional<RecoveredProject> RecoveryStore::find() const
{
    const auto generation = currentGeneration();
    if (!generation)
        return std::nullopt;
    RecoveredProject found{generationPath(*generation, ".mdb"), generationPath(*generation, ".cll"), {}, {}};
    if (!usable(found.databasePath) || !usable(found.workbookPath))
        return std::nullopt;
    std::ifstream in(indexPath(), std::ios::binary);
    std::string line;
    std::getline(in, line);
    std::getline(in, line);
    std::getline(in, found.projectPath);
    std::getline(in, found.projectName);
    return found;
}

void RecoveryStore::clear()
{
    std::error_code ec;
    fs::remove(indexPath(), ec);
    static const std::regex copyName(R"(recovery-\d+\.(mdb|cll)(-journal)?)");
    for (fs::directory_iterator it(m_folder, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        if (std::regex_match(it->path().filename().string(), copyName))
            fs::remove(it->path(), ec);
    }
}

} // namespace vantor
