#pragma once

// The undo commands of the workbook, one class per kind of change. Each applies its change with
// apply(workbook, false) when first done and on redo, and reverts it with apply(workbook, true).
// Commands refer to sheets by pointer: a sheet object lives on unchanged while any command refers
// to it (deleted sheets are kept inside the command that deleted them). Engine-internal header.

#include "sheet_component/engine/SheetEdit.h"
#include "sheet_component/engine/UndoStack.h"
#include "sheet_component/engine/Workbook.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace vantor {

class AppliedCommand;

// The workbook internals the commands need.
struct WorkbookAccess {
    static void cellsChanged(Workbook &wb, Sheet &sheet, const CellRange &range) { wb.cellsChanged(sheet, range); }
    static void structureChanged(Workbook &wb, Sheet &sheet, const std::vector<std::uint32_t> &slots)
    {
        wb.structureChanged(sheet, slots);
    }
    static void contentReplaced(Workbook &wb, Sheet &sheet) { wb.contentReplaced(sheet); }
    static void touched(Workbook &wb, const Sheet *sheet, WorkbookChange::Kind kind, CellRange range = {})
    {
        wb.touched(sheet ? wb.indexOf(sheet) : -1, kind, range);
    }
    static std::vector<std::unique_ptr<Sheet>> &sheets(Workbook &wb) { return wb.m_sheets; }
    static int &current(Workbook &wb) { return wb.m_current; }
    static Sheet &sheet(Workbook &wb, int index) { return wb.sheetRef(index); }
    // Applies a new command and records it for undo.
    static void run(Workbook &wb, std::unique_ptr<AppliedCommand> command);
    static void sheetsReordered(Workbook &wb) { wb.sheetsReordered(); }
    static void forgetSheet(Workbook &wb, const Sheet *sheet) { wb.forgetSheet(sheet); }
};

class AppliedCommand : public UndoCommand {
public:
    explicit AppliedCommand(const Sheet *sheet = nullptr) : m_target(sheet) {}
    virtual void apply(Workbook &wb, bool undo) = 0;
    bool refersTo(const void *object) const override { return object == m_target; }
    const void *target() const override { return m_target; }
    void undo(Workbook &wb) override { apply(wb, true); }
    void redo(Workbook &wb) override { apply(wb, false); }

private:
    const Sheet *m_target;
};

inline void WorkbookAccess::run(Workbook &wb, std::unique_ptr<AppliedCommand> command)
{
    command->apply(wb, false);
    wb.record(std::move(command));
}

class CellsCommand : public AppliedCommand {
public:
    explicit CellsCommand(Sheet *sheet) : AppliedCommand(sheet), m_sheet(sheet) {}
    void add(int col, int row, CellSnapshot before, CellSnapshot after)
    {
        m_changes.push_back({col, row, std::move(before), std::move(after)});
    }
    bool empty() const { return m_changes.empty(); }
    void apply(Workbook &wb, bool undo) override;

private:
    struct Change {
        int col, row;
        CellSnapshot before, after;
    };
    Sheet *m_sheet;
    std::vector<Change> m_changes;
};

class StylesCommand : public AppliedCommand {
public:
    explicit StylesCommand(Sheet *sheet) : AppliedCommand(sheet), m_sheet(sheet) {}
    void add(int col, int row, StyleId before, StyleId after) { m_changes.push_back({col, row, before, after}); }
    bool empty() const { return m_changes.empty(); }
    void apply(Workbook &wb, bool undo) override;

private:
    struct Change {
        int col, row;
        StyleId before, after;
    };
    Sheet *m_sheet;
    std::vector<Change> m_changes;
};

class SizesCommand : public AppliedCommand {
public:
    SizesCommand(Sheet *sheet, bool rows) : AppliedCommand(sheet), m_sheet(sheet), m_rows(rows) {}
    void add(int index, int before, int after) { m_changes.push_back({index, before, after}); }
    bool empty() const { return m_changes.empty(); }
    void apply(Workbook &wb, bool undo) override;

private:
    struct Change {
        int index, before, after;
    };
    Sheet *m_sheet;
    bool m_rows;
    std::vector<Change> m_changes;
};

