#include "sie/SieCommands.h"

#include "interaction/AppServices.h"
#include "interaction/CommandRegistry.h"
#include "sie/SieFlows.h"

namespace kv {

void registerSieCommands(CommandRegistry& commands, AppServices& app) {
    // A new company from a file, like "Öppna ett företag...": only while none is open.
    commands.add(CommandId::ImportSie,
                 {[](const AppState& s) { return enabledIf(!s.companyOpen); },
                  [&app] {
                      runSieImport(app.prompter(), app.templates(),
                                   [&app](const std::string& path) { return app.openCompanyFile(path); });
                  }});
    commands.add(CommandId::ExportSie, {[](const AppState& s) { return enabledIf(s.hasBooks()); },
                                        [&app] { runSieExport(app.document(), app.prompter()); }});
    // Vouchers into the open books, like a voucher typed: not while the voucher dialog is open.
    commands.add(CommandId::AddSie,
                 {[](const AppState& s) { return enabledIf(s.hasBooks() && !s.voucherDialogOpen); },
                  [&app] { runSieAdd(app.document(), app.prompter()); }, true});
}

} // namespace kv
