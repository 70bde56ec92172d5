// The review of a bank statement read in: a grid of its lines with the
// proposed account and VAT and each line's status. The user accepts or
// rejects lines, sets a line's account by number, makes a rule of a line
// ("Spara som regel") and books the accepted lines ("Bokför"). A window
// shows rows() and forwards the user's events; it holds no rule.
#pragma once

#include "bank/BankImport.h"
#include "bank/BankRules.h"
#include "bank/BankStatement.h"
#include "model/CompanySettings.h"
#include "model/TallvingeDoc.h"
#include "storage/LocalClock.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kBankReviewTitle = "Läs in kontoutdrag";
inline constexpr const char* kBankButtonSparaRegel = "Spara som regel";
inline constexpr const char* kBankButtonBokfor = "Bokför";

enum class BankColumn { Date, Text, Amount, Account, Vat, Status };
inline constexpr std::array<const char*, 6> kBankColumnTitles{"Datum", "Text", "Belopp",
                                                              "Konto", "Moms", "Status"};

// One row of the grid, as shown.
struct BankReviewRow {
    std::array<std::string, 6> cells; // by BankColumn
    bool accepted = false;
    bool editable = false; // accept, account and rule apply (not booked, not booked before)
    bool amountNegative = false;
};

class BankReviewModel {
public:
    // Reads the rules and the lines booked before from the company's
    // database (throws DatabaseError when it cannot be used) and proposes.
    BankReviewModel(CTallvingeDoc& doc, BankStatement statement, BankImportOptions options);

    [[nodiscard]] std::size_t rowCount() const { return m_plan.proposals.size(); }
    [[nodiscard]] BankReviewRow row(std::size_t index) const;
    [[nodiscard]] const BankImportPlan& plan() const { return m_plan; }
    [[nodiscard]] const BankStatement& statement() const { return m_statement; }

    // The opening balance beside the books' (balanceComparisonText).
    [[nodiscard]] std::string balanceText() const;
    // "12 förslag, 3 utan konto, 2 redan bokförda".
    [[nodiscard]] std::string summaryText() const;

    // Accept or reject a line; false when the line cannot be booked now.
    bool setAccepted(std::size_t index, bool accepted);
    // The line's counterpart account, by number as typed; the refusal for
    // the user when the number is no account of the chart that a line may
    // use. The line is accepted once it has an account.
    std::optional<std::string> setAccount(std::size_t index, const std::string& typed);
    // The line's VAT rule (1-based, 0 for none), or the refusal.
    std::optional<std::string> setVatRule(std::size_t index, std::int32_t vatRule);
    // The same as typed in the grid: the rule's number, empty or 0 for none.
    std::optional<std::string> setVatRule(std::size_t index, const std::string& typed);
    // "Spara som regel": the text the rule is proposed to match, the line's
    // counterpart without its numbers and months, for the user to edit.
    [[nodiscard]] std::string ruleProposal(std::size_t index) const;
    // A rule that books lines whose text holds pattern's words (the sign of
    // this line's amount) on the line's account and VAT rule, placed last,
    // written to the company's database at once. The refusal when the line
    // has no account, the pattern no words or the database cannot be written.
    std::optional<std::string> saveAsRule(std::size_t index, const std::string& pattern);
    // The fields "Spara som regel" opens its rule dialog with: the proposed
    // pattern, the line's account, VAT rule and direction.
    [[nodiscard]] BankRuleFields ruleFields(std::size_t index) const;
    // The rule as the user edited it, appended to the company's rules; the
    // refusal when it names the bank's own account, an account not in the
    // chart, or the database cannot be written.
    std::optional<std::string> saveRule(const BankRuleFields& fields);
    // The line's voucher text as the user typed it; the refusal when the
    // company files cannot store it or it is longer than the voucher's text.
    std::optional<std::string> setText(std::size_t index, const std::string& typed);
    // The whole status of a line, for a status line under the grid: "Rad 4
    // (2026-03-12): troligen redan verifikat 9; ...".
    [[nodiscard]] std::string statusLine(std::size_t index) const;
    // The voucher a line booked (now or before) became, written out for the
    // user to look at: its number, date, text and lines; nothing for a line
    // that is no voucher.
    [[nodiscard]] std::optional<std::string> voucherOf(std::size_t index) const;

    // "Bokför": books the accepted lines as one change of the books (saved
    // with the company). The lines that fail show their reason.
    BankBookingResult book(const LocalClock& clock = localTimeNow);
    [[nodiscard]] bool canBook() const;
    // "Ångra": the last "Bokför" taken back whole, while nothing has been
    // registered after it and the company has not been saved since.
    [[nodiscard]] bool canUndoBooking() const;
    void undoBooking();

private:
    [[nodiscard]] bool open(std::size_t index) const;
    // Why the line cannot be changed, or nothing when it can.
    [[nodiscard]] std::optional<std::string> closedReason(std::size_t index) const;

    // What "Ångra" puts back, and what tells that nothing came after the booking.
    struct Undo {
        CompanyState books;
        std::vector<BankProposal> proposals;
        std::size_t pendingBankLines = 0;
        bool modified = false;
        std::uint64_t saves = 0;
        std::size_t vouchersAfter = 0;
        std::int32_t nextAfter = 0;
        std::size_t pendingAfter = 0;
    };

    CTallvingeDoc& m_doc;
    BankStatement m_statement;
    BankImportPlan m_plan;
    std::optional<Undo> m_undo;
};

} // namespace kv
