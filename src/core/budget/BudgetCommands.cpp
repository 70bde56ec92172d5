#include "budget/BudgetCommands.h"

#include "budget/BudgetDialogModel.h"
#include "interaction/AppServices.h"
#include "interaction/CommandRegistry.h"

namespace kv {

bool runBudgetDialog(const CTallvingeDoc& doc, Prompter& prompter, const LocalClock& clock) {
    if (doc.neverSaved() || doc.pathName().empty()) {
        prompter.message(kMsgBudgetEjSparatForetag);
        return false;
    }
    BudgetDialogModel dialog(doc, prompter, clock);
    prompter.show(dialog);
    return dialog.savedAny();
}

void registerBudgetCommands(CommandRegistry& commands, AppServices& app) {
    using C = CommandId;
    // A budget is made on the income chart's accounts, for a period.
    const auto budgetable = [](const AppState& s) {
        return s.companyOpen && s.incomeChartApproved && s.periodOpen;
    };
    commands.add(C::Budget,
                 {[budgetable](const AppState& s) { return enabledIf(budgetable(s)); },
                  [&app] {
                      if (runBudgetDialog(app.document(), app.prompter(), LocalClock(localTimeNow))) {
                          // The report window reads the budget again.
                          app.document().updateAllViews();
                      }
                  },
                  true});
    commands.add(C::BudgetReportWindow,
                 {[budgetable](const AppState& s) {
                      return enabledIf(budgetable(s) && !s.isOpen(WindowKind::BudgetReport));
                  },
                  [&app] { app.openWindow(WindowKind::BudgetReport); }});
}

} // namespace kv
