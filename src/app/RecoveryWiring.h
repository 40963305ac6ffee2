#pragma once

// Keeps a recovery copy of the open project while it has unsaved changes
// (RecoveryStore, every two minutes), removes it when the program ends
// normally or nothing is left unsaved, and offers a copy left by a crash
// before any project opens: "恢复" opens it as an unsaved project, "放弃"
// removes it. A copy this program neither wrote nor restored is never removed
// without having been offered.

#include "project/RecoveryStore.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <optional>
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

    // What the user answers to the offer of a copy.
    enum class Choice { Restore, Discard, Later };
    using Ask = std::function<Choice(const RecoveredProject &)>;

    // While no project is open: offers a copy left by a crash, asking with a
    // message box that names the project and its file. Returns the file the
    // restored project belongs to (empty when it never had one), nothing when
    // no project was restored.
    std::optional<std::string> offerRestore();
    // Replaces the message box (tests); empty restores it.
    void setAsk(Ask ask) { m_ask = std::move(ask); }

    // One round of the timer: writes the copy when there are unsaved changes,
    // removes it when there are none.
    void writeNow();
    // Removes the copy once nothing is left unsaved (the project was saved or
    // closed); checked every few seconds, as it costs nothing.
    void dropWhenSaved();

    RecoveryStore &store() { return m_store; }

private:
    Choice askUser(const RecoveredProject &found);

    frmMain &m_window;
    ProjectController &m_projects;
    RecoveryStore m_store;
    QTimer m_timer;
    QTimer m_saveCheck;
    Ask m_ask;
    bool m_hasCopy = false;
};

} // namespace vantor
