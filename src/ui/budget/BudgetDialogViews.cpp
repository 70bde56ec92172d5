#include "budget/BudgetDialogViews.h"

#include "budget/BudgetDialog.h"
#include "budget/BudgetDialogModel.h"
#include "grid/GridWidget.h"

namespace kv::ui {

void registerBudgetDialogViews(DialogViews& views) {
    views.add<BudgetDialogModel>([](BudgetDialogModel& budget, Prompter& prompter, QWidget* parent) {
        BudgetDialog shown(budget, parent);
        shown.gridWidget()->setPrompter(&prompter);
        return answerOf(shown);
    });
}

} // namespace kv::ui
