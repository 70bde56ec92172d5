// The period dialogs as the window program shows them: "Ny period" in its
// three modes, the period list of "Öppna period" and the rename dialog.
#pragma once

#include "common/DialogViews.h"

namespace kv::ui {

void registerPeriodDialogViews(DialogViews& views);

} // namespace kv::ui
