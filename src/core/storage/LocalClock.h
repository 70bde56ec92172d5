// The date and time of the user's own clock, as the names of the backups
// carry them; a clock is passed in, so that tests fix the moment.
#pragma once

#include <functional>
#include <tuple>

namespace kv {

struct LocalTime {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool operator==(const LocalTime&) const = default;
    friend bool operator<(const LocalTime& a, const LocalTime& b) {
        return std::tie(a.year, a.month, a.day, a.hour, a.minute, a.second) <
               std::tie(b.year, b.month, b.day, b.hour, b.minute, b.second);
    }
};

using LocalClock = std::function<LocalTime()>;

// Now, in the local time zone of the computer.
LocalTime localTimeNow();

// Days since 1970-01-01 of the time's calendar date, so that dates can be subtracted.
long dayNumber(const LocalTime& time);

} // namespace kv
