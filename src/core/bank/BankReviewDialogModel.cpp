#include "bank/BankReviewDialogModel.h"

#include <algorithm>
#include <utility>

namespace kv {

namespace {

std::string countText(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

BankReviewDialogModel::BankReviewDialogModel(CTallvingeDoc& doc, BankStatement statement,
                                             BankImportOptions options, LocalClock clock)
    : m_review(doc, std::move(statement), options), m_clock(std::move(clock)) {
    for (const auto& konto : doc.state().m_allaKonton) {
        if (konto->m_nKontonr > 0) {
            m_lines.push_back(std::to_string(konto->m_nKontonr) + "  " + konto->m_strKolumn2);
            m_numbers.push_back(konto->m_nKontonr);
        }
    }
}

std::int32_t BankReviewDialogModel::accountNumber(std::size_t line) const {
    return line < m_numbers.size() ? m_numbers[line] : 0;
}

bool BankReviewDialogModel::toggle(std::size_t index) {
    if (index >= m_review.rowCount()) {
        return false;
    }
    return m_review.setAccepted(index, !m_review.row(index).accepted);
}

namespace {

std::string keptRuleText(const BankRuleFields& fields) {
    const char* which = fields.sign == BankAmountSign::Out  ? "betalningar till"
                        : fields.sign == BankAmountSign::In ? "inbetalningar från"
                                                            : "bankrader med";
    return std::string("Regeln sparades: ") + which + " \"" + fields.pattern + "\" föreslås på konto " +
           fields.account + " från nu.";
}

} // namespace

std::optional<BankRuleModel> BankReviewDialogModel::ruleDialog(std::size_t index) {
    m_refusal.clear();
    if (index >= m_review.rowCount()) {
        m_refusal = "Ingen rad är vald.";
        return std::nullopt;
    }
    if (m_review.plan().proposals[index].account == 0) {
        m_refusal = "Raden har inget konto att spara som regel.";
        return std::nullopt;
    }
    BankRuleModel dialog(m_review.ruleFields(index));
    dialog.onAccept([this](const BankRuleFields& fields) {
        auto refusal = m_review.saveRule(fields);
        if (!refusal) {
            m_outcome = keptRuleText(fields);
        }
        return refusal;
    });
    return dialog;
}

void BankReviewDialogModel::undo() {
    if (!m_review.canUndoBooking()) {
        return;
    }
    m_review.undoBooking();
    m_booked -= std::min(m_booked, m_lastBooked);
    m_outcome = "Bokföringen ångrades: " + countText(m_lastBooked, "verifikat", "verifikat") +
                " togs bort och raderna kan bokföras igen.";
    m_lastBooked = 0;
}

void BankReviewDialogModel::book() {
    const BankBookingResult result = m_review.book(m_clock);
    m_booked += result.booked;
    if (result.booked > 0) {
        m_lastBooked = result.booked; // what "Ångra" takes back
    }
    if (result.booked == 0 && result.failed == 0) {
        m_outcome = "Inga rader är markerade för bokföring.";
        return;
    }
    m_outcome = countText(result.booked, "rad bokfördes", "rader bokfördes");
    if (result.failed > 0) {
        m_outcome += "; " + countText(result.failed, "rad", "rader") + " kunde inte bokföras (se Status)";
    }
    m_outcome += ".";
    if (result.booked > 0) {
        m_outcome += " Verifikaten sparas med företaget nästa gång det sparas.";
    }
}

} // namespace kv
