#include "periods/FirstPeriod.h"

namespace kv {

void addFirstPeriod(CTallvingeDoc& doc, const PeriodChoice& choice) {
    CPeriod period;
    period.m_nFranManad = choice.franManad;
    period.m_nFranAr = choice.franAr;
    period.m_nTillManad = choice.tillManad;
    period.m_nTillAr = choice.tillAr;
    period.m_nVinstradNy = 1;
    doc.m_nFranManad = choice.franManad;
    doc.m_nFranAr = choice.franAr;
    doc.m_nTillManad = choice.tillManad;
    doc.m_nTillAr = choice.tillAr;
    doc.m_perioder.push_back(std::move(period));
    doc.m_nAktuellPeriod = static_cast<std::int32_t>(doc.m_perioder.size()) - 1;
}

bool runFirstPeriodPrompt(CTallvingeDoc& doc, Prompter& prompter, std::int32_t suggestedYear) {
    if (doc.m_bNyttForetag != 1) {
        return false;
    }
    // Cleared before asking: a view that refreshes while the dialog is open must not ask again.
    doc.m_bNyttForetag = 0;
    if (!doc.m_perioder.empty()) {
        return false; // a file that says "new" but has periods: a second first period would break the chain
    }
    prompter.message(kMsgBestamForstaPerioden);
    PeriodDialogModel dialog(doc, PeriodDialogMode::FirstPeriod, suggestedYear);
    const bool created = prompter.runPeriodDialog(dialog) == Answer::Ok && dialog.accepted();
    if (created) {
        addFirstPeriod(doc, dialog.choice());
    }
    doc.changed();
    return created;
}

} // namespace kv
