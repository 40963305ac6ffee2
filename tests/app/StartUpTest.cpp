// The start procedure's pieces: MyFiles and help. The one-instance guard and the
// hand-over are tried on the real program (tests/scenario/startup.sh).
#include "app/StartUp.h"
#include "app/CommandTable.h"
#include "app/HelpSupport.h"
#include "support/ScriptedPrompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(MyFiles, FallsBackWhenTheProgramFolderCannotHoldItAndIsEmptyWhenNoFolderCanBeMade)
{
    QTemporaryDir base;
    QTemporaryDir data;
    // A "program folder" below a plain file can never be created, even by root.
    QFile blocker(base.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString got = ensureMyFiles(base.filePath("file/bin"), data.path());
    EXPECT_EQ(got, QDir::cleanPath(data.filePath("MyFiles")));
    EXPECT_TRUE(QDir(got).exists());
    EXPECT_TRUE(ensureMyFiles(base.filePath("file/a"), base.filePath("file/b")).isEmpty());
}

TEST(Help, OpensThePresentDocumentElseReportsWhatIsMissing)
{
    enum Setup { Nothing, Document, FolderNamedLikeIt };
    const struct {
        const char *name;
        Setup setup;
        bool viewerStarts;
        std::string message; // empty: opened silently
    } cases[] = {
        {"a folder named like the document", FolderNamedLikeIt, true, noHelpMessage},
        {"viewer cannot start", Document, false, "无法读取帮助文档"},
        {"document opened", Document, true, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir program;
        ASSERT_TRUE(QDir(program.path()).mkpath(c.setup == FolderNamedLikeIt ? "help/index.html" : "help"));
        QFile index(helpFilePath(program.path()));
        ASSERT_TRUE(c.setup != Document || index.open(QIODevice::WriteOnly));
        index.close();
        test::ScriptedPrompter prompter;
        QUrl opened;
        openHelp(program.path(), prompter, [&](const QUrl &url) {
            opened = url;
            return c.viewerStarts;
        });
        if (c.message.empty()) {
            EXPECT_EQ(opened, QUrl::fromLocalFile(program.filePath("help/index.html")));
            EXPECT_TRUE(prompter.shown.empty());
        } else {
            EXPECT_EQ(opened.isEmpty(), c.setup != Document);
            ASSERT_EQ(prompter.messages().size(), 1u);
            EXPECT_NE(prompter.messages()[0].find(c.message), std::string::npos);
        }
    }
}

TEST(Help, ShortcutTableListsEveryShortcutOfTheMenus)
{
    QFile help(VANTOR_TEST_DATA_DIR "/../../docs/help/index.html");
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(help.readAll());
    const QString table = text.mid(text.indexOf("id=\"keys\""));
    int shortcuts = 0;
    for (const MenuEntry &e : menuEntries())
        if (!e.isSeparator() && !e.shortcut.empty()) {
            ++shortcuts;
            EXPECT_TRUE(table.contains("<kbd>" + QString::fromStdString(e.shortcut) + "</kbd>")) << e.shortcut;
        }
    EXPECT_GT(shortcuts, 0);
}

} // namespace
} // namespace vantor
