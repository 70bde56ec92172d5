// The commands of the period menu and the rename of the company.
#pragma once

namespace kv {

class AppServices;
class CommandRegistry;

void registerPeriodCommands(CommandRegistry& commands, AppServices& app);

} // namespace kv
