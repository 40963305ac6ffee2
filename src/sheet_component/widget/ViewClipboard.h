#pragma once

// A sheet view's side of copy and paste: the cells it copied (pasted back with formats and
// formulas) and the tab-separated text it put on the system clipboard for other programs. A
// paste uses the view's own copy while the system clipboard still holds that copy's text (or
// nothing); any other text is written field by field as typed input.

#include "sheet_component/engine/CellClipboard.h"

#include <QString>

#include <functional>
#include <optional>

namespace vantor {

class Workbook;

class ViewClipboard {
public:
    // Copies a block of the current sheet to both clipboards.
    void copy(const Workbook &workbook, CellRange range);
    // As copy, then clears the cells the guard allows; returns the number it kept.
    int cut(Workbook &workbook, CellRange range, const WriteGuard &guard);
    // True when a paste would find nothing.
    bool isEmpty() const;
    // Asked about each non-empty field of pasted text before anything is written; it may
    // rewrite the field, and false refuses the whole paste.
    using FieldCheck = std::function<bool(int col, int row, QString *text)>;
    struct Pasted {
        CellRange block; // where the block lands, within the guard's limits
        int leftOut = 0; // cells the guard kept out
    };
    // Pastes with its top-left at (col, row) of the current sheet; nothing when there was
    // nothing to paste or a field was refused (then no cell changed).
    std::optional<Pasted> paste(Workbook &workbook, int col, int row, bool whole, const WriteGuard &guard,
                                const FieldCheck &check);
    // The copied cells name the workbook's styles: a reset or load makes them meaningless.
    void forgetCells() { m_cells.clear(); }

private:
    bool ownCopyShown(const QString &systemText) const;

    CellClipboard m_cells;
    QString m_ownText;
};

} // namespace vantor
