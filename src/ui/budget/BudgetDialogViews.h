// The budget dialog as the window program shows it.
#pragma once

#include "common/DialogViews.h"

namespace kv::ui {

void registerBudgetDialogViews(DialogViews& views);

} // namespace kv::ui
