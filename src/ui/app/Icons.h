// The program's icon and the small icons of the company windows.
#pragma once

#include "interaction/AppState.h"

#include <QIcon>

namespace kv::ui {

QIcon programIcon();
QIcon windowIcon(WindowKind kind);

} // namespace kv::ui
