#include "periods/PeriodDialogViews.h"

#include "periods/PeriodDialog.h"
#include "periods/PeriodDialogModel.h"
#include "periods/PeriodListDialog.h"
#include "periods/PeriodListModel.h"
#include "periods/RenameDialog.h"
#include "periods/RenameDialogModel.h"

namespace kv::ui {

void registerPeriodDialogViews(DialogViews& views) {
    views.add<PeriodDialogModel>([](PeriodDialogModel& dialog, Prompter& prompter, QWidget* parent) {
        PeriodDialog shown(dialog, prompter, parent);
        return answerOf(shown);
    });
    views.add<PeriodListModel>([](PeriodListModel& list, Prompter&, QWidget* parent) {
        PeriodListDialog shown(list, parent);
        return answerOf(shown);
    });
    views.add<RenameDialogModel>([](RenameDialogModel& dialog, Prompter& prompter, QWidget* parent) {
        RenameDialog shown(dialog, prompter, parent);
        return answerOf(shown);
    });
}

} // namespace kv::ui
