// The reports by kind, as the command-line tool and the tests ask for them:
// the screen forms of a report, and its printed listing.
#pragma once

#include "model/TallvingeDoc.h"
#include "reports/Listing.h"
#include "reports/PageLayout.h"
#include "reports/ReportForm.h"

#include <optional>
#include <vector>

namespace kv {

enum class ReportKind { Journal, Ledger, TrialBalance, Income, Balance, Vat };

[[nodiscard]] const char* reportTitle(ReportKind kind);
// The screen form, titled; the journal's summary is followed by its
// listing of every voucher, and the ledger shows one account or, without
// one, all.
[[nodiscard]] std::vector<ReportForm> reportForms(const CTallvingeDoc& doc, ReportKind kind,
                                                  std::optional<std::int32_t> account = std::nullopt);
// The printed listing of the journal (every voucher), the ledger, the trial
// balance or the VAT report (of the document's month range, else of the
// default quarter).
[[nodiscard]] Listing reportListing(const CTallvingeDoc& doc, ReportKind kind, const PrintDevice& device);
[[nodiscard]] bool hasListing(ReportKind kind);

} // namespace kv
