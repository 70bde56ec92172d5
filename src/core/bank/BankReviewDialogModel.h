// The review of "Läs in kontoutdrag..." as a modal dialog: the review grid's
// model, the accounts a line may be booked on beside it, and what "Bokför"
// did, for the dialog to show.
#pragma once

#include "bank/BankReviewModel.h"
#include "interaction/DialogModel.h"
#include "storage/LocalClock.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kBankButtonStang = "Stäng";
inline constexpr const char* kBankReviewKeys =
    "Mellanslag tar med eller tar bort raden. Skriv ett kontonummer för att byta konto, eller välj i listan. "
    "Retur går till nästa rad; på en bokförd rad visar Retur verifikatet.";
inline constexpr const char* kBankButtonAngra = "Ångra";

class BankReviewDialogModel : public DialogModelOf<BankReviewDialogModel> {
public:
    // Throws DatabaseError as BankReviewModel does.
    BankReviewDialogModel(CTallvingeDoc& doc, BankStatement statement, BankImportOptions options,
                          LocalClock clock = localTimeNow);

    [[nodiscard]] std::string dialogTitle() const override { return kBankReviewTitle; }

    [[nodiscard]] BankReviewModel& review() { return m_review; }
    [[nodiscard]] const BankReviewModel& review() const { return m_review; }

    // The chart's accounts, "1930  Checkräkningskonto", as the voucher
    // dialog lists them, and the number of each.
    [[nodiscard]] const std::vector<std::string>& accountLines() const { return m_lines; }
    [[nodiscard]] std::int32_t accountNumber(std::size_t line) const;

    // Space on a line: accepts it when rejected and rejects it when accepted.
    bool toggle(std::size_t index);
    // "Spara som regel" through the rule dialog: the dialog's model, filled
    // from the line, whose OK keeps the rule (outcome() then says so).
    // Nothing for a line without an account, with refusal() saying why.
    [[nodiscard]] std::optional<BankRuleModel> ruleDialog(std::size_t index);
    // "Ångra" after "Bokför": outcome() says what was taken back.
    [[nodiscard]] bool canUndo() const { return m_review.canUndoBooking(); }
    void undo();
    // "Bokför": books the accepted lines as one change; outcome() says how it went.
    void book();
    [[nodiscard]] const std::string& outcome() const { return m_outcome; }
    [[nodiscard]] const std::string& refusal() const { return m_refusal; }
    // Lines booked while the dialog was open.
    [[nodiscard]] std::size_t bookedCount() const { return m_booked; }

private:
    BankReviewModel m_review;
    LocalClock m_clock;
    std::vector<std::string> m_lines;
    std::vector<std::int32_t> m_numbers;
    std::string m_outcome;
    std::string m_refusal;
    std::size_t m_lastBooked = 0;
    std::size_t m_booked = 0;
};

} // namespace kv
