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

int main(int argc, char **argv)
{
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
