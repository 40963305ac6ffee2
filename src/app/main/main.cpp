// Start procedure: one instance per user, the MyFiles folder, then the main window.
#include "app/MainAssembly.h"
#include "app/StartUp.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Vantor");
    QApplication::setApplicationName("Vantor");

    // A second start ends at once and says nothing.
    vantor::SingleInstance instance(vantor::SingleInstance::defaultLockPath());
    if (!instance.acquire())
        return 0;

    vantor::ProgramState state;
    state.programFolder = QCoreApplication::applicationDirPath().toStdString();
    state.myFilesFolder =
        vantor::ensureMyFiles(QCoreApplication::applicationDirPath(),
                              QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .toStdString();

    vantor::MainAssembly assembly(state, vantor::ProjectController::defaultConfig(state.programFolder));
    assembly.window().show();
    return app.exec();
}
