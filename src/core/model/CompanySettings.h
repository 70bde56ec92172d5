// The user's own settings that the company keeps in its database beside the
// books (storage/CompanyDatabase): how bank lines are matched to accounts and
// what each bank account is booked on. They are not the books: changing them
// is written at once and is no change of the company.
#pragma once

#include "model/Amount.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kv {

enum class BankTextMatch { Contains, Equals };
enum class BankAmountSign { Any, In, Out };

// One matching rule: a bank line whose counterpart and text (normalised)
// contain or equal the pattern, with the sign and size asked, is booked on
// account, split by the company's VAT rule number vatRule when it is not 0.
struct BankRule {
    std::string pattern; // as the user wrote it; matched normalised
    BankTextMatch match = BankTextMatch::Contains;
    BankAmountSign sign = BankAmountSign::Any;
    // The line's amount without its sign must lie within these, when given.
    std::optional<Ore> minAmount;
    std::optional<Ore> maxAmount;
    std::int32_t account = 0;
    std::int32_t vatRule = 0; // 1-based position among the company's VAT rules; 0 for none

    bool operator==(const BankRule&) const = default;
};

// What a bank account is booked on, and the column layout of its CSV files
// ("datum=1,text=3,belopp=5,referens=4"), empty until one has been given.
struct BankAccountSetting {
    std::string bankAccount; // see bankAccountKey
    std::int32_t bookAccount = 0;
    std::string csvColumns;

    bool operator==(const BankAccountSetting&) const = default;
};

} // namespace kv
