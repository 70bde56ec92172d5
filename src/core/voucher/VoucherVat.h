// The automatic VAT rules at work in the voucher grid: the VAT column, which
// shows the rate of the rule that matches a line's account, and the VAT line,
// which splits a line's gross amount into its net amount and a new line with
// the VAT on the rule's VAT account.
#pragma once

#include "grid/Grid.h"
#include "model/Amount.h"
#include "model/TallvingeDoc.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kv {

// A gross amount split by a VAT rate: the VAT as written to the öre, and
// the net, so that the two add up to the gross amount to the öre.
struct VatSplit {
    Ore net = 0;
    Ore vat = 0;
};
VatSplit splitVat(double gross, double rate);

// The rate of the last rule that names the account on either side, or nothing.
std::optional<double> vatRateOf(const CTallvingeDoc& doc, std::int32_t account);

// Writes the VAT column of the rows from firstRow down: the matching rule's
// rate for a row with an account, empty when no rule matches. Rows without an
// account keep what they hold.
void refreshVatColumn(Grid& grid, const CTallvingeDoc& doc, std::int32_t firstRow);

// Why row cannot get a VAT line, or nothing when it can.
std::optional<std::string> vatLineRefusal(const Grid& grid, std::int32_t row, std::int32_t pinkRows);

// Splits the amount of row into net and VAT, the VAT on a line of its own
// right below (the lines below move down one when that row is taken).
// Returns the refusal when it could not; the grid is then unchanged.
std::optional<std::string> makeVatLine(Grid& grid, const CTallvingeDoc& doc, std::int32_t row,
                                       std::int32_t pinkRows);

} // namespace kv
