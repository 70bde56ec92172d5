// The dates and amounts of SIE files.
#include "sie/SieBooks.h"

#include <cstdio>

namespace kv {

namespace {

bool allDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

std::int32_t digitsValue(std::string_view text) {
    std::int32_t value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::int32_t daysInMonth(std::int32_t year, std::int32_t month) {
    constexpr std::int32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::optional<SieDate> parseSieDate(std::string_view text) {
    if (text.size() != 8 || !allDigits(text)) {
        return std::nullopt;
    }
    const SieDate date{digitsValue(text.substr(0, 4)), digitsValue(text.substr(4, 2)),
                       digitsValue(text.substr(6, 2))};
    if (date.day < 1 || date.day > daysInMonth(date.year, date.month)) {
        return std::nullopt;
    }
    return date;
}

std::string formatSieDate(const SieDate& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", date.year, date.month, date.day);
    return buffer;
}

std::string displaySieDate(const SieDate& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
    return buffer;
}

std::optional<Ore> parseSieAmount(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) {
        text.remove_prefix(1);
    }
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    std::string_view decimals = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (!allDigits(whole) || (point != std::string_view::npos && !allDigits(decimals))) {
        return std::nullopt;
    }
    // Öre are the last decimals a file may give; zeros after them say nothing more.
    while (decimals.size() > 2 && decimals.back() == '0') {
        decimals.remove_suffix(1);
    }
    if (decimals.size() > 2) {
        return std::nullopt;
    }
    Ore ore = 0;
    for (const char c : whole) {
        ore = ore * 10 + (c - '0');
        if (ore > kMaxOre / 100) {
            return std::nullopt;
        }
    }
    ore *= 100;
    if (!decimals.empty()) {
        ore += (decimals[0] - '0') * 10;
    }
    if (decimals.size() == 2) {
        ore += decimals[1] - '0';
    }
    return negative ? -ore : ore;
}

SieReadError::SieReadError(std::size_t line, const std::string& message)
    : std::runtime_error(line > 0 ? "Rad " + std::to_string(line) + ": " + message : message), m_line(line) {}

} // namespace kv
