#include "voucher/VoucherLookupModel.h"

#include "interaction/Prompter.h"
#include "voucher/VoucherNumbers.h"
#include "voucher/VoucherTexts.h"

namespace kv {

std::string lookupRangeMessage(std::size_t count) {
    return "Ange ett heltal mellan 1 och " + std::to_string(count) + ".";
}

std::string VoucherLookupModel::dialogTitle() const {
    return kLookupTitle;
}

bool VoucherLookupModel::accept(Prompter& prompter) {
    std::string trimmed = m_text;
    trimmed.erase(0, trimmed.find_first_not_of(' '));
    trimmed.erase(trimmed.find_last_not_of(' ') + 1);
    // Ten digits are more than a period's vouchers ever number.
    const bool number = isWholeNumberText(trimmed) && trimmed.size() <= 10;
    const unsigned long long value = number ? std::stoull(trimmed) : 0;
    if (value < 1 || value > m_count) {
        prompter.message(lookupRangeMessage(m_count));
        return false;
    }
    m_chosen = static_cast<std::size_t>(value - 1);
    return true;
}

} // namespace kv
