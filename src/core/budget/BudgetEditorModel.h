// The budget window's presentation model: a grid of the income chart's
// accounts (and, when asked, the balance chart's) with the year amount and
// one column per month of the period, the copy actions and "Spara". It holds
// the budget being edited; nothing reaches the company's database until
// save(). The window shows cellText() and forwards the user's edits and
// buttons; every rule and message is here.
#pragma once

#include "budget/Budget.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kv {

enum class BudgetRowKind {
    Income,  // an account of the income chart
    Balance, // an account of the balance chart (shown when asked)
    Removed, // a budgeted account the charts no longer have: read-only, dropped by the next save
};

struct BudgetEditorRow {
    std::int32_t account = 0;
    std::string name;
    BudgetRowKind kind = BudgetRowKind::Income;
    Ore year = 0;
    std::vector<Ore> months;
    bool spreadEvenly = true;
};

class BudgetEditorModel {
public:
    // Columns: account, name, year amount, then the months.
    static constexpr std::int32_t kColAccount = 0;
    static constexpr std::int32_t kColName = 1;
    static constexpr std::int32_t kColYear = 2;
    static constexpr std::int32_t kColFirstMonth = 3;

    // Opens on period index of the company (the open period by default) with
    // its saved budget, or an empty one. A database that cannot be read
    // leaves the budget empty and says why in loadMessage(); save() is then
    // refused, so that a budget it could not read is never overwritten.
    explicit BudgetEditorModel(const CTallvingeDoc& doc, std::optional<std::int32_t> period = std::nullopt);

    // "Budget 1.2024 - 12.2024".
    [[nodiscard]] std::string title() const;
    // Why the saved budget could not be read, if it could not.
    [[nodiscard]] const std::optional<std::string>& loadMessage() const { return m_loadMessage; }
    // The whole budget as it stands in the window.
    [[nodiscard]] const PeriodBudget& budget() const { return m_budget; }

    // Balance-chart accounts shown too; the amounts typed for them stay when hidden.
    void setShowBalanceAccounts(bool show);
    [[nodiscard]] bool showsBalanceAccounts() const { return m_showBalance; }

    // The grid: column titles ("Konto", "Namn", "År", "1.2024", ...), the
    // rows shown, and the text of each cell (amounts as the reports write
    // them; a removed account's name ends in "(borttaget konto)").
    [[nodiscard]] std::int32_t columnCount() const;
    [[nodiscard]] std::vector<std::string> columnTitles() const;
    [[nodiscard]] std::int32_t rowCount() const;
    [[nodiscard]] const BudgetEditorRow& row(std::int32_t row) const;
    [[nodiscard]] std::string cellText(std::int32_t row, std::int32_t column) const;
    // The year and month cells of the chart's accounts; never a removed account's.
    [[nodiscard]] bool isEditable(std::int32_t row, std::int32_t column) const;
    // The sum of the income chart's accounts' shown amounts in a column: the
    // budgeted result (income positive), for the grid's last line.
    [[nodiscard]] Ore incomeResult(std::int32_t column) const;

    // A typed cell. The year column spreads the amount evenly over the
    // months; a month column sets that month and the year becomes the sum.
    // Returns the message for the user when the text is refused (the cell
    // then keeps its amount).
    [[nodiscard]] std::optional<std::string> typeCell(std::int32_t row, std::int32_t column,
                                                      const std::string& text);
    // Spreads the row's year amount evenly over the months again.
    void spreadEvenly(std::int32_t row);

    // "Kopiera från föregående års utfall" / "Kopiera från föregående års
    // budget", each amount changed by the typed percentage (empty is 0) and
    // rounded to whole kronor (a budget copied at 0 % stays to the öre).
    // Replaces the shown accounts' amounts; returns the message when refused.
    [[nodiscard]] std::optional<std::string> copyPreviousOutcome(const std::string& percentText);
    [[nodiscard]] std::optional<std::string> copyPreviousBudget(const std::string& percentText);

    // The company's charts changed while the window is open: the rows are
    // made again from them, the amounts typed kept (an account that left the
    // charts shows as removed until saved).
    void chartsChanged();

    // Changed since opened or last saved.
    [[nodiscard]] bool isModified() const { return m_modified; }
    // "Spara": writes the budget to the company's database in its own
    // transaction; the removed accounts go. Returns the message when refused
    // or failed (then nothing is written and the window keeps its edits).
    [[nodiscard]] std::optional<std::string> save(const LocalClock& clock);

    // Told after every change of the rows or their amounts, so the window repaints.
    void setListener(std::function<void()> listener) { m_listener = std::move(listener); }

private:
    void rebuildRows();
    void changed();
    [[nodiscard]] BudgetLine& lineFor(const BudgetEditorRow& row);
    void storeRow(const BudgetEditorRow& row);

    const CTallvingeDoc& m_doc;
    PeriodBudget m_budget;
    std::optional<std::string> m_loadMessage;
    bool m_showBalance = false;
    bool m_modified = false;
    std::vector<BudgetEditorRow> m_rows;
    std::function<void()> m_listener;
};

} // namespace kv
