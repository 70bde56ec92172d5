// What a year's archive holds of a company's open period, and how each file
// is named and described: the reports as the program prints them, the SIE
// file, the attachments. The window program renders the reports; the rest
// is here.
#pragma once

#include "archive/YearArchive.h"
#include "model/TallvingeDoc.h"
#include "reports/ReportKinds.h"
#include "reports/VatReport.h"
#include "storage/CompanyFiles.h"

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// One report of the archive: a PDF of its printed pages.
struct PlannedReport {
    ReportKind kind = ReportKind::Journal;
    std::optional<VatRange> months; // the VAT report's quarter
    std::string title;              // the printed document's title
    std::string path;
    std::string description;
};

// The journal (every voucher), the ledger (every account with postings), the
// trial balance, the income statement, the balance sheet and the VAT report
// of each quarter of the period (months 1-3, 4-6, ... of the period; the
// last may be shorter).
[[nodiscard]] std::vector<PlannedReport> plannedReports(const CTallvingeDoc& doc);

// The quarters of the open period.
[[nodiscard]] std::vector<VatRange> periodQuarters(const CTallvingeDoc& doc);

// The open period as a SIE 4E file, "sie/NAME.se". Throws DocumentRefusal
// when the books cannot be written as a valid file.
[[nodiscard]] ArchiveFile sieArchiveFile(const CTallvingeDoc& doc, std::time_t now);

// The company, the open period's dates, the program's version and the time.
[[nodiscard]] ArchiveHeader archiveHeader(const CTallvingeDoc& doc, std::time_t now);

// Opens the company at path for the archive, with the period of the given
// number (1 = the first, as "Öppna period" lists them; none: the open one).
// Only the document in memory changes; no file is written.
[[nodiscard]] FileReport openArchiveBooks(CTallvingeDoc& doc, const std::string& path,
                                          std::optional<int> period);

// The receipts of the open period's vouchers (saved and not yet saved), in
// the order they were added, with where the company keeps each file and what
// it was when attached. Throws YearArchiveError when the company's database
// or a record cannot be read.
[[nodiscard]] std::vector<ArchiveAttachment> archiveAttachments(const CTallvingeDoc& doc);

// Why the open books cannot be archived, or nothing.
[[nodiscard]] std::optional<std::string> archiveRefusal(const CTallvingeDoc& doc);

} // namespace kv
