// How a new company gets its first period, charts and VAT rules: the
// guidance of the journal window, and the editors that the trial-balance
// window runs when it opens on a raised request flag.
#pragma once

#include "app/Prompter.h"
#include "model/TallvingeDoc.h"

#include <cstdint>

namespace kv {

inline constexpr const char* kGuidanceButtonText = "Klicka HÄR och välj en kontoplan bland mallarna.";

// True while the company has no chart rows at all: the journal window then
// shows the button kGuidanceButtonText instead of its contents.
[[nodiscard]] bool needsChartGuidance(const CTallvingeDoc& doc);

// What the journal window does each time it refreshes: the first-period
// prompt while the company is new (the year fields suggest suggestedYear),
// then whether the guidance button shows.
[[nodiscard]] bool refreshJournalGuidance(CTallvingeDoc& doc, Prompter& prompter, std::int32_t suggestedYear);

// The guidance button: reads the template file and lets the user choose a
// template; then runs the balance-sheet editor, the income-statement editor
// and "Sätt moms". A chooser closed without OK stops here, with nothing chosen.
void runChartGuidance(CTallvingeDoc& doc, Prompter& prompter);

// The trial-balance window opening: for each raised request flag, in this
// order, the income-statement editor, the balance-sheet editor and the VAT
// dialog. An approval applies at once (document modified, views updated).
// All three flags are cleared at the end.
void runRequestedEditors(CTallvingeDoc& doc, Prompter& prompter);

// The menu commands raise their flag; "Sätt moms" only with both charts
// approved, else it says so and returns false.
void requestIncomeChartEditor(CTallvingeDoc& doc);
void requestBalanceChartEditor(CTallvingeDoc& doc);
bool requestVatRules(CTallvingeDoc& doc, Prompter& prompter);

} // namespace kv
