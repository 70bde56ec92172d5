// The list of the company's backups as the window program shows it.
#pragma once

#include "app/QtPrompter.h"

namespace kv::ui {

void registerBackupDialogViews(DialogViews& views);

} // namespace kv::ui
