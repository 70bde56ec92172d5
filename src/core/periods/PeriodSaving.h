// What the period commands share: the save they make on the way (the open
// period's file and the company file, each written whole or not at all) and
// whether the last period is the open one.
#pragma once

#include "interaction/Prompter.h"
#include "model/TallvingeDoc.h"

namespace kv {

// Writes the open period's file and the company file under the company's
// path, and tells the user what failed. True when both got through.
bool saveOpenPeriodAndCompany(CTallvingeDoc& doc, Prompter& prompter);

// Whether the open period is the company's last one.
bool lastPeriodIsOpen(const CTallvingeDoc& doc);

} // namespace kv
