#include "app/SetupFlow.h"

#include "chart/ChartCommands.h"
#include "chart/TemplateChooserModel.h"
#include "chart/UserTemplates.h"
#include "interaction/AppServices.h"
#include "storage/CompanyFiles.h"
#include "voucher/VoucherCommands.h"

namespace kv {

// A company open read-only is only shown: no guidance to steps it cannot take.
bool needsChartGuidance(const CTallvingeDoc& doc) {
    return !doc.isReadOnly() && doc.state().m_allaKonton.empty();
}

bool needsFirstVoucherHint(const CTallvingeDoc& doc) {
    return !doc.isReadOnly() && doc.bothChartsApproved() && doc.hasOpenPeriod() &&
           doc.state().m_verifikat.empty();
}

void runChartGuidance(CTallvingeDoc& doc, Prompter& prompter, TemplateStore& templates,
                      const std::function<void()>& showTrialBalance) {
    if (!needsChartGuidance(doc)) {
        return; // a second template would land on top of the first one's rows
    }
    tellFileReport(prompter, templates.read());
    TemplateChooserModel chooser(doc, templates);
    if (prompter.show(chooser) != Answer::Ok) {
        return;
    }
    showTrialBalance();
    runChartEditor(doc, prompter, ChartKind::Balance, templates);
    showTrialBalance();
    runChartEditor(doc, prompter, ChartKind::Income, templates);
    if (vatRulesMayOpen(doc, prompter)) {
        showTrialBalance();
        runVatRulesEditor(doc, prompter);
    }
}

void runChartGuidance(AppServices& app) {
    runChartGuidance(app.document(), app.prompter(), app.templates(),
                     [&app] { app.reopenWindow(WindowKind::TrialBalance); });
}

} // namespace kv
