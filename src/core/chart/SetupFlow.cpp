#include "chart/SetupFlow.h"

#include "chart/UserTemplates.h"
#include "storage/CompanyFiles.h"

namespace kv {

bool needsChartGuidance(const CTallvingeDoc& doc) {
    return doc.m_allaKonton.empty();
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

void runRequestedEditors(CTallvingeDoc& doc, Prompter& prompter, const SetupDialogs& dialogs) {
    for (const ChartKind kind : {ChartKind::Income, ChartKind::Balance}) {
        const bool requested =
            kind == ChartKind::Income ? doc.m_bBegarResultatplan != 0 : doc.m_bBegarBalansplan != 0;
        if (requested) {
            ChartEditorModel editor(doc, prompter, kind);
            editor.open();
            if (dialogs.editChart) {
                dialogs.editChart(editor);
            }
        }
    }
    if (doc.m_bBegarMoms != 0) {
        VatRulesModel rules(doc, prompter);
        if (!rules.open() && dialogs.editVatRules) {
            dialogs.editVatRules(rules);
        }
    }
    doc.m_bBegarResultatplan = 0;
    doc.m_bBegarBalansplan = 0;
    doc.m_bBegarMoms = 0;
}

void runChartGuidance(CTallvingeDoc& doc, Prompter& prompter, const SetupDialogs& dialogs) {
    tellFileReport(prompter, readTemplates(doc));
    TemplateChooserModel chooser(doc);
    if (dialogs.chooseTemplate) {
        dialogs.chooseTemplate(chooser);
    }
    requestBalanceChartEditor(doc);
    runRequestedEditors(doc, prompter, dialogs);
    requestIncomeChartEditor(doc);
    runRequestedEditors(doc, prompter, dialogs);
    if (requestVatRules(doc, prompter)) {
        runRequestedEditors(doc, prompter, dialogs);
    }
}

} // namespace kv
