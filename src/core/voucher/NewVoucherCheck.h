// The checks of "Nytt verifikat" before the voucher dialog may open.
#pragma once

#include "model/TallvingeDoc.h"

namespace kv {

class Prompter;

enum class NewVoucherOutcome {
    Stopped,     // a check failed and the user was told why
    AlreadyOpen, // the voucher dialog is open: nothing happens
    Ready,       // the voucher dialog may open
};

// In this order: the result row, the period lock (only the last two periods
// take vouchers), an open period at all, an open voucher dialog
// (voucherFormOpen: the application shows one), and the approval of both
// charts and the VAT rules (every failing one is told).
NewVoucherOutcome checkNewVoucher(const CTallvingeDoc& doc, Prompter& prompter, bool voucherFormOpen);

} // namespace kv
