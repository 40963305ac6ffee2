#include "app/FormatWiring.h"

#include "app/CommandBars.h"
#include "app/FormatCommands.h"
#include "app/ProjectDocument.h"
#include "app/SheetHost.h"
#include "app/frmMain.h"
#include "sheet_component/engine/Selection.h"
#include "sheet_component/engine/Workbook.h"

#include <QComboBox>

namespace vantor {

namespace {

constexpr CommandId kWired[] = {CommandId::FormatBold, CommandId::FormatItalic, CommandId::FormatUnderline,
                                CommandId::AlignLeft,  CommandId::AlignCenter,  CommandId::AlignRight,
                                CommandId::MergeCells, CommandId::UnmergeCells, CommandId::FontName,
                                CommandId::FontSize};

} // namespace

FormatWiring::FormatWiring(frmMain &window) : m_window(window), m_doc(window.document())
{
    using C = CommandId;
    CommandDispatcher &d = m_window.dispatcher();
    d.setHandler(C::FormatBold, [this] { applyStyleButtons(); });
    d.setHandler(C::FormatItalic, [this] { applyStyleButtons(); });
    d.setHandler(C::FormatUnderline, [this] { applyStyleButtons(); });
    d.setHandler(C::AlignLeft, [this] { applyAlignment(AlignLeft); });
    d.setHandler(C::AlignCenter, [this] { applyAlignment(AlignCenter); });
    d.setHandler(C::AlignRight, [this] { applyAlignment(AlignRight); });
    d.setHandler(C::MergeCells, [this] { mergeOrUnmerge(true); });
    d.setHandler(C::UnmergeCells, [this] { mergeOrUnmerge(false); });
    d.setHandler(C::FontName, [this] { applyFontNameBox(); });
    d.setHandler(C::FontSize, [this] { applyFontSizeBox(); });
}

FormatWiring::~FormatWiring()
{
    for (CommandId id : kWired)
        m_window.dispatcher().setHandler(id, nullptr);
}

bool FormatWiring::formatsSheet() const
{
    return m_doc.state().isDataEntry() && m_doc.detailView() && !m_doc.workbook().ReadOnly();
}

void FormatWiring::applyStyleButtons()
{
    if (!formatsSheet())
        return;
    const CommandBars &bars = m_window.bars();
    const auto size = parseFontSize(bars.sizeBox()->currentText().toStdString());
    const std::string name = bars.fontBox()->currentText().trimmed().toStdString();
    if (!size || name.empty())
        return;
    applyFontStyle(m_doc.selection(), bars.styleButtons(), *size, name, m_doc.freezeRows());
    m_window.sheet().DoRedraw();
}

void FormatWiring::applyAlignment(int code)
{
    if (!formatsSheet())
        return;
    vantor::applyAlignment(m_doc.selection(), code);
    m_window.sheet().DoRedraw();
}

void FormatWiring::applyFontNameBox()
{
    if (!formatsSheet())
        return;
    applyFontName(m_doc.selection(), m_window.fontBox()->currentText().trimmed().toStdString(), m_doc.freezeRows());
    m_window.sheet().DoRedraw();
}

void FormatWiring::applyFontSizeBox()
{
    if (!formatsSheet())
        return;
    if (const auto size = parseFontSize(m_window.sizeBox()->currentText().toStdString())) {
        applyFontSize(m_doc.selection(), *size, m_doc.freezeRows());
        m_window.sheet().DoRedraw();
    }
}

void FormatWiring::mergeOrUnmerge(bool merge)
{
    // Without a project the sheet is the welcome page: formatsSheet() refuses it too.
    if (!formatsSheet())
        return;
    if (merge)
        mergeSelection(m_doc.selection());
    else
        unmergeActiveCell(m_doc.selection());
    m_window.sheet().DoRedraw();
}

} // namespace vantor
