#include "reports/ReportCommands.h"

#include "interaction/AppServices.h"
#include "interaction/CommandRegistry.h"
#include "model/TallvingeDoc.h"

namespace kv {

namespace {

// A report window's command: open the window, or activate it.
void addWindow(CommandRegistry& commands, AppServices& app, CommandId id, WindowKind kind,
               bool (*needs)(const AppState&)) {
    commands.add(id, {[kind, needs](const AppState& s) { return enabledIf(needs(s) && !s.isOpen(kind)); },
                      [&app, kind] { app.openWindow(kind); }});
}

} // namespace

void registerReportCommands(CommandRegistry& commands, AppServices& app) {
    using C = CommandId;
    const auto books = [](const AppState& s) { return s.hasBooks(); };
    addWindow(commands, app, C::JournalWindow, WindowKind::Journal,
              [](const AppState& s) { return s.companyOpen; });
    addWindow(commands, app, C::LedgerWindow, WindowKind::Ledger, books);
    addWindow(commands, app, C::TrialBalanceWindow, WindowKind::TrialBalance, books);
    // The statement windows keep their grid in the company, made on first opening.
    commands.add(
        C::BalanceSheetWindow,
        {[](const AppState& s) { return enabledIf(s.hasBooks() && !s.isOpen(WindowKind::BalanceSheet)); },
         [&app] {
             app.document().makeStatementGrid(Statement::Balance);
             app.openWindow(WindowKind::BalanceSheet);
         }});
    commands.add(C::IncomeStatementWindow, {[](const AppState& s) {
                                                return enabledIf(s.companyOpen && s.incomeChartApproved &&
                                                                 s.periodOpen &&
                                                                 !s.isOpen(WindowKind::IncomeStatement));
                                            },
                                            [&app] {
                                                app.document().makeStatementGrid(Statement::Income);
                                                app.openWindow(WindowKind::IncomeStatement);
                                            }});

    // "Momsrapport", and its closing voucher, which the window carries out for its months.
    addWindow(commands, app, C::VatReportWindow, WindowKind::VatReport, books);
    commands.add(C::VatSettlement, {[](const AppState& s) {
                                        return enabledIf(s.hasBooks() && s.isOpen(WindowKind::VatReport) &&
                                                         !s.voucherDialogOpen);
                                    },
                                    [&app] {
                                        app.openWindow(WindowKind::VatReport);
                                        app.performWindowCommand(CommandId::VatSettlement);
                                    },
                                    true});

    // The ledger asks for the account whenever it is created.
    commands.add(C::FindAccount, {[](const AppState& s) { return enabledIf(s.hasBooks()); },
                                  [&app] { app.reopenWindow(WindowKind::Ledger); }});
    // The journal, opened or brought forward, holds "Se flera verifikat".
    commands.add(C::SeveralVouchers, {[](const AppState& s) { return enabledIf(s.companyOpen); },
                                      [&app] { app.openWindow(WindowKind::Journal); }});
    commands.add(C::OnlyUsedAccounts, {[](const AppState& s) {
                                           return checkable(s.companyOpen && s.view.isGrid,
                                                            s.companyOpen && s.onlyUsedAccounts);
                                       },
                                       [&app] {
                                           CTallvingeDoc& doc = app.document();
                                           doc.setOnlyUsedAccounts(doc.state().m_nEndastAnvanda != 1);
                                       }});
    // The active window's printed form, as a PDF file.
    commands.add(C::SaveAsPdf, {[](const AppState& s) { return enabledIf(s.companyOpen && s.view.canPrint); },
                                [&app] { app.performWindowCommand(CommandId::SaveAsPdf); }});
    // The active report window's data, as a CSV or Excel file.
    commands.add(C::ExportReport,
                 {[](const AppState& s) { return enabledIf(s.companyOpen && s.view.canExport); },
                  [&app] { app.performWindowCommand(CommandId::ExportReport); }});
    // The active report window offers the month range and carries it out.
    commands.add(C::MonthRange, {[](const AppState& s) {
                                     return checkable(s.view.monthRange,
                                                      s.view.monthRange && s.view.monthRangeActive);
                                 },
                                 [&app] { app.performWindowCommand(CommandId::MonthRange); }});
}

} // namespace kv
