#include "voucher/VoucherCommands.h"

#include "interaction/AppServices.h"
#include "interaction/CommandRegistry.h"
#include "interaction/Prompter.h"
#include "voucher/NewVoucherCheck.h"
#include "voucher/VatRulesModel.h"
#include "voucher/VoucherTexts.h"

namespace kv {

bool requestVatRules(CTallvingeDoc& doc, Prompter& prompter) {
    if (!doc.bothChartsApproved()) {
        prompter.message(kMsgBadaGodkanda);
        return false;
    }
    doc.requestEditors({.vatRules = true});
    return true;
}

void registerVoucherCommands(CommandRegistry& commands, AppServices& app) {
    using C = CommandId;
    commands.add(C::NewVoucher,
                 {[](const AppState& s) { return enabledIf(s.hasBooks() && !s.voucherDialogOpen); },
                  [&app] {
                      // Every check is made; the voucher form comes with the vouchers.
                      checkNewVoucher(app.document(), app.prompter());
                  }});
    commands.add(C::FindVoucher,
                 {[](const AppState& s) { return enabledIf(s.hasBooks() && s.periodHasVouchers); },
                  [&app] {
                      CTallvingeDoc& doc = app.document();
                      if (doc.state().m_bVerifikatOppen != 0) {
                          app.prompter().message(kMsgVerifikatdialogenOppen);
                          return;
                      }
                      doc.requestVoucherSearch();
                      app.reopenWindow(WindowKind::VoucherList);
                  }});
    commands.add(C::VoucherList, {[](const AppState& s) {
                                      return enabledIf(s.hasBooks() && !s.isOpen(WindowKind::VoucherList));
                                  },
                                  [&app] { app.openWindow(WindowKind::VoucherList); }});
    commands.add(C::VatRules,
                 {[](const AppState& s) { return enabledIf(s.companyOpen && s.bothChartsApproved()); },
                  [&app] {
                      if (requestVatRules(app.document(), app.prompter())) {
                          app.reopenWindow(WindowKind::TrialBalance);
                      }
                  }});
}

} // namespace kv
