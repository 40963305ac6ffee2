#pragma once

// Maps command ids to their handlers. The main window registers the handlers it owns;
// the subsystems that implement the other commands replace the empty ones with
// setHandler() when they are wired in.

#include "app/CommandId.h"

#include <array>
#include <functional>

namespace vantor {

class CommandDispatcher {
public:
    using Handler = std::function<void()>;
    // Runs before every command; a command whose guard answers false does not run.
    using Guard = std::function<bool(CommandId)>;

    void setHandler(CommandId id, Handler handler);
    bool hasHandler(CommandId id) const;
    void setGuard(Guard guard) { m_guard = std::move(guard); }
    // Runs the guard, then the handler; false when none is set or the guard stopped it.
    bool dispatch(CommandId id) const;

private:
    std::array<Handler, commandCount> m_handlers;
    Guard m_guard;
};

} // namespace vantor
