// libFuzzer target: the bank file readers (camt.053/054 and CSV). Every
// input is read or refused with a BankFileError, and what is read stays
// within the readers' limits: amounts the books can hold, days of the
// calendar, the problems listed up to their limit.
#include "bank/BankFile.h"
#include "bank/BankValues.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace {

bool valid(const kv::BankDate& date) {
    return kv::parseBankDate(date.text()) == date;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Half the inputs are read with a layout the user gave, the rest with the one found.
    std::optional<kv::CsvLayout> layout;
    if (size > 0 && (data[size - 1] & 1u) != 0) {
        layout = kv::parseCsvColumns("datum=1,text=2,belopp=3,saldo=4").layout;
    }
    kv::BankStatement statement;
    try {
        statement = kv::readBankFile(bytes, layout);
    } catch (const kv::BankFileError&) {
        return 0;
    }
    if (statement.lines.size() > kv::kMaxBankLines || statement.problems.size() > kv::kMaxBankProblems + 1) {
        std::abort();
    }
    for (const kv::BankLine& line : statement.lines) {
        if (line.amount > kv::kMaxBankOre || line.amount < -kv::kMaxBankOre || !valid(line.bookingDate) ||
            (line.valueDate && !valid(*line.valueDate))) {
            std::abort();
        }
    }
    return 0;
}
