// The first period of a new company: asked for once, when the company is
// new, before it has a chart.
#pragma once

#include "interaction/Prompter.h"
#include "model/TallvingeDoc.h"
#include "periods/PeriodDialogModel.h"

namespace kv {

inline constexpr const char* kMsgBestamForstaPerioden =
    "Bestäm den första bokföringsperioden för det nya företaget. Klicka OK och fortsätt.";

// While m_bNyttForetag is 1: tells the user, runs the period dialog in
// first-period mode and on OK makes the chosen months the company's first
// and open period. The company is no longer new afterwards, whatever the
// answer; without OK it has no period (CTallvingeDoc::hasOpenPeriod() is
// false). A company that already has periods is not asked. Returns true
// when a period was created.
bool runFirstPeriodPrompt(CTallvingeDoc& doc, Prompter& prompter, std::int32_t suggestedYear = 0);

} // namespace kv
