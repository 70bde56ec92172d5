// The journal "Grundbok (verifikat)": on the screen a summary panel (the
// period, the number of vouchers, the last dates); printed, every voucher of
// the print range with its lines and totals.
#pragma once

#include "model/TallvingeDoc.h"
#include "reports/Listing.h"
#include "reports/ReportForm.h"

namespace kv {

// The vouchers the printed journal lists, numbers from and to (both
// included); to < from when there are none. A company starts with all of
// them; a chosen range beyond the last voucher is cut to it.
struct VoucherSpan {
    std::int32_t from = 1;
    std::int32_t to = 0;
    [[nodiscard]] bool empty() const { return to < from; }
};
[[nodiscard]] VoucherSpan journalPrintRange(const CompanyState& company);

[[nodiscard]] ReportForm journalForm(const CTallvingeDoc& doc, const ScreenMeasures& screen);
[[nodiscard]] Listing journalListing(const CTallvingeDoc& doc);
// The listing's lines as a table, for printing as text.
[[nodiscard]] ReportForm journalListingForm(const Listing& listing);

} // namespace kv
