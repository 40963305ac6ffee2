#pragma once

// The assembled main window with scripted dialogs and prompts, as each app test starts
// it: no project open, working copies and recovery copies in a folder of the test's own.

#include "app/MainAssembly.h"
#include "project/EngineProjectWorkbook.h"
#include "sheet_component/engine/Workbook.h"
#include "support/ScriptedProjectDialogs.h"
#include "support/ScriptedPrompter.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace vantor::test {

class AppFixture : public ::testing::Test {
protected:
    AppFixture()
        : assembly(state, {VANTOR_BIN_DIR, work.path().toStdString(), PasswordCost::minimal()},
                   work.filePath("recovery").toStdString())
    {
        assembly.projects().setDialogs(&dialogs);
        window().setPrompter(&prompter);
    }
    ~AppFixture() override { window().setPrompter(nullptr); }

    frmMain &window() { return assembly.window(); }
    ProjectDocument &doc() { return assembly.document(); }
    ProjectController &projects() { return assembly.projects(); }
    Workbook &wb() { return doc().workbook(); }
    bool run(CommandId id) { return window().runCommand(id); }
    // The label of the sheet shown.
    std::string label() { return wb().DoGetSheetLabel(wb().CurrentSheet()); }
    std::string file(const char *name) const { return user.filePath(name).toStdString(); }

    // A new project through the scripted kind and properties dialogs.
    void newProject(ProjectKind kind, const std::string &name = "测试项目", const std::string &unit = "甲公司")
    {
        dialogs.kinds.push_back(kind);
        dialogs.forms.push_back(filledForm(name, unit));
        ASSERT_EQ(projects().newProject(), CommandResult::Done);
    }
    // A new data-entry project showing an added detail sheet.
    void newProjectWithSheet(const SheetListRow &sheet)
    {
        newProject(ProjectKind::DataEntry);
        dialogs.sheets.push_back(sheet);
        ASSERT_TRUE(run(CommandId::InsertSheet));
        ASSERT_EQ(state.currentSheet, sheet.id);
    }

    // Writes a project file of its own (not the window's), filled in by `fill`.
    void writeProjectFile(ProjectKind kind, const std::string &path,
                          const std::function<void(ProjectSession &, ScriptedPrompter &)> &fill = {})
    {
        QTemporaryDir scratch;
        Workbook workbook;
        EngineProjectWorkbook adapter(workbook);
        ProjectSession session({VANTOR_BIN_DIR, scratch.path().toStdString(), PasswordCost::minimal()}, adapter);
        ScriptedPrompter scripted;
        ASSERT_EQ(session.newProject(kind, scripted), CommandResult::Done);
        if (fill)
            fill(session, scripted);
        scripted.files.push_back(path);
        ASSERT_EQ(session.saveProject(scripted), CommandResult::Done);
        ASSERT_EQ(session.closeProject(scripted), CommandResult::Done);
    }

    QTemporaryDir work, user;
    ProgramState state;
    ScriptedPrompter prompter;
    ScriptedProjectDialogs dialogs;
    MainAssembly assembly; // goes before the scripts it uses
};

} // namespace vantor::test
