// What the enable and check state of every command depends on: the company,
// its charts and periods, the open windows and what the active window offers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace kv {

// The windows of a company; each kind exists at most once.
enum class WindowKind {
    Journal,
    Ledger,
    TrialBalance,
    IncomeStatement,
    BalanceSheet,
    VoucherList,
    VatReport,    // Reports: "Momsrapport"
    BudgetReport, // Budget: "Budget och utfall"
};

inline constexpr std::array<WindowKind, 8> kAllWindowKinds = {
    WindowKind::Journal,      WindowKind::Ledger,      WindowKind::TrialBalance, WindowKind::IncomeStatement,
    WindowKind::BalanceSheet, WindowKind::VoucherList, WindowKind::VatReport,    WindowKind::BudgetReport};

// The income statement and the balance sheet are grids with their own menu.
inline constexpr bool isReportWindow(WindowKind kind) {
    return kind == WindowKind::IncomeStatement || kind == WindowKind::BalanceSheet;
}

// The commands that the active window decides about itself.
struct ViewCapabilities {
    bool isGrid = false; // the grid commands of the report menu apply
    bool canUndo = false;
    bool canRedo = false;
    bool canCut = false;
    bool canCopy = false;
    bool canPaste = false;
    bool canPrint = false;
    bool canExport = false; // the window is a report that can be written as data
    bool canZoomIn = false;
    bool canZoomOut = false;
    bool readOnly = false;
    bool printLike = false;
    bool monthRange = false;         // offers the month-range choice
    bool monthRangeActive = false;   // a month range is chosen
    bool canShowAttachments = false; // the marked voucher has receipts to show
};

struct AppState {
    bool companyOpen = false;
    bool incomeChartApproved = false;
    bool balanceChartApproved = false;
    bool hasChartRows = false; // a template's rows, approved or not
    bool voucherDialogOpen = false;
    bool periodHasVouchers = false;
    int periodCount = 0;
    int currentPeriod = 0;
    bool periodOpen = false; // the company has a period to book in and report on
    bool modified = false;
    bool neverSaved = true;
    bool readOnly = false; // another program writes the company: nothing is changed or saved here
    bool onlyUsedAccounts = false;
    std::array<bool, kAllWindowKinds.size()> openWindows{};
    std::optional<WindowKind> activeWindow;
    bool toolbarVisible = true;
    bool statusBarVisible = true;
    int recentFileCount = 0;
    int minimizedWindows = 0; // "Ordna ikoner" has something to arrange
    ViewCapabilities view;

    [[nodiscard]] bool bothChartsApproved() const { return incomeChartApproved && balanceChartApproved; }
    // Vouchers and reports need both charts and a period to book in.
    [[nodiscard]] bool hasBooks() const { return companyOpen && bothChartsApproved() && periodOpen; }
    [[nodiscard]] bool isOpen(WindowKind kind) const { return openWindows[static_cast<std::size_t>(kind)]; }
    void setOpen(WindowKind kind, bool open) { openWindows[static_cast<std::size_t>(kind)] = open; }
};

} // namespace kv
