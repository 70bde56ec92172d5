// What the company keeps beside its written files, in its own database
// (Name.kvdb beside Name.bok): the records the company and period files have
// no room for. The document holds the records made since the last save; the
// save writes them together with the files, so both get through or neither.
#pragma once

#include "model/Amount.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace kv {

// One voucher of a SIE file as it was read in: how the file named it, its
// sums, and the number it got here.
struct ImportedVoucher {
    std::string series;
    std::string number;
    std::string date; // "2024-01-25"
    Ore debit = 0;
    Ore credit = 0;
    std::int32_t numberHere = 0;

    bool operator==(const ImportedVoucher&) const = default;
};

// One SIE file read into the books: "Läs in verifikat från SIE-fil" or a
// new company made from it.
struct SieImportRecord {
    std::string fileName;
    std::string sha256;      // of the file's bytes, in lower-case hex
    std::string readAt;      // local time, "2026-12-10 14:03:25"
    std::int32_t period = 0; // the period the vouchers went into
    bool newCompany = false; // the company was made from the file
    std::vector<ImportedVoucher> vouchers;

    bool operator==(const SieImportRecord&) const = default;
};

// One account's budget as the database keeps it: the amount of each month,
// in öre, as the statements show the account.
struct BudgetAccountRecord {
    std::int32_t account = 0;
    std::string name;
    bool spreadEvenly = true;
    std::vector<std::pair<std::string, Ore>> months; // "2024-01", in month order

    bool operator==(const BudgetAccountRecord&) const = default;
};

// The budget of one period. It is the user's plan, not the books: "Spara" in
// the budget window writes it at once, in a transaction of its own.
struct BudgetRecord {
    std::int32_t period = 0;
    std::string firstMonth; // "2024-01"
    std::int32_t monthCount = 0;
    std::string savedAt; // local time, "2026-12-10 14:03:25"
    std::vector<BudgetAccountRecord> accounts;

    bool operator==(const BudgetRecord&) const = default;
};

// One line of a bank statement booked as a voucher here. The bank account,
// the date, the amount and the text key together tell a line read again;
// the counterpart's words with the account and VAT rule it was booked on are
// what the import learns from for the next statement.
struct BankLineRecord {
    std::string bankAccount; // the IBAN or account number, see bankAccountKey
    std::string date;        // the bank's booking date, "2026-03-31"
    Ore amount = 0;          // positive in, negative out
    std::string textKey;     // the reference, else the counterpart and text
    std::int32_t voucher = 0;
    std::int32_t period = 0;      // the period the voucher went into
    std::string readAt;           // local time, "2026-12-10 14:03:25"
    std::int32_t bookAccount = 0; // the bank's account in the books; 0 in records from before
    std::int32_t account = 0;     // the counterpart account it was booked on; 0 in records from before
    std::int32_t vatRule = 0;     // the VAT rule it was booked with, 0 for none
    std::string words;            // the counterpart's words (bankCounterpartWords)
    std::string source;           // what proposed the account: "regel:<pattern>", "historik", "användaren"

    bool operator==(const BankLineRecord&) const = default;
};

// One receipt or invoice ("underlag") kept with a voucher: the file itself
// stands once, by its content, in the company's folder Name_underlag/ (see
// attachments/AttachmentStore.h); the record says which voucher has it.
// Records are only ever added: an amended voucher keeps what it had, and the
// times tell which came when.
struct AttachmentRecord {
    std::int32_t voucher = 0; // the voucher's number in its period
    std::int32_t period = 0;  // the period the voucher is in
    std::string fileName;     // the original file name, without its folder
    std::uint64_t size = 0;   // bytes
    std::string sha256;       // of the file's bytes, in lower-case hex
    std::string addedAt;      // local time, "2026-12-10 14:03:25"
    std::string kind;         // "pdf", "jpeg" or "png", from the file's bytes

    bool operator==(const AttachmentRecord&) const = default;
};

// The records made since the company was last saved, in the order made.
struct PendingRecords {
    std::vector<SieImportRecord> imports;
    std::vector<BankLineRecord> bankLines;
    std::vector<AttachmentRecord> attachments;

    [[nodiscard]] bool empty() const { return imports.empty() && bankLines.empty() && attachments.empty(); }
};

} // namespace kv
