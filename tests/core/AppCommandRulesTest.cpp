// When the commands are enabled and checked, in the states a company goes
// through: none open, new without charts, one chart approved, both approved.
#include "ScriptedPrompter.h"

#include "app/AppController.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace kv {
namespace {

using C = CommandId;

// The rules as every subsystem registered them.
CommandState commandState(C id, const AppState& state) {
    static test::ScriptedPrompter prompter;
    static const AppController app(prompter, "");
    return app.commands().state(id, state);
}

bool enabled(C id, const AppState& state) {
    return commandState(id, state).enabled;
}

void expectEnabled(const AppState& state, std::initializer_list<C> ids, bool expected) {
    for (const C id : ids) {
        EXPECT_EQ(enabled(id, state), expected) << "command " << static_cast<int>(id);
    }
}

AppState newCompany() {
    AppState state;
    state.companyOpen = true;
    state.setOpen(WindowKind::Journal, true);
    state.activeWindow = WindowKind::Journal;
    return state;
}

AppState approvedCompany() {
    AppState state = newCompany();
    state.incomeChartApproved = true;
    state.balanceChartApproved = true;
    state.hasChartRows = true;
    state.periodCount = 1;
    state.periodOpen = true;
    return state;
}

const std::initializer_list<C> kNeedBothCharts = {
    C::NewVoucher, C::VoucherList,  C::FindAccount,        C::SaveChartTemplate, C::DeleteChartTemplate,
    C::VatRules,   C::LedgerWindow, C::TrialBalanceWindow, C::BalanceSheetWindow};
// The chart editors also open on a chart that is only half set up.
const std::initializer_list<C> kChartEditors = {C::IncomeChart, C::BalanceChart};

const std::initializer_list<C> kAlways = {C::PrintSetup,     C::About,       C::HelpVat,    C::HelpPeriods,
                                          C::HelpAccounts,   C::HelpRename,  C::HelpMoving, C::HelpTemplates,
                                          C::HelpMonthRange, C::HelpOpening, C::Calendar,   C::ViewToolbar,
                                          C::ViewStatusBar};

TEST(AppCommandRules, WithoutACompanyOnlyNewOpenRecentExitAndHelpWork) {
    AppState state;
    state.recentFileCount = 2;
    expectEnabled(state, {C::NewCompany, C::OpenCompany, C::AppExit, C::RecentFile1, C::RecentFile2}, true);
    expectEnabled(state, kAlways, true);
    expectEnabled(state,
                  {C::RecentFile3, C::RecentFile4, C::CloseCompany, C::Save, C::SaveAs, C::Exit,
                   C::JournalWindow, C::IncomeStatementWindow, C::Cascade, C::NextWindow, C::Undo},
                  false);
    expectEnabled(state, kNeedBothCharts, false);
    expectEnabled(state, kChartEditors, false);
    EXPECT_EQ(menuBarFor(state), MenuBarId::NoCompany);
}

TEST(AppCommandRules, ANewCompanyWithoutChartsCanOnlyBeSavedClosedAndLookedAt) {
    const AppState state = newCompany();
    // A second company only after "Stäng".
    expectEnabled(state, {C::NewCompany, C::OpenCompany, C::RecentFile1}, false);
    expectEnabled(state,
                  {C::CloseCompany, C::Exit, C::SaveAs, C::SeveralVouchers, C::Cascade, C::TileHorizontally,
                   C::NextWindow, C::PreviousWindow},
                  true);
    // "Ordna ikoner" only when a window is minimised.
    EXPECT_FALSE(enabled(C::ArrangeIcons, state));
    AppState withIcon = state;
    withIcon.minimizedWindows = 1;
    EXPECT_TRUE(enabled(C::ArrangeIcons, withIcon));
    // Not modified yet, never saved: nothing to save and nothing to rename.
    expectEnabled(state, {C::Save, C::RenameCompany, C::FindVoucher, C::IncomeStatementWindow}, false);
    expectEnabled(state, kNeedBothCharts, false);
    expectEnabled(state, kChartEditors, false);
    // The journal is open, so its command is off until it closes.
    EXPECT_FALSE(enabled(C::JournalWindow, state));
    AppState withoutJournal = state;
    withoutJournal.setOpen(WindowKind::Journal, false);
    EXPECT_TRUE(enabled(C::JournalWindow, withoutJournal));
    EXPECT_EQ(menuBarFor(state), MenuBarId::Company);
}

TEST(AppCommandRules, WithOnlyTheIncomeChartApprovedOnlyTheIncomeStatementOpens) {
    AppState state = newCompany();
    state.incomeChartApproved = true;
    state.periodCount = 1;
    state.periodOpen = true;
    EXPECT_TRUE(enabled(C::IncomeStatementWindow, state));
    expectEnabled(state,
                  {C::BalanceSheetWindow, C::LedgerWindow, C::OpenPeriod, C::NewPeriod, C::ChangeEndDate,
                   C::NewVoucher},
                  false);
    expectEnabled(state, kNeedBothCharts, false);
    expectEnabled(state, kChartEditors, true);
}

TEST(AppCommandRules, WithBothChartsApprovedTheBooksAreOpen) {
    AppState state = approvedCompany();
    expectEnabled(state, kNeedBothCharts, true);
    expectEnabled(state, kChartEditors, true);
    EXPECT_TRUE(enabled(C::IncomeStatementWindow, state));
    // Looking up a voucher needs one.
    EXPECT_FALSE(enabled(C::FindVoucher, state));
    state.periodHasVouchers = true;
    EXPECT_TRUE(enabled(C::FindVoucher, state));
}

TEST(AppCommandRules, WithoutAPeriodTheChartsCanBeSetUpButNothingBooked) {
    // The first-period dialog was left without OK: no period to book in or report on.
    AppState state = approvedCompany();
    state.periodCount = 0;
    state.periodOpen = false;
    state.periodHasVouchers = true; // even a damaged file's vouchers cannot be looked up
    expectEnabled(state,
                  {C::NewVoucher, C::VoucherList, C::FindVoucher, C::FindAccount, C::OpenPeriod, C::NewPeriod,
                   C::ChangeEndDate, C::LedgerWindow, C::TrialBalanceWindow, C::IncomeStatementWindow,
                   C::BalanceSheetWindow},
                  false);
    expectEnabled(state,
                  {C::IncomeChart, C::BalanceChart, C::VatRules, C::SaveChartTemplate, C::DeleteChartTemplate,
                   C::SaveAs, C::CloseCompany},
                  true);
}

TEST(AppCommandRules, AChartLeftHalfDoneCanBeFinishedFromTheMenu) {
    AppState state = newCompany();
    state.periodCount = 1;
    state.periodOpen = true;
    // A template's rows, neither chart approved yet.
    state.hasChartRows = true;
    expectEnabled(state, {C::IncomeChart, C::BalanceChart}, true);
    expectEnabled(state, {C::VatRules, C::SaveChartTemplate, C::DeleteChartTemplate, C::NewVoucher}, false);
    // The balance sheet approved, the income statement cancelled.
    state.balanceChartApproved = true;
    expectEnabled(state, {C::IncomeChart, C::BalanceChart}, true);
    expectEnabled(state, {C::VatRules, C::LedgerWindow, C::NewPeriod, C::NewVoucher}, false);
}

TEST(AppCommandRules, EachWindowKindOpensOnlyOnce) {
    AppState state = approvedCompany();
    const std::pair<C, WindowKind> windows[] = {
        {C::JournalWindow, WindowKind::Journal},
        {C::LedgerWindow, WindowKind::Ledger},
        {C::TrialBalanceWindow, WindowKind::TrialBalance},
        {C::IncomeStatementWindow, WindowKind::IncomeStatement},
        {C::BalanceSheetWindow, WindowKind::BalanceSheet},
        {C::VoucherList, WindowKind::VoucherList},
        {C::VatReportWindow, WindowKind::VatReport},
        {C::BudgetReportWindow, WindowKind::BudgetReport},
    };
    for (const auto& [id, kind] : windows) {
        state.setOpen(kind, false);
        EXPECT_TRUE(enabled(id, state)) << static_cast<int>(id);
        state.setOpen(kind, true);
        EXPECT_FALSE(enabled(id, state)) << static_cast<int>(id);
    }
    // The commands that reopen a window afresh stay on while it is open.
    expectEnabled(state, {C::IncomeChart, C::BalanceChart, C::VatRules, C::FindAccount}, true);
}

TEST(AppCommandRules, TheBudgetNeedsTheIncomeChartAndAPeriod) {
    struct Case {
        const char* what;
        AppState state;
        bool enabled;
    };
    AppState incomeOnly = newCompany();
    incomeOnly.incomeChartApproved = true;
    incomeOnly.periodOpen = true;
    AppState noPeriod = approvedCompany();
    noPeriod.periodOpen = false;
    const Case cases[] = {
        {"no company", AppState{}, false},
        {"no chart approved", newCompany(), false},
        {"the income chart approved", incomeOnly, true},
        {"no open period", noPeriod, false},
        {"both charts approved", approvedCompany(), true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(enabled(C::Budget, c.state), c.enabled) << c.what;
        EXPECT_EQ(enabled(C::BudgetReportWindow, c.state), c.enabled) << c.what;
    }
}

TEST(AppCommandRules, AnOpenVoucherDialogStopsOnlyANewVoucher) {
    AppState state = approvedCompany();
    state.voucherDialogOpen = true;
    EXPECT_FALSE(enabled(C::NewVoucher, state));
    state.periodHasVouchers = true;
    expectEnabled(state, {C::FindVoucher, C::VoucherList, C::IncomeChart}, true);
}

TEST(AppCommandRules, SaveFollowsTheModifiedFlagAndSaveAsTheFirstSave) {
    AppState state = approvedCompany();
    state.modified = true;
    EXPECT_TRUE(enabled(C::Save, state));
    state.modified = false;
    EXPECT_FALSE(enabled(C::Save, state));
    state.neverSaved = false;
    EXPECT_FALSE(enabled(C::SaveAs, state));
}

TEST(AppCommandRules, TheActiveWindowDecidesItsOwnCommands) {
    AppState state = approvedCompany();
    expectEnabled(state,
                  {C::Undo, C::Cut, C::Copy, C::Paste, C::Print, C::PrintPreview, C::MonthRange, C::ZoomIn,
                   C::Bold, C::Find, C::CellFormat, C::ReadOnly, C::OnlyUsedAccounts, C::ExportReport},
                  false);
    state.setOpen(WindowKind::IncomeStatement, true);
    state.activeWindow = WindowKind::IncomeStatement;
    EXPECT_EQ(menuBarFor(state), MenuBarId::Report);
    state.view.isGrid = true;
    state.view.canUndo = true;
    state.view.canCopy = true;
    state.view.canPrint = true;
    state.view.canExport = true;
    state.view.canZoomOut = true;
    state.view.readOnly = true;
    expectEnabled(state,
                  {C::ExportReport, C::Undo, C::Copy, C::Print, C::PrintPreview, C::ZoomOut, C::Zoom100,
                   C::Bold, C::Find, C::FindAgain, C::Replace, C::InsertRows, C::RemoveColumns, C::AlignRight,
                   C::CellFormat},
                  true);
    expectEnabled(state, {C::Redo, C::Cut, C::Paste, C::ZoomIn}, false);
    EXPECT_EQ(commandState(C::ReadOnly, state), (CommandState{true, true}));
    EXPECT_EQ(commandState(C::PrintLike, state), (CommandState{true, false}));
    state.onlyUsedAccounts = true;
    EXPECT_EQ(commandState(C::OnlyUsedAccounts, state), (CommandState{true, true}));
    state.activeWindow = WindowKind::BalanceSheet;
    EXPECT_EQ(menuBarFor(state), MenuBarId::Report);
    state.activeWindow = WindowKind::Ledger;
    EXPECT_EQ(menuBarFor(state), MenuBarId::Company);
}

TEST(AppCommandRules, TheBarsAreCheckedWhileShown) {
    AppState state;
    EXPECT_EQ(commandState(C::ViewToolbar, state), (CommandState{true, true}));
    state.statusBarVisible = false;
    EXPECT_EQ(commandState(C::ViewStatusBar, state), (CommandState{true, false}));
}

} // namespace
} // namespace kv
