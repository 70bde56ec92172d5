#include "periods/FirstPeriod.h"

namespace kv {

bool runFirstPeriodPrompt(CTallvingeDoc& doc, Prompter& prompter, std::int32_t suggestedYear) {
    if (doc.state().m_bNyttForetag != 1) {
        return false;
    }
    doc.firstPeriodAsked();
    if (!doc.state().m_perioder.empty()) {
        return false; // a file that says "new" but has periods: a second first period would break the chain
    }
    prompter.say(MessageKind::Information, kMsgBestamForstaPerioden);
    PeriodDialogModel dialog(doc, PeriodDialogMode::FirstPeriod, suggestedYear);
    if (prompter.show(dialog) != Answer::Ok || !dialog.accepted()) {
        return false;
    }
    doc.addFirstPeriod(dialog.choice());
    return true;
}

} // namespace kv
