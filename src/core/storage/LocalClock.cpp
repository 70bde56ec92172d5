#include "storage/LocalClock.h"

#include <chrono>
#include <ctime>

namespace kv {

LocalTime localTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    ::localtime_r(&now, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

long dayNumber(const LocalTime& time) {
    const std::chrono::year_month_day date{std::chrono::year(time.year),
                                           std::chrono::month(static_cast<unsigned>(time.month)),
                                           std::chrono::day(static_cast<unsigned>(time.day))};
    return static_cast<long>(std::chrono::sys_days(date).time_since_epoch().count());
}

} // namespace kv
