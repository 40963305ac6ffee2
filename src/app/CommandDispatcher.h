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

    void setHandler(CommandId id, Handler handler);
    bool hasHandler(CommandId id) const;
    // Runs the handler; false when none is set (the command does nothing yet).
    bool dispatch(CommandId id) const;

private:
    std::array<Handler, commandCount> m_handlers;
};

} // namespace vantor
