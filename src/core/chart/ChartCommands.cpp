#include "chart/ChartCommands.h"

#include "chart/UserTemplates.h"
#include "interaction/AppServices.h"
#include "interaction/CommandRegistry.h"

namespace kv {

void registerChartCommands(CommandRegistry& commands, AppServices& app) {
    using C = CommandId;
    // The editors also open on a chart that the first set-up left half done
    // (one chart approved, or a user template's rows not yet approved).
    const auto editable = [](const AppState& s) {
        return enabledIf(s.companyOpen &&
                         (s.hasChartRows || s.incomeChartApproved || s.balanceChartApproved));
    };
    // The trial-balance window runs the requested editor while it is created.
    commands.add(C::IncomeChart, {editable, [&app] {
                                      app.document().requestEditors({.incomeChart = true});
                                      app.reopenWindow(WindowKind::TrialBalance);
                                  }});
    commands.add(C::BalanceChart, {editable, [&app] {
                                       app.document().requestEditors({.balanceChart = true});
                                       app.reopenWindow(WindowKind::TrialBalance);
                                   }});
    const auto approved = [](const AppState& s) {
        return enabledIf(s.companyOpen && s.bothChartsApproved());
    };
    commands.add(
        C::SaveChartTemplate,
        {approved, [&app] { saveChartAsTemplate(app.document(), app.prompter(), app.templateFolder()); }});
    commands.add(
        C::DeleteChartTemplate,
        {approved, [&app] { deleteChartTemplate(app.document(), app.prompter(), app.templateFolder()); }});
}

} // namespace kv
