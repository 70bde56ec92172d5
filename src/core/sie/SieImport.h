// A new company made from a SIE file: its period from the financial year,
// its charts and VAT rules from a chart template with the file's missing
// accounts put in, its opening balances and its vouchers, registered in the
// order of the file. Everything happens in memory; the company is checked
// against the file before anyone may save it.
#pragma once

#include "chart/ChartTemplates.h"
#include "model/TallvingeDoc.h"
#include "sie/SieBooks.h"
#include "sie/SieImportSummary.h"
#include "storage/LocalClock.h"

#include <memory>
#include <string>
#include <unordered_map>

namespace kv {

// The template a company from a SIE file starts from unless the user chooses another.
inline constexpr const char* kSieDefaultTemplate = kMallBaskonto;

struct SieImportRequest {
    std::string templateName;   // a built-in template or a user template of the template file
    std::string templateFolder; // where the user templates are
    std::string fileName;       // the file, as the summary names it
    // Books whose balances disagree with the file's #UB and #RES are made
    // anyway, as the file's vouchers and opening balances stand.
    bool allowDifference = false;
    // The time the import log gives the file.
    LocalClock clock = localTimeNow;
};

// What the company's import log keeps of the file's vouchers read into
// period, the file's k-th voucher numbered numbersHere[k] here.
SieImportRecord sieImportRecord(const SieBooks& books, const std::string& fileName, std::int32_t period,
                                const std::vector<std::int32_t>& numbersHere, const LocalTime& now,
                                bool newCompany);
// "2026-12-10 14:03:25", as the import log keeps the time.
std::string importTimeText(const LocalTime& time);

struct SieImportResult {
    std::unique_ptr<CTallvingeDoc> company; // the new company, not yet saved
    SieImportSummary summary;
};

// The character set a file was read in, as the summaries name it.
std::string sieEncodingText(const SieBooks& books);

// Makes the company's vouchers of a file's: each line named from the chart,
// with the VAT rate that the voucher dialog would show beside it.
class SieVoucherMaker {
public:
    explicit SieVoucherMaker(const CompanyState& company);
    [[nodiscard]] CEttVerifikat make(const SieVoucher& voucher) const;

private:
    std::unordered_map<std::int32_t, std::string> m_names;
    std::unordered_map<std::int32_t, double> m_rates;
};

// Builds the company. Its period is the file's financial year, or for a
// transaction file without one the months of its vouchers; accounts that
// the template lacks are added, named from #KONTO or "Konto NNNN". Throws
// SieReadError, with the line it concerns, when the file's books do not fit
// in the program: a period that is not whole months of the years the
// program keeps, an opening balance or a voucher line on an account that
// cannot take one, or a chart that cannot be approved.
SieImportResult buildSieCompany(const SieBooks& books, const SieImportRequest& request);

} // namespace kv
