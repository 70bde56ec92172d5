#include "reports/VatReportModel.h"

#include "interaction/AppServices.h"
#include "interaction/Prompter.h"
#include "reports/AccountChoiceModel.h"
#include "reports/MonthRangeModel.h"
#include "voucher/NewVoucherCheck.h"
#include "voucher/VoucherFormModel.h"
#include "voucher/VoucherLayout.h"

namespace kv {

std::optional<VatRange> VatReportModel::range(const CTallvingeDoc& doc) const {
    if (!doc.hasOpenPeriod()) {
        return std::nullopt;
    }
    if (m_chosen && doc.periodStart() <= m_chosen->from && m_chosen->to <= doc.periodEnd()) {
        return m_chosen;
    }
    return vatRangeInForce(doc);
}

VatReport VatReportModel::report(const CTallvingeDoc& doc) const {
    return buildVatReport(doc, range(doc));
}

bool VatReportModel::chooseMonths(const CTallvingeDoc& doc, Prompter& prompter) {
    if (!doc.hasOpenPeriod()) {
        return false;
    }
    MonthRangeModel dialog(doc);
    if (prompter.show(dialog) != Answer::Ok) {
        return false;
    }
    const std::optional<MonthRange> months = dialog.result();
    m_chosen = months ? VatRange{months->from, months->to, false}
                      : VatRange{doc.periodStart(), doc.periodEnd(), false};
    return true;
}

std::string settledAlreadyQuestion(const VatRange& range, const std::vector<std::int32_t>& settlements) {
    std::string numbers;
    for (std::size_t i = 0; i < settlements.size(); ++i) {
        numbers += (i == 0                        ? ""
                    : i + 1 == settlements.size() ? " och "
                                                  : ", ") +
                   std::to_string(settlements[i]);
    }
    return "Momsen för " + vatRangeText(range) + " är redan avräknad i " +
           (settlements.size() == 1 ? "verifikat " : "verifikaten ") + numbers +
           ".\n\nVill du ändå bokföra en momsavräkning till för samma månader?";
}

void startVatSettlement(AppServices& app, const VatRange& range) {
    CTallvingeDoc& doc = app.document();
    Prompter& prompter = app.prompter();
    if (checkNewVoucher(doc, prompter, app.isFormOpen(FormKind::Voucher)) != NewVoucherOutcome::Ready) {
        return;
    }
    const VatReport report = buildVatReport(doc, range);
    if (!report.shown) {
        return;
    }
    if (!report.settlements.empty() && prompter.askOkCancel(settledAlreadyQuestion(range, report.settlements),
                                                            Answer::Cancel) != Answer::Ok) {
        return;
    }
    if (report.outputBooked == 0 && report.inputBooked == 0) {
        prompter.message("Det finns ingen moms att föra över under " + vatRangeText(range) + ".");
        return;
    }
    std::int32_t account = kBasVatSettlementAccount;
    if (!doc.hasAccount(account)) {
        prompter.message("Kontoplanen har inget konto 2650 (Redovisningskonto för moms).\n\nVälj det konto "
                         "som momsen ska föras över till.");
        AccountChoiceModel choice(doc.state());
        choice.setTitle(kVatSettlementAccountTitle);
        if (prompter.show(choice) != Answer::Ok || !choice.chosen()) {
            return;
        }
        account = *choice.chosen();
    }
    const auto settlement = proposeVatSettlement(report, account);
    if (!settlement) {
        return;
    }
    VoucherFormSetup setup;
    setup.handOver = [&app] {
        if (!app.isWindowOpen(WindowKind::TrialBalance)) {
            app.openWindow(WindowKind::TrialBalance);
        }
    };
    auto form = std::make_unique<VoucherFormModel>(doc, prompter, std::move(setup));
    form->setFieldText(VoucherField::TransDay, std::to_string(settlement->date.day));
    form->setFieldText(VoucherField::TransMonth, std::to_string(settlement->date.month));
    form->setFieldText(VoucherField::TransYear, std::to_string(settlement->date.year));
    form->setFieldText(VoucherField::Vertext, settlement->text);
    std::int32_t row = form->pinkRows() + 1;
    for (const VatSettlementLine& line : settlement->lines) {
        const bool debit = line.debit != 0;
        if (!form->typeCell({row, kColKonto}, std::to_string(line.account)) ||
            !form->typeCell({row, kColRadtext}, settlement->text) ||
            !form->typeCell({row, debit ? kColDebet : kColKredit},
                            formatPlainOre(debit ? line.debit : line.credit))) {
            break; // the dialog has told the user; what was typed stays to be mended
        }
        ++row;
    }
    // The cursor waits on the next line's account, as after the user's own typing.
    static_cast<void>(form->typeCell({row, kColKonto}, std::string()));
    app.showForm(std::move(form));
}

} // namespace kv
