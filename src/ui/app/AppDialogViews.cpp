#include "app/AppDialogViews.h"

#include "backup/BackupDialogViews.h" // Backups
#include "bank/BankDialogViews.h"     // Bank statements
#include "budget/BudgetDialogViews.h"
#include "chart/ChartDialogViews.h"
#include "periods/PeriodDialogViews.h" // Periods
#include "reports/ReportDialogViews.h"
#include "sie/SieDialogViews.h" // SIE
#include "voucher/VoucherDialogViews.h"

namespace kv::ui {

DialogViews programDialogViews() {
    DialogViews views;
    registerChartDialogViews(views);
    registerVoucherDialogViews(views);
    registerReportDialogViews(views);
    registerPeriodDialogViews(views); // Periods
    registerSieDialogViews(views);    // SIE
    registerBackupDialogViews(views); // Backups
    registerBankDialogViews(views);   // Bank statements
    registerBudgetDialogViews(views);
    return views;
}

} // namespace kv::ui
