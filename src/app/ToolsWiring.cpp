#include "app/ToolsWiring.h"

#include "app/ProjectDocument.h"
#include "app/SheetHost.h"
#include "app/frmMain.h"
#include "calculators/dialogs/frmToolgs.h"
#include "import/dialogs/frmImport.h"
#include "sheets/SheetCatalogue.h"

namespace vantor {

ToolsWiring::ToolsWiring(frmMain &window) : m_window(window), m_doc(window.document())
{
    m_window.dispatcher().setHandler(CommandId::ToolCalculators, [this] { showCalculators(); });
    m_window.dispatcher().setHandler(CommandId::DataImport, [this] { showImport(); });
}

ToolsWiring::~ToolsWiring()
{
    m_window.dispatcher().setHandler(CommandId::ToolCalculators, nullptr);
    m_window.dispatcher().setHandler(CommandId::DataImport, nullptr);
}

frmToolgs &ToolsWiring::showCalculators()
{
    if (!m_calculators)
        m_calculators = std::make_unique<frmToolgs>(m_window.prompter(), &m_window);
    m_calculators->show();
    m_calculators->raise();
    m_calculators->activateWindow();
    return *m_calculators;
}

frmImport &ToolsWiring::showImport()
{
    if (!m_import) {
        auto target = [this]() -> std::optional<ImportTarget> {
            // A value still being typed in the main window is stored first, as before every command.
            if (!m_window.endEdit()) {
                ImportTarget blocked;
                blocked.blocked = true;
                return blocked;
            }
            const ProgramState &state = m_doc.state();
            if (!state.isDataEntry() || !m_doc.detailView() || !SheetCatalogue::isDetail(state.currentSheet))
                return std::nullopt;
            const TreeEntry *entry = m_doc.entry(SheetCatalogue::label(state.currentSheet));
            const std::string caption = entry ? entry->text : SheetCatalogue::defaultCaption(state.currentSheet);
            return ImportTarget{&m_doc.workbook(), state.currentSheet, caption, m_doc.freezeRows()};
        };
        auto after = [this] {
            m_window.sheet().DoRedraw();
            m_window.refreshCommands();
        };
        m_import = std::make_unique<frmImport>(m_window.prompter(), target, after, &m_window);
    }
    m_import->show();
    m_import->raise();
    m_import->activateWindow();
    return *m_import;
}

} // namespace vantor
