#include "bank/BankReviewModel.h"

#include "storage/CompanyDatabase.h"
#include "voucher/VoucherRules.h"

namespace kv {

namespace {

std::vector<BankRule> rulesOf(const CTallvingeDoc& doc) {
    return doc.pathName().empty() ? std::vector<BankRule>{} : readBankRules(doc.pathName());
}

} // namespace

BankReviewModel::BankReviewModel(CTallvingeDoc& doc, BankStatement statement, BankImportOptions options)
    : m_doc(doc), m_statement(std::move(statement)) {
    m_plan = planBankImport(
        m_doc, m_statement, options, rulesOf(m_doc),
        importedBankLines(m_doc, bankAccountKey(m_statement, options.bookAccount), options.bookAccount));
}

bool BankReviewModel::open(std::size_t index) const {
    if (index >= m_plan.proposals.size() || !m_plan.refusals.empty()) {
        return false;
    }
    const ProposalStatus status = m_plan.proposals[index].status;
    return status != ProposalStatus::AlreadyBooked && status != ProposalStatus::Booked;
}

BankReviewRow BankReviewModel::row(std::size_t index) const {
    const BankProposal& proposal = m_plan.proposals.at(index);
    BankReviewRow shown;
    const auto cell = [&shown](BankColumn column) -> std::string& {
        return shown.cells[static_cast<std::size_t>(column)];
    };
    cell(BankColumn::Date) = proposal.line.bookingDate.text();
    cell(BankColumn::Text) = proposal.text;
    cell(BankColumn::Amount) = bankAmountText(proposal.line.amount);
    cell(BankColumn::Account) = proposal.account != 0 ? std::to_string(proposal.account) : std::string();
    cell(BankColumn::Vat) = vatRuleText(m_doc, proposal.vatRule);
    cell(BankColumn::Status) = proposalStatusText(proposal);
    shown.accepted = proposal.accepted;
    shown.editable = open(index);
    shown.amountNegative = proposal.line.amount < 0;
    return shown;
}

std::string BankReviewModel::balanceText() const {
    std::string text = balanceComparisonText(m_plan);
    for (const std::string& problem : statementBalanceProblems(m_plan)) {
        text += "\n" + problem + ".";
    }
    return text;
}

std::string BankReviewModel::summaryText() const {
    std::size_t proposed = 0;
    std::size_t unmatched = 0;
    std::size_t before = 0;
    std::size_t possibly = 0;
    std::size_t booked = 0;
    std::size_t failed = 0;
    for (const BankProposal& proposal : m_plan.proposals) {
        switch (proposal.status) {
        case ProposalStatus::Proposed:
            ++proposed;
            break;
        case ProposalStatus::Unmatched:
            ++unmatched;
            break;
        case ProposalStatus::AlreadyBooked:
            ++before;
            break;
        case ProposalStatus::PossiblyBooked:
            ++possibly;
            break;
        case ProposalStatus::Booked:
            ++booked;
            break;
        case ProposalStatus::Failed:
            ++failed;
            break;
        }
    }
    std::string text = std::to_string(proposed) + " förslag, " + std::to_string(unmatched) + " utan konto, " +
                       std::to_string(before) + " redan bokförda";
    if (possibly > 0) {
        text += ", " + std::to_string(possibly) + " troligen redan bokförda";
    }
    if (failed > 0) {
        text += ", " + std::to_string(failed) + " kan inte bokföras";
    }
    if (booked > 0) {
        text += ", " + std::to_string(booked) + " bokförda nu";
    }
    return text;
}

bool BankReviewModel::setAccepted(std::size_t index, bool accepted) {
    if (!open(index)) {
        return false;
    }
    BankProposal& proposal = m_plan.proposals[index];
    // A line a voucher typed by hand seems to be is booked only when the user takes it.
    if (accepted && proposal.status == ProposalStatus::PossiblyBooked && proposal.account != 0) {
        proposal.status = ProposalStatus::Proposed;
        proposal.reason.clear();
    }
    if (accepted && proposal.status != ProposalStatus::Proposed) {
        return false;
    }
    proposal.accepted = accepted;
    return true;
}

std::optional<std::string> BankReviewModel::closedReason(std::size_t index) const {
    if (!m_plan.refusals.empty()) {
        return m_plan.refusals.front();
    }
    if (index >= m_plan.proposals.size()) {
        return std::string("Ingen rad är vald.");
    }
    return open(index) ? std::nullopt
                       : std::optional<std::string>("Raden är redan bokförd och kan inte ändras.");
}

std::optional<std::string> BankReviewModel::setAccount(std::size_t index, const std::string& typed) {
    if (auto closed = closedReason(index)) {
        return closed;
    }
    const std::int32_t account = accountOf(typed);
    const VoucherRules rules(m_doc);
    if (account <= 0 || !m_doc.hasAccount(account)) {
        return "Kontot (" + typed + ") finns inte i kontoplanen.";
    }
    if (rules.isProfitAccount(account) || account == m_plan.options.bookAccount) {
        return "Konto " + std::to_string(account) + " kan inte vara motkonto till bankraden.";
    }
    BankProposal& proposal = m_plan.proposals[index];
    proposal.account = account;
    proposal.source = MatchSource::None;
    proposal.ruleNumber = 0;
    proposal.earlierVoucher = 0;
    proposal.status = ProposalStatus::Proposed;
    proposal.reason.clear();
    proposal.accepted = true;
    BankProposal checked = proposal;
    try {
        if (auto refusal =
                bankVoucherRefusal(m_doc, bankVoucher(m_doc, checked, m_plan.options.bookAccount))) {
            proposal.status = ProposalStatus::Failed;
            proposal.accepted = false;
            proposal.reason = *refusal;
        }
    } catch (const DocumentRefusal& refusal) {
        proposal.status = ProposalStatus::Failed;
        proposal.accepted = false;
        proposal.reason = refusal.what();
    }
    return std::nullopt;
}

std::optional<std::string> BankReviewModel::setVatRule(std::size_t index, const std::string& typed) {
    if (typed.empty()) {
        return setVatRule(index, 0);
    }
    if (typed.size() > 3 || typed.find_first_not_of("0123456789") != std::string::npos) {
        return std::string(
            "Skriv momsregelns nummer (se Moms - Sätt moms), eller lämna rutan tom för ingen moms.");
    }
    return setVatRule(index, static_cast<std::int32_t>(std::stoi(typed)));
}

std::optional<std::string> BankReviewModel::setVatRule(std::size_t index, std::int32_t vatRule) {
    if (auto closed = closedReason(index)) {
        return closed;
    }
    BankProposal& proposal = m_plan.proposals[index];
    if (proposal.account == 0) {
        return std::string("Ange först ett konto för raden.");
    }
    BankProposal tried = proposal;
    tried.vatRule = vatRule;
    try {
        if (auto refusal = bankVoucherRefusal(m_doc, bankVoucher(m_doc, tried, m_plan.options.bookAccount))) {
            return refusal;
        }
    } catch (const DocumentRefusal& refusal) {
        return std::string(refusal.what());
    }
    proposal.vatRule = vatRule;
    proposal.status = ProposalStatus::Proposed;
    proposal.reason.clear();
    proposal.accepted = true;
    return std::nullopt;
}

std::string BankReviewModel::ruleProposal(std::size_t index) const {
    return index < m_plan.proposals.size() ? bankRuleProposal(m_plan.proposals[index].line) : std::string();
}

std::optional<std::string> BankReviewModel::saveAsRule(std::size_t index, const std::string& pattern) {
    if (index >= m_plan.proposals.size()) {
        return std::string("Ingen rad är vald.");
    }
    const BankProposal& proposal = m_plan.proposals[index];
    if (proposal.account == 0) {
        return std::string("Raden har inget konto att spara som regel.");
    }
    if (m_doc.pathName().empty()) {
        return std::string("Spara företaget först: reglerna sparas i företagets databas.");
    }
    BankRule rule;
    rule.pattern = pattern;
    if (normaliseBankText(rule.pattern).empty()) {
        return std::string("Regeln behöver en text att känna igen raderna på.");
    }
    rule.sign = proposal.line.amount < 0 ? BankAmountSign::Out : BankAmountSign::In;
    rule.account = proposal.account;
    rule.vatRule = proposal.vatRule;
    try {
        std::vector<BankRule> rules = readBankRules(m_doc.pathName());
        rules.push_back(rule);
        writeBankRules(m_doc.pathName(), rules);
    } catch (const DatabaseError& error) {
        return std::string(error.what());
    }
    return std::nullopt;
}

bool BankReviewModel::canBook() const {
    if (!m_plan.refusals.empty()) {
        return false;
    }
    for (const BankProposal& proposal : m_plan.proposals) {
        if (proposal.accepted && proposal.status == ProposalStatus::Proposed) {
            return true;
        }
    }
    return false;
}

BankBookingResult BankReviewModel::book(const LocalClock& clock) {
    return bookBankImport(m_doc, m_plan, clock);
}

} // namespace kv
