// "Skapa ny period": the open last period is saved and closed, and the next
// one opens with the closing balances and the result carried into it.
#pragma once

#include "interaction/AppServices.h"

namespace kv {

// The command with its checks, questions and dialog. True when the new
// period was created; the company then has it open, not yet saved.
bool createNewPeriod(AppServices& app);

} // namespace kv
