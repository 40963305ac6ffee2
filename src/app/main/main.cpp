// Start procedure: one instance per user, the MyFiles folder, Qt's own texts in
// Chinese, then the main window; a project file named on the command line opens
// at once.
#include "app/InstanceChannel.h"
#include "app/MainAssembly.h"
#include "app/StartUp.h"

#include <QApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <cstring>

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

} // namespace

int main(int argc, char **argv)
{
    if (answerInfoOption(argc, argv))
        return 0;
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Vantor");
    QApplication::setApplicationName("Vantor");
    vantor::installChineseTranslations(app);

    // A second start ends at once; a file it was given goes to the running program.
    const QStringList args = QCoreApplication::arguments();
    vantor::SingleInstance instance(vantor::SingleInstance::defaultLockPath());
    if (!instance.acquire()) {
        if (args.size() > 1)
            vantor::InstanceChannel::sendFile(QFileInfo(args.at(1)).absoluteFilePath());
        return 0;
    }

    vantor::ProgramState state;
    state.programFolder = QCoreApplication::applicationDirPath().toStdString();
    // The user's own folders: the program's folder may be read-only and shared.
    state.myFilesFolder =
        vantor::ensureMyFiles(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/Vantor",
                              QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .toStdString();

    vantor::MainAssembly assembly(state, vantor::ProjectController::defaultConfig(state.programFolder));
    assembly.window().show();
    vantor::InstanceChannel channel;
    channel.listen();
    QObject::connect(&channel, &vantor::InstanceChannel::fileRequested, &assembly.window(),
                     [&assembly](const QString &path) { assembly.openFileFromOutside(path.toStdString()); });
    if (args.size() > 1) {
        const std::string path = args.at(1).toStdString();
        QTimer::singleShot(0, &assembly.window(), [&assembly, path] { assembly.openFileFromOutside(path); });
    } else {
        // Work left unsaved by a crash is offered first.
        QTimer::singleShot(0, &assembly.window(), [&assembly] { assembly.recovery().offerRestore(); });
    }
    return app.exec();
}
