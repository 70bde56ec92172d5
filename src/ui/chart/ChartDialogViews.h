// The chart dialogs as the window program shows them: the template chooser,
// the chart editors and the choice of a user template to delete.
#pragma once

#include "common/DialogViews.h"

namespace kv::ui {

void registerChartDialogViews(DialogViews& views);

} // namespace kv::ui
