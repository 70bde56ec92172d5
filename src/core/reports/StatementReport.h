// The income statement and the balance sheet: one report row per chart row
// (the balance sheet hides its three fixed rows), with the accounts' amounts,
// the subtotals of their groups and the totals, income and liabilities shown
// positive.
#pragma once

#include "grid/GridState.h"
#include "model/TallvingeDoc.h"
#include "reports/ReportForm.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// What a chart row is on the statement: an account, a heading above a group,
// a group's subtotal, a total; or an empty row.
enum class StatementRowKind { Empty, Heading, Account, Subtotal, Total };

struct StatementRow {
    StatementRowKind kind = StatementRowKind::Empty;
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
// Why the income statement cannot be shown (the charts are not approved, or
// the income chart names no result account), or nothing.
[[nodiscard]] std::optional<std::string> incomeStatementRefusal(const CTallvingeDoc& doc);
// The income statement's rows of the income chart, each account with the
// balance given (debit minus credit): the amounts, the groups' subtotals
// and the totals, income shown positive. Other reports lay their own figures
// on the statement's rows with it.
[[nodiscard]] std::vector<StatementRow> incomeStatementRows(const CompanyState& company,
                                                            const std::function<Ore(const CKonto&)>& balance);
[[nodiscard]] StatementReport buildBalanceSheet(const CTallvingeDoc& doc);

// Column widths of the statement grid, in pixels: the number stands in the
// row-title column 0, then the name, the amount and the sum.
inline constexpr std::array<std::int32_t, 4> kStatementColumnWidths = {100, 210, 110, 110};

// Rewrites the statement into its grid (a GridState, or a Grid that tells
// its widget): the row count, the four columns of every row and the header
// cell; the formats the user gave stay where they are, and the rows of
// unused accounts are taken out as rows.
template <typename Target> void writeStatementGrid(const StatementReport& report, Target& grid) {
    if (grid.colCount() < 3) {
        grid.setColCount(3);
    }
    const auto count = static_cast<std::int32_t>(report.rows.size());
    if (grid.rowCount() < count) {
        grid.insertRows(grid.rowCount() + 1, count - grid.rowCount());
    } else if (grid.rowCount() > count) {
        grid.removeRows(count + 1, grid.rowCount());
    }
    for (std::int32_t col = 0; col < static_cast<std::int32_t>(kStatementColumnWidths.size()); ++col) {
        grid.setColumnWidth(col, kStatementColumnWidths[static_cast<std::size_t>(col)]);
    }
    grid.setText(0, 1, report.headerButton);
    // A blank keeps the grid from showing row numbers and column letters in
    // the title cells the statement does not use.
    grid.setText(0, 2, " ");
    grid.setText(0, 3, " ");
    for (std::int32_t r = 1; r <= count; ++r) {
        const StatementRow& row = report.rows[static_cast<std::size_t>(r - 1)];
        grid.setText(r, 0, row.number.empty() ? std::string(" ") : row.number);
        grid.setText(r, 1, row.name);
        grid.setText(r, 2, row.amount ? formatOre(*row.amount) : std::string());
        grid.setText(r, 3, row.sum ? formatOre(*row.sum) : std::string());
        // Amounts stand to the right and sums in bold, until the user formats the cell.
        for (const std::int32_t col : {2, 3}) {
            if (grid.style(r, col) == CellStyle{}) {
                CellStyle style;
                style.align = HAlign::Right;
                style.bold = col == 3 && row.sum.has_value();
                grid.setStyle(r, col, style);
            }
        }
    }
    for (std::int32_t r = count; r >= 1; --r) {
        if (report.rows[static_cast<std::size_t>(r - 1)].removed) {
            grid.removeRows(r, r);
        }
    }
}

// The rows as shown, for printing as text.
[[nodiscard]] ReportForm statementForm(const StatementReport& report);

} // namespace kv
