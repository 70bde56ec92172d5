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

// "Sätt moms" asks the trial-balance window for the VAT rules dialog; only
// with both charts approved, else it says so and returns false.
bool requestVatRules(CTallvingeDoc& doc, Prompter& prompter);

// "Nytt verifikat": its checks, then the voucher dialog on the next number.
void startNewVoucher(AppServices& app);

// The voucher list opens voucher at position row (a click or Return), or
// says why not: no line under the mouse, or a voucher dialog already open
// (which then comes to the front).
void openVoucherFromList(AppServices& app, std::optional<std::size_t> row);
// A right click in the voucher list only tells how to open a voucher.
void rightClickInVoucherList(AppServices& app, std::optional<std::size_t> row);
// As the voucher list first shows: the lookup that "Ta fram önskat
// verifikat" asked for, if it did; the line of the voucher the user chose.
std::optional<std::size_t> runRequestedLookup(CTallvingeDoc& doc, Prompter& prompter);

} // namespace kv
