// The commands of the menus "Verifikat" and "Moms", and what the voucher list
// asks of the application.
#pragma once

#include <cstddef>
#include <optional>

namespace kv {

class AppServices;
class CommandRegistry;
class CTallvingeDoc;
class Prompter;

void registerVoucherCommands(CommandRegistry& commands, AppServices& app);

// "Sätt moms" opens the VAT rules dialog only with both charts approved;
// else it says so and returns false.
bool vatRulesMayOpen(const CTallvingeDoc& doc, Prompter& prompter);
// The VAT rules dialog, when the rules can be opened; an approval applies at
// once. With the voucher dialog open beside it the whole table is pink.
void runVatRulesEditor(CTallvingeDoc& doc, Prompter& prompter, bool voucherFormOpen = false);

// "Nytt verifikat": its checks, then the voucher dialog on the next number.
void startNewVoucher(AppServices& app);

// The voucher list opens voucher at position row (a click or Return), or
// says why not: no line under the mouse, or a voucher dialog already open
// (which then comes to the front).
void openVoucherFromList(AppServices& app, std::optional<std::size_t> row);
// A right click in the voucher list only tells how to open a voucher.
void rightClickInVoucherList(AppServices& app, std::optional<std::size_t> row);
// "Ta fram önskat verifikat": the lookup over the voucher list; the line of
// the voucher the user chose, or nothing.
std::optional<std::size_t> runVoucherLookup(const CTallvingeDoc& doc, Prompter& prompter);

} // namespace kv
