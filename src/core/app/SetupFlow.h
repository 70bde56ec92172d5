// How a new company gets its charts and VAT rules: the guidance of the
// journal window, and the chart and VAT editors that the commands run over
// the trial-balance window.
#pragma once

#include "interaction/Prompter.h"
#include "model/TallvingeDoc.h"
#include "storage/TemplateStore.h"

#include <functional>
#include <string>

namespace kv {

class AppServices;

inline constexpr const char* kGuidanceButtonText = "Klicka HÄR och välj en kontoplan bland mallarna.";

// True while the company has no chart rows at all (and is not open
// read-only): the journal window then shows the button kGuidanceButtonText
// instead of its contents.
[[nodiscard]] bool needsChartGuidance(const CTallvingeDoc& doc);

// True once both charts are approved and the open period has no voucher yet
// (in a company not open read-only): the journal window then shows
// kFirstVoucherText, the way to the first one.
[[nodiscard]] bool needsFirstVoucherHint(const CTallvingeDoc& doc);
inline constexpr const char* kFirstVoucherText =
    "Kontoplanerna är klara. Nästa steg: bokför det första verifikatet.\n"
    "Tryck på tangenten + (plus) eller klicka här.";

// The guidance button: reads the template file and lets the user choose a
// template; then the balance-sheet editor, the income-statement editor and
// "Sätt moms", each over the trial-balance window that showTrialBalance opens
// afresh. A chooser closed without OK stops here, with nothing chosen.
void runChartGuidance(CTallvingeDoc& doc, Prompter& prompter, TemplateStore& templates,
                      const std::function<void()>& showTrialBalance);
// The same in the program, with the editors hosted by the trial-balance window.
void runChartGuidance(AppServices& app);

} // namespace kv
