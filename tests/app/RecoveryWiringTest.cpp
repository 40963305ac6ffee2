// The recovery copy in the assembled program: written while changes are
// unsaved (and timed: it runs on the GUI thread), restored as an unsaved
// project after a crash when the user chooses to, removed when declined.

#include "app/MainAssembly.h"
#include "app/RecoveryWiring.h"
#include "support/ScriptedPrompter.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>

namespace vantor {
namespace {

namespace fs = std::filesystem;

class RecoveryWiringTest : public ::testing::Test {
protected:
    RecoveryWiringTest() : assembly(state, {VANTOR_BIN_DIR, work.path().toStdString(), PasswordCost::minimal()})
    {
        assembly.window().setPrompter(&prompter);
    }
    ~RecoveryWiringTest() override { assembly.window().setPrompter(nullptr); }

    ProjectSession &session() { return assembly.projects().session(); }
    std::string folder(const char *name) const { return folders.filePath(name).toStdString(); }

    // A copy of the recovery folder as a crash would leave it.
    void keepAsCrashLeftIt(const std::string &from, const std::string &to)
    {
        fs::copy(from, to, fs::copy_options::recursive);
    }

    QTemporaryDir work, folders;
    ProgramState state;
    MainAssembly assembly;
    test::ScriptedPrompter prompter;
};

TEST_F(RecoveryWiringTest, UnsavedWorkSurvivesACrashWhenTheUserRestoresIt)
{
    auto wiring = std::make_unique<RecoveryWiring>(assembly.window(), assembly.projects(), folder("live"));
    wiring->writeNow();
    EXPECT_FALSE(wiring->store().find()) << "no project, no copy";
    ASSERT_EQ(session().newProject(ProjectKind::DataEntry, prompter), CommandResult::Done);
    wiring->writeNow();
    EXPECT_FALSE(wiring->store().find()) << "nothing unsaved yet";
    session().storeNodeProperties({"恢复测试", "甲公司", "张三", "李四", std::nullopt, "王五"});

    QElapsedTimer clock;
    clock.start();
    wiring->writeNow();
    const qint64 ms = clock.elapsed();
    std::cout << "recovery copy of a new project: " << ms << " ms\n";
    EXPECT_LT(ms, 500);
    ASSERT_TRUE(wiring->store().find());
    keepAsCrashLeftIt(folder("live"), folder("crashed"));
    keepAsCrashLeftIt(folder("live"), folder("declined"));
    wiring.reset();
    EXPECT_FALSE(fs::exists(folder("live") + "/recovery.txt")) << "a normal end removes the copy";

    prompter.answers.push_back(Answer::No);
    ASSERT_EQ(assembly.projects().closeProject(), CommandResult::Done);

    RecoveryWiring declined(assembly.window(), assembly.projects(), folder("declined"));
    declined.offerRestore([] { return false; });
    EXPECT_FALSE(session().isOpen());
    EXPECT_FALSE(declined.store().find());

    RecoveryWiring restored(assembly.window(), assembly.projects(), folder("crashed"));
    restored.offerRestore([] { return true; });
    ASSERT_TRUE(session().isOpen());
    EXPECT_EQ(session().store().node(0)->properties.pmname, "恢复测试");
    EXPECT_TRUE(session().isModified());
    EXPECT_TRUE(session().projectPath().empty());
    EXPECT_TRUE(restored.store().find()) << "kept until the project is saved";
    prompter.files.push_back(folder("saved.mdb"));
    ASSERT_EQ(assembly.projects().saveProject(), CommandResult::Done);
    restored.dropWhenSaved();
    EXPECT_FALSE(restored.store().find());
}

} // namespace
} // namespace vantor
