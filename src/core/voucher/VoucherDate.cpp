#include "voucher/VoucherDate.h"

#include "voucher/VoucherNumbers.h"
#include "voucher/VoucherTexts.h"

#include <ctime>

namespace kv {

CalendarDate todaysDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (::localtime_r(&now, &local) == nullptr) {
        return {1, 1, 2001};
    }
    return {local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
}

std::int32_t monthLength(std::int32_t month, std::int32_t year) {
    switch (month) {
    case 4:
    case 6:
    case 9:
    case 11:
        return 30;
    case 2:
        return year % 4 == 0 ? 29 : 28;
    default:
        return 31;
    }
}

std::int32_t dateFieldValue(const std::string& text) {
    // Five digits are more than any date field holds, and keep the value in range.
    if (!isWholeNumberText(text) || text.size() > 5) {
        return 0;
    }
    return static_cast<std::int32_t>(std::stol(text));
}

namespace {

std::optional<DateFailure> checkDate(const DateTexts& texts, DateField dayField, const char* dayMessage,
                                     const char* monthMessage, const char* yearMessage) {
    const std::int32_t day = dateFieldValue(texts.day);
    const std::int32_t month = dateFieldValue(texts.month);
    const std::int32_t year = dateFieldValue(texts.year);
    if (day < 1 || day > monthLength(month, year)) {
        return DateFailure{dayField, dayMessage};
    }
    if (month < 1 || month > 12) {
        return DateFailure{static_cast<DateField>(static_cast<int>(dayField) + 1), monthMessage};
    }
    if (year < 2001 || year > 2098) {
        return DateFailure{static_cast<DateField>(static_cast<int>(dayField) + 2), yearMessage};
    }
    return std::nullopt;
}

} // namespace

std::optional<DateFailure> checkDates(const DateTexts& transaction, const DateTexts& booking) {
    if (auto failure = checkDate(transaction, DateField::TransDay, kMsgFelaktigTransdag,
                                 kMsgFelaktigTransmanad, kMsgFelaktigtTransar)) {
        return failure;
    }
    return checkDate(booking, DateField::BokfDay, kMsgFelaktigBokfdag, kMsgFelaktigBokfmanad,
                     kMsgFelaktigtBokfar);
}

} // namespace kv
