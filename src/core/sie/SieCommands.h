// The commands "Importera SIE-fil..." and "Exportera SIE-fil..." of the menu "Arkiv".
#pragma once

namespace kv {

class AppServices;
class CommandRegistry;

void registerSieCommands(CommandRegistry& commands, AppServices& app);

} // namespace kv
