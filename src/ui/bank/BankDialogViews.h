// The dialogs of "Läs in kontoutdrag..." as the window program shows them:
// the columns of an unknown CSV export, the bank's account in the books and
// the review of the proposals.
#pragma once

#include "common/DialogViews.h"

namespace kv::ui {

void registerBankDialogViews(DialogViews& views);

} // namespace kv::ui
