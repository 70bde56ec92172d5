// How the voucher dialog reads and writes the numbers of its cells.
#pragma once

#include <cstdint>
#include <string>

namespace kv {

// The largest amount a voucher line takes, in kronor.
inline constexpr double kLargestLineAmount = 999999999.0;

// The text with every comma turned into a point, as a typed amount is stored.
std::string withDecimalPoint(std::string text);

// A number as the cell checks accept it: empty, or digits with at most one
// decimal point (a comma counts as a point); "." alone is not one.
bool isNumberText(const std::string& text);

// The value of a cell, with a comma read as a point; 0 when the text is not a number.
double numberValue(const std::string& text);

// Every character a decimal digit, and at least one.
bool isWholeNumberText(const std::string& text);

// Two decimals with a point, as the dialog writes amounts and rates ("%0.2f").
std::string twoDecimals(double value);

} // namespace kv
