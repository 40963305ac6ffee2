#pragma once

// Reading a data-entry project file for a summary project: what a takeover and a refresh
// of a data node copy from it (properties of row 0, the signatories of the summary
// sheets, the totals of every sheet), with the file's absolute path and the checksum of
// its content, so that a later change of the file can be noticed. The file is read
// through a short-lived copy, _temp.mdb in the given folder, and never written.

#include "project/ProjectRecords.h"

#include <map>
#include <string>
#include <vector>

namespace vantor {

struct SourceContent {
    std::string path;     // absolute
    std::string checksum; // of the file's bytes as read
    ProjectKind kind = ProjectKind::None;
    NodeProperties properties;
    std::vector<SheetSignatories> signatories; // summary sheets only (id < 10)
    std::map<int16_t, SheetTotals> totals;     // sums of all its rows per sheet id

    NodeSource source(int16_t pmid) const { return {pmid, path, checksum}; }
};

class ProjectSource {
public:
    // Throws std::exception with a Chinese message (the database's own, or the copy's)
    // when the file cannot be read as a project database of this program.
    static SourceContent read(const std::string &path, const std::string &tempFolder);
    // Hexadecimal XXH64 of the file's bytes; empty when the file cannot be read.
    static std::string checksum(const std::string &path);
    // The absolute, normalised form under which a source path is remembered.
    static std::string absolutePath(const std::string &path);
};

} // namespace vantor
