// Helpers of the voucher tests: a small company with VAT rules, and a voucher
// dialog over it that the tests type into as a user would.
#pragma once

#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include "voucher/VoucherFormModel.h"
#include "voucher/VoucherLayout.h"

#include <memory>
#include <string>

namespace kv::test {

// The machine's date in the voucher tests: the booking date and the prefix of amended lines.
inline constexpr CalendarDate kToday{5, 3, 2013};

// The small company (period 2012) with two VAT rules: sales on 3000 at
// 25 % to 2440, purchases on 4000 at 12 % to 1910.
void buildVoucherCompany(CTallvingeDoc& doc);

// A voucher line as typed: account, line text, and the debit or the credit.
struct TypedLine {
    std::string account = {};
    std::string text = {};
    std::string debit = {};
    std::string credit = {};
};

// Types the line into row, cell by cell; false when a check refused a cell.
bool typeLine(VoucherFormModel& form, std::int32_t row, const TypedLine& line);
// Day, month and year into the transaction date, and the voucher text.
void typeHead(VoucherFormModel& form, const std::string& day, const std::string& month,
              const std::string& year, const std::string& text);

// A company, a user and an open voucher dialog.
struct VoucherDesk {
    ScriptedPrompter prompter;
    CTallvingeDoc doc;
    std::unique_ptr<VoucherFormModel> form;
    // The dialog finished (its OK or Cancel went through): the application would drop it.
    bool finished = false;

    VoucherDesk() { buildVoucherCompany(doc); }
    // A new voucher, or the registered voucher at position index.
    VoucherFormModel& open(std::optional<std::size_t> registered = std::nullopt);
    Grid& grid() { return form->grid(); }
    // Registers a balanced voucher of two lines through the dialog: 5 March 2012, rent 1000.
    std::int32_t registerRent();
};

} // namespace kv::test
