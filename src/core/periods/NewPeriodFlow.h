// "Skapa ny period": the open last period is saved and closed, and the next
// one opens with the closing balances and the result carried into it.
#pragma once

#include "interaction/AppServices.h"

#include <optional>
#include <string>

namespace kv {

// The command with its checks, questions and dialog. True when the new
// period was created; the company then has it open, not yet saved.
bool createNewPeriod(AppServices& app);

// The message that stops a new period before anything is asked, or nothing.
std::optional<std::string> newPeriodProblem(const CTallvingeDoc& doc);

} // namespace kv
