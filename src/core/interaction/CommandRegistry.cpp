#include "interaction/CommandRegistry.h"

#include <stdexcept>
#include <string>

namespace kv {

void CommandRegistry::add(CommandId id, CommandHandler handler) {
    if (!handler.rule || !handler.run) {
        throw std::logic_error("command " + std::to_string(static_cast<int>(id)) +
                               " registered without a handler");
    }
    if (!m_handlers.emplace(id, std::move(handler)).second) {
        throw std::logic_error("command " + std::to_string(static_cast<int>(id)) + " registered twice");
    }
}

CommandState CommandRegistry::state(CommandId id, const AppState& appState) const {
    const auto found = m_handlers.find(id);
    if (found == m_handlers.end()) {
        return {};
    }
    CommandState state = found->second.rule(appState);
    if (found->second.writes && appState.readOnly) {
        state.enabled = false;
    }
    return state;
}

bool CommandRegistry::run(CommandId id, const AppState& appState) const {
    const auto found = m_handlers.find(id);
    if (found == m_handlers.end() || !state(id, appState).enabled) {
        return false;
    }
    // The handler may change the registry's owner; keep it alive while it runs.
    const auto run = found->second.run;
    run();
    return true;
}

} // namespace kv