class MergesCommand : public AppliedCommand {
public:
    MergesCommand(Sheet *sheet, std::vector<CellRange> before, std::vector<CellRange> after)
        : AppliedCommand(sheet), m_sheet(sheet), m_before(std::move(before)), m_after(std::move(after))
    {
    }
    void apply(Workbook &wb, bool undo) override;

private:
    Sheet *m_sheet;
    std::vector<CellRange> m_before, m_after;
};

// Insert or delete rows or columns.
class StructCommand : public AppliedCommand {
public:
    StructCommand(Sheet *sheet, bool rows, bool insert, int at, int count)
        : AppliedCommand(sheet), m_sheet(sheet), m_rows(rows), m_insert(insert), m_at(at), m_count(count)
    {
    }
    void apply(Workbook &wb, bool undo) override;

private:
    Sheet *m_sheet;
    bool m_rows, m_insert;
    int m_at, m_count;
    StructRecord m_record;
};

// Growing a sheet (shrinking goes through StructCommand, which keeps what is removed).
class ResizeCommand : public AppliedCommand {
public:
    ResizeCommand(Sheet *sheet, int colsBefore, int rowsBefore, int colsAfter, int rowsAfter)
        : AppliedCommand(sheet), m_sheet(sheet), m_colsBefore(colsBefore), m_rowsBefore(rowsBefore),
          m_colsAfter(colsAfter), m_rowsAfter(rowsAfter)
    {
    }
    void apply(Workbook &wb, bool undo) override;

private:
    Sheet *m_sheet;
    int m_colsBefore, m_rowsBefore, m_colsAfter, m_rowsAfter;
};

// Small state changes (frozen rows, print settings, default font, labels) as two closures.
class LambdaCommand : public UndoCommand {
public:
    using Fn = std::function<void(Workbook &)>;
    LambdaCommand(Fn undoFn, Fn redoFn, const Sheet *sheet, WorkbookChange::Kind kind)
        : m_undo(std::move(undoFn)), m_redo(std::move(redoFn)), m_sheet(sheet), m_kind(kind)
    {
    }
    void undo(Workbook &wb) override
    {
        m_undo(wb);
        WorkbookAccess::touched(wb, m_sheet, m_kind);
    }
    void redo(Workbook &wb) override
    {
        m_redo(wb);
        WorkbookAccess::touched(wb, m_sheet, m_kind);
    }
    bool refersTo(const void *object) const override { return object == m_sheet; }
    const void *target() const override { return m_sheet; }

private:
    Fn m_undo, m_redo;
    const Sheet *m_sheet;
    WorkbookChange::Kind m_kind;
};

// Inserting (insert = true) or deleting a run of sheets; the removed sheets live in the command.
class SheetsCommand : public AppliedCommand {
public:
    SheetsCommand(int index, std::vector<std::unique_ptr<Sheet>> sheets, bool insert, int count = 0)
        : m_index(index), m_held(std::move(sheets)), m_insert(insert),
          m_count(insert ? static_cast<int>(m_held.size()) : count)
    {
    }
    bool refersTo(const void *object) const override
    {
        return std::find(m_sheets.begin(), m_sheets.end(), object) != m_sheets.end();
    }
    void apply(Workbook &wb, bool undo) override;

private:
    void insertHeld(Workbook &wb);
    void removeToHeld(Workbook &wb);
    int m_index;
    std::vector<std::unique_ptr<Sheet>> m_held;
    bool m_insert;
    int m_count;
    std::vector<const Sheet *> m_sheets; // the sheets this command inserts or removes
};

// Exchanges a sheet's content with the content kept in the command (DoCopySheet).
class SwapContentCommand : public AppliedCommand {
public:
    SwapContentCommand(Sheet *sheet, std::unique_ptr<Sheet> held)
        : AppliedCommand(sheet), m_sheet(sheet), m_held(std::move(held))
    {
    }
    void apply(Workbook &wb, bool undo) override;

private:
    Sheet *m_sheet;
    std::unique_ptr<Sheet> m_held;
};

class PermuteCommand : public AppliedCommand {
public:
    PermuteCommand(Sheet *sheet, int first, std::vector<int> order)
        : AppliedCommand(sheet), m_sheet(sheet), m_first(first), m_order(std::move(order))
    {
    }
    void apply(Workbook &wb, bool undo) override;

private:
    Sheet *m_sheet;
    int m_first;
    std::vector<int> m_order;
};

} // namespace vantor
