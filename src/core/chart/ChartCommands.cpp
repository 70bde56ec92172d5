#include "chart/ChartCommands.h"

#include "chart/ChartEditorModel.h"
#include "chart/UserTemplates.h"
#include "interaction/AppServices.h"
#include "interaction/CommandRegistry.h"

namespace kv {

void runChartEditor(CTallvingeDoc& doc, Prompter& prompter, ChartKind kind, const TemplateStore& templates) {
    ChartEditorModel editor(doc, prompter, kind, chosenUserTemplate(doc, templates));
    editor.open();
    prompter.show(editor);
}

void registerChartCommands(CommandRegistry& commands, AppServices& app) {
    using C = CommandId;
    // The editors also open on a chart that the first set-up left half done
    // (one chart approved, or a user template's rows not yet approved).
    const auto editable = [](const AppState& s) {
        return enabledIf(s.companyOpen &&
                         (s.hasChartRows || s.incomeChartApproved || s.balanceChartApproved));
    };
    // The editor runs over the trial-balance window, opened afresh.
    commands.add(C::IncomeChart, {editable,
                                  [&app] {
                                      app.reopenWindow(WindowKind::TrialBalance);
                                      runChartEditor(app.document(), app.prompter(), ChartKind::Income,
                                                     app.templates());
                                  },
                                  true});
    commands.add(C::BalanceChart, {editable,
                                   [&app] {
                                       app.reopenWindow(WindowKind::TrialBalance);
                                       runChartEditor(app.document(), app.prompter(), ChartKind::Balance,
                                                      app.templates());
                                   },
                                   true});
    const auto approved = [](const AppState& s) {
        return enabledIf(s.companyOpen && s.bothChartsApproved());
    };
    commands.add(
        C::SaveChartTemplate,
        {approved, [&app] { saveChartAsTemplate(app.document(), app.prompter(), app.templates()); }});
    commands.add(C::DeleteChartTemplate,
                 {approved, [&app] { deleteChartTemplate(app.prompter(), app.templates()); }});
}

} // namespace kv
