// A report as data, for a spreadsheet or a script: one table of typed cells
// per report (texts, whole numbers, amounts in öre, VAT rates, dates), and a
// head with the report, the period, the chosen months, named totals and the
// report's notes. Computed from the same öre sums as the screen, never from
// its display texts; the CSV, JSON and Excel writers all read this.
#pragma once

#include "interaction/ReportSettings.h"
#include "model/TallvingeDoc.h"
#include "reports/ReportKinds.h"
#include "reports/VatReport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace kv {

enum class DataKind {
    Text,
    Integer,
    Amount, // öre, written as kronor with two decimals
    Rate,   // a VAT rate in hundredths of a percent, written "25.00"
    Rates,  // the VAT rates of the rules on an account, several or none
    Date,
};

struct DataAmount {
    Ore ore = 0;
    bool operator==(const DataAmount&) const = default;
};

struct DataRate {
    std::int64_t hundredths = 0;
    bool operator==(const DataRate&) const = default;
};

struct DataRates {
    std::vector<std::int64_t> hundredths;
    bool operator==(const DataRates&) const = default;
};

struct DataDate {
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;
    bool operator==(const DataDate&) const = default;
};

// An empty cell (std::monostate) or a value of its column's kind.
using DataCell =
    std::variant<std::monostate, std::string, std::int64_t, DataAmount, DataRate, DataRates, DataDate>;

struct DataColumn {
    std::string name;
    DataKind kind = DataKind::Text;
};

struct DataTable {
    std::vector<DataColumn> columns;
    std::vector<std::vector<DataCell>> rows; // each as long as columns

    // The index of a column by name; -1 when there is none.
    [[nodiscard]] int column(const std::string& name) const;
};

// A run of months: the open period, or the months chosen.
struct DataMonths {
    YearMonth from;
    YearMonth to;
    std::string text; // as the report shows it: "3.2025 - 5.2025"
};

struct ReportData {
    std::string kind;  // the command line's word: "journal", "ledger", "trial-balance", ...
    std::string title; // "Alla konton / Råbalans"
    std::optional<DataMonths> period;
    std::optional<DataMonths> months; // the chosen months, while a range is chosen
    std::vector<std::pair<std::string, Ore>> sums;
    std::vector<std::string> notes;
    DataTable table;
};

// The head every report shares: the kind, the title, the open period and the
// month range while one is chosen; no rows.
[[nodiscard]] ReportData reportHead(const CTallvingeDoc& doc, std::string kind, std::string title);

// The command line's word for a report kind.
[[nodiscard]] const char* reportKindWord(ReportKind kind);

// The journal's print range: one row per voucher line.
[[nodiscard]] ReportData journalData(const CTallvingeDoc& doc, const JournalPrintRange& range = {});
// One row per posted row of the account, or of every account without one.
[[nodiscard]] ReportData ledgerData(const CTallvingeDoc& doc,
                                    std::optional<std::int32_t> account = std::nullopt);
[[nodiscard]] ReportData trialBalanceData(const CTallvingeDoc& doc);
[[nodiscard]] ReportData incomeStatementData(const CTallvingeDoc& doc);
[[nodiscard]] ReportData balanceSheetData(const CTallvingeDoc& doc);
[[nodiscard]] ReportData vatReportData(const CTallvingeDoc& doc, const VatReport& report);

// The data of a report kind; the VAT report of the document's months.
[[nodiscard]] ReportData reportData(const CTallvingeDoc& doc, ReportKind kind,
                                    std::optional<std::int32_t> account = std::nullopt);

// The values of a column that holds amounts, empty cells left out.
[[nodiscard]] std::vector<Ore> amountsOf(const DataTable& table, const std::string& column);

} // namespace kv
