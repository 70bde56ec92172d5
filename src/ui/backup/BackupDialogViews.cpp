#include "backup/BackupDialogViews.h"

#include "backup/BackupListDialog.h"
#include "backup/BackupListModel.h"

namespace kv::ui {

void registerBackupDialogViews(DialogViews& views) {
    views.add<BackupListModel>([](BackupListModel& list, Prompter&, QWidget* parent) {
        BackupListDialog shown(list, parent);
        return answerOf(shown);
    });
}

} // namespace kv::ui
