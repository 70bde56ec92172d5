// The vouchers of a SIE file added to the open period of a company: the
// transaction file (4I) that a payroll, invoicing or cash-register program
// writes for the books already kept here, or a 4E. The addition is planned
// and shown before anything changes; it then happens as one change of the
// books, or not at all.
#pragma once

#include "interaction/DialogModel.h"
#include "model/TallvingeDoc.h"
#include "sie/SieBooks.h"
#include "sie/SieChartPlacement.h"
#include "sie/SieImportSummary.h"
#include "storage/LocalClock.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kSieAddTitle = "Läs in verifikat från SIE-fil";
inline constexpr const char* kSieButtonLaggTill = "Lägg till verifikaten";

// A voucher of the file and the number it gets here.
struct SieAddedNumber {
    std::string inFile; // "verifikat L 7 (2024-01-25)"
    std::int32_t here = 0;
};

struct SieAddSummary : DialogModelOf<SieAddSummary> {
    std::string fileName;
    std::string program;
    std::string encoding;
    std::string period; // the open period, "1.2024 - 12.2024"
    std::string span;   // the vouchers' dates, "2024-01-25 – 2024-01-31"
    std::size_t vouchers = 0;
    std::size_t transactions = 0;
    Ore debit = 0;
    Ore credit = 0;
    std::vector<SieAddedNumber> numbers;
    std::vector<SieAddedAccount> added;
    // Why nothing can be added, each naming the voucher and the line.
    std::vector<std::string> refusals;
    std::vector<std::string> notes;
    [[nodiscard]] std::string dialogTitle() const override { return kSieAddTitle; }

    [[nodiscard]] bool canAdd() const { return refusals.empty() && vouchers > 0; }
    [[nodiscard]] std::vector<SieSummaryRow> rows() const;
    // "verifikat L 7 (2024-01-25) blir nr 58", one line per voucher.
    [[nodiscard]] std::vector<std::string> numberLines() const;
    [[nodiscard]] std::vector<std::string> addedLines() const;
    // The question the dialog closes with, or why nothing can be added.
    [[nodiscard]] std::string conclusion() const;
    // All of it as plain text, for the command line.
    [[nodiscard]] std::string text() const;
    // As the window's dialog shows it.
    [[nodiscard]] SieSummaryView view() const;
};

// What adding the file's vouchers would do, and what stops it: a voucher
// outside the open period or in a locked period, a line on the chart's result
// account, a voucher the books already hold (the same date and lines; the
// company's import log says when and from which file it was read in), a
// database that the addition could not be saved to. The company is left as
// it was.
[[nodiscard]] SieAddSummary planSieVouchers(CTallvingeDoc& doc, const SieBooks& books,
                                            const std::string& fileName);

// Adds the vouchers as one change: the missing accounts put into the charts
// and approved, then every voucher registered, numbered on from the next
// number, and the file recorded for the import log at clock's time (saved
// with the company). Throws DocumentRefusal, the company unchanged, when the
// plan has refusals.
void addSieVouchers(CTallvingeDoc& doc, const SieBooks& books, const std::string& fileName,
                    const LocalClock& clock = localTimeNow);

} // namespace kv
