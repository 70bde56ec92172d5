// The voucher dialogs as the window program shows them: the VAT rules and
// the voucher list's lookup.
#pragma once

#include "common/DialogViews.h"

namespace kv::ui {

void registerVoucherDialogViews(DialogViews& views);

} // namespace kv::ui
