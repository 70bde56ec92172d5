// What shows each kind of company window: the content the main window puts in
// a new child window. A new kind of window is one more case here.
#include "app/MainWindow.h"

#include "budget/BudgetReportWindowContent.h"
#include "common/WindowContent.h"
#include "grid/GridWidget.h"
#include "reports/JournalWindowContent.h"
#include "reports/LedgerWindowContent.h"
#include "reports/ReportWindowContent.h"
#include "reports/TrialBalanceWindowContent.h"
#include "reports/VatReportWindowContent.h"
#include "voucher/VoucherListWindow.h"

namespace kv::ui {

WindowContent* MainWindow::makeContent(WindowKind kind, CTallvingeDoc& doc) {
    if (isReportWindow(kind)) {
        auto* report = new ReportWindowContent(kind, doc);
        report->gridWidget().setPrompter(&m_controller.prompter());
        report->setPrompter(&m_controller.prompter()); // Reports
        return report;
    }
    if (kind == WindowKind::Journal) { // Reports
        return new JournalWindowContent(doc, m_controller, [this] { m_controller.runChartGuidance(); });
    }
    if (kind == WindowKind::TrialBalance) {
        return new TrialBalanceWindowContent(doc, m_controller);
    }
    if (kind == WindowKind::Ledger) {
        return new LedgerWindowContent(doc, m_controller);
    }
    if (kind == WindowKind::VatReport) {
        return new VatReportWindowContent(doc, m_controller);
    }
    if (kind == WindowKind::BudgetReport) {
        return new BudgetReportWindowContent(doc, m_controller);
    }
    if (kind == WindowKind::VoucherList) { // Vouchers
        return new VoucherListWindow(doc, m_controller);
    }
    return new EmptyWindowContent;
}

} // namespace kv::ui
