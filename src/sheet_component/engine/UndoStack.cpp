#include "sheet_component/engine/UndoStack.h"

namespace vantor {

namespace {
// Restores a flag when a step throws half-way.
struct ReplayGuard {
    bool &flag;
    explicit ReplayGuard(bool &f) : flag(f) { flag = true; }
    ~ReplayGuard() { flag = false; }
};
} // namespace

void UndoStack::push(std::unique_ptr<UndoCommand> command)
{
    if (!isRecording() || !command)
        return;
    if (m_depth > 0) {
        m_open.push_back(std::move(command));
        return;
    }
    Step step;
    step.push_back(std::move(command));
    m_undo.push_back(std::move(step));
    m_redo.clear();
    trim();
}

void UndoStack::beginGroup()
{
    ++m_depth;
}

void UndoStack::endGroup()
{
    if (m_depth == 0)
        return;
    if (--m_depth == 0 && !m_open.empty()) {
        m_undo.push_back(std::move(m_open));
        m_open.clear();
        m_redo.clear();
        trim();
    }
}

void UndoStack::undo(Workbook &workbook)
{
    if (m_undo.empty() || m_depth > 0)
        return;
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    {
        ReplayGuard guard(m_replaying);
        for (auto it = step.rbegin(); it != step.rend(); ++it)
            (*it)->undo(workbook);
    }
    m_redo.push_back(std::move(step));
}

void UndoStack::redo(Workbook &workbook)
{
    if (m_redo.empty() || m_depth > 0)
        return;
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    {
        ReplayGuard guard(m_replaying);
        for (auto &command : step)
            command->redo(workbook);
    }
    m_undo.push_back(std::move(step));
}

namespace {
std::vector<const void *> targetsOf(const std::vector<std::unique_ptr<UndoCommand>> &step)
{
    std::vector<const void *> targets;
    for (const auto &command : step)
        targets.push_back(command->target());
    return targets;
}
} // namespace

std::vector<const void *> UndoStack::nextUndoTargets() const
{
    return m_undo.empty() ? std::vector<const void *>{} : targetsOf(m_undo.back());
}

std::vector<const void *> UndoStack::nextRedoTargets() const
{
    return m_redo.empty() ? std::vector<const void *>{} : targetsOf(m_redo.back());
}

void UndoStack::clear()
{
    m_undo.clear();
    m_redo.clear();
    m_open.clear();
}

bool UndoStack::refersTo(const void *object) const
{
    auto in = [object](const Step &step) {
        for (const auto &command : step)
            if (command->refersTo(object))
                return true;
        return false;
    };
    if (in(m_open))
        return true;
    for (const Step &step : m_undo)
        if (in(step))
            return true;
    for (const Step &step : m_redo)
        if (in(step))
            return true;
    return false;
}

void UndoStack::setLimit(std::size_t limit)
{
    m_limit = limit;
    trim();
}

void UndoStack::trim()
{
    if (m_undo.size() > m_limit)
        m_undo.erase(m_undo.begin(), m_undo.begin() + static_cast<long>(m_undo.size() - m_limit));
}

} // namespace vantor
