// The lifecycle with the real spreadsheet engine and workbook files.

#include "project/EngineProjectWorkbook.h"
#include "project/ProjectPaths.h"
#include "project/ProjectSession.h"
#include "project/ProjectTestSupport.h"
#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/Workbook.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

using test::ScriptedPrompter;
using test::TempDir;

void saveLabels(const std::vector<std::string> &labels, const std::string &path)
{
    Workbook wb;
    wb.setSheetLabel(0, labels.at(0));
    for (size_t i = 1; i < labels.size(); ++i)
        wb.DoAddSheet(labels[i]);
    CllFile::save(wb, path);
}

std::vector<std::string> templateLabels()
{
    return {"b0", "b1", "b2", "b3", "b10", "b4", "b5", "b6", "b7", "b8", "b9", "b78"};
}

class EngineLifecycleTest : public ::testing::Test {
protected:
    EngineLifecycleTest()
    {
        std::filesystem::create_directories(program);
        std::filesystem::create_directories(work);
        test::makeTemplateDatabase(ProjectPaths::join(program, "template.vtw"));
        saveLabels(templateLabels(), ProjectPaths::join(program, "template.vtc"));
        session = std::make_unique<ProjectSession>(ProjectSessionConfig{program, work, PasswordCost::minimal()},
                                                   component);
    }

    bool workingCopiesExist() const
    {
        return test::exists(ProjectPaths::join(work, "_workfile.mdb")) ||
               test::exists(ProjectPaths::join(work, "_workfile.cll"));
    }

    TempDir dir;
    std::string program = dir.file("program");
    std::string work = dir.file("work");
    Workbook workbook;
    EngineProjectWorkbook component{workbook};
    std::unique_ptr<ProjectSession> session;
};

TEST_F(EngineLifecycleTest, EditSaveCloseAndOpenAgain)
{
    ScriptedPrompter p;
    ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
    EXPECT_EQ(workbook.DoGetSheetLabel(workbook.CurrentSheet()), "b10");
    EXPECT_FALSE(workbook.ReadOnly());
    EXPECT_FALSE(session->isModified());

    workbook.DoSetCellData(2, 3, 1200.5);
    EXPECT_TRUE(session->isModified());
    p.answers.push_back(Answer::Yes);
    p.files.push_back(dir.file("a.b/job"));
    std::filesystem::create_directories(dir.file("a.b"));
    ASSERT_EQ(session->closeProject(p), CommandResult::Done);
    EXPECT_FALSE(workingCopiesExist());
    EXPECT_EQ(workbook.SheetCount(), 1); // the component is empty again
    EXPECT_TRUE(workbook.ReadOnly());

    p.files.push_back(dir.file("a.b/job.mdb"));
    ASSERT_EQ(session->openProject(p, ProjectSession::promptLogin(p)), CommandResult::Done);
    EXPECT_EQ(session->workbookPath(), dir.file("a.b/job.cll"));
    EXPECT_EQ(workbook.DoGetSheetLabel(workbook.CurrentSheet()), "b10");
    EXPECT_EQ(workbook.DoGetCellData(2, 3).number(), 1200.5);
    EXPECT_FALSE(session->isModified());
    EXPECT_EQ(session->closeProject(p), CommandResult::Done);
}

} // namespace
} // namespace vantor
