#include "app/CommandRules.h"

namespace kv {

namespace {

using C = CommandId;

CommandState enabledIf(bool condition) {
    return {condition, false};
}
CommandState checkable(bool enabled, bool checked) {
    return {enabled, checked};
}

// The grid commands of the report windows: the active grid decides.
bool gridCommandState(CommandId id, const AppState& s, CommandState& result) {
    const ViewCapabilities& v = s.view;
    const bool grid = s.companyOpen && v.isGrid;
    switch (id) {
    case C::Redo:
        result = enabledIf(grid && v.canRedo);
        return true;
    case C::Find:
    case C::FindAgain:
    case C::Replace:
    case C::Zoom100:
    case C::RemoveColumns:
    case C::RemoveRows:
    case C::InsertColumns:
    case C::InsertRows:
    case C::AlignLeft:
    case C::AlignCenter:
    case C::AlignRight:
    case C::Bold:
    case C::Italic:
    case C::Underline:
    case C::CellFormat:
        result = enabledIf(grid);
        return true;
    case C::ZoomIn:
        result = enabledIf(grid && v.canZoomIn);
        return true;
    case C::ZoomOut:
        result = enabledIf(grid && v.canZoomOut);
        return true;
    case C::ReadOnly:
        result = checkable(grid, grid && v.readOnly);
        return true;
    case C::PrintLike:
        result = checkable(grid, grid && v.printLike);
        return true;
    case C::OnlyUsedAccounts:
        result = checkable(grid, s.companyOpen && s.onlyUsedAccounts);
        return true;
    default:
        return false;
    }
}

// Commands that need no company, or whose rule is only the company's presence.
bool frameCommandState(CommandId id, const AppState& s, CommandState& result) {
    if (const int recent = recentFileIndex(id); recent >= 0) {
        result = enabledIf(!s.companyOpen && recent < s.recentFileCount);
        return true;
    }
    switch (id) {
    case C::NewCompany:
    case C::OpenCompany:
        // A second company can only be opened after "Stäng".
        result = enabledIf(!s.companyOpen);
        return true;
    case C::AppExit:
    case C::PrintSetup:
    case C::About:
    case C::HelpVat:
    case C::HelpPeriods:
    case C::HelpAccounts:
    case C::HelpRename:
    case C::HelpMoving:
    case C::HelpTemplates:
    case C::HelpMonthRange:
    case C::HelpOpening:
    case C::Calendar:
        result = enabledIf(true);
        return true;
    case C::ViewToolbar:
        result = checkable(true, s.toolbarVisible);
        return true;
    case C::ViewStatusBar:
        result = checkable(true, s.statusBarVisible);
        return true;
    case C::CloseCompany:
    case C::Exit:
    case C::SeveralVouchers:
    case C::Cascade:
    case C::TileHorizontally:
    case C::ArrangeIcons:
    case C::NextWindow:
    case C::PreviousWindow:
        result = enabledIf(s.companyOpen);
        return true;
    default:
        return false;
    }
}

} // namespace

bool windowOfCommand(CommandId id, WindowKind& kind) {
    switch (id) {
    case C::JournalWindow:
        kind = WindowKind::Journal;
        return true;
    case C::LedgerWindow:
        kind = WindowKind::Ledger;
        return true;
    case C::TrialBalanceWindow:
        kind = WindowKind::TrialBalance;
        return true;
    case C::IncomeStatementWindow:
        kind = WindowKind::IncomeStatement;
        return true;
    case C::BalanceSheetWindow:
        kind = WindowKind::BalanceSheet;
        return true;
    case C::VoucherList:
        kind = WindowKind::VoucherList;
        return true;
    default:
        return false;
    }
}

CommandState commandState(CommandId id, const AppState& s) {
    CommandState result;
    if (frameCommandState(id, s, result) || gridCommandState(id, s, result)) {
        return result;
    }
    if (!s.companyOpen) {
        return {};
    }
    const bool both = s.bothChartsApproved();
    // Vouchers and reports need a period; the charts and the VAT rules do not.
    const bool books = both && s.periodOpen;
    const ViewCapabilities& v = s.view;
    switch (id) {
    case C::Save:
        return enabledIf(s.modified);
    case C::SaveAs:
        return enabledIf(s.neverSaved);
    case C::RenameCompany:
        return enabledIf(!s.neverSaved);
    case C::Print:
    case C::PrintPreview:
        return enabledIf(v.canPrint);
    case C::Undo:
        return enabledIf(v.canUndo);
    case C::Cut:
        return enabledIf(v.canCut);
    case C::Copy:
        return enabledIf(v.canCopy);
    case C::Paste:
        return enabledIf(v.canPaste);
    case C::MonthRange:
        return checkable(v.monthRange, v.monthRange && v.monthRangeActive);
    case C::NewVoucher:
        return enabledIf(books && !s.voucherDialogOpen);
    case C::FindVoucher:
        return enabledIf(books && s.periodHasVouchers);
    case C::IncomeChart:
    case C::BalanceChart:
        // Also a chart left half done by the first set-up (one chart approved, or a
        // user template's rows not yet approved) can be finished from the menu.
        return enabledIf(s.hasChartRows || s.incomeChartApproved || s.balanceChartApproved);
    case C::SaveChartTemplate:
    case C::DeleteChartTemplate:
    case C::VatRules:
        return enabledIf(both);
    case C::FindAccount:
    case C::OpenPeriod:
    case C::NewPeriod:
    case C::ChangeEndDate:
        return enabledIf(books);
    case C::JournalWindow:
        return enabledIf(!s.isOpen(WindowKind::Journal));
    case C::IncomeStatementWindow:
        return enabledIf(s.incomeChartApproved && s.periodOpen && !s.isOpen(WindowKind::IncomeStatement));
    case C::VoucherList:
    case C::LedgerWindow:
    case C::TrialBalanceWindow:
    case C::BalanceSheetWindow: {
        WindowKind kind{};
        windowOfCommand(id, kind);
        return enabledIf(books && !s.isOpen(kind));
    }
    default:
        return {};
    }
}

MenuBarId menuBarFor(const AppState& state) {
    if (!state.companyOpen) {
        return MenuBarId::NoCompany;
    }
    if (state.activeWindow && isReportWindow(*state.activeWindow)) {
        return MenuBarId::Report;
    }
    return MenuBarId::Company;
}

} // namespace kv
