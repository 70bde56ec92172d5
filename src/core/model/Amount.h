// Amounts are stored as doubles in kronor; every sum is computed in whole öre
// so that balanced books show exactly 0.00.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace kv {

using Ore = std::int64_t;

// Largest magnitude, in kronor, that an amount in a company may have.
inline constexpr double kMaxAmount = 1e12;
inline constexpr Ore kMaxOre = static_cast<Ore>(kMaxAmount * 100.0);

// Rounds kronor to the nearest öre, halves away from zero; a value that is not
// finite counts as 0 and values beyond the largest amount saturate. Inline, as
// every balance takes each posted amount through it.
inline Ore toOre(double kronor) {
    if (!std::isfinite(kronor)) {
        return 0;
    }
    const double ore = kronor * 100.0;
    if (ore >= static_cast<double>(kMaxOre)) {
        return kMaxOre;
    }
    if (ore <= -static_cast<double>(kMaxOre)) {
        return -kMaxOre;
    }
    // Below 2^53 the truncation and the fraction left are exact: std::round
    // without its library call.
    Ore whole = static_cast<Ore>(ore);
    const double fraction = ore - static_cast<double>(whole);
    if (fraction >= 0.5) {
        ++whole;
    } else if (fraction <= -0.5) {
        --whole;
    }
    return whole;
}

double toKronor(Ore ore);

// Adds without overflow (saturates), so that no file can make a sum undefined.
inline Ore addOre(Ore a, Ore b) {
    Ore sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        return b > 0 ? std::numeric_limits<Ore>::max() : std::numeric_limits<Ore>::min();
    }
    return sum;
}

// An amount as the reports show it: two decimals, a point, blanks between
// thousands and millions ("1 234 567.50"; a minus sign counts as a character).
std::string FormatAmount(double kronor);
std::string formatOre(Ore ore);

// Two decimals with a point and no grouping ("1234.50").
std::string formatPlainOre(Ore ore);

// An amount as the user types it: digits with at most one decimal separator,
// a comma or a point, an optional leading minus sign, blanks around it
// ignored. Nothing when the text is not such a number or is too large.
std::optional<double> parseTypedAmount(const std::string& text);

} // namespace kv
