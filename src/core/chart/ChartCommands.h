// The commands of the menu "Kontoplan" that edit the charts and the templates.
#pragma once

namespace kv {

class AppServices;
class CommandRegistry;

void registerChartCommands(CommandRegistry& commands, AppServices& app);

} // namespace kv
