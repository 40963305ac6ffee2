#include "app/OutputWiring.h"

#include "app/ProjectController.h"
#include "app/ProjectDocument.h"
#include "app/frmMain.h"
#include "output/ExcelExportCommand.h"
#include "output/OverviewList.h"
#include "output/dialogs/frmQuery.h"
#include "output/print/PrintSettingsStore.h"

#include <exception>

namespace vantor {

OutputWiring::OutputWiring(frmMain &window, ProjectController &projects)
    : m_window(window), m_doc(window.document()), m_projects(projects)
{
    m_window.dispatcher().setHandler(CommandId::FileExportExcel, [this] { exportToExcel(); });
    m_window.dispatcher().setHandler(CommandId::DataOverview, [this] { openOverview(); });
}

OutputWiring::~OutputWiring()
{
    m_window.dispatcher().setHandler(CommandId::FileExportExcel, nullptr);
    m_window.dispatcher().setHandler(CommandId::DataOverview, nullptr);
    delete m_overview.data();
}

frmQuery *OutputWiring::overview() const
{
    return m_overview.data();
}

void OutputWiring::exportToExcel()
{
    ExcelExportCommand::run(m_projects.session(), m_doc.workbook(), m_window.prompter(),
                            [](int16_t id) { return PrintSettingsStore::rows(id); });
}

void OutputWiring::openOverview()
{
    ProjectSession &session = m_projects.session();
    if (!session.isOpen())
        return;
    OverviewSnapshot snapshot;
    try {
        snapshot = OverviewList::snapshot(session.database());
    } catch (const std::exception &e) {
        m_window.prompter().message(std::string(e.what()) + "\n一览表无法打开。", ProjectSession::kTitle,
                                    MessageIcon::Critical);
        return;
    }
    delete m_overview.data();
    m_overview = new frmQuery(std::move(snapshot), &m_window);
    m_overview->show();
    m_overview->activateWindow();
}

} // namespace vantor
