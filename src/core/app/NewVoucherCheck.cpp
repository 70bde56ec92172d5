#include "app/NewVoucherCheck.h"

#include "app/AppTexts.h"
#include "app/Prompter.h"
#include "periods/ResultRowCheck.h"

namespace kv {

bool periodLocked(const CTallvingeDoc& doc) {
    return doc.m_nAktuellPeriod < static_cast<std::int64_t>(doc.m_perioder.size()) - 2;
}

NewVoucherOutcome checkNewVoucher(const CTallvingeDoc& doc, Prompter& prompter) {
    if (!checkResultRow(doc, prompter)) {
        return NewVoucherOutcome::Stopped;
    }
    if (periodLocked(doc)) {
        prompter.message(kMsgPeriodenLast);
        return NewVoucherOutcome::Stopped;
    }
    if (!doc.hasOpenPeriod()) {
        prompter.message(kMsgIngenPeriod);
        return NewVoucherOutcome::Stopped;
    }
    if (doc.m_bVerifikatOppen != 0) {
        return NewVoucherOutcome::AlreadyOpen;
    }
    bool told = false;
    const auto tell = [&](const char* text) {
        prompter.message(text);
        told = true;
    };
    if (!doc.incomeChartApproved()) {
        tell(kMsgResultatEjGodkand);
    }
    if (!doc.balanceChartApproved()) {
        tell(kMsgBalansEjGodkand);
    }
    if (doc.m_momsregler.empty()) {
        tell(kMsgMomsEjGodkand);
    }
    return told ? NewVoucherOutcome::Stopped : NewVoucherOutcome::Ready;
}

} // namespace kv
