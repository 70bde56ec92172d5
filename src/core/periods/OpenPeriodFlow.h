// "Öppna period": the open period is closed and saved, and the period the
// user picks is read from its file and opened with its opening balances.
#pragma once

#include "interaction/AppServices.h"

#include <cstdint>
#include <optional>

namespace kv {

enum class OpenPeriodOutcome {
    Stopped, // a check or the user stopped it before anything was saved
    Kept,    // the open period was saved, and the user kept it open
    Opened,  // the chosen period is open
    Failed,  // a file could not be written or read: the company is as it was
};

// The command, or with automaticPeriod the open that renaming the company
// runs for each period: no questions, no list, that period.
OpenPeriodOutcome openAnotherPeriod(AppServices& app, std::optional<std::int32_t> automaticPeriod = {});

} // namespace kv
