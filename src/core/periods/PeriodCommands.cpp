#include "periods/PeriodCommands.h"

#include "interaction/AppServices.h"
#include "interaction/CommandRegistry.h"
#include "periods/EndDateFlow.h"
#include "periods/NewPeriodFlow.h"
#include "periods/OpenPeriodFlow.h"
#include "periods/RenameCompany.h"

namespace kv {

void registerPeriodCommands(CommandRegistry& commands, AppServices& app) {
    using C = CommandId;
    // Both charts and a period to start from; a company whose first period
    // was never chosen has none.
    const auto withPeriods = [](const AppState& s) { return enabledIf(s.hasBooks()); };
    // Each of them saves the company on the way.
    commands.add(C::OpenPeriod, writing(withPeriods, [&app] { openAnotherPeriod(app); }));
    commands.add(C::NewPeriod, writing(withPeriods, [&app] { createNewPeriod(app); }));
    commands.add(C::ChangeEndDate, writing(withPeriods, [&app] { changeLastPeriodEnd(app); }));
    // A company is renamed through its files, so it must have some.
    commands.add(C::RenameCompany,
                 writing([](const AppState& s) { return enabledIf(s.companyOpen && !s.neverSaved); },
                         [&app] { renameCompany(app); }));
}

} // namespace kv
