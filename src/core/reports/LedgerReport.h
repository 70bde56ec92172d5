// The ledger "  Huvudbok (konton)": the rows of an account with the running
// balance, the totals and "Deb - Kre"; while a month range is chosen, the
// rows of its months in red and their balance. Printed, every account.
#pragma once

#include "model/TallvingeDoc.h"
#include "reports/Listing.h"
#include "reports/PageLayout.h"
#include "reports/ReportForm.h"

#include <memory>
#include <vector>

namespace kv {

// The numbers of the accounts the ledger offers, in chart order.
[[nodiscard]] std::vector<std::int32_t> ledgerAccounts(const CompanyState& company);

class LedgerScreen;

// The screen form of one account (an account that does not exist shows no
// block). An account may have a hundred thousand rows: their running
// balances are computed at once, their texts only for the rows shown.
class LedgerScreenForm {
public:
    LedgerScreenForm(const CTallvingeDoc& doc, std::int32_t account, const ScreenMeasures& screen);
    ~LedgerScreenForm();
    LedgerScreenForm(LedgerScreenForm&&) noexcept;
    LedgerScreenForm& operator=(LedgerScreenForm&&) noexcept;

    // Everything but the rows: the heading, the account's lines, the totals.
    [[nodiscard]] const ReportForm& fixedLines() const;
    // The rows whose line lies from top to bottom (screen pixels).
    [[nodiscard]] std::vector<FormLine> rowLines(std::int32_t top, std::int32_t bottom) const;
    [[nodiscard]] ReportForm whole() const;

private:
    std::unique_ptr<LedgerScreen> m_screen;
};

// The screen form of one account, every line made.
[[nodiscard]] ReportForm ledgerForm(const CTallvingeDoc& doc, std::int32_t account,
                                    const ScreenMeasures& screen);
// Every account, one block after the other.
[[nodiscard]] ReportForm ledgerFormOfAll(const CTallvingeDoc& doc, const ScreenMeasures& screen);
// Which accounts the printed ledger lists: every account of the chart (as
// the ledger window prints it), or only those with rows (the year's archive).
enum class LedgerAccounts { Every, WithRows };

// The printed listing of the accounts, placed for the device.
[[nodiscard]] Listing ledgerListing(const CTallvingeDoc& doc, const PrintDevice& device,
                                    LedgerAccounts which = LedgerAccounts::Every);

} // namespace kv
