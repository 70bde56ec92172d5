#include "app/AppCommands.h"

#include "app/AppTexts.h"
#include "archive/ArchiveFlow.h" // The year's archive
#include "bank/BankCommands.h"   // Bank statements
#include "budget/BudgetCommands.h"
#include "chart/ChartCommands.h"
#include "interaction/AppServices.h"
#include "interaction/CommandRegistry.h"
#include "interaction/Prompter.h"
#include "periods/PeriodCommands.h" // Periods
#include "reports/ReportCommands.h"
#include "sie/SieCommands.h" // SIE
#include "voucher/VoucherCommands.h"

namespace kv {

namespace {

using C = CommandId;
using Rule = CommandState (*)(const AppState&);

// Commands that the active window or the main window carries out itself.
void addWindowCommands(CommandRegistry& commands, AppServices& app, std::initializer_list<C> ids, Rule rule) {
    for (const C id : ids) {
        commands.add(id, {rule, [&app, id] { app.performWindowCommand(id); }});
    }
}

void addHelpTexts(CommandRegistry& commands, AppServices& app) {
    for (const C id : {C::HelpVat, C::HelpPeriods, C::HelpAccounts, C::HelpRename, C::HelpMoving,
                       C::HelpTemplates, C::HelpMonthRange, C::HelpOpening}) {
        commands.add(id, {[](const AppState&) { return enabledIf(true); },
                          [&app, id] {
                              app.prompter().say(MessageKind::Information,
                                                 helpText(id, app.templateFolder()).value_or(""));
                          }});
    }
}

} // namespace

void registerSubsystemCommands(CommandRegistry& commands, AppServices& app) {
    registerChartCommands(commands, app);
    registerVoucherCommands(commands, app);
    registerReportCommands(commands, app);
    registerPeriodCommands(commands, app); // Periods
    registerSieCommands(commands, app);    // SIE
    registerBankCommands(commands, app);   // Bank statements
    registerBudgetCommands(commands, app);
    registerArchiveCommands(commands, app); // The year's archive
    addHelpTexts(commands, app);

    addWindowCommands(commands, app, {C::PrintSetup, C::About, C::Calendar},
                      [](const AppState&) { return enabledIf(true); });
    addWindowCommands(commands, app, {C::ViewToolbar},
                      [](const AppState& s) { return checkable(true, s.toolbarVisible); });
    addWindowCommands(commands, app, {C::ViewStatusBar},
                      [](const AppState& s) { return checkable(true, s.statusBarVisible); });
    addWindowCommands(commands, app,
                      {C::Cascade, C::TileHorizontally, C::NextWindow, C::PreviousWindow, C::CloseWindow},
                      [](const AppState& s) { return enabledIf(s.companyOpen); });
    addWindowCommands(commands, app, {C::ArrangeIcons},
                      [](const AppState& s) { return enabledIf(s.companyOpen && s.minimizedWindows > 0); });

    // What the active window offers.
    addWindowCommands(commands, app, {C::Print, C::PrintPreview},
                      [](const AppState& s) { return enabledIf(s.companyOpen && s.view.canPrint); });
    addWindowCommands(commands, app, {C::Undo},
                      [](const AppState& s) { return enabledIf(s.companyOpen && s.view.canUndo); });
    addWindowCommands(commands, app, {C::Cut},
                      [](const AppState& s) { return enabledIf(s.companyOpen && s.view.canCut); });
    addWindowCommands(commands, app, {C::Copy},
                      [](const AppState& s) { return enabledIf(s.companyOpen && s.view.canCopy); });
    addWindowCommands(commands, app, {C::Paste},
                      [](const AppState& s) { return enabledIf(s.companyOpen && s.view.canPaste); });

    // The grid commands of the report windows: the active grid decides.
    addWindowCommands(commands, app, {C::Redo}, [](const AppState& s) {
        return enabledIf(s.companyOpen && s.view.isGrid && s.view.canRedo);
    });
    addWindowCommands(commands, app,
                      {C::Find, C::FindAgain, C::Replace, C::Zoom100, C::RemoveColumns, C::RemoveRows,
                       C::InsertColumns, C::InsertRows, C::AlignLeft, C::AlignCenter, C::AlignRight, C::Bold,
                       C::Italic, C::Underline, C::CellFormat},
                      [](const AppState& s) { return enabledIf(s.companyOpen && s.view.isGrid); });
    addWindowCommands(commands, app, {C::ZoomIn}, [](const AppState& s) {
        return enabledIf(s.companyOpen && s.view.isGrid && s.view.canZoomIn);
    });
    addWindowCommands(commands, app, {C::ZoomOut}, [](const AppState& s) {
        return enabledIf(s.companyOpen && s.view.isGrid && s.view.canZoomOut);
    });
    addWindowCommands(commands, app, {C::ReadOnly}, [](const AppState& s) {
        const bool grid = s.companyOpen && s.view.isGrid;
        return checkable(grid, grid && s.view.readOnly);
    });
    addWindowCommands(commands, app, {C::PrintLike}, [](const AppState& s) {
        const bool grid = s.companyOpen && s.view.isGrid;
        return checkable(grid, grid && s.view.printLike);
    });
}

} // namespace kv
