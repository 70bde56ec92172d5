#include "voucher/VoucherDialogViews.h"

#include "grid/GridWidget.h"
#include "voucher/VatRulesDialog.h"
#include "voucher/VatRulesModel.h"
#include "voucher/VoucherLookupDialog.h"
#include "voucher/VoucherLookupModel.h"

namespace kv::ui {

void registerVoucherDialogViews(DialogViews& views) {
    views.add<VatRulesModel>([](VatRulesModel& rules, Prompter& prompter, QWidget* parent) {
        VatRulesDialog shown(rules, parent);
        shown.gridWidget()->setPrompter(&prompter);
        shown.setPrompter(&prompter);
        return answerOf(shown);
    });
    views.add<VoucherLookupModel>([](VoucherLookupModel& lookup, Prompter& prompter, QWidget* parent) {
        VoucherLookupDialog shown(lookup, prompter, parent);
        return answerOf(shown);
    });
}

} // namespace kv::ui
