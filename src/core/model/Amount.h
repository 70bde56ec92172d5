// Amounts are stored as doubles in kronor; every sum is computed in whole öre
// so that balanced books show exactly 0.00.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kv {

using Ore = std::int64_t;

// Largest magnitude, in kronor, that an amount in a company may have.
inline constexpr double kMaxAmount = 1e12;

// Rounds kronor to the nearest öre; a value that is not finite counts as 0 and
// values beyond the largest amount saturate.
Ore toOre(double kronor);
double toKronor(Ore ore);

// Adds without overflow (saturates), so that no file can make a sum undefined.
Ore addOre(Ore a, Ore b);

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
