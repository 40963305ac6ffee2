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
    m_timer.setInterval(RecoveryStore::kIntervalSeconds * 1000);
    connect(&m_timer, &QTimer::timeout, this, &RecoveryWiring::writeNow);
    m_timer.start();
    m_saveCheck.setInterval(2000);
    connect(&m_saveCheck, &QTimer::timeout, this, &RecoveryWiring::dropWhenSaved);
    m_saveCheck.start();
}

RecoveryWiring::~RecoveryWiring()
{
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

void RecoveryWiring::offerRestore(const std::function<bool()> &ask)
{
    const auto found = m_store.find();
    if (!found) {
        m_store.clear();
        return;
    }
    bool restore = false;
    if (ask) {
        restore = ask();
    } else {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Vantor"),
                        QStringLiteral("Vantor上次没有正常退出，找到了未保存的项目。\n"
                                       "恢复后请用“保存”把它存到您选择的位置。"),
                        QMessageBox::NoButton, &m_window);
        QPushButton *restoreButton = box.addButton(QStringLiteral("恢复"), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("放弃"), QMessageBox::RejectRole);
        box.setDefaultButton(restoreButton);
        box.exec();
        restore = box.clickedButton() == restoreButton;
    }
    if (restore && m_projects.openRecovered(*found) == CommandResult::Done) {
        // Kept until the restored project is saved or closed: a second crash
        // before that finds it again.
        m_hasCopy = true;
        return;
    }
    if (!restore)
        m_store.clear();
}

} // namespace vantor
