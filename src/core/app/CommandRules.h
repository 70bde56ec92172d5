// When each command is enabled and when its menu item carries a check mark,
// as a pure function of the application's state.
#pragma once

#include "app/AppState.h"
#include "app/CommandId.h"
#include "app/Menus.h"

namespace kv {

struct CommandState {
    bool enabled = false;
    bool checked = false;

    bool operator==(const CommandState&) const = default;
};

CommandState commandState(CommandId id, const AppState& state);

// The menu bar in force: none without a company, the report menu while an
// income-statement or balance-sheet window is active, else the company menu.
MenuBarId menuBarFor(const AppState& state);

// The window a window command opens, if it is one.
bool windowOfCommand(CommandId id, WindowKind& kind);

} // namespace kv
