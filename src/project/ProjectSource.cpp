#include "project/ProjectSource.h"

#include "project/Database.h"
#include "project/ProjectFilePair.h"
#include "project/ProjectPaths.h"
#include "project/ProjectSchema.h"
#include "project/ProjectStore.h"
#include "sheet_component/engine/CllChecksum.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace vantor {

namespace {

// Removes the temporary copy (and any journal of it) however the reading ends.
class TempCopy {
public:
    explicit TempCopy(std::string path) : m_path(std::move(path)) { remove(); }
    ~TempCopy() { remove(); }
    TempCopy(const TempCopy &) = delete;
    TempCopy &operator=(const TempCopy &) = delete;
    const std::string &path() const { return m_path; }

private:
    void remove()
    {
        std::error_code ec;
        for (const char *suffix : {"", "-journal", "-wal", "-shm"})
            fs::remove(m_path + suffix, ec);
    }
    std::string m_path;
};

std::string hex(std::uint64_t value)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

} // namespace

std::string ProjectSource::checksum(const std::string &path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return {};
    const std::streamoff size = in.tellg();
    if (size < 0)
        return {};
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    if (!in.read(bytes.data(), size))
        return {};
    return hex(CllChecksum::compute(bytes));
}

std::string ProjectSource::absolutePath(const std::string &path)
{
    std::error_code ec;
    fs::path absolute = fs::weakly_canonical(fs::absolute(path, ec), ec);
    if (ec)
        absolute = fs::absolute(path, ec).lexically_normal();
    return absolute.string();
}

SourceContent ProjectSource::read(const std::string &path, const std::string &tempFolder)
{
    SourceContent content;
    content.path = absolutePath(path);
    TempCopy temp(ProjectPaths::join(tempFolder, ProjectPaths::kTempDatabase));
    ProjectFilePair::copyFile(path, temp.path(), false);
    // The checksum of the copy: the bytes that are read below, even if the file changes meanwhile.
    content.checksum = checksum(temp.path());
    Database other(temp.path(), Database::Mode::ReadOnly);
    ProjectSchema::check(other);
    ProjectStore source(other);
    content.kind = source.kind();
    if (auto root = source.node(0))
        content.properties = root->properties;
    for (const SheetSignatories &row : source.signatories(0))
        if (row.id < 10)
            content.signatories.push_back(row);
    content.totals = source.sumsById();
    return content;
}

} // namespace vantor
