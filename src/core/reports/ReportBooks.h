// The books as the reports read them. The result account holds the period's
// result as its one row "Resultat", as the result posting books it, but the
// document is not written: a report computes, it never changes the company.
#pragma once

#include "model/TallvingeDoc.h"

#include <optional>
#include <vector>

namespace kv {

class ReportBooks {
public:
    // resultRule: the rule the result is taken under (the sub-period form
    // while a range is chosen, or the cumulative form).
    ReportBooks(const CTallvingeDoc& doc, RangeRule resultRule);
    // The same, with the period's result already taken (doc.periodResult
    // under the rule), by a report that walks the accounts anyway.
    ReportBooks(const CTallvingeDoc& doc, Ore periodResult);

    [[nodiscard]] const CTallvingeDoc& doc() const { return m_doc; }
    [[nodiscard]] const CompanyState& company() const { return m_doc.state(); }
    // The rows of an account, the result account's as posted.
    [[nodiscard]] const std::vector<CKontorad>& rows(const CKonto& konto) const;
    [[nodiscard]] Ore balance(const CKonto& konto, const MonthSelection& months) const;
    [[nodiscard]] bool isResultAccount(const CKonto& konto) const { return &konto == m_resultKonto; }
    // The result as the result account receives it; nothing when the chart
    // names no result account that can take it.
    [[nodiscard]] std::optional<Ore> postedResult() const { return m_posted; }
    // The number the income chart names for the result, or 0.
    [[nodiscard]] std::int32_t resultAccountNumber() const { return m_resultNumber; }

private:
    // The result account, when the chart names one that can take the result.
    [[nodiscard]] bool findResultAccount();
    void post(Ore result);

    const CTallvingeDoc& m_doc;
    std::int32_t m_resultNumber = 0;
    const CKonto* m_resultKonto = nullptr;
    std::vector<CKontorad> m_resultRows;
    std::optional<Ore> m_posted;
};

// "05-03-2012" from a day, month and year.
[[nodiscard]] std::string dashedDate(std::int32_t day, std::int32_t month, std::int32_t year);
// "%.Nd" of a whole number: at least digits digits, zeros in front.
[[nodiscard]] std::string zeroPadded(std::int32_t value, int digits);

} // namespace kv
