// The trial balance "  Alla konton / Råbalans": every account's balance, its
// VAT rate and its number of rows, and "Saldo råbalans", the sum of all
// balances with the posted result added back.
#pragma once

#include "model/TallvingeDoc.h"
#include "reports/Listing.h"
#include "reports/ReportForm.h"

#include <optional>
#include <string>
#include <vector>

namespace kv {

struct TrialBalanceRow {
    std::int32_t number = 0;
    std::string name;
    Ore balance = 0;
    std::size_t rowCount = 0;
    std::vector<std::string> rates; // "25.00" of each VAT rule on the account, once each
    bool resultNote = false;        // the result account's "(resultat fr.o.m. ...)"
};

struct TrialBalanceReport {
    bool shown = false; // both charts and the VAT rules are there
    std::string periodLabel;
    std::optional<std::string> rangeText; // "Råbalans t.o.m. 5.2012"
    std::string resultNote;               // "(resultat fr.o.m. 1.2012)"
    std::vector<TrialBalanceRow> rows;
    Ore total = 0;
    // The vouchers whose debits and credits differ: a total that is not 0
    // shows in red and names them.
    std::vector<std::int32_t> unbalanced;
};

// "Verifikat med differens: 3, 17", or nothing when there are none.
[[nodiscard]] std::optional<std::string> unbalancedVouchersText(const TrialBalanceReport& report);

// While a month range is chosen the balances run from the period start
// through its last month, and the result account carries that result.
[[nodiscard]] TrialBalanceReport buildTrialBalance(const CTallvingeDoc& doc);
[[nodiscard]] ReportForm trialBalanceForm(const TrialBalanceReport& report, const ScreenMeasures& screen);
[[nodiscard]] Listing trialBalanceListing(const TrialBalanceReport& report, const CTallvingeDoc& doc);

} // namespace kv
