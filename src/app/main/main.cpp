// Start procedure: the user's private folders, one program per user, the MyFiles
// folder, Chinese whatever the system's language, then the main window; a
// recovery copy left by a crash is offered, and a project file named on the
// command line opens.
#include "app/InstanceChannel.h"
#include "app/MainAssembly.h"
#include "app/StartUp.h"
#include "project/PrivateFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace {

// Answered before Qt starts, so they need no display.
bool answerInfoOption(int argc, char **argv)
{
    if (argc != 2)
        return false;
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs("用法: vantor [项目文件.mdb]\n\n"
                   "资产评估软件：评估明细表录入、汇总计算、报表打印与导出。\n\n"
                   "  项目文件.mdb   启动后立即打开这个项目；程序已在运行时，交给正在运行的程序打开\n"
                   "  -h, --help     显示本说明后退出\n"
                   "  -v, --version  显示版本号后退出\n\n"
                   "工作副本和“我的文件”保存在用户自己的目录中：~/.local/share/Vantor 和文档目录下的 Vantor。\n",
                   stdout);
        return true;
    }
    if (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "-v") == 0) {
        std::fputs("vantor " VANTOR_VERSION "\n", stdout);
        return true;
    }
    return false;
}

int refuse(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Vantor"), text, QMessageBox::Ok);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.exec();
    return 1;
}

QString fromUtf8(const char *text)
{
    return QString::fromUtf8(text);
}

// A second start: the running program takes the file (or only comes to the front).
// It may still be starting, so the hand-over is tried for a few seconds.
int handOver(const QString &file, const QString &socketPath)
{
    for (int attempt = 0; attempt < 30; ++attempt) {
        if (vantor::InstanceChannel::sendFile(file, socketPath, 1000))
            return 0;
        QThread::msleep(100);
    }
    if (file.isEmpty())
        return 0;
    return refuse(QStringLiteral("Vantor已经在运行，但没有回应，未能打开项目文件“%1”。\n请切换到已打开的Vantor窗口，"
                                 "用“文件 > 打开”打开它。")
                      .arg(QDir::toNativeSeparators(file)));
}

} // namespace

int main(int argc, char **argv)
{
    if (answerInfoOption(argc, argv))
        return 0;
    // Whatever the program writes (working and recovery copies, settings, saved
    // projects) is its user's alone.
    ::umask(::umask(0) | 077);
    vantor::useChineseLocale();
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Vantor");
    QApplication::setApplicationName("Vantor");
    vantor::installChineseTranslations(app);

    const QStringList args = QCoreApplication::arguments();
    const QString file = args.size() > 1 ? QFileInfo(args.at(1)).absoluteFilePath() : QString();

    vantor::RuntimePlaces places;
    try {
        places = vantor::RuntimePlaces::in(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    } catch (const vantor::PrivateFolderError &e) {
        return refuse(fromUtf8(e.what()));
    }
    vantor::SingleInstance instance(places.lockPath);
    if (!instance.acquire()) {
        if (instance.error() == QLockFile::LockFailedError)
            return handOver(file, places.socketPath);
        return refuse(QStringLiteral("无法建立锁文件“%1”，Vantor不能启动。").arg(places.lockPath));
    }

    // Working copies go into a folder of this program's own inside the user's data
    // folder; folders left there by programs that were killed go first.
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    std::unique_ptr<vantor::PrivateFolder> work;
    try {
        vantor::PrivateFolder::ensure(dataFolder.toStdString());
        vantor::PrivateFolder::removeStale(dataFolder.toStdString(), "work-");
        work = std::make_unique<vantor::PrivateFolder>(dataFolder.toStdString(), "work-");
    } catch (const vantor::PrivateFolderError &e) {
        return refuse(fromUtf8(e.what()));
    }

    vantor::ProgramState state;
    state.programFolder = QCoreApplication::applicationDirPath().toStdString();
    // The user's own documents: the program's folder may be read-only and shared.
    const QString myFiles = vantor::ensureMyFiles(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/Vantor", dataFolder);
    state.myFilesFolder = (myFiles.isEmpty() ? QDir::homePath() : myFiles).toStdString();

    vantor::ProjectSessionConfig config;
    config.programFolder = state.programFolder;
    config.workFolder = work->path();
    config.myFilesFolder = state.myFilesFolder;
    vantor::MainAssembly assembly(state, config);
    assembly.window().show();

    vantor::InstanceChannel channel;
    if (!channel.listen(places.socketPath))
        qWarning("Vantor: %s cannot take hand-overs", qPrintable(places.socketPath));
    QObject::connect(&channel, &vantor::InstanceChannel::fileRequested, &assembly.window(),
                     [&assembly](const QString &path) { assembly.openFileFromOutside(path.toStdString()); });
    QObject::connect(&channel, &vantor::InstanceChannel::activationRequested, &assembly.window(),
                     [&assembly] { assembly.bringToFront(); });
    QTimer::singleShot(0, &assembly.window(), [&assembly, file] { assembly.startUp(file.toStdString()); });
    return app.exec();
}
