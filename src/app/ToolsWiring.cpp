#include "app/ToolsWiring.h"

#include "app/frmMain.h"
#include "tools/dialogs/frmToolgs.h"

namespace vantor
{

ToolsWiring::ToolsWiring(frmMain &window) : m_window(window)
{
    m_window.dispatcher().setHandler(CommandId::ToolCalculators, [this] { showCalculators(); });
}

ToolsWiring::~ToolsWiring()
{
    m_window.dispatcher().setHandler(CommandId::ToolCalculators, nullptr);
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

} // namespace vantor
