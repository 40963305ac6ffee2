#pragma once

// One project file open for the length of a vantor-cli command, through the same session
// the program uses. The working copies live in a private scratch folder, so a command never
// meets a running program's working copies; saving writes the user's files as the program
// does, both files of the pair or neither.

#include "Cli.h"
#include "CliPrompter.h"

#include "project/EngineProjectWorkbook.h"
#include "project/PrivateFolder.h"
#include "project/ProjectSession.h"
#include "sheet_component/engine/Workbook.h"

#include <memory>
#include <string>

namespace vantor::cli {

// A private folder for the working copies (vantor-cli-work-<pid>-XXXXXX in the temporary
// folder), removed with everything in it at the end. The folders of commands that were
// killed are removed before a new one is made.
class ScratchFolder : public PrivateFolder {
public:
    ScratchFolder();
};

// Members are destroyed in reverse order: the session drops its working copies before the
// scratch folder goes.
struct OpenProject {
    explicit OpenProject(std::ostream &err);

    ScratchFolder scratch;
    CliPrompter prompter;
    Workbook workbook;
    EngineProjectWorkbook projectWorkbook;
    ProjectSession session;
};

// The folder of the running executable: the templates are read from there.
std::string programFolder();

bool endsWithMdb(const std::string &path);
// The path, or a usage error when it does not end in ".mdb".
std::string checkedProjectPath(const std::string &path);

// Opens a project file, with the --password option when the file has a password; on
// failure the user has been told and nothing is open.
std::unique_ptr<OpenProject> openProject(const std::string &path, const CliArgs &args, CliStreams &io);

// Saves the project; false (and a message) when it was not saved.
bool save(OpenProject &project, CliStreams &io);

} // namespace vantor::cli
