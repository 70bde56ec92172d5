// The budget's commands: "Kontoplan → Budget..." (the budget dialog over the
// open period) and "Budget och utfall", the report window.
#pragma once

#include "storage/LocalClock.h"

namespace kv {

class AppServices;
class CommandRegistry;
class Prompter;
class CTallvingeDoc;

// Runs the budget dialog on the open period. A company never saved has no
// database for a budget yet, and is told so before anything is typed.
// Returns whether a budget was saved.
bool runBudgetDialog(const CTallvingeDoc& doc, Prompter& prompter, const LocalClock& clock);

void registerBudgetCommands(CommandRegistry& commands, AppServices& app);

} // namespace kv
