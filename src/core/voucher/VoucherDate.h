// The dates of the voucher dialog: the calendar rules and the checks of the
// transaction and booking date fields.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kv {

struct CalendarDate {
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;

    bool operator==(const CalendarDate&) const = default;
};

// The local date of the machine.
CalendarDate todaysDate();

// Days of a month: February has 29 whenever the year is divisible by 4.
std::int32_t monthLength(std::int32_t month, std::int32_t year);

// The six date fields of the dialog, in the order they are checked.
enum class DateField { TransDay, TransMonth, TransYear, BokfDay, BokfMonth, BokfYear };

struct DateTexts {
    std::string day;
    std::string month;
    std::string year;
};

struct DateFailure {
    DateField field;
    const char* message;
};

// The first date rule that the fields break, or nothing: the day against the
// month and year as typed, then the month (1 to 12), then the year (2001 to
// 2098); the transaction date first, then the booking date.
std::optional<DateFailure> checkDates(const DateTexts& transaction, const DateTexts& booking);

// A field's whole number; 0 when it holds anything but digits.
std::int32_t dateFieldValue(const std::string& text);

} // namespace kv
