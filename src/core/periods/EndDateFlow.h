// "Ändra periodslutsdatum": the last period gets a new end month, and the
// open period's file and the company file are saved with it.
#pragma once

#include "interaction/AppServices.h"

namespace kv {

// The command with its messages, questions and the period dialog in its
// end-date mode. True when the end date changed and was saved.
bool changeLastPeriodEnd(AppServices& app);

} // namespace kv
