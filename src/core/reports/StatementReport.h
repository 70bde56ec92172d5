// The income statement and the balance sheet: one report row per chart row
// (the balance sheet hides its three fixed rows), with the accounts' amounts,
// the subtotals of their groups and the totals, income and liabilities shown
// positive.
#pragma once

#include "grid/GridState.h"
#include "model/TallvingeDoc.h"
#include "reports/ReportForm.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kv {

struct StatementRow {
    std::string number; // empty for rows without a number
    std::string name;
    std::optional<Ore> amount; // column 2: an account of a group
    std::optional<Ore> sum;    // column 3: a subtotal or total
    bool removed = false;      // an unused account left out while only used accounts show
};

struct StatementReport {
    Statement which = Statement::Income;
    // The message that stops the update; the grid then stays as it was.
    std::optional<std::string> refusal;
    std::string heading;      // "Resultaträkning  1.2012 - 12.2012"
    std::string headerButton; // row 0, column 1
    // Report rows 1, 2, ... before the unused accounts leave.
    std::vector<StatementRow> rows;
};

[[nodiscard]] StatementReport buildIncomeStatement(const CTallvingeDoc& doc);
[[nodiscard]] StatementReport buildBalanceSheet(const CTallvingeDoc& doc);

// Column widths of the statement grid, in pixels: the number stands in the
// row-title column 0, then the name, the amount and the sum.
inline constexpr std::array<std::int32_t, 4> kStatementColumnWidths = {100, 210, 110, 110};

// Rewrites the statement into its grid: the row count, the four columns of
// every row and the header cell; the formats the user gave stay where they
// are, and the rows of unused accounts are taken out as rows.
void writeStatementGrid(const StatementReport& report, GridState& grid);

// The rows as shown, for printing as text.
[[nodiscard]] ReportForm statementForm(const StatementReport& report);

} // namespace kv
