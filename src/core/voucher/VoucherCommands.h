// The commands of the menus "Verifikat" and "Moms".
#pragma once

namespace kv {

class AppServices;
class CommandRegistry;
class CTallvingeDoc;
class Prompter;

void registerVoucherCommands(CommandRegistry& commands, AppServices& app);

// "Sätt moms" asks the trial-balance window for the VAT rules dialog; only
// with both charts approved, else it says so and returns false.
bool requestVatRules(CTallvingeDoc& doc, Prompter& prompter);

} // namespace kv
