// The rules of the voucher grid: the check of a typed cell, the warnings of
// an unusual posting, the check of a row the cursor leaves and the final
// check of all lines before registration.
#pragma once

#include "grid/Grid.h"
#include "model/TallvingeDoc.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// A row of the voucher grid that the final check refused.
struct FinalCheckFailure {
    std::string message;
    std::int32_t row = 0;
    bool vatCellEmptied = false; // a row holding nothing but a VAT rate: the rate goes
};

// A typed cell refused: the message, and the number of the check (1 to 16)
// that refused it.
struct CellFailure {
    std::string message;
    int check = 0;
};

// Where the cursor may not go, and what to tell the user.
struct MoveRefusal {
    std::vector<std::string> messages;
    std::optional<CellPos> placeAt; // where the cursor goes instead
};

class VoucherRules {
public:
    explicit VoucherRules(const CTallvingeDoc& doc) : m_doc(doc) {}

    // The first check that the text being entered in (row, col) fails, or
    // nothing. grid.text() of that cell is the text being entered.
    [[nodiscard]] std::optional<CellFailure> cellFailure(const Grid& grid, std::int32_t row,
                                                         std::int32_t col) const;
    // "Ovanlig kreditkontering" and "Ovanlig debetkontering", once for each
    // VAT rule whose account the row posts on the unusual side.
    [[nodiscard]] std::vector<std::string> unusualPostings(const Grid& grid, std::int32_t row) const;

    // The cursor is about to move to row `to`; `changedRow` is the row last
    // changed (0 for none). Sets gap when an empty account cell lies above a
    // row with an account.
    [[nodiscard]] std::optional<MoveRefusal> moveFailure(const Grid& grid, std::int32_t to,
                                                         std::int32_t changedRow, bool& gap) const;

    // Every line, in order; the first failure.
    [[nodiscard]] std::optional<FinalCheckFailure> finalCheck(const Grid& grid, bool gap) const;

    // The account that the income chart's result row names, and 2090: no voucher line may use them.
    [[nodiscard]] bool isProfitAccount(std::int32_t number) const;
    // In the second-to-last period a balance-sheet account must also be in the last period.
    [[nodiscard]] bool failsLastPeriodRule(std::int32_t number) const;
    // The last period as "1 . 2013   -   12 . 2013".
    [[nodiscard]] std::string lastPeriodText() const;

private:
    [[nodiscard]] std::optional<std::string> rowLeftProblem(const Grid& grid, std::int32_t row) const;
    [[nodiscard]] std::optional<std::string> accountRowProblem(const Grid& grid, std::int32_t row,
                                                               bool gap) const;
    [[nodiscard]] bool namesAccount(const std::string& text) const;

    const CTallvingeDoc& m_doc;
};

// The voucher line's account number as the cell holds it.
std::int32_t accountOf(const std::string& cellText);

} // namespace kv
