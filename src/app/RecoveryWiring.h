#pragma once

// Keeps a recovery copy of the open project while it has unsaved changes
// (RecoveryStore, every two minutes), removes it when the program ends
// normally or nothing is left unsaved, and at start offers a copy left by a
// crash: "恢复" opens it as an unsaved project, "放弃" removes it.

#include "project/RecoveryStore.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <string>

namespace vantor {

class frmMain;
class ProjectController;

class RecoveryWiring : public QObject {
    Q_OBJECT
public:
    // folder: empty for the default, under the per-user application data.
    RecoveryWiring(frmMain &window, ProjectController &projects, std::string folder = {});
    // A normal end: the copy is no longer needed.
    ~RecoveryWiring() override;

    // At start: offers a copy left by a crash. `ask` decides (true: restore);
    // by default a message box with the two buttons.
    void offerRestore(const std::function<bool()> &ask = {});

    // One round of the timer: writes the copy when there are unsaved changes,
    // removes it when there are none.
    void writeNow();
    // Removes the copy once nothing is left unsaved (the project was saved or
    // closed); checked every few seconds, as it costs nothing.
    void dropWhenSaved();

    RecoveryStore &store() { return m_store; }

private:
    frmMain &m_window;
    ProjectController &m_projects;
    RecoveryStore m_store;
    QTimer m_timer;
    QTimer m_saveCheck;
    bool m_hasCopy = false;
};

} // namespace vantor
