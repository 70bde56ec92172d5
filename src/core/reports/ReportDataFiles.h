// The report's data as files: CSV (RFC 4180, UTF-8 with a byte-order mark, a
// header row of field names, ISO dates, amounts with two decimals and no
// thousands separator), JSON (numbers as numbers) and an Excel workbook.
#pragma once

#include "reports/ReportData.h"

#include <stdexcept>
#include <string>

namespace kv {

// A report that cannot be written as asked, with its message for the user.
class ReportDataError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CsvStyle {
    char separator = ',';
    char decimal = '.';
};
// Comma and decimal point; and as a Swedish spreadsheet reads it: semicolon
// and decimal comma.
inline constexpr CsvStyle kCsvPlain{',', '.'};
inline constexpr CsvStyle kCsvSwedish{';', ','};

[[nodiscard]] std::string reportCsv(const ReportData& data, CsvStyle style = kCsvPlain);
// One field of a CSV record: quoted when it holds the separator, a quote or a
// line break, its quotes doubled.
[[nodiscard]] std::string csvField(const std::string& value, char separator);

[[nodiscard]] std::string reportJson(const ReportData& data);

// An amount in öre as "-1234.50" (decimal: the separator of the decimals).
[[nodiscard]] std::string decimalText(Ore ore, char decimal = '.');
// "2025-03-05"
[[nodiscard]] std::string isoDate(const DataDate& date);

// The bytes of an .xlsx workbook: the table on its own sheet, the heading row
// frozen, amounts in a number format, the period in the page header; the head
// (period, months, totals, notes) on a second sheet. Throws ReportDataError.
[[nodiscard]] std::string reportXlsx(const ReportData& data);

} // namespace kv
