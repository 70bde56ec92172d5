#include "voucher/VoucherCommands.h"

#include "interaction/AppServices.h"
#include "interaction/CommandRegistry.h"
#include "interaction/Prompter.h"
#include "model/DocumentTexts.h"
#include "voucher/NewVoucherCheck.h"
#include "voucher/VatRulesModel.h"
#include "voucher/VoucherFormModel.h"
#include "voucher/VoucherLookupModel.h"
#include "voucher/VoucherTexts.h"

namespace kv {

namespace {

// The main window's part when the voucher dialog hands over: a trial balance
// is open afterwards to show the books.
VoucherFormSetup formSetup(AppServices& app, std::optional<std::size_t> registered) {
    VoucherFormSetup setup;
    setup.registered = registered;
    setup.handOver = [&app] {
        if (!app.isWindowOpen(WindowKind::TrialBalance)) {
            app.openWindow(WindowKind::TrialBalance);
        }
    };
    return setup;
}

} // namespace

bool vatRulesMayOpen(const CTallvingeDoc& doc, Prompter& prompter) {
    if (!doc.bothChartsApproved()) {
        prompter.message(kMsgBadaGodkanda);
        return false;
    }
    return true;
}

void runVatRulesEditor(CTallvingeDoc& doc, Prompter& prompter, bool voucherFormOpen) {
    VatRulesModel rules(doc, prompter, voucherFormOpen);
    if (!rules.open()) {
        prompter.show(rules);
    }
}

void startNewVoucher(AppServices& app) {
    if (checkNewVoucher(app.document(), app.prompter(), app.isFormOpen(FormKind::Voucher)) !=
        NewVoucherOutcome::Ready) {
        return;
    }
    app.showForm(
        std::make_unique<VoucherFormModel>(app.document(), app.prompter(), formSetup(app, std::nullopt)));
}

void openVoucherFromList(AppServices& app, std::optional<std::size_t> row) {
    CTallvingeDoc& doc = app.document();
    if (!row || *row >= doc.state().m_verifikat.size()) {
        app.prompter().information(kCaptionVantor, kMsgMarkeraKlicka);
        return;
    }
    if (app.isFormOpen(FormKind::Voucher)) {
        app.prompter().information(kCaptionVantor, kMsgDialogenOppenVisas);
        if (FormModel* open = app.openForm(FormKind::Voucher)) {
            app.activateForm(*open);
        }
        return;
    }
    if (doc.isReadOnly()) {
        app.prompter().message(kMsgSkrivskyddat);
        return;
    }
    app.showForm(std::make_unique<VoucherFormModel>(doc, app.prompter(), formSetup(app, *row)));
    const std::size_t lines = doc.state().m_verifikat[*row].m_rader.size();
    if (lines > static_cast<std::size_t>(kVoucherRows)) {
        app.prompter().say(MessageKind::Information, tooManyLinesMessage(lines));
    }
}

void rightClickInVoucherList(AppServices& app, std::optional<std::size_t> row) {
    if (app.isFormOpen(FormKind::Voucher)) {
        app.prompter().information(kCaptionVantor, kMsgDialogenOppenVisas);
    } else if (!row || *row >= app.document().state().m_verifikat.size()) {
        app.prompter().information(kCaptionVantor, kMsgMarkeraDubbelklicka);
    }
}

std::optional<std::size_t> runVoucherLookup(const CTallvingeDoc& doc, Prompter& prompter) {
    VoucherLookupModel lookup(doc.state().m_verifikat.size());
    if (prompter.show(lookup) != Answer::Ok) {
        return std::nullopt;
    }
    return lookup.chosenRow();
}

void registerVoucherCommands(CommandRegistry& commands, AppServices& app) {
    using C = CommandId;
    commands.add(C::NewVoucher,
                 writing([](const AppState& s) { return enabledIf(s.hasBooks() && !s.voucherDialogOpen); },
                         [&app] { startNewVoucher(app); }));
    commands.add(C::FindVoucher,
                 {[](const AppState& s) { return enabledIf(s.hasBooks() && s.periodHasVouchers); },
                  [&app] {
                      CTallvingeDoc& doc = app.document();
                      if (app.isFormOpen(FormKind::Voucher)) {
                          app.prompter().message(kMsgVerifikatdialogenOppen);
                          return;
                      }
                      app.reopenWindow(WindowKind::VoucherList);
                      if (const auto row = runVoucherLookup(doc, app.prompter())) {
                          app.markVoucherInList(*row);
                      }
                  }});
    commands.add(C::VoucherList, {[](const AppState& s) {
                                      return enabledIf(s.hasBooks() && !s.isOpen(WindowKind::VoucherList));
                                  },
                                  [&app] { app.openWindow(WindowKind::VoucherList); }});
    // The window that marks the voucher shows its receipts.
    commands.add(C::ShowAttachments,
                 {[](const AppState& s) { return enabledIf(s.hasBooks() && s.view.canShowAttachments); },
                  [&app] { app.performWindowCommand(CommandId::ShowAttachments); }});
    commands.add(C::VatRules,
                 writing([](const AppState& s) { return enabledIf(s.companyOpen && s.bothChartsApproved()); },
                         [&app] {
                             if (vatRulesMayOpen(app.document(), app.prompter())) {
                                 app.reopenWindow(WindowKind::TrialBalance);
                                 runVatRulesEditor(app.document(), app.prompter(),
                                                   app.isFormOpen(FormKind::Voucher));
                             }
                         }));
}

} // namespace kv
