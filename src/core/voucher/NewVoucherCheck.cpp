#include "voucher/NewVoucherCheck.h"

#include "chart/ResultRowCheck.h"
#include "interaction/Prompter.h"
#include "model/DocumentTexts.h"
#include "voucher/VoucherTexts.h"

namespace kv {

NewVoucherOutcome checkNewVoucher(const CTallvingeDoc& doc, Prompter& prompter, bool voucherFormOpen) {
    if (!checkResultRow(doc, prompter)) {
        return NewVoucherOutcome::Stopped;
    }
    if (doc.periodLocked()) {
        prompter.message(kMsgPeriodenLast);
        return NewVoucherOutcome::Stopped;
    }
    if (!doc.hasOpenPeriod()) {
        prompter.message(kMsgIngenPeriod);
        return NewVoucherOutcome::Stopped;
    }
    if (voucherFormOpen) {
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
    if (doc.state().m_momsregler.empty()) {
        tell(kMsgMomsEjGodkand);
    }
    return told ? NewVoucherOutcome::Stopped : NewVoucherOutcome::Ready;
}

} // namespace kv
