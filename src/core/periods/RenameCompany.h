// "Byt företagets namn...": the company is copied, period by period, to a
// company file and period folder under the new name, which it then keeps;
// its database (Name.kvdb) is copied with them. The old files stay where
// they are.
#pragma once

#include "interaction/AppServices.h"

namespace kv {

// The command with its refusals, warning, dialog and overwrite question.
// True when the company now stands under the new name with its first period
// open. A period that cannot be copied stops the rename: what was written
// under the new name is removed and the company keeps its old name.
bool renameCompany(AppServices& app);

} // namespace kv
