#include "bank/BankDialogViews.h"

#include "bank/BankAccountDialog.h"
#include "bank/BankColumnsDialog.h"
#include "bank/BankReviewDialog.h"
#include "bank/BankRuleDialogs.h"

namespace kv::ui {

void registerBankDialogViews(DialogViews& views) {
    views.add<CsvColumnsModel>([](CsvColumnsModel& model, Prompter& prompter, QWidget* parent) {
        BankColumnsDialog shown(model, prompter, parent);
        return answerOf(shown);
    });
    views.add<BankAccountChoiceModel>([](BankAccountChoiceModel& model, Prompter& prompter, QWidget* parent) {
        BankAccountDialog shown(model, prompter, parent);
        return answerOf(shown);
    });
    views.add<BankRuleModel>([](BankRuleModel& model, Prompter& prompter, QWidget* parent) {
        BankRuleDialog shown(model, prompter, parent);
        return answerOf(shown);
    });
    // "Bankregler..." writes each change at once and closes with Stäng.
    views.add<BankRulesModel>([](BankRulesModel& model, Prompter& prompter, QWidget* parent) {
        BankRulesDialog shown(model, prompter, parent);
        shown.exec();
        return Answer::Ok;
    });
    // The review closes with Stäng; Ok once something was booked there.
    views.add<BankReviewDialogModel>([](BankReviewDialogModel& model, Prompter& prompter, QWidget* parent) {
        BankReviewDialog shown(model, prompter, parent);
        shown.exec();
        return model.bookedCount() > 0 ? Answer::Ok : Answer::Cancel;
    });
}

} // namespace kv::ui
