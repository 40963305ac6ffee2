// The recovery copy in the assembled program: written while changes are unsaved,
// restored as an unsaved project when the user chooses to, removed when declined,
// and never removed unoffered. That a start with a file offers its copy before
// opening the file is run on the real program (tests/scenario/startup.sh).

#include "app/RecoveryWiring.h"
#include "support/AppFixture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>

namespace vantor {
namespace {

namespace fs = std::filesystem;
using Choice = RecoveryWiring::Choice;

class RecoveryWiringTest : public test::AppFixture {
protected:
    ProjectSession &session() { return assembly.projects().session(); }
    std::string folder(const char *name) const { return folders.filePath(name).toStdString(); }
    std::string pmname() { return session().store().node(0)->properties.pmname.value_or(""); }

    void rename(const std::string &name)
    {
        session().storeNodeProperties({name, "甲公司", "张三", "李四", std::nullopt, "王五"});
    }

    QTemporaryDir folders;
};

TEST_F(RecoveryWiringTest, UnsavedWorkSurvivesACrashWhenTheUserRestoresIt)
{
    auto wiring = std::make_unique<RecoveryWiring>(assembly.window(), assembly.projects(), folder("live"));
    wiring->writeNow();
    EXPECT_FALSE(wiring->store().find()) << "no project, no copy";
    ASSERT_EQ(session().newProject(ProjectKind::DataEntry, prompter), CommandResult::Done);
    wiring->writeNow();
    EXPECT_FALSE(wiring->store().find()) << "nothing unsaved yet";
    rename("恢复测试");

    wiring->writeNow();
    ASSERT_TRUE(wiring->store().find());
    for (const char *crashed : {"restored", "declined", "later"})
        fs::copy(folder("live"), folder(crashed), fs::copy_options::recursive);
    wiring.reset();
    EXPECT_FALSE(fs::exists(folder("live") + "/recovery.txt")) << "a normal end removes the program's own copy";
    prompter.answers.push_back(Answer::No);
    ASSERT_EQ(assembly.projects().closeProject(), CommandResult::Done);

    {
        RecoveryWiring unoffered(assembly.window(), assembly.projects(), folder("later"));
    }
    RecoveryWiring later(assembly.window(), assembly.projects(), folder("later"));
    later.setAsk([](const RecoveredProject &) { return Choice::Later; });
    EXPECT_FALSE(later.offerRestore());
    EXPECT_TRUE(later.store().find()) << "neither an end without the offer nor a closed question removes it";

    RecoveryWiring declined(assembly.window(), assembly.projects(), folder("declined"));
    declined.setAsk([](const RecoveredProject &) { return Choice::Discard; });
    EXPECT_FALSE(declined.offerRestore());
    EXPECT_FALSE(session().isOpen());
    EXPECT_FALSE(declined.store().find());

    RecoveryWiring restored(assembly.window(), assembly.projects(), folder("restored"));
    std::string askedAbout;
    restored.setAsk([&](const RecoveredProject &found) {
        askedAbout = found.projectName;
        return Choice::Restore;
    });
    EXPECT_EQ(restored.offerRestore(), std::string()) << "restored; it never had a file";
    EXPECT_EQ(askedAbout, "恢复测试");
    ASSERT_TRUE(session().isOpen());
    EXPECT_EQ(pmname(), "恢复测试");
    EXPECT_TRUE(session().isModified());
    EXPECT_TRUE(restored.store().find()) << "kept until the project is saved";
    prompter.files.push_back(folder("saved.mdb"));
    ASSERT_EQ(assembly.projects().saveProject(), CommandResult::Done);
    restored.dropWhenSaved();
    EXPECT_FALSE(restored.store().find());
}

} // namespace
} // namespace vantor
