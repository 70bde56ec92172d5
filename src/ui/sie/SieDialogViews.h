// The SIE summaries as the window program shows them, before a company is
// made from a file and before a file's vouchers are added.
#pragma once

#include "common/DialogViews.h"

namespace kv::ui {

void registerSieDialogViews(DialogViews& views);

} // namespace kv::ui
