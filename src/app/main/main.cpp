// Start procedure: one instance per user, the MyFiles folder, Qt's own texts in
// Chinese, then the main window; a project file named on the command line opens
// at once.
#include "app/MainAssembly.h"
#include "app/StartUp.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Vantor");
    QApplication::setApplicationName("Vantor");
    vantor::installChineseTranslations(app);

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
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1) {
        const std::string path = args.at(1).toStdString();
        QTimer::singleShot(0, &assembly.window(), [&assembly, path] { assembly.projects().openProjectFile(path); });
    } else {
        // Work left unsaved by a crash is offered first.
        QTimer::singleShot(0, &assembly.window(), [&assembly] { assembly.recovery().offerRestore(); });
    }
    return app.exec();
}
