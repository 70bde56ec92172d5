#include "bank/BankCommands.h"

#include "bank/BankFlows.h"
#include "interaction/AppServices.h"
#include "interaction/CommandRegistry.h"

namespace kv {

void registerBankCommands(CommandRegistry& commands, AppServices& app) {
    // Vouchers into the open books, like a voucher typed: not while the voucher dialog is open.
    commands.add(CommandId::ImportBank,
                 {[](const AppState& s) { return enabledIf(s.hasBooks() && !s.voucherDialogOpen); },
                  [&app] { runBankImport(app.document(), app.prompter()); }, true});
    commands.add(CommandId::BankRules, {[](const AppState& s) { return enabledIf(s.hasBooks()); },
                                        [&app] { runBankRules(app.document(), app.prompter()); }, true});
}

} // namespace kv
