// The ledger "  Huvudbok (konton)": the rows of an account with the running
// balance, the totals and "Deb - Kre"; while a month range is chosen, the
// rows of its months in red and their balance. Printed, every account.
#pragma once

#include "model/TallvingeDoc.h"
#include "reports/Listing.h"
#include "reports/PageLayout.h"
#include "reports/ReportForm.h"

#include <vector>

namespace kv {

// The numbers of the accounts the ledger offers, in chart order.
[[nodiscard]] std::vector<std::int32_t> ledgerAccounts(const CompanyState& company);

// The screen form of one account (an account that does not exist shows no block).
[[nodiscard]] ReportForm ledgerForm(const CTallvingeDoc& doc, std::int32_t account,
                                    const ScreenMeasures& screen);
// Every account, one block after the other.
[[nodiscard]] ReportForm ledgerFormOfAll(const CTallvingeDoc& doc, const ScreenMeasures& screen);
// The printed listing of every account, placed for the device.
[[nodiscard]] Listing ledgerListing(const CTallvingeDoc& doc, const PrintDevice& device);

} // namespace kv
