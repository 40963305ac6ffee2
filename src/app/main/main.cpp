// Start procedure: one instance per user, the MyFiles folder, then the main window.
#include "app/ProgramState.h"
#include "app/DetailCommandsWiring.h"
#include "app/ProjectController.h"
#include "app/SheetTotalsWiring.h"
#include "app/StartUp.h"
#include "app/frmMain.h"

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

    vantor::frmMain window(state);
    // Declared after the window: it goes first and leaves no working copies behind.
    vantor::ProjectController projects(window, vantor::ProjectController::defaultConfig(state.programFolder));
    vantor::installSheetTotals(window, projects.session());
    vantor::DetailCommandsWiring detailCommands(window, projects);
    window.show();
    return app.exec();
}
