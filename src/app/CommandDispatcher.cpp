#include "app/CommandDispatcher.h"

namespace vantor {

namespace {
bool valid(CommandId id)
{
    return static_cast<int>(id) >= 0 && static_cast<int>(id) < commandCount;
}
} // namespace

void CommandDispatcher::setHandler(CommandId id, Handler handler)
{
    if (valid(id))
        m_handlers[static_cast<size_t>(id)] = std::move(handler);
}

bool CommandDispatcher::hasHandler(CommandId id) const
{
    return valid(id) && static_cast<bool>(m_handlers[static_cast<size_t>(id)]);
}

bool CommandDispatcher::dispatch(CommandId id) const
{
    if (!hasHandler(id))
        return false;
    if (m_guard && !m_guard(id))
        return false;
    // A copy: a handler may replace itself while it runs.
    Handler h = m_handlers[static_cast<size_t>(id)];
    h();
    return true;
}

} // namespace vantor
