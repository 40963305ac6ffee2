// The start procedure's pieces: one instance, MyFiles, help and About.
#include "app/HelpSupport.h"
#include "app/StartUp.h"
#include "support/ScriptedPrompter.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace vantor {
namespace {

TEST(SingleInstance, SecondGuardOnTheSameLockFails)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("vantor.lock");
    SingleInstance first(path);
    ASSERT_TRUE(first.acquire());
    SingleInstance second(path);
    EXPECT_FALSE(second.acquire());
    EXPECT_FALSE(second.isHeld());
    // Acquiring again while held is harmless.
    EXPECT_TRUE(first.acquire());
}

TEST(SingleInstance, LockIsFreeAgainWhenTheHolderEnds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("vantor.lock");
    {
        SingleInstance first(path);
        ASSERT_TRUE(first.acquire());
    }
    SingleInstance next(path);
    EXPECT_TRUE(next.acquire());
}

TEST(SingleInstance, LockLeftByAVanishedProcessIsTakenOver)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("vantor.lock");
    QFile stale(path);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    // pid, application name, host name: a process id that cannot be running.
    stale.write("2147483646\nvantor\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    SingleInstance guard(path);
    EXPECT_TRUE(guard.acquire());
}

TEST(SingleInstance, DefaultLockPathIsPerUser)
{
    const QString path = SingleInstance::defaultLockPath();
    EXPECT_TRUE(path.endsWith("/vantor.lock") || path.endsWith(QString("/vantor-%1.lock").arg(::getuid())))
        << path.toStdString();
    EXPECT_TRUE(QDir::isAbsolutePath(path));
}

TEST(MyFiles, CreatedInTheProgramFolder)
{
    QTemporaryDir program;
    QTemporaryDir data;
    const QString got = ensureMyFiles(program.path(), data.path());
    EXPECT_EQ(got, QDir::cleanPath(program.filePath("MyFiles")));
    EXPECT_TRUE(QDir(got).exists());
    // A second start finds it and leaves its files alone.
    QFile keep(QDir(got).filePath("job.mdb"));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("x");
    keep.close();
    EXPECT_EQ(ensureMyFiles(program.path(), data.path()), got);
    EXPECT_TRUE(QFile::exists(QDir(got).filePath("job.mdb")));
}

TEST(MyFiles, FallsBackWhenTheProgramFolderCannotHoldIt)
{
    QTemporaryDir base;
    QTemporaryDir data;
    // A "program folder" below a plain file can never be created, even by root.
    QFile blocker(base.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString program = base.filePath("file/bin");
    const QString got = ensureMyFiles(program, data.path());
    EXPECT_EQ(got, QDir::cleanPath(data.filePath("MyFiles")));
    EXPECT_TRUE(QDir(got).exists());
}

TEST(MyFiles, EmptyWhenNoFolderCanBeMade)
{
    QTemporaryDir base;
    QFile blocker(base.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_TRUE(ensureMyFiles(base.filePath("file/a"), base.filePath("file/b")).isEmpty());
    EXPECT_TRUE(ensureMyFiles(QString(), QString()).isEmpty());
}

TEST(Help, MissingDocumentShowsTheNoHelpMessage)
{
    QTemporaryDir program;
    test::ScriptedPrompter prompter;
    bool opened = false;
    openHelp(program.path(), prompter, [&](const QUrl &) { return opened = true; });
    EXPECT_FALSE(opened);
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0], "您的计算机系统中没有安装帮助系统。");
    EXPECT_EQ(prompter.shown[0].icon, MessageIcon::Information);
}

TEST(Help, PresentDocumentIsOpenedSilently)
{
    QTemporaryDir program;
    ASSERT_TRUE(QDir(program.path()).mkpath("help"));
    QFile index(helpFilePath(program.path()));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("<html></html>");
    index.close();
    test::ScriptedPrompter prompter;
    QUrl openedUrl;
    openHelp(program.path(), prompter, [&](const QUrl &url) {
        openedUrl = url;
        return true;
    });
    EXPECT_EQ(openedUrl, QUrl::fromLocalFile(program.filePath("help/index.html")));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST(Help, ViewerThatCannotStartIsReported)
{
    QTemporaryDir program;
    ASSERT_TRUE(QDir(program.path()).mkpath("help"));
    QFile index(helpFilePath(program.path()));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.close();
    test::ScriptedPrompter prompter;
    openHelp(program.path(), prompter, [](const QUrl &) { return false; });
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_NE(prompter.messages()[0].find("无法读取帮助文档"), std::string::npos);
}

TEST(Help, HelpFolderNamedIndexIsNotTakenForTheDocument)
{
    QTemporaryDir program;
    ASSERT_TRUE(QDir(program.path()).mkpath("help/index.html"));
    test::ScriptedPrompter prompter;
    openHelp(program.path(), prompter, [](const QUrl &) { return true; });
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0], noHelpMessage);
}

TEST(About, NamesTheProgramAndItsVersion)
{
    EXPECT_TRUE(aboutTitle().contains("Vantor"));
    EXPECT_TRUE(aboutText().contains("Vantor"));
    EXPECT_TRUE(aboutText().contains("版本"));
    EXPECT_TRUE(aboutText().contains(QRegularExpression("\\d+\\.\\d+\\.\\d+")));
}

} // namespace
} // namespace vantor
