#include "periods/EndDateFlow.h"

#include "chart/ResultRowCheck.h"
#include "interaction/Prompter.h"
#include "model/DocumentTexts.h"
#include "model/TallvingeDoc.h"
#include "periods/OpenPeriodFlow.h"
#include "periods/PeriodDialogModel.h"
#include "periods/PeriodSaving.h"
#include "periods/PeriodTexts.h"

namespace kv {

namespace {

// The new end date, saved as one change: the document keeps it only when
// both files got through.
bool saveNewEnd(CTallvingeDoc& doc, Prompter& prompter, const PeriodChoice& choice) {
    try {
        auto change = doc.beginChange();
        doc.changeEndDate(choice.tillManad, choice.tillAr);
        if (!saveOpenPeriodAndCompany(doc, prompter)) {
            // The period file may hold the new date already: the next save
            // must write both files again.
            doc.markUnsaved();
            return false;
        }
        change.commit();
        doc.savedInFull();
        return true;
    } catch (const DocumentRefusal& refusal) {
        prompter.message(refusal.what());
        return false;
    }
}

} // namespace

bool changeLastPeriodEnd(AppServices& app) {
    CTallvingeDoc& doc = app.document();
    Prompter& prompter = app.prompter();
    if (!checkResultRow(doc, prompter)) {
        return false;
    }
    if (!doc.hasOpenPeriod()) {
        prompter.message(kMsgIngenPeriod);
        return false;
    }
    const CPeriod& last = doc.state().m_perioder.back();
    const std::int32_t tillManad = last.m_nTillManad;
    const std::int32_t tillAr = last.m_nTillAr;
    prompter.message(onlyLastEndDateMessage(tillManad, tillAr));
    if (!lastPeriodIsOpen(doc)) {
        prompter.message(openLastPeriodFirstMessage(tillManad, tillAr));
        openAnotherPeriod(app);
        if (!lastPeriodIsOpen(doc)) {
            return false;
        }
    }
    if (doc.neverSaved()) {
        prompter.message(kMsgSparaForSlutdatum);
        return false;
    }
    if (app.isFormOpen(FormKind::Voucher)) {
        prompter.message(kMsgVerifikatdialogenSlutdatum);
        return false;
    }
    if (prompter.askOkCancel(kMsgSparasMedNyttDatum) != Answer::Ok) {
        return false;
    }
    PeriodDialogModel dialog(doc, PeriodDialogMode::EndDate);
    if (prompter.show(dialog) != Answer::Ok || !dialog.accepted()) {
        return false;
    }
    return saveNewEnd(doc, prompter, dialog.choice());
}

} // namespace kv
