#include "bank/BankDialogViews.h"

#include "bank/BankAccountDialog.h"
#include "bank/BankColumnsDialog.h"
#include "bank/BankReviewDialog.h"

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
    // The review closes with Stäng; Ok once something was booked there.
    views.add<BankReviewDialogModel>([](BankReviewDialogModel& model, Prompter& prompter, QWidget* parent) {
        BankReviewDialog shown(model, prompter, parent);
        shown.exec();
        return model.bookedCount() > 0 ? Answer::Ok : Answer::Cancel;
    });
}

} // namespace kv::ui
