#include "chart/SetupFlow.h"

#include "chart/ChartEditorModel.h"
#include "chart/TemplateChooserModel.h"
#include "chart/UserTemplates.h"
#include "periods/FirstPeriod.h"
#include "storage/CompanyFiles.h"
#include "voucher/VatRulesModel.h"

namespace kv {

bool needsChartGuidance(const CTallvingeDoc& doc) {
    return doc.m_allaKonton.empty();
}

bool refreshJournalGuidance(CTallvingeDoc& doc, Prompter& prompter, std::int32_t suggestedYear) {
    runFirstPeriodPrompt(doc, prompter, suggestedYear);
    return needsChartGuidance(doc);
}

void requestIncomeChartEditor(CTallvingeDoc& doc) {
    doc.m_bBegarResultatplan = 1;
}

void requestBalanceChartEditor(CTallvingeDoc& doc) {
    doc.m_bBegarBalansplan = 1;
}

bool requestVatRules(CTallvingeDoc& doc, Prompter& prompter) {
    if (!doc.bothChartsApproved()) {
        prompter.message(kMsgBadaGodkanda);
        return false;
    }
    doc.m_bBegarMoms = 1;
    return true;
}

void runRequestedEditors(CTallvingeDoc& doc, Prompter& prompter) {
    for (const ChartKind kind : {ChartKind::Income, ChartKind::Balance}) {
        const bool requested =
            kind == ChartKind::Income ? doc.m_bBegarResultatplan != 0 : doc.m_bBegarBalansplan != 0;
        if (requested) {
            ChartEditorModel editor(doc, prompter, kind);
            editor.open();
            prompter.runChartEditor(editor);
        }
    }
    if (doc.m_bBegarMoms != 0) {
        VatRulesModel rules(doc, prompter);
        if (!rules.open()) {
            prompter.runVatRules(rules);
        }
    }
    doc.m_bBegarResultatplan = 0;
    doc.m_bBegarBalansplan = 0;
    doc.m_bBegarMoms = 0;
}

void runChartGuidance(CTallvingeDoc& doc, Prompter& prompter) {
    if (!needsChartGuidance(doc)) {
        return; // a second template would land on top of the first one's rows
    }
    tellFileReport(prompter, readTemplates(doc));
    TemplateChooserModel chooser(doc);
    if (prompter.runTemplateChooser(chooser) != Answer::Ok) {
        return;
    }
    requestBalanceChartEditor(doc);
    runRequestedEditors(doc, prompter);
    requestIncomeChartEditor(doc);
    runRequestedEditors(doc, prompter);
    if (requestVatRules(doc, prompter)) {
        runRequestedEditors(doc, prompter);
    }
}

} // namespace kv
