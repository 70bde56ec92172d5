// The window "Budget och utfall": the income statement's rows with the
// outcome of the chosen months, their budget, the deviation and the same
// months of the previous year; the month range as the income statement has
// it, printed as the reports print. "Budget..." opens the budget dialog.
#pragma once

#include "budget/BudgetReport.h"
#include "reports/PanelWindowContent.h"

#include <optional>
#include <string>
#include <utility>

class QPushButton;

namespace kv::ui {

class BudgetReportWindowContent : public PanelWindowContent {
    Q_OBJECT
public:
    BudgetReportWindowContent(CTallvingeDoc& doc, AppController& controller, QWidget* parent = nullptr);

    [[nodiscard]] QPushButton* budgetButton() const { return m_budget; }
    // The report as the window shows it now.
    [[nodiscard]] BudgetReport report(const CTallvingeDoc& doc) const;

protected:
    [[nodiscard]] ReportForm buildForm(const CTallvingeDoc& doc, const ScreenMeasures& screen) const override;
    [[nodiscard]] Listing buildListing(const CTallvingeDoc& doc, const PrintDevice& device) const override;
    [[nodiscard]] ReportData buildData(const CTallvingeDoc& doc) const override;

private:
    // The previous period's file is read once for each open period, not on
    // every change of the books.
    struct Previous {
        std::pair<std::string, std::int32_t> openPeriod; // the company's file and the open period
        std::optional<PreviousPeriod> period;
        std::optional<std::string> failure;
    };
    const Previous& previous(const CTallvingeDoc& doc) const;

    QPushButton* m_budget;
    mutable std::optional<Previous> m_previous;
};

} // namespace kv::ui
