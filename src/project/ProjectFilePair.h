#pragma once

// Writes the two files of a project as a pair: afterwards either both new
// files are in place, or both previous files are exactly as they were (and
// ProjectFileError tells why). Both new files are written completely and
// flushed beside their targets first; then a small marker file beside the
// project file ("job.mdb.saving") records that the pair is complete, and only
// then are the two renamed over their targets. A save cut off anywhere (a
// crash, a kill, a power cut) is settled by the next open or save of the
// project: with the marker in place the renames are finished, without it the
// leftovers are removed, so the user always finds the old pair or the new
// pair, never one file of each. A failure of the second rename puts the first
// target back.

#include <functional>
#include <string>

namespace vantor {

class ProjectFilePair {
public:
    // Each writer fills the temporary path it is given (the file does not
    // exist yet) and throws on failure.
    using Writer = std::function<void(const std::string &tempPath)>;

    static void write(const std::string &databaseTarget, const Writer &writeDatabase, const std::string &workbookTarget,
                      const Writer &writeWorkbook);

    // Finishes or discards a save of this pair that was cut off (see above).
    // Throws ProjectFileError when a file cannot be renamed into place.
    static void settle(const std::string &databaseTarget, const std::string &workbookTarget);

    // Called with a step number between the steps of write(); tests stop a
    // save at each step with it. Empty in the program.
    static std::function<void(int step)> stepHook;

    // Copies a file, replacing the target, and flushes it to disk unless `flush`
    // is false (a scratch copy removed again before the command ends). Throws
    // ProjectFileError.
    static void copyFile(const std::string &from, const std::string &to, bool flush = true);
    // Flushes a file that is already written to disk. Throws ProjectFileError.
    static void syncFile(const std::string &path);
};

} // namespace vantor
