// The accounts of the books as a SIE file states them: each numbered
// account with its type, its opening balance, its closing balance or its
// result for the whole open period, in öre.
#pragma once

#include "model/TallvingeDoc.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kv {

// "#KTYP": T assets, S liabilities and equity, I income, K costs.
enum class SieAccountType { Asset, Liability, Income, Cost };

char sieTypeLetter(SieAccountType type);

struct SieAccountFigures {
    const CKonto* konto = nullptr;
    SieAccountType type = SieAccountType::Asset;
    bool resultAccount = false; // the balance-sheet account that the result row names
    std::optional<Ore> opening; // a balance-sheet account with opening rows
    std::optional<Ore> closing; // a balance-sheet account with rows; the result account always
    std::optional<Ore> result;  // an income-statement account with rows
};

// Every account numbered above 0, by number. The opening balance is the
// sum of the carried rows (voucher number 0: "Ingående balans" and the
// previous period's result). The result account's own result row is derived
// from the income statement, not booked: its closing balance leaves it out,
// so that the closing balances and the results add up to 0.
std::vector<SieAccountFigures> sieAccountFigures(const CTallvingeDoc& doc);

} // namespace kv
