#include "voucher/VoucherLayout.h"

namespace kv {

double voucherWidthFactor(double charWidth) {
    const double r = charWidth / 7.0;
    if (r > 1.1 && r < 1.2) {
        return r * 1.018;
    }
    if (r > 1.2 && r < 1.25) {
        return r * 1.027;
    }
    if (r > 1.26) {
        return r * 1.036;
    }
    return r;
}

} // namespace kv
