// The report dialogs as the window program shows them: the month range, the
// journal's voucher range and the choice of an account.
#pragma once

#include "common/DialogViews.h"

namespace kv::ui {

void registerReportDialogViews(DialogViews& views);

} // namespace kv::ui
