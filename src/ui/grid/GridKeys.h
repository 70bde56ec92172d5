// The keys of the window system as the grid knows them.
#pragma once

#include "grid/Grid.h"

class QKeyEvent;

namespace kv::ui {

// The numeric keypad shows in the keypad flag, so that the program can tell
// keypad "/" (with Alt: the VAT line) from the "/" of the main keys.
[[nodiscard]] GridKey toGridKey(const QKeyEvent& event);

} // namespace kv::ui
