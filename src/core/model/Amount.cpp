#include "model/Amount.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace kv {

double toKronor(Ore ore) {
    return static_cast<double>(ore) / 100.0;
}

namespace {

// The digits of an amount in öre, "-1234.50", written from the end: the
// reports format hundreds of thousands of amounts, so no printf here.
// Returns where the text starts in buffer (which ends at end).
char* plainDigits(Ore ore, char* end) {
    // Integer arithmetic: no "-0.00" and no binary rounding surprises.
    const bool negative = ore < 0;
    std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(-(ore + 1)) + 1 : static_cast<std::uint64_t>(ore);
    char* p = end;
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
    *--p = '.';
    do {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) {
        *--p = '-';
    }
    return p;
}

} // namespace

std::string formatPlainOre(Ore ore) {
    char buffer[32];
    char* const end = buffer + sizeof buffer;
    char* start = plainDigits(ore, end);
    return std::string(start, end);
}

std::string formatOre(Ore ore) {
    char buffer[40];
    char* const end = buffer + sizeof buffer;
    char* start = plainDigits(ore, end);
    // A blank 6 characters before the end when longer than 6, then another
    // 10 characters before the end when it is then longer than 10.
    for (const std::ptrdiff_t at : {6, 10}) {
        if (end - start > at) {
            std::copy(start, end - at, start - 1);
            --start;
            *(end - at - 1) = ' ';
        }
    }
    return std::string(start, end);
}

std::string FormatAmount(double kronor) {
    return formatOre(toOre(kronor));
}

std::optional<double> parseTypedAmount(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return std::nullopt;
    }
    const std::string trimmed = text.substr(first, text.find_last_not_of(' ') - first + 1);
    std::string number;
    bool separator = false;
    bool digit = false;
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        const char c = trimmed[i];
        if (c == '-' && i == 0) {
            number += c;
        } else if (c >= '0' && c <= '9') {
            number += c;
            digit = true;
        } else if ((c == ',' || c == '.') && !separator) {
            number += '.';
            separator = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digit) {
        return std::nullopt;
    }
    const double value = std::strtod(number.c_str(), nullptr);
    if (!std::isfinite(value) || std::fabs(value) > kMaxAmount) {
        return std::nullopt;
    }
    return value;
}

} // namespace kv
