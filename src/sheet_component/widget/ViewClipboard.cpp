#include "sheet_component/widget/ViewClipboard.h"

#include "sheet_component/engine/Workbook.h"

#include <QApplication>
#include <QClipboard>
#include <QStringList>

#include <algorithm>

namespace vantor {

namespace {

// Offers each field of a text block to the check. Quoted fields may hold tabs and line breaks:
// such blocks are checked field by field as split here, but written as they came.
bool checkFields(int col, int row, QString &block, const WriteGuard &guard, const ViewClipboard::FieldCheck &check)
{
    const bool plain = !block.contains(QLatin1Char('"'));
    QStringList lines = block.split(QLatin1Char('\n'));
    for (int r = 0; r < lines.size(); ++r) {
        QStringList fields = lines[r].split(QLatin1Char('\t'));
        for (int c = 0; c < fields.size(); ++c) {
            if (fields[c].isEmpty() || !guard.allows(col + c, row + r))
                continue;
            if (!check(col + c, row + r, &fields[c]))
                return false;
        }
        lines[r] = fields.join(QLatin1Char('\t'));
    }
    if (plain)
        block = lines.join(QLatin1Char('\n'));
    return true;
}

} // namespace

void ViewClipboard::copy(const Workbook &workbook, CellRange range)
{
    m_cells.copy(workbook, range);
    m_ownText = QString::fromStdString(CellClipboard::rangeAsText(workbook, range));
    QApplication::clipboard()->setText(m_ownText);
}

int ViewClipboard::cut(Workbook &workbook, CellRange range, const WriteGuard &guard)
{
    m_ownText = QString::fromStdString(CellClipboard::rangeAsText(workbook, range));
    const int kept = m_cells.cut(workbook, range, guard);
    QApplication::clipboard()->setText(m_ownText);
    return kept;
}

bool ViewClipboard::ownCopyShown(const QString &systemText) const
{
    return !m_cells.isEmpty() && (systemText.isEmpty() || systemText == m_ownText);
}

bool ViewClipboard::isEmpty() const
{
    const QString text = QApplication::clipboard()->text();
    return !ownCopyShown(text) && text.isEmpty();
}

std::optional<ViewClipboard::Pasted> ViewClipboard::paste(Workbook &workbook, int col, int row, bool whole,
                                                          const WriteGuard &guard, const FieldCheck &check)
{
    const QString text = QApplication::clipboard()->text();
    int leftOut = 0;
    int cols = 1, rows = 1;
    if (ownCopyShown(text)) {
        leftOut = m_cells.paste(workbook, col, row, whole, guard);
        const CellRange src = m_cells.range();
        cols = src.colCount();
        rows = src.rowCount();
    } else {
        if (text.isEmpty())
            return std::nullopt;
        QString block = text;
        block.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        if (block.endsWith(QLatin1Char('\n')))
            block.chop(1);
        const QStringList lines = block.split(QLatin1Char('\n'));
        rows = static_cast<int>(lines.size());
        for (const QString &line : lines)
            cols = std::max(cols, static_cast<int>(line.count(QLatin1Char('\t'))) + 1);
        if (!checkFields(col, row, block, guard, check))
            return std::nullopt; // refused, and said why, before any cell changed
        leftOut = CellClipboard::pasteText(workbook, col, row, block.toStdString(), -1, guard);
    }
    return Pasted{CellRange{col, row, std::min(col + cols - 1, guard.lastCol), std::min(row + rows - 1, guard.lastRow)},
                  leftOut};
}

} // namespace vantor
