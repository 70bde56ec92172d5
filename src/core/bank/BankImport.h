// A bank statement read in: each line becomes a proposed voucher with two
// sides (the bank's book account and the counterpart account), or stays
// unmatched, or is found booked already from an earlier reading. The
// accepted proposals are then booked as one change of the books, with the
// lines recorded for the company's database in the same change.
#pragma once

#include "bank/BankMatching.h"
#include "bank/BankStatement.h"
#include "model/CompanyRecords.h"
#include "model/CompanySettings.h"
#include "model/TallvingeDoc.h"
#include "storage/LocalClock.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

// The voucher dialog's text field takes this many characters.
inline constexpr std::size_t kVoucherTextLimit = 200;

enum class ProposalStatus {
    Proposed,       // ready to be booked
    Unmatched,      // no rule and no earlier voucher names an account
    AlreadyBooked,  // read and booked before
    PossiblyBooked, // a voucher typed by hand seems to be it: left out unless the user takes it
    Booked,         // booked by this import
    Failed,         // could not be booked: see reason
};

struct BankProposal {
    BankLine line;
    std::string text;         // the voucher text: counterpart and reference
    std::int32_t account = 0; // the counterpart account, 0 when none
    std::int32_t vatRule = 0; // 1-based among the company's VAT rules, 0 for none
    MatchSource source = MatchSource::None;
    std::size_t ruleNumber = 0;      // the rule that matched, 1-based
    std::int32_t earlierVoucher = 0; // the voucher that history matched, or the latest of what was learnt
    std::string earlierDate;         // its date
    std::size_t agreeing = 0;        // learnt: the earlier lines booked so, of
    std::size_t earlierLines = 0;    // the earlier lines of the counterpart
    ProposalStatus status = ProposalStatus::Unmatched;
    bool accepted = false;    // to be booked
    std::int32_t voucher = 0; // the voucher it became (booked now or before)
    std::string reason;       // why it failed, or where it was booked before
};

// A balance column that does not follow its lines: the first row where the
// balance is not the one before it and the row's amount.
struct BalanceBreak {
    std::size_t lineNumber = 0;
    Ore stated = 0;
    Ore byLines = 0;
};

// The statement's opening balance beside the book account's balance in the
// books at the end of the day before the first line; and whether the
// statement agrees with itself: its closing balance with its opening balance
// and its lines, and a CSV file's balance column row by row.
struct BalanceComparison {
    std::optional<Ore> statement; // nothing when the file gives no balance
    Ore books = 0;
    BankDate dayBefore;
    [[nodiscard]] std::optional<Ore> difference() const;

    std::optional<Ore> closingStated;  // the closing balance the file gives
    std::optional<Ore> closingByLines; // the opening balance and every line read
    std::optional<BalanceBreak> columnBreak;
    // False when the file's balances and its lines disagree.
    [[nodiscard]] bool statementAgrees() const;
};

struct BankImportOptions {
    std::int32_t bookAccount = 0; // the bank account in the books, e.g. 1930
    // Unmatched lines are booked on this account when given, else left out.
    std::optional<std::int32_t> unmatchedAccount;
    // The voucher dialog is open: it shows the next number, so nothing is booked.
    bool voucherFormOpen = false;
};

struct BankImportPlan {
    std::string bankAccount; // bankAccountKey of the statement
    BankImportOptions options;
    std::vector<BankRule> rules; // as the proposals name them
    // One per line, in the order they are booked: by booking date, the
    // file's order within a day (turned round for a file that runs from the
    // newest line to the oldest).
    std::vector<BankProposal> proposals;
    BalanceComparison balance;
    std::vector<std::string> refusals; // why nothing can be booked at all
};

// The key under which a statement's account is kept: its IBAN or account
// number without blanks and in capitals, or for a file that names none
// "konto " and the book account.
std::string bankAccountKey(const BankStatement& statement, std::int32_t bookAccount);

// What identifies a line read again: its reference, else its counterpart and text.
std::string bankLineTextKey(const BankLine& line);

// The voucher text of a line: counterpart (the free text when the file names
// none) and reference, storable in the company files and cut to the text limit.
std::string bankVoucherText(const BankLine& line);

// The lines of a statement in the order they are booked (see BankImportPlan).
std::vector<BankLine> bankLinesInBookingOrder(const std::vector<BankLine>& lines);

// The proposals for statement. imported holds the lines booked before (the
// database's and the document's pending ones): a line among them, counted
// as often as it occurs, is already booked; a line of the same day and
// amount booked from another file of the same account in the books (the
// statement read as CSV once and as camt now) too. A voucher typed by hand
// on the book account with the amount, a few days from the line's date and
// booked from no bank line, makes the line PossiblyBooked. What the earlier
// lines were booked on is learnt from imported. The company is not changed.
BankImportPlan planBankImport(const CTallvingeDoc& doc, const BankStatement& statement,
                              const BankImportOptions& options, const std::vector<BankRule>& rules,
                              const std::vector<BankLineRecord>& imported);

// The books' balance of account (debit less credit) at the end of the day
// before: the opening balance and every voucher dated before day.
Ore bookBalanceBefore(const CTallvingeDoc& doc, std::int32_t account, const BankDate& day);

// The voucher a proposal books: the bank's book account against the
// counterpart, the counterpart side split into net and VAT by its VAT rule
// as the voucher dialog's VAT line splits it. Throws DocumentRefusal with
// the reason when the VAT rule cannot split it.
CEttVerifikat bankVoucher(const CTallvingeDoc& doc, const BankProposal& proposal, std::int32_t bookAccount);

// Why the voucher cannot be registered as a typed voucher could not be:
// no open period, a locked period, a date outside the period or not in the
// calendar, an account that is not in the chart or is the result account,
// an amount too large, a text the files cannot store, a voucher that does
// not balance. Nothing when it can.
std::optional<std::string> bankVoucherRefusal(const CTallvingeDoc& doc, const CEttVerifikat& voucher);

struct BankBookingResult {
    std::size_t booked = 0;
    std::size_t failed = 0;
};

// Books every accepted proposal of plan as one change of the books: each is
// registered as the voucher dialog registers a voucher, and its line
// recorded for the company's database (saved with the company). A proposal
// that fails keeps its reason and status Failed; the others are booked.
BankBookingResult bookBankImport(CTallvingeDoc& doc, BankImportPlan& plan,
                                 const LocalClock& clock = localTimeNow);

// The lines this import can be compared with and learn from: those recorded
// in the company's database for the bank account or its book account, in
// every period, and those still pending in doc. Throws DatabaseError.
std::vector<BankLineRecord> importedBankLines(const CTallvingeDoc& doc, const std::string& bankAccount,
                                              std::int32_t bookAccount = 0);

// "Momsregel 3 (25 %)" for the company's VAT rule number, "" for 0.
std::string vatRuleText(const CTallvingeDoc& doc, std::int32_t vatRule);
std::string proposalStatusText(const BankProposal& proposal);
// "Ingående saldo enligt kontoutdraget 1 000.00, i bokföringen (konto 1930)
// 900.00 den 2026-02-28: skillnad 100.00.", or that the file gives none.
std::string balanceComparisonText(const BankImportPlan& plan);
// Whether the statement agrees with itself: "Utgående saldo enligt
// kontoutdraget 215 112.21, enligt raderna 216 649.21: skillnad 1 537.00",
// and where a balance column breaks; empty when nothing disagrees.
std::vector<std::string> statementBalanceProblems(const BankImportPlan& plan);
// "-1 250.00": an amount with its sign beside it.
std::string bankAmountText(Ore amount);

} // namespace kv
