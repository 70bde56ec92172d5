// The screen form of a report as plain text: the table's columns aligned,
// headings and notes as they stand; and as CSV, one record per line.
#pragma once

#include "reports/ReportForm.h"

#include <string>
#include <vector>

namespace kv {

[[nodiscard]] std::string formAsText(const ReportForm& form);
[[nodiscard]] std::string formAsCsv(const ReportForm& form);
// The records of the CSV form: one per line with text, the table's columns first.
[[nodiscard]] std::vector<std::vector<std::string>> formRecords(const ReportForm& form);

// A VAT rate as the reports show it: "25.00".
[[nodiscard]] std::string rateText(double rate);

// The number of characters (not bytes) of a UTF-8 text.
[[nodiscard]] std::size_t characterCount(const std::string& utf8);
// The first count characters of a UTF-8 text.
[[nodiscard]] std::string firstCharacters(const std::string& utf8, std::size_t count);

} // namespace kv
