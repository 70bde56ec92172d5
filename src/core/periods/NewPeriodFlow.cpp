#include "periods/NewPeriodFlow.h"

#include "interaction/Prompter.h"
#include "model/DocumentTexts.h"
#include "model/ResultRow.h"
#include "model/TallvingeDoc.h"
#include "periods/PeriodDialogModel.h"
#include "periods/PeriodSaving.h"
#include "periods/PeriodTexts.h"

#include <optional>
#include <string>

namespace kv {

namespace {

// The message that stops a new period before anything is asked, or nothing.
std::optional<std::string> newPeriodProblem(const CTallvingeDoc& doc) {
    if (!doc.hasOpenPeriod()) {
        return kMsgIngenPeriod;
    }
    if (!lastPeriodIsOpen(doc)) {
        const CPeriod& last = doc.state().m_perioder.back();
        return lastPeriodMustBeOpenMessage(last.m_nTillManad, last.m_nTillAr);
    }
    if (auto problem = resultRowProblem(doc)) {
        return problem;
    }
    // Without an account for it, the result carried from this period would
    // land on a heading of the balance sheet.
    const std::int32_t carried = doc.carriedProfitAccount();
    if (carried <= 0 || !doc.inBalNummer(carried)) {
        return kMsgVinstkontoSaknas;
    }
    return std::nullopt;
}

} // namespace

bool createNewPeriod(AppServices& app) {
    CTallvingeDoc& doc = app.document();
    Prompter& prompter = app.prompter();
    if (const auto problem = newPeriodProblem(doc)) {
        prompter.message(*problem);
        return false;
    }
    if (prompter.askOkCancel(kMsgFilenSparas) != Answer::Ok) {
        return false;
    }
    if (doc.neverSaved()) {
        prompter.message(kMsgSparaForNyPeriod);
        return false;
    }
    if (app.isFormOpen(FormKind::Voucher)) {
        prompter.message(kMsgVerifikatdialogenNyPeriod);
        return false;
    }
    app.reopenWindow(WindowKind::TrialBalance);
    PeriodDialogModel dialog(doc, PeriodDialogMode::NewPeriod);
    if (prompter.show(dialog) != Answer::Ok || !dialog.accepted()) {
        return false;
    }
    // The period being left is kept whole in its file before it is closed.
    if (!saveOpenPeriodAndCompany(doc, prompter)) {
        return false;
    }
    try {
        doc.newPeriod(dialog.choice());
    } catch (const DocumentRefusal& refusal) {
        prompter.message(refusal.what());
        return false;
    }
    return true;
}

} // namespace kv
