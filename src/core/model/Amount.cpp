#include "model/Amount.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace kv {

double toKronor(Ore ore) {
    return static_cast<double>(ore) / 100.0;
}

std::string formatPlainOre(Ore ore) {
    // Integer arithmetic: no "-0.00" and no binary rounding surprises.
    const bool negative = ore < 0;
    const std::uint64_t magnitude =
        negative ? static_cast<std::uint64_t>(-(ore + 1)) + 1 : static_cast<std::uint64_t>(ore);
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%s%llu.%02llu", negative ? "-" : "",
                  static_cast<unsigned long long>(magnitude / 100),
                  static_cast<unsigned long long>(magnitude % 100));
    return buffer;
}

std::string formatOre(Ore ore) {
    std::string text = formatPlainOre(ore);
    if (text.size() > 6) {
        text.insert(text.size() - 6, " ");
    }
    if (text.size() > 10) {
        text.insert(text.size() - 10, " ");
    }
    return text;
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
