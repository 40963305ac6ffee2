#pragma once

// Writes the two files of a project as a pair: afterwards either both new
// files are in place, or both previous files are exactly as they were (and
// ProjectFileError tells why). Both new files are written completely and
// flushed beside their targets first; only then are they renamed over the
// targets, and a failure of the second rename puts the first target back.

#include <functional>
#include <string>

namespace vantor {

class ProjectFilePair {
public:
    // Each writer fills the temporary path it is given (the file does not
    // exist yet) and throws on failure.
    using Writer = std::function<void(const std::string &tempPath)>;

    static void write(const std::string &databaseTarget, const Writer &writeDatabase,
                      const std::string &workbookTarget, const Writer &writeWorkbook);

    // Copies a file, replacing the target, and flushes it to disk unless `flush`
    // is false (a scratch copy removed again before the command ends). Throws
    // ProjectFileError.
    static void copyFile(const std::string &from, const std::string &to, bool flush = true);
    // Flushes a file that is already written to disk. Throws ProjectFileError.
    static void syncFile(const std::string &path);
};

} // namespace vantor
