#include "bank/BankReviewModel.h"

#include "bank/BankRules.h"

#include "chart/TypedText.h"
#include "storage/CompanyDatabase.h"
#include "voucher/VoucherRules.h"

#include <algorithm>

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

BankRuleFields BankReviewModel::ruleFields(std::size_t index) const {
    if (index >= m_plan.proposals.size()) {
        return {};
    }
    const BankProposal& proposal = m_plan.proposals[index];
    BankRule rule;
    rule.pattern = bankRuleProposal(proposal.line);
    rule.sign = proposal.line.amount < 0 ? BankAmountSign::Out : BankAmountSign::In;
    rule.account = proposal.account;
    rule.vatRule = proposal.vatRule;
    return bankRuleFields(rule);
}

std::optional<std::string> BankReviewModel::saveRule(const BankRuleFields& fields) {
    if (m_doc.pathName().empty()) {
        return std::string(kMsgRulesNeedSavedCompany);
    }
    try {
        std::vector<std::int32_t> bankAccounts = bankBookAccounts(readBankAccounts(m_doc.pathName()));
        bankAccounts.push_back(m_plan.options.bookAccount);
        auto made = bankRuleFrom(m_doc, fields, bankAccounts);
        if (const auto* refusal = std::get_if<std::string>(&made)) {
            return *refusal;
        }
        std::vector<BankRule> rules = readBankRules(m_doc.pathName());
        rules.push_back(std::get<BankRule>(std::move(made)));
        writeBankRules(m_doc.pathName(), rules);
    } catch (const DatabaseError& error) {
        return std::string(error.what());
    }
    return std::nullopt;
}

std::optional<std::string> BankReviewModel::saveAsRule(std::size_t index, const std::string& pattern) {
    if (index >= m_plan.proposals.size()) {
        return std::string("Ingen rad är vald.");
    }
    if (m_plan.proposals[index].account == 0) {
        return std::string("Raden har inget konto att spara som regel.");
    }
    BankRuleFields fields = ruleFields(index);
    fields.pattern = pattern;
    return saveRule(fields);
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
    Undo undo{copyCompanyState(m_doc.state()), m_plan.proposals, m_doc.pendingRecords().bankLines.size(),
              m_doc.isModified(), m_doc.pendingSaves()};
    const BankBookingResult result = bookBankImport(m_doc, m_plan, clock);
    if (result.booked > 0) {
        undo.vouchersAfter = m_doc.state().m_verifikat.size();
        undo.nextAfter = m_doc.state().m_nNastaVernr;
        undo.pendingAfter = m_doc.pendingRecords().bankLines.size();
        m_undo = std::move(undo);
    }
    return result;
}

bool BankReviewModel::canUndoBooking() const {
    return m_undo && m_doc.pendingSaves() == m_undo->saves &&
           m_doc.state().m_verifikat.size() == m_undo->vouchersAfter &&
           m_doc.state().m_nNastaVernr == m_undo->nextAfter &&
           m_doc.pendingRecords().bankLines.size() == m_undo->pendingAfter;
}

void BankReviewModel::undoBooking() {
    if (!canUndoBooking()) {
        return;
    }
    Undo undo = std::move(*m_undo);
    m_undo.reset();
    m_doc.putBackBooks(std::move(undo.books), undo.pendingBankLines);
    if (!undo.modified) {
        m_doc.savedInFull(); // unsaved before the booking, and nothing saved since
    }
    m_plan.proposals = std::move(undo.proposals);
}

std::optional<std::string> BankReviewModel::setText(std::size_t index, const std::string& typed) {
    if (auto closed = closedReason(index)) {
        return closed;
    }
    if (auto unstorable = unstorableTextMessage(typed)) {
        return unstorable;
    }
    std::size_t characters = 0;
    for (const char c : typed) {
        characters += (static_cast<unsigned char>(c) & 0xC0U) != 0x80U ? 1 : 0;
    }
    if (characters > kVoucherTextLimit) {
        return "Texten får vara högst " + std::to_string(kVoucherTextLimit) + " tecken.";
    }
    m_plan.proposals[index].text = typed;
    return std::nullopt;
}

std::string BankReviewModel::statusLine(std::size_t index) const {
    if (index >= m_plan.proposals.size()) {
        return {};
    }
    const BankProposal& proposal = m_plan.proposals[index];
    return "Rad " + std::to_string(proposal.line.lineNumber) + " (" + proposal.line.bookingDate.text() +
           "): " + proposalStatusText(proposal);
}

std::optional<std::string> BankReviewModel::voucherOf(std::size_t index) const {
    if (index >= m_plan.proposals.size()) {
        return std::nullopt;
    }
    const BankProposal& proposal = m_plan.proposals[index];
    const bool voucherMade = proposal.status == ProposalStatus::Booked ||
                             proposal.status == ProposalStatus::AlreadyBooked ||
                             proposal.status == ProposalStatus::PossiblyBooked;
    const auto& vouchers = m_doc.state().m_verifikat;
    const auto found = std::find_if(vouchers.begin(), vouchers.end(), [&proposal](const CEttVerifikat& v) {
        return v.m_nVernr == proposal.voucher;
    });
    if (!voucherMade || found == vouchers.end()) {
        return std::nullopt;
    }
    const CEttVerifikat& voucher = *found;
    std::string text = "Verifikat " + std::to_string(voucher.m_nVernr) + ", " +
                       BankDate{voucher.m_nTransAr, voucher.m_nTransManad, voucher.m_nTransDag}.text() +
                       ": " + voucher.m_strVertext.str();
    for (const CVerifikatrad& line : voucher.m_rader) {
        if (line.m_nKonto == 0) {
            continue;
        }
        const Ore debit = toOre(line.m_dDebet);
        text += "\n" + std::to_string(line.m_nKonto) + "  " + line.m_strKontonamn.str() + "  " +
                (debit != 0 ? "debet " + bankAmountText(debit)
                            : "kredit " + bankAmountText(toOre(line.m_dKredit)));
    }
    return text;
}

} // namespace kv
