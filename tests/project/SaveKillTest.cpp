// A save killed at any moment leaves the user the old pair or the new pair.
// Each round a child process opens the project, stamps a new generation into
// both files and saves; the parent kills it with SIGKILL after a delay that
// walks across the whole save, then opens the project as the user would and
// checks that both files are whole and carry the same generation. Some steps
// of the save last microseconds (between the two renames), so the child is
// also killed exactly after each step once.

#include "project/ProjectFilePair.h"
#include "project/ProjectTestSupport.h"
#include "project/Savepoint.h"
#include "project/Statement.h"
#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vantor {
namespace {

using test::FakeWorkbook;
using test::ScriptedPrompter;
using Clock = std::chrono::steady_clock;

class SaveKillTest : public ::testing::Test, protected test::ProgramFolder {
protected:
    // The workbook of generation `gen`: the standard sheets, a stamp, bulk and
    // a closing stamp, so that a cut-off file shows.
    static std::vector<std::string> labels(int gen)
    {
        auto list = FakeWorkbook::standardLabels();
        list.push_back("gen" + std::to_string(gen));
        for (int i = 0; i < 5000; ++i)
            list.push_back("filler-row-" + std::to_string(i) + "-" + std::to_string(gen));
        list.push_back("end" + std::to_string(gen));
        return list;
    }

    // Stamps generation `gen` into the open project: the name of the root node,
    // a few thousand detail rows and the workbook.
    static void stamp(ProjectSession &session, FakeWorkbook &workbook, int gen)
    {
        NodeProperties props;
        props.pmname = "gen" + std::to_string(gen);
        session.store().updateNodeProperties(0, props);
        Savepoint sp(session.database());
        session.database().exec("DELETE FROM sheetdata");
        Statement insert = session.database().prepare("INSERT INTO sheetdata (id, pmid, v1) VALUES (10, ?, ?)");
        for (int i = 0; i < 1000; ++i)
            insert.bindAll(i % 100, int64_t{gen}).run();
        sp.commit();
        workbook.labels = labels(gen);
        workbook.modified = true;
    }

    // Opens the user's pair in a fresh session; returns the generation both
    // files carry, or -1 (with a test failure) when they are damaged or differ.
    int openedGeneration()
    {
        FakeWorkbook workbook;
        auto session = makeSession(workbook, "check");
        ScriptedPrompter p;
        if (session->openProjectFile(project, p, nullptr) != CommandResult::Done) {
            ADD_FAILURE() << "the project does not open: " << (p.messages().empty() ? "" : p.messages().back());
            return -1;
        }
        const std::string name = session->store().node(0)->properties.pmname.value_or("");
        const std::string stampText = workbook.labels.at(7);
        Statement rows = session->database().prepare("SELECT count(*), min(v1), max(v1) FROM sheetdata");
        rows.step();
        const int gen = std::stoi(name.substr(3));
        EXPECT_EQ(stampText, name) << "the two files come from different saves";
        EXPECT_EQ(workbook.labels.back(), "end" + std::to_string(gen)) << "the workbook is cut off";
        EXPECT_EQ(rows.columnInt64(0), gen == 0 ? 0 : 1000);
        EXPECT_EQ(rows.columnInt64(1), rows.columnInt64(2));
        p.answers.push_back(Answer::No);
        session->closeProject(p);
        return stampText == name ? gen : -1;
    }

    // Runs one save of generation `gen` in a child; kills it `delay` after it
    // starts saving (never when delay is negative), or kills itself after step
    // `killAtStep` of the pair's write. Returns the save's duration.
    Clock::duration saveInChild(int gen, Clock::duration delay, int killAtStep = 0)
    {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        pid_t child = ::fork();
        if (child == 0) {
            ::close(ready[0]);
            FakeWorkbook workbook;
            auto session = makeSession(workbook, "child");
            ScriptedPrompter p;
            if (session->openProjectFile(project, p, nullptr) != CommandResult::Done)
                ::_exit(3);
            stamp(*session, workbook, gen);
            ProjectFilePair::stepHook = [killAtStep](int step) {
                if (step == killAtStep)
                    ::raise(SIGKILL);
            };
            char byte = 1;
            if (::write(ready[1], &byte, 1) != 1)
                ::_exit(4);
            ::_exit(session->saveProject(p) == CommandResult::Done ? 0 : 5);
        }
        ::close(ready[1]);
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1) << "the child could not open the project";
        ::close(ready[0]);
        const auto started = Clock::now();
        if (delay >= Clock::duration::zero()) {
            std::this_thread::sleep_for(delay);
            ::kill(child, SIGKILL);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (delay < Clock::duration::zero() && killAtStep == 0) {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save failed";
        }
        return Clock::now() - started;
    }

    std::string project = dir.file("job.mdb");
};

TEST_F(SaveKillTest, KilledSaveLeavesTheOldOrTheNewPair)
{
    {
        FakeWorkbook workbook;
        auto session = makeSession(workbook, "first");
        ScriptedPrompter p;
        ASSERT_EQ(session->newProject(ProjectKind::DataEntry, p), CommandResult::Done);
        stamp(*session, workbook, 1);
        p.files.push_back(project);
        ASSERT_EQ(session->saveProject(p), CommandResult::Done);
        p.answers.push_back(Answer::No);
        session->closeProject(p);
    }
    // How long one save takes here, so that the kills cover all of it and a little after.
    Clock::duration full = saveInChild(2, Clock::duration(-1));
    for (int i = 0; i < 2; ++i)
        full = std::max(full, saveInChild(2, Clock::duration(-1)));
    ASSERT_EQ(openedGeneration(), 2);

    constexpr int kSteps = 7;
    constexpr int kRounds = 104;
    int current = 2;
    std::set<int64_t> moments;
    int completed = 0;
    for (int round = 0; round < kRounds + kSteps; ++round) {
        const int next = current + 1;
        if (round < kSteps) {
            saveInChild(next, Clock::duration(-1), round + 1);
        } else {
            const auto delay = full * (round - kSteps) / (kRounds - 8);
            moments.insert(std::chrono::duration_cast<std::chrono::microseconds>(delay).count());
            saveInChild(next, delay);
        }
        const int found = openedGeneration();
        ASSERT_TRUE(found == current || found == next)
            << "round " << round << ": found generation " << found << ", expected " << current << " or " << next;
        completed += found == next ? 1 : 0;
        current = found;
    }
    EXPECT_GE(moments.size(), 100u);
    // The walk covers the save from its first step to its end.
    EXPECT_GT(completed, 0);
    EXPECT_LT(completed, kRounds + kSteps);
    // Nothing is left beside the pair once it has been opened.
    std::set<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(dir.path()))
        if (entry.is_regular_file())
            names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"job.cll", "job.mdb"}));
}

} // namespace
} // namespace vantor
