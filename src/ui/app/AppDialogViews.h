// The Qt dialogs of every subsystem, each registered by its subsystem: the
// window program's prompter is made with them and shows no dialog without.
#pragma once

#include "app/QtPrompter.h"

namespace kv::ui {

[[nodiscard]] DialogViews programDialogViews();

} // namespace kv::ui
