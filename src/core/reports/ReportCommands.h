// The commands that open the report windows and choose what they show.
#pragma once

namespace kv {

class AppServices;
class CommandRegistry;

void registerReportCommands(CommandRegistry& commands, AppServices& app);

} // namespace kv
