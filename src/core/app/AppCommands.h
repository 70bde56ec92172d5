// Every command that the subsystems and the windows register, beside the
// file commands of the application itself.
#pragma once

namespace kv {

class AppServices;
class CommandRegistry;

void registerSubsystemCommands(CommandRegistry& commands, AppServices& app);

} // namespace kv
