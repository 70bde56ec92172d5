// libFuzzer target: the bank file readers (camt.053/054 and CSV). Every
// input is read or refused with a BankFileError, and what is read stays
// within the readers' limits: amounts the books can hold, days of the
// calendar, the problems listed up to their limit.
#include "bank/BankFile.h"
#include "bank/BankImport.h"
#include "bank/BankMatching.h"
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
    kv::BankStatements statements;
    try {
        statements = kv::readBankFile(bytes, layout);
    } catch (const kv::BankFileError&) {
        return 0;
    }
    std::size_t lines = 0;
    for (const kv::BankStatement& statement : statements) {
        lines += statement.lines.size();
        if (statement.problems.size() > kv::kMaxBankProblems + 1) {
            std::abort();
        }
        for (const kv::BankLine& line : statement.lines) {
            if (line.amount > kv::kMaxBankOre || line.amount < -kv::kMaxBankOre || !valid(line.bookingDate) ||
                (line.valueDate && !valid(*line.valueDate))) {
                std::abort();
            }
            // What the matching makes of the texts never fails either.
            static_cast<void>(kv::bankLineWords(line));
            static_cast<void>(kv::bankRuleProposal(line));
        }
        if (kv::bankLinesInBookingOrder(statement.lines).size() != statement.lines.size()) {
            std::abort();
        }
    }
    if (lines > kv::kMaxBankLines) {
        std::abort();
    }
    return 0;
}
