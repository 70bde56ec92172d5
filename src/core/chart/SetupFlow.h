// How a new company gets its charts and VAT rules: the first-run button of
// the journal window, and the editors that the trial-balance window runs
// when it opens on a raised request flag.
#pragma once

#include "app/Prompter.h"
#include "chart/ChartEditorModel.h"
#include "chart/TemplateChooserModel.h"
#include "model/TallvingeDoc.h"
#include "voucher/VatRulesModel.h"

#include <functional>

namespace kv {

inline constexpr const char* kGuidanceButtonText = "Klicka HÄR och välj en kontoplan bland mallarna.";

// The modal dialogs of the set-up. Each shows its model until the dialog
// closes and returns Answer::Ok when the model accepted OK (the chart editor
// and the VAT dialog have then approved), anything else for Cancel.
struct SetupDialogs {
    RunTemplateChooser chooseTemplate;
    std::function<Answer(ChartEditorModel&)> editChart;
    std::function<Answer(VatRulesModel&)> editVatRules;
};

// True while the company has no chart rows at all: the journal window then
// shows the button kGuidanceButtonText instead of its contents.
[[nodiscard]] bool needsChartGuidance(const CTallvingeDoc& doc);

// The button: reads the template file, lets the user choose a template, then
// runs the balance-sheet editor, the income-statement editor and "Sätt moms".
void runChartGuidance(CTallvingeDoc& doc, Prompter& prompter, const SetupDialogs& dialogs);

// The trial-balance window opening: for each raised request flag, in this
// order, the income-statement editor, the balance-sheet editor and the VAT
// dialog; then all three flags are cleared.
void runRequestedEditors(CTallvingeDoc& doc, Prompter& prompter, const SetupDialogs& dialogs);

// The menu commands raise their flag; "Sätt moms" only with both charts
// approved, else it says so and returns false.
void requestIncomeChartEditor(CTallvingeDoc& doc);
void requestBalanceChartEditor(CTallvingeDoc& doc);
bool requestVatRules(CTallvingeDoc& doc, Prompter& prompter);

} // namespace kv
