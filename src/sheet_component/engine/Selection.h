#pragma once

// Where the user is in a workbook: for every sheet the selected block and the current cell.
// This is view state, kept apart from the workbook: it is never undone, never marks the workbook
// modified, and the workbook knows nothing of it. It follows the workbook's changes: a sheet that
// shrinks pulls its cursor back inside, and a reset or a load starts every sheet at A1 (a loader
// then restores what the file remembers).
//
// The operations keep the component's names and act on the workbook's current sheet unless a
// sheet index is passed.

#include "sheet_component/engine/SheetTypes.h"

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

namespace vantor {

class Sheet;
class Workbook;
struct WorkbookChange;

struct SheetViewState {
    CellRange selection{0, 0, 0, 0};
    int col = 0, row = 0;
    bool operator==(const SheetViewState &) const = default;
};

class Selection {
public:
    // Follows `workbook` (not owned; it must outlive the selection).
    explicit Selection(Workbook &workbook);
    ~Selection();
    Selection(const Selection &) = delete;
    Selection &operator=(const Selection &) = delete;

    Workbook &workbook() const { return m_workbook; }

    CellRange DoGetSelection(int sheet = -1) const;
    CellRange DoGetSelectionLong(int sheet = -1) const { return DoGetSelection(sheet); }
    // Selects a block; the current cell stays when it lies inside, else moves to its top-left.
    void DoSelectRange(int col1, int row1, int col2, int row2);
    // Makes a cell (clamped into the sheet) current and the selection.
    void DoGotoCell(int col, int row);
    int CurrentCol() const;
    int CurrentRow() const;

    // The state of one sheet by index, and its restoring as a file remembers it (the current
    // cell clamped into the sheet; a selection that leaves it out moves it to its top-left).
    SheetViewState state(int sheet) const;
    void restore(int sheet, const SheetViewState &state);
    void restore(const std::vector<SheetViewState> &states);

    // Called after the selection or the current cell changed from anywhere, with the sheet index.
    void setChangeListener(std::function<void(int sheet)> listener) { m_listener = std::move(listener); }

private:
    int resolve(int sheet) const;
    void set(int sheet, const SheetViewState &state);
    void onWorkbookChanged(const WorkbookChange &change);

    Workbook &m_workbook;
    int m_subscription = -1;
    // By sheet id: a sheet keeps its state when others are inserted or deleted, and a deleted
    // sheet that an undo brings back finds its state again.
    std::unordered_map<std::uint64_t, SheetViewState> m_states;
    std::function<void(int sheet)> m_listener;
};

} // namespace vantor
