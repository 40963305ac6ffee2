#pragma once

// Undo history of a workbook. Every change is recorded as an UndoCommand that can revert and
// re-apply itself; the commands of one user action form one step. A step is opened by the
// outermost beginGroup() (see UndoGroup) or, when no group is open, by each command on its own.
// Recording a new step drops the redo steps. Steps beyond the limit are forgotten oldest first.

#include <cstddef>
#include <memory>
#include <vector>

namespace vantor {

class Workbook;

class UndoCommand {
public:
    virtual ~UndoCommand() = default;
    virtual void undo(Workbook &workbook) = 0;
    virtual void redo(Workbook &workbook) = 0;
    // True when the command holds a pointer to the object (a sheet), so that the object must
    // outlive it.
    virtual bool refersTo(const void *object) const
    {
        (void)object;
        return false;
    }
    // The sheet whose content or layout the command changes; nullptr when it changes the
    // workbook as a whole (sheets inserted or removed, styles).
    virtual const void *target() const { return nullptr; }
};

class UndoStack {
public:
    explicit UndoStack(std::size_t limit = 200) : m_limit(limit) {}

    void push(std::unique_ptr<UndoCommand> command);
    void beginGroup();
    void endGroup();
    int groupDepth() const { return m_depth; }

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // Revert / re-apply one step. Commands run in reverse order for undo.
    void undo(Workbook &workbook);
    void redo(Workbook &workbook);
    void clear();
    std::size_t undoCount() const { return m_undo.size(); }
    std::size_t redoCount() const { return m_redo.size(); }
    void setLimit(std::size_t limit);
    // The targets of the commands of the step that undo() / redo() would replay next.
    std::vector<const void *> nextUndoTargets() const;
    std::vector<const void *> nextRedoTargets() const;
    // True when any recorded command refers to the object.
    bool refersTo(const void *object) const;

    // True while undo() or redo() runs; nothing is recorded then.
    bool isReplaying() const { return m_replaying; }
    // While paused nothing is recorded (temporary work that the caller removes again).
    void pause() { ++m_paused; }
    void resume() { --m_paused; }
    bool isRecording() const { return !m_replaying && m_paused == 0; }

private:
    using Step = std::vector<std::unique_ptr<UndoCommand>>;
    void trim();

    std::vector<Step> m_undo;
    std::vector<Step> m_redo;
    Step m_open;
    int m_depth = 0;
    int m_paused = 0;
    bool m_replaying = false;
    std::size_t m_limit;
};

} // namespace vantor
