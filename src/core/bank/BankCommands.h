// The commands "Läs in kontoutdrag..." and "Bankregler..." of the menu "Arkiv".
#pragma once

namespace kv {

class AppServices;
class CommandRegistry;

void registerBankCommands(CommandRegistry& commands, AppServices& app);

} // namespace kv
