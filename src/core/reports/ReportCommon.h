// What several reports share: the month-range texts, the company's name on
// printed pages, the last booking date.
#pragma once

#include "model/TallvingeDoc.h"

#include <optional>
#include <string>

namespace kv {

// "Delperiod: 3.2012 - 5.2012" while a month range is chosen, else nothing.
[[nodiscard]] std::optional<std::string> subPeriodText(const CompanyState& company);
// "Råbalans t.o.m. 5.2012" while a month range is chosen, else nothing.
[[nodiscard]] std::optional<std::string> trialBalanceRangeText(const CompanyState& company);
// The company's name as printed pages head it: the company file's name
// without ".bok", never the folders it lies in ("Namnlös" before a save).
[[nodiscard]] std::string printedCompanyName(const CTallvingeDoc& doc);
// The booking date of the last voucher, "05-03-2012"; nothing without vouchers.
[[nodiscard]] std::optional<std::string> lastBookingDate(const CompanyState& company);
// True when the income chart, the balance chart and the VAT rules are all there.
[[nodiscard]] bool booksComplete(const CompanyState& company);

} // namespace kv
