// The report "Budget och utfall": the income statement's rows, groups,
// subtotals and totals with the outcome of the chosen months, their budget,
// the deviation in kronor and per cent of the budget, and the same months of
// the previous period as its file holds them. Computed once from the
// document, the budget and the previous period, and rendered as a screen
// form (text, CSV, JSON) and as a printed listing (printer, preview, PDF).
#pragma once

#include "budget/Budget.h"
#include "reports/Listing.h"
#include "reports/PageLayout.h"
#include "reports/ReportData.h"
#include "reports/ReportForm.h"

#include <optional>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kBudgetReportTitle = "Budget och utfall";
inline constexpr const char* kMsgIngenForegaendePeriod = "Föregående period saknas.";

struct BudgetReportRow {
    std::string number; // empty for rows without a number
    std::string name;
    bool sum = false; // a subtotal or a total
    // Each figure as the income statement shows it (income positive); none on headings.
    std::optional<Ore> outcome;
    std::optional<Ore> budget;
    std::optional<Ore> previous;
    bool removed = false; // an unused account without budget left out while only used accounts show

    // Outcome less budget: positive when the result is better than planned.
    [[nodiscard]] std::optional<Ore> deviation() const;
    // The deviation in per cent of the budget's size; none when the budget is 0.
    [[nodiscard]] std::optional<double> deviationPercent() const;
};

struct BudgetReport {
    std::string heading; // "Budget och utfall  1.2024 - 12.2024"
    std::string months;  // "Månader: 1.2024 - 3.2024", or "Hela perioden"
    // The charts are not approved: the message, and no rows.
    std::optional<std::string> refusal;
    // Said under the heading: no budget, the previous period missing or unreadable.
    std::vector<std::string> notes;
    bool hasBudget = false;
    bool hasPrevious = false;
    std::string previousMonths; // "Föregående år: 1.2023 - 3.2023"
    std::vector<BudgetReportRow> rows;
    // Budgeted accounts the chart no longer has, outside the sums.
    std::vector<BudgetReportRow> removedAccounts;
};

// The report of the document's month range (the whole period when none).
// previousFailure: why the previous period could not be read, told as a note.
[[nodiscard]] BudgetReport
buildBudgetReport(const CTallvingeDoc& doc, const std::optional<PeriodBudget>& budget,
                  const std::optional<PreviousPeriod>& previous,
                  const std::optional<std::string>& previousFailure = std::nullopt);
// The same with the open period's budget from the company's database (a
// database that cannot be read becomes a note) and the previous period given.
[[nodiscard]] BudgetReport buildOpenBudgetReport(const CTallvingeDoc& doc,
                                                 const std::optional<PreviousPeriod>& previous,
                                                 const std::optional<std::string>& previousFailure);
// The previous period from its file into previous; why it could not be read, if not.
[[nodiscard]] std::optional<std::string> readPreviousPeriod(const CTallvingeDoc& doc,
                                                            std::optional<PreviousPeriod>& previous);
// The open period's budget and the previous period, each read here.
[[nodiscard]] BudgetReport buildBudgetReport(const CTallvingeDoc& doc);

// "12.5" of a percentage, one decimal, a point.
[[nodiscard]] std::string percentText(double percent);

// The screen form (and so the text, CSV and JSON).
[[nodiscard]] ReportForm budgetReportForm(const BudgetReport& report);
// The report as data (CSV, JSON, Excel): one row per chart row with its
// kind, then the removed accounts; the deviation in per cent as a rate.
[[nodiscard]] ReportData budgetReportData(const CTallvingeDoc& doc, const BudgetReport& report);

// The printed listing, headed by the report, the company, the period and the months.
[[nodiscard]] Listing budgetReportListing(const BudgetReport& report, const CTallvingeDoc& doc,
                                          const PrintDevice& device);

} // namespace kv
