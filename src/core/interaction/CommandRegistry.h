// The commands that the program has: each subsystem registers its own as an
// enable rule and a run function. A command nobody registered is disabled.
#pragma once

#include "interaction/AppState.h"
#include "interaction/CommandId.h"

#include <functional>
#include <map>

namespace kv {

struct CommandState {
    bool enabled = false;
    bool checked = false;

    bool operator==(const CommandState&) const = default;
};

inline CommandState enabledIf(bool condition) {
    return {condition, false};
}
inline CommandState checkable(bool enabled, bool checked) {
    return {enabled, checked};
}

struct CommandHandler {
    // When the command is enabled and whether its menu item is checked.
    std::function<CommandState(const AppState&)> rule;
    std::function<void()> run;
    // The command changes the company or saves it: it is disabled while the
    // company is open read-only, whatever its rule says.
    bool writes = false;
};

// The handler of a command that changes or saves the company.
inline CommandHandler writing(std::function<CommandState(const AppState&)> rule, std::function<void()> run) {
    return {std::move(rule), std::move(run), true};
}

class CommandRegistry {
public:
    // Registers the command's handler; a command has one handler.
    void add(CommandId id, CommandHandler handler);
    [[nodiscard]] bool has(CommandId id) const { return m_handlers.contains(id); }
    // The command's state; disabled when it has no handler.
    [[nodiscard]] CommandState state(CommandId id, const AppState& appState) const;
    // Runs the command when it is enabled in that state; false otherwise.
    bool run(CommandId id, const AppState& appState) const;

private:
    std::map<CommandId, CommandHandler> m_handlers;
};

} // namespace kv
