#include "reports/ReportDialogViews.h"

#include "reports/AccountChoiceModel.h"
#include "reports/MonthRangeModel.h"
#include "reports/ReportDialogs.h"
#include "reports/VoucherRangeModel.h"

namespace kv::ui {

void registerReportDialogViews(DialogViews& views) {
    views.add<MonthRangeModel>([](MonthRangeModel& dialog, Prompter& prompter, QWidget* parent) {
        MonthRangeDialog shown(dialog, prompter, parent);
        return answerOf(shown);
    });
    views.add<VoucherRangeModel>([](VoucherRangeModel& dialog, Prompter& prompter, QWidget* parent) {
        VoucherRangeDialog shown(dialog, prompter, parent);
        return answerOf(shown);
    });
    views.add<AccountChoiceModel>([](AccountChoiceModel& dialog, Prompter&, QWidget* parent) {
        AccountChoiceDialog shown(dialog, parent);
        return answerOf(shown);
    });
}

} // namespace kv::ui
