#include "app/RecoveryWiring.h"

#include "app/ProjectController.h"
#include "app/frmMain.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace vantor {

namespace {

std::string defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("recovery"))
        .toStdString();
}

} // namespace

RecoveryWiring::RecoveryWiring(frmMain &window, ProjectController &projects, std::string folder)
    : m_window(window), m_projects(projects), m_store(folder.empty() ? defaultFolder() : std::move(folder))
{
    // VANTOR_RECOVERY_SECONDS shortens the wait, so that a crash can be tried out.
    bool set = false;
    const int seconds = qEnvironmentVariableIntValue("VANTOR_RECOVERY_SECONDS", &set);
    m_timer.setInterval((set && seconds > 0 ? seconds : RecoveryStore::kIntervalSeconds) * 1000);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryWiring::writeNow);
    m_timer.start();
    m_saveCheck.setInterval(2000);
    connect(&m_saveCheck, &QTimer::timeout, this, &RecoveryWiring::dropWhenSaved);
    m_saveCheck.start();
}

RecoveryWiring::~RecoveryWiring()
{
    // Only the copy of this program's own work: another copy may be the only
    // trace of a crash that has not been offered yet.
    if (m_hasCopy)
        m_store.clear();
}

void RecoveryWiring::dropWhenSaved()
{
    ProjectSession &session = m_projects.session();
    if (m_hasCopy && (!session.isOpen() || !session.isModified())) {
        m_store.clear();
        m_hasCopy = false;
    }
}

void RecoveryWiring::writeNow()
{
    ProjectSession &session = m_projects.session();
    if (!session.isOpen() || !session.isModified()) {
        dropWhenSaved();
        return;
    }
    try {
        session.writeRecoveryCopy(m_store);
        m_hasCopy = true;
    } catch (const std::exception &) {
        // A copy that cannot be written (a full disk) must not disturb typing;
        // the previous copy stays and the next round tries again.
    }
}

RecoveryWiring::Choice RecoveryWiring::askUser(const RecoveredProject &found)
{
    const QString name =
        found.projectName.empty() ? QStringLiteral("（未命名）") : QString::fromStdString(found.projectName);
    const QString file = found.projectPath.empty()
                             ? QStringLiteral("（还没有保存为文件）")
                             : QDir::toNativeSeparators(QString::fromStdString(found.projectPath));
    QMessageBox box(QMessageBox::Question, QStringLiteral("Vantor"),
                    QStringLiteral("Vantor上次没有正常退出，项目“%1”有没有保存的修改。\n项目文件：%2\n\n"
                                   "选择“恢复”打开这些修改，再用“保存”把它们存入项目文件；选择“放弃”则删除它们。")
                        .arg(name, file),
                    QMessageBox::NoButton, &m_window);
    QPushButton *restoreButton = box.addButton(QStringLiteral("恢复(&R)"), QMessageBox::AcceptRole);
    // Destructive, so that Esc never picks it: closing the box only puts the question off.
    QPushButton *discardButton = box.addButton(QStringLiteral("放弃(&D)"), QMessageBox::DestructiveRole);
    box.setDefaultButton(restoreButton);
    box.exec();
    if (box.clickedButton() == restoreButton)
        return Choice::Restore;
    return box.clickedButton() == discardButton ? Choice::Discard : Choice::Later;
}

std::optional<std::string> RecoveryWiring::offerRestore()
{
    // The program's own copy is kept, not offered; a restore needs a program
    // without an open project.
    if (m_hasCopy || m_projects.session().isOpen())
        return std::nullopt;
    const auto found = m_store.find();
    if (!found) {
        // Pieces of a copy whose writing was cut off before it became one.
        m_store.clear();
        return std::nullopt;
    }
    switch (m_ask ? m_ask(*found) : askUser(*found)) {
    case Choice::Discard:
        m_store.clear();
        return std::nullopt;
    case Choice::Later:
        return std::nullopt;
    case Choice::Restore:
        break;
    }
    // A copy that fails to open, or whose password was not given, stays for another time.
    if (m_projects.openRecovered(*found) != CommandResult::Done)
        return std::nullopt;
    // Kept until the restored project is saved or closed: a second crash
    // before that finds it again.
    m_hasCopy = true;
    return found->projectPath;
}

} // namespace vantor
