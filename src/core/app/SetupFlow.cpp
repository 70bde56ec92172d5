#include "app/SetupFlow.h"

#include "chart/ChartEditorModel.h"
#include "chart/TemplateChooserModel.h"
#include "chart/UserTemplates.h"
#include "interaction/AppServices.h"
#include "storage/CompanyFiles.h"
#include "voucher/VatRulesModel.h"
#include "voucher/VoucherCommands.h"

namespace kv {

bool needsChartGuidance(const CTallvingeDoc& doc) {
    return doc.state().m_allaKonton.empty();
}

bool needsFirstVoucherHint(const CTallvingeDoc& doc) {
    return doc.bothChartsApproved() && doc.hasOpenPeriod() && doc.state().m_verifikat.empty();
}

void runRequestedEditors(CTallvingeDoc& doc, Prompter& prompter) {
    const EditorRequests requests = doc.takeEditorRequests();
    for (const ChartKind kind : {ChartKind::Income, ChartKind::Balance}) {
        if (kind == ChartKind::Income ? requests.incomeChart : requests.balanceChart) {
            ChartEditorModel editor(doc, prompter, kind);
            editor.open();
            prompter.show(editor);
        }
    }
    if (requests.vatRules) {
        VatRulesModel rules(doc, prompter);
        if (!rules.open()) {
            prompter.show(rules);
        }
    }
}

void runChartGuidance(CTallvingeDoc& doc, Prompter& prompter, const std::string& templateFolder,
                      const std::function<void()>& runRequested) {
    if (!needsChartGuidance(doc)) {
        return; // a second template would land on top of the first one's rows
    }
    tellFileReport(prompter, readTemplates(doc, templateFolder));
    TemplateChooserModel chooser(doc);
    if (prompter.show(chooser) != Answer::Ok) {
        return;
    }
    doc.requestEditors({.balanceChart = true});
    runRequested();
    doc.requestEditors({.incomeChart = true});
    runRequested();
    if (requestVatRules(doc, prompter)) {
        runRequested();
    }
}

void runChartGuidance(AppServices& app) {
    runChartGuidance(app.document(), app.prompter(), app.templateFolder(),
                     [&app] { app.reopenWindow(WindowKind::TrialBalance); });
}

} // namespace kv
