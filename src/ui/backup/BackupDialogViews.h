// The list of the company's backups as the window program shows it.
#pragma once

#include "common/DialogViews.h"

namespace kv::ui {

void registerBackupDialogViews(DialogViews& views);

} // namespace kv::ui
