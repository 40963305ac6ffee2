#pragma once

// RAII scope that makes every change of one user action (an edit and the recomputation it
// triggers, a fill, a paste, a sort, an import) a single undo step. Groups nest; the outermost
// one closes the step. UndoPause records nothing for its lifetime, for temporary work that is
// removed again before the scope ends (the print layout on its scratch sheet).

namespace vantor {

class Workbook;

class UndoGroup {
public:
    explicit UndoGroup(Workbook &workbook);
    ~UndoGroup();
    UndoGroup(const UndoGroup &) = delete;
    UndoGroup &operator=(const UndoGroup &) = delete;

private:
    Workbook &m_workbook;
};

class UndoPause {
public:
    explicit UndoPause(Workbook &workbook);
    ~UndoPause();
    UndoPause(const UndoPause &) = delete;
    UndoPause &operator=(const UndoPause &) = delete;

private:
    Workbook &m_workbook;
};

} // namespace vantor
