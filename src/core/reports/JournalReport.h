// The journal "Grundbok (verifikat)": on the screen a summary panel (the
// period, the number of vouchers, the last dates); printed, every voucher of
// the print range with its lines and totals.
#pragma once

#include "interaction/ReportSettings.h"
#include "model/TallvingeDoc.h"
#include "reports/Listing.h"
#include "reports/ReportForm.h"

namespace kv {

// The vouchers the printed journal lists, numbers from and to (both
// included); to < from when there are none. The chosen range 0 to 0 (what a
// company starts with) takes all of them; a chosen range beyond the last
// voucher is cut to it.
struct VoucherSpan {
    std::int32_t from = 1;
    std::int32_t to = 0;
    [[nodiscard]] bool empty() const { return to < from; }
};
[[nodiscard]] VoucherSpan journalPrintRange(const CompanyState& company, const JournalPrintRange& chosen);

[[nodiscard]] ReportForm journalForm(const CTallvingeDoc& doc, const ScreenMeasures& screen);
// The printed journal of the vouchers of the chosen range. With
// markAttachments (the window program's journal), a voucher that has
// receipts shows kAttachmentMark ("[U]") in the account column of its head
// line; the command line's text, data and PDF never mark.
[[nodiscard]] Listing journalListing(const CTallvingeDoc& doc, const JournalPrintRange& chosen,
                                     bool markAttachments = false);
// The listing's lines as a table, for printing as text.
[[nodiscard]] ReportForm journalListingForm(const Listing& listing);

} // namespace kv
