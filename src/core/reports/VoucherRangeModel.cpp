#include "reports/VoucherRangeModel.h"

#include "interaction/Prompter.h"
#include "reports/ReportTexts.h"

#include <optional>

namespace kv {

namespace {

// A whole number as typed, blanks around it allowed.
std::optional<std::int64_t> typedWholeNumber(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::nullopt;
    }
    const auto last = text.find_last_not_of(' ');
    std::int64_t value = 0;
    std::size_t i = first;
    const bool negative = text[i] == '-';
    if (negative || text[i] == '+') {
        ++i;
    }
    if (i > last) {
        return std::nullopt;
    }
    for (; i <= last; ++i) {
        if (text[i] < '0' || text[i] > '9' || value > 1'000'000'000'000LL) {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

} // namespace

std::string wholeNumberRangeMessage(std::int64_t low, std::int64_t high) {
    return "Ange ett heltal mellan " + std::to_string(low) + " och " + std::to_string(high) + ".";
}

std::string VoucherRangeModel::dialogTitle() const {
    return kTaFramVerifikat;
}

bool VoucherRangeModel::accept(Prompter& prompter) {
    const auto from = typedWholeNumber(m_fromText);
    if (!from || *from < 1 || *from > m_count) {
        m_fault = Field::From;
        prompter.message(wholeNumberRangeMessage(1, m_count));
        return false;
    }
    const auto to = typedWholeNumber(m_toText);
    m_fault = Field::To;
    if (!to || *to < 1 || *to > 1'000'000) {
        prompter.message(wholeNumberRangeMessage(1, 1'000'000));
        return false;
    }
    if (*to < *from || *to > m_count) {
        prompter.message(kFelaktigtVerifikatnummer);
        return false;
    }
    m_from = static_cast<std::int32_t>(*from);
    m_to = static_cast<std::int32_t>(*to);
    return true;
}

} // namespace kv
