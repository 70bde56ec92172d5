// What the buttons of the journal and the ledger do, with their questions and
// messages; the windows only carry out the answer (open the preview, the
// voucher list, show another account).
#pragma once

#include "interaction/ReportSettings.h"
#include "model/TallvingeDoc.h"

#include <optional>

namespace kv {

class Prompter;

// "Se flera verifikat samtidigt": the range dialog; true when a range was
// chosen (it is in range now) and the preview should open.
bool chooseJournalRange(const CTallvingeDoc& doc, Prompter& prompter, JournalPrintRange& range);
// "Ta fram ett verifikat": true when the voucher list should open.
bool mayOpenVoucherList(const CTallvingeDoc& doc, Prompter& prompter);

// "Ta fram ett konto": the account the user chose, or nothing (no accounts,
// with the message, or Cancel).
std::optional<std::int32_t> chooseLedgerAccount(const CTallvingeDoc& doc, Prompter& prompter);
// The account step places after current among the ledger's accounts (the
// first or last when current is not one of them); nothing at either end.
std::optional<std::int32_t> neighbourAccount(const CompanyState& company, std::int32_t current, int step);

} // namespace kv
