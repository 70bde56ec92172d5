// A bank's statement as the bank files give it: the account, the balances
// and one line per transaction, whatever file it came from (an ISO 20022
// camt.053 statement, a camt.054 notification or an internet bank's CSV
// export). Amounts are whole öre, read from the file's digits without
// binary floating point on the way.
#pragma once

#include "model/Amount.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// A calendar date of the bank file.
struct BankDate {
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;

    auto operator<=>(const BankDate&) const = default;
    // "2026-03-31"
    [[nodiscard]] std::string text() const;
};

// One transaction of the statement. Texts are UTF-8, trimmed.
struct BankLine {
    std::size_t lineNumber = 0; // where the file has it: the CSV row, the camt entry's line
    BankDate bookingDate;
    std::optional<BankDate> valueDate;
    Ore amount = 0;             // positive in (credit to the account), negative out
    std::string counterpart;    // the payer or payee as the bank names it
    std::string reference;      // OCR or the structured reference, else the message
    std::string text;           // the free text the bank gives beside them
    std::optional<Ore> balance; // the account's balance after the line, when the file says

    bool operator==(const BankLine&) const = default;
};

// A line of the file that could not be read, and why (Swedish, for the
// user, without the line's number: bankProblemText puts it first).
struct BankLineProblem {
    std::size_t lineNumber = 0; // 0: the file as a whole ("ytterligare 12 rader ...")
    std::string reason;

    bool operator==(const BankLineProblem&) const = default;
};

// "rad 4: datumet saknas", or the reason alone for the file as a whole.
std::string bankProblemText(const BankLineProblem& problem);

enum class BankFileKind { Camt053, Camt054, Csv };

struct BankStatement {
    BankFileKind kind = BankFileKind::Csv;
    std::string account;  // the IBAN, or the bank's account number; empty when the file does not say
    std::string currency; // "SEK", "EUR"; empty when the file does not say
    std::optional<BankDate> openingDate;
    std::optional<Ore> openingBalance; // the balance before the first line
    std::optional<BankDate> closingDate;
    std::optional<Ore> closingBalance;
    std::vector<BankLine> lines; // in the file's order
    std::vector<BankLineProblem> problems;
    // The rows before the first line that were taken for the file's heading
    // (a CSV file's column names and the lines above them), by number: no
    // row of the file goes unsaid.
    std::vector<std::size_t> headingRows;
};

// A bank's file: one statement per account it holds, in the order the file
// first names them (a camt file may hold several accounts, or several days
// of one account, which are one statement).
using BankStatements = std::vector<BankStatement>;

} // namespace kv
