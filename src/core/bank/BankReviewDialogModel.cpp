#include "bank/BankReviewDialogModel.h"

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

std::optional<std::string> BankReviewDialogModel::saveAsRule(std::size_t index, const std::string& pattern) {
    auto refusal = m_review.saveAsRule(index, pattern);
    if (!refusal) {
        const BankProposal& proposal = m_review.plan().proposals.at(index);
        m_outcome = "Regeln sparades: " +
                    std::string(proposal.line.amount < 0 ? "betalningar till" : "inbetalningar från") +
                    " \"" + pattern + "\" föreslås på konto " + std::to_string(proposal.account) +
                    " från nu.";
    }
    return refusal;
}

void BankReviewDialogModel::book() {
    const BankBookingResult result = m_review.book(m_clock);
    m_booked += result.booked;
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
