#include "bank/BankImport.h"

#include "chart/TypedText.h"
#include "model/DocumentTexts.h"
#include "model/YearMonth.h"
#include "sie/SieBooks.h"
#include "sie/SieCodePage.h"
#include "storage/CompanyDatabase.h"
#include "voucher/VoucherNumbers.h"
#include "voucher/VoucherRules.h"
#include "voucher/VoucherTexts.h"
#include "voucher/VoucherVat.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <unordered_map>

namespace kv {

namespace {

std::string joinedNonEmpty(const std::string& a, const std::string& b) {
    if (a.empty()) {
        return b;
    }
    return b.empty() ? a : a + " " + b;
}

// The first limit characters of a UTF-8 text.
std::string firstCharacters(const std::string& text, std::size_t limit) {
    std::size_t characters = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if ((static_cast<unsigned char>(text[pos]) & 0xC0U) != 0x80U && characters++ == limit) {
            return text.substr(0, pos);
        }
    }
    return text;
}

std::string timeText(const LocalTime& time) {
    std::array<char, 32> out{};
    std::snprintf(out.data(), out.size(), "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day,
                  time.hour, time.minute, time.second);
    return out.data();
}

BankDate dayBefore(BankDate day) {
    if (--day.day >= 1) {
        return day;
    }
    if (--day.month < 1) {
        day.month = 12;
        --day.year;
    }
    day.day = day.month >= 1 ? daysInMonth(day.year, day.month) : 0;
    return day;
}

std::string lineKey(const std::string& date, Ore amount, const std::string& textKey) {
    return date + "|" + std::to_string(amount) + "|" + textKey;
}

// The lines booked before, by their key, each as often as it was booked.
class BookedBefore {
public:
    BookedBefore(const std::vector<BankLineRecord>& records, const std::string& bankAccount) {
        for (const BankLineRecord& record : records) {
            if (record.bankAccount == bankAccount) {
                m_byKey[lineKey(record.date, record.amount, record.textKey)].push_back(&record);
            }
        }
    }
    // The next record of the line's key not yet taken by an earlier line of
    // the statement: two equal lines of one file are two payments, and each
    // is found booked only once.
    const BankLineRecord* take(const BankLine& line) {
        const auto found = m_byKey.find(lineKey(line.bookingDate.text(), line.amount, bankLineTextKey(line)));
        if (found == m_byKey.end()) {
            return nullptr;
        }
        std::size_t& used = m_used[found->first];
        return used < found->second.size() ? found->second[used++] : nullptr;
    }

private:
    std::unordered_map<std::string, std::vector<const BankLineRecord*>> m_byKey;
    std::unordered_map<std::string, std::size_t> m_used;
};

std::string bookedBeforeText(const BankLineRecord& record) {
    return "bokförd som verifikat " + std::to_string(record.voucher) + " (inläst " +
           record.readAt.substr(0, 16) + ")";
}

std::string accountName(const CTallvingeDoc& doc, std::int32_t account) {
    const int index = doc.accountIndex(account);
    return index >= 0 ? doc.state().m_allaKonton[static_cast<std::size_t>(index)]->m_strKolumn2
                      : std::string();
}

CVerifikatrad voucherLine(const CTallvingeDoc& doc, std::int32_t account, const std::string& text, Ore amount,
                          bool debit) {
    CVerifikatrad line;
    line.m_nKonto = account;
    line.m_strKontonamn = accountName(doc, account);
    line.m_strRadtext = text;
    (debit ? line.m_dDebet : line.m_dKredit) = toKronor(amount);
    line.m_dMoms = vatRateOf(doc, account).value_or(0.0);
    return line;
}

std::optional<std::string> planRefusal(const CTallvingeDoc& doc, const BankImportOptions& options) {
    if (!doc.hasOpenPeriod()) {
        return kMsgIngenPeriod;
    }
    if (doc.periodLocked()) {
        return std::string(kMsgPeriodenLast) + ": " + kMsgEndast2SistaPerioderna + ".";
    }
    if (!doc.bothChartsApproved()) {
        return !doc.incomeChartApproved() ? kMsgResultatEjGodkand : kMsgBalansEjGodkand;
    }
    if (doc.state().m_momsregler.empty()) {
        return kMsgMomsEjGodkand;
    }
    // The voucher dialog shows the next number while it is open.
    if (options.voucherFormOpen) {
        return kMsgVerifikatdialogenOppen;
    }
    if (options.bookAccount <= 0 || !doc.inBalNummer(options.bookAccount)) {
        return "Konto " + std::to_string(options.bookAccount) +
               " finns inte i balansräkningens kontoplan och kan inte vara bankkontot.";
    }
    if (options.unmatchedAccount &&
        (*options.unmatchedAccount <= 0 || !doc.hasAccount(*options.unmatchedAccount))) {
        return "Konto " + std::to_string(*options.unmatchedAccount) +
               " för rader utan konto finns inte i kontoplanen.";
    }
    if (options.unmatchedAccount == options.bookAccount) {
        return "Rader utan konto kan inte bokföras på bankkontot " + std::to_string(options.bookAccount) +
               " självt.";
    }
    return std::nullopt;
}

} // namespace

std::optional<Ore> BalanceComparison::difference() const {
    if (!statement) {
        return std::nullopt;
    }
    return addOre(*statement, -books);
}

std::string bankAccountKey(const BankStatement& statement, std::int32_t bookAccount) {
    std::string key;
    for (const char c : statement.account) {
        if (c != ' ' && c != '-') {
            key += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return key.empty() ? "konto " + std::to_string(bookAccount) : key;
}

std::string bankLineTextKey(const BankLine& line) {
    return line.reference.empty() ? line.counterpart + "|" + line.text : line.reference;
}

std::string bankVoucherText(const BankLine& line) {
    // Who paid or was paid; a bank whose export has no counterpart column names it in the text.
    std::string text =
        joinedNonEmpty(line.counterpart.empty() ? line.text : line.counterpart, line.reference);
    std::size_t replaced = 0;
    text = firstCharacters(storableText(text, replaced), kVoucherTextLimit);
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    return text;
}

Ore bookBalanceBefore(const CTallvingeDoc& doc, std::int32_t account, const BankDate& day) {
    const int index = doc.accountIndex(account);
    if (index < 0) {
        return 0;
    }
    Ore balance = 0;
    for (const CKontorad& row : doc.state().m_allaKonton[static_cast<std::size_t>(index)]->m_rader) {
        // Rows of no voucher are the opening balance, which stands before every day.
        const bool before = row.m_nVernr == 0 || BankDate{row.m_nAr, row.m_nManad, row.m_nDag} < day;
        if (before) {
            balance = addOre(balance, addOre(toOre(row.m_dDebet), -toOre(row.m_dKredit)));
        }
    }
    return balance;
}

CEttVerifikat bankVoucher(const CTallvingeDoc& doc, const BankProposal& proposal, std::int32_t bookAccount) {
    const Ore amount = proposal.line.amount;
    const Ore size = amount < 0 ? -amount : amount;
    const bool moneyIn = amount > 0;
    std::vector<CVerifikatrad> lines;
    lines.push_back(voucherLine(doc, bookAccount, proposal.text, size, moneyIn));
    // The counterpart takes the other side: credited for money in, debited for money out.
    const bool counterpartDebit = !moneyIn;
    if (proposal.vatRule == 0) {
        lines.push_back(voucherLine(doc, proposal.account, proposal.text, size, counterpartDebit));
    } else {
        const auto& rules = doc.state().m_momsregler;
        const std::string name = "Momsregel " + std::to_string(proposal.vatRule);
        if (proposal.vatRule < 0 || static_cast<std::size_t>(proposal.vatRule) > rules.size()) {
            throw DocumentRefusal(name + " finns inte.");
        }
        const CAutomoms& rule = rules[static_cast<std::size_t>(proposal.vatRule - 1)];
        const std::int32_t vatAccount = counterpartDebit ? rule.m_nDebetMomskonto : rule.m_nKreditMomskonto;
        if (rule.m_dMomssats <= 0.0 || vatAccount <= 0) {
            throw DocumentRefusal(name + " har ingen momssats eller inget momskonto för " +
                                  (counterpartDebit ? "debetsidan." : "kreditsidan."));
        }
        const VatSplit split = splitVat(toKronor(size), rule.m_dMomssats);
        lines.push_back(voucherLine(doc, proposal.account, proposal.text, split.net, counterpartDebit));
        lines.push_back(voucherLine(doc, vatAccount, proposal.text, split.vat, counterpartDebit));
    }
    const BankDate& date = proposal.line.bookingDate;
    return makeVoucher(date.day, date.month, date.year, proposal.text, std::move(lines));
}

std::optional<std::string> bankVoucherRefusal(const CTallvingeDoc& doc, const CEttVerifikat& voucher) {
    if (!doc.hasOpenPeriod()) {
        return kMsgIngenPeriod;
    }
    if (doc.periodLocked()) {
        return std::string(kMsgPeriodenLast) + ": " + kMsgEndast2SistaPerioderna + ".";
    }
    if (voucher.m_nTransManad < 1 || voucher.m_nTransManad > 12 || voucher.m_nTransDag < 1 ||
        voucher.m_nTransDag > daysInMonth(voucher.m_nTransAr, voucher.m_nTransManad)) {
        return "Datumet finns inte i almanackan.";
    }
    const YearMonth when{voucher.m_nTransAr, voucher.m_nTransManad};
    if (when < doc.periodStart() || doc.periodEnd() < when) {
        return std::string(kMsgEjInomPerioden) + " (" + doc.periodLabel() + ")";
    }
    if (auto unstorable = unstorableTextMessage(voucher.m_strVertext.str())) {
        return unstorable;
    }
    const VoucherRules rules(doc);
    Ore debit = 0;
    Ore credit = 0;
    for (const CVerifikatrad& line : voucher.m_rader) {
        const std::string account = "Konto " + std::to_string(line.m_nKonto);
        if (line.m_nKonto <= 0 || !doc.hasAccount(line.m_nKonto)) {
            return line.m_nKonto <= 0 ? std::string("Raden saknar konto.")
                                      : account + " finns inte i kontoplanen.";
        }
        if (rules.isProfitAccount(line.m_nKonto)) {
            return account + ": " + kMsgVinstkontotKanEjAnvandas + ".";
        }
        if (rules.failsLastPeriodRule(line.m_nKonto)) {
            return account + " finns inte i sista perioden " + rules.lastPeriodText() +
                   ". Öppna sista perioden och sätt in det i kontoplanen för Balansen.";
        }
        if (line.m_dDebet > kLargestLineAmount || line.m_dKredit > kLargestLineAmount) {
            return kMsgStorstaTal;
        }
        debit = addOre(debit, toOre(line.m_dDebet));
        credit = addOre(credit, toOre(line.m_dKredit));
    }
    if (debit != credit || debit == 0) {
        return debit == 0 ? "Verifikatet har inget belopp." : "Verifikatet balanserar inte.";
    }
    return std::nullopt;
}

namespace {

// Checks a proposal ready to be booked; it becomes Failed with the reason
// when it cannot be.
void checkProposal(const CTallvingeDoc& doc, BankProposal& proposal, std::int32_t bookAccount) {
    std::optional<std::string> refusal;
    try {
        refusal = bankVoucherRefusal(doc, bankVoucher(doc, proposal, bookAccount));
    } catch (const DocumentRefusal& error) {
        refusal = error.what();
    }
    if (refusal) {
        proposal.status = ProposalStatus::Failed;
        proposal.accepted = false;
        proposal.reason = *refusal;
    }
}

} // namespace

BankImportPlan planBankImport(const CTallvingeDoc& doc, const BankStatement& statement,
                              const BankImportOptions& options, const std::vector<BankRule>& rules,
                              const std::vector<BankLineRecord>& imported) {
    BankImportPlan plan;
    plan.bankAccount = bankAccountKey(statement, options.bookAccount);
    plan.options = options;
    if (auto refusal = planRefusal(doc, options)) {
        plan.refusals.push_back(std::move(*refusal));
    }
    const BankMatcher matcher(doc, rules, options.bookAccount);
    BookedBefore before(imported, plan.bankAccount);
    plan.proposals.reserve(statement.lines.size());
    for (const BankLine& line : statement.lines) {
        BankProposal proposal;
        proposal.line = line;
        proposal.text = bankVoucherText(line);
        if (const BankLineRecord* booked = before.take(line)) {
            proposal.status = ProposalStatus::AlreadyBooked;
            proposal.voucher = booked->voucher;
            proposal.reason = bookedBeforeText(*booked);
            plan.proposals.push_back(std::move(proposal));
            continue;
        }
        const BankMatch match = matcher.match(line);
        proposal.source = match.source;
        proposal.ruleNumber = match.ruleNumber;
        proposal.earlierVoucher = match.voucher;
        proposal.account = match.account;
        proposal.vatRule = match.vatRule;
        if (proposal.account == 0 && options.unmatchedAccount) {
            proposal.account = *options.unmatchedAccount;
        }
        if (proposal.account != 0) {
            proposal.status = ProposalStatus::Proposed;
            proposal.accepted = true;
            if (plan.refusals.empty()) {
                checkProposal(doc, proposal, options.bookAccount);
            }
        }
        plan.proposals.push_back(std::move(proposal));
    }
    // The balance at the end of the day before the first line.
    if (!statement.lines.empty()) {
        BankDate first = statement.lines.front().bookingDate;
        for (const BankLine& line : statement.lines) {
            first = std::min(first, line.bookingDate);
        }
        plan.balance.dayBefore = dayBefore(first);
        plan.balance.books = bookBalanceBefore(doc, options.bookAccount, first);
        if (statement.openingBalance) {
            plan.balance.statement = statement.openingBalance;
        } else if (const BankLine& front = statement.lines.front();
                   front.balance && front.bookingDate == first) {
            plan.balance.statement = addOre(*front.balance, -front.amount);
        }
    }
    return plan;
}

BankBookingResult bookBankImport(CTallvingeDoc& doc, BankImportPlan& plan, const LocalClock& clock) {
    if (!plan.refusals.empty()) {
        throw DocumentRefusal(plan.refusals.front());
    }
    std::vector<BankProposal> after = plan.proposals;
    std::vector<BankLineRecord> records;
    BankBookingResult result;
    const LocalTime now = clock();
    const std::string readAt = timeText(now);
    auto change = doc.beginChange();
    for (BankProposal& proposal : after) {
        if (!proposal.accepted || proposal.status != ProposalStatus::Proposed) {
            continue;
        }
        try {
            CEttVerifikat voucher = bankVoucher(doc, proposal, plan.options.bookAccount);
            // Booked today, as the voucher dialog's booking date starts.
            voucher.m_nBokfDag = now.day;
            voucher.m_nBokfManad = now.month;
            voucher.m_nBokfAr = now.year;
            if (auto refusal = bankVoucherRefusal(doc, voucher)) {
                throw DocumentRefusal(*refusal);
            }
            proposal.voucher = doc.registerVoucher(std::move(voucher));
            proposal.status = ProposalStatus::Booked;
            proposal.accepted = false;
            records.push_back({plan.bankAccount, proposal.line.bookingDate.text(), proposal.line.amount,
                               bankLineTextKey(proposal.line), proposal.voucher, doc.state().m_nAktuellPeriod,
                               readAt});
            ++result.booked;
        } catch (const DocumentRefusal& refusal) {
            proposal.status = ProposalStatus::Failed;
            proposal.accepted = false;
            proposal.reason = refusal.what();
            ++result.failed;
        }
    }
    if (!records.empty()) {
        doc.recordBankLines(std::move(records));
        change.commit();
    }
    plan.proposals = std::move(after);
    return result;
}

std::vector<BankLineRecord> importedBankLines(const CTallvingeDoc& doc, const std::string& bankAccount) {
    std::vector<BankLineRecord> lines;
    if (!doc.pathName().empty()) {
        lines = readBankLines(doc.pathName(), bankAccount);
    }
    for (const BankLineRecord& line : doc.pendingRecords().bankLines) {
        if (line.bankAccount == bankAccount) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::string vatRuleText(const CTallvingeDoc& doc, std::int32_t vatRule) {
    if (vatRule <= 0) {
        return {};
    }
    const auto& rules = doc.state().m_momsregler;
    std::string text = "momsregel " + std::to_string(vatRule);
    if (static_cast<std::size_t>(vatRule) <= rules.size()) {
        std::array<char, 32> rate{};
        std::snprintf(rate.data(), rate.size(), "%g",
                      rules[static_cast<std::size_t>(vatRule - 1)].m_dMomssats);
        text += std::string(" (") + rate.data() + " %)";
    }
    return text;
}

std::string bankAmountText(Ore amount) {
    return amount < 0 ? "-" + formatOre(-amount) : formatOre(amount);
}

std::string balanceComparisonText(const BankImportPlan& plan) {
    const BalanceComparison& balance = plan.balance;
    if (plan.proposals.empty()) {
        return "Kontoutdraget har inga rader.";
    }
    const std::string books = "i bokföringen (konto " + std::to_string(plan.options.bookAccount) + ") " +
                              bankAmountText(balance.books) + " den " + balance.dayBefore.text();
    if (!balance.statement) {
        return "Kontoutdraget anger inget ingående saldo; " + books + ".";
    }
    const Ore difference = *balance.difference();
    return "Ingående saldo enligt kontoutdraget " + bankAmountText(*balance.statement) + ", " + books +
           (difference == 0 ? ": de stämmer." : ": skillnad " + bankAmountText(difference) + ".");
}

std::string proposalStatusText(const BankProposal& proposal) {
    switch (proposal.status) {
    case ProposalStatus::Proposed:
        switch (proposal.source) {
        case MatchSource::Rule:
            return "förslag enligt regel " + std::to_string(proposal.ruleNumber);
        case MatchSource::History:
            return "förslag som verifikat " + std::to_string(proposal.earlierVoucher);
        case MatchSource::None:
            break;
        }
        return "förslag";
    case ProposalStatus::Unmatched:
        return "utan konto";
    case ProposalStatus::AlreadyBooked:
        return "redan " + proposal.reason;
    case ProposalStatus::Booked:
        return "bokförd som verifikat " + std::to_string(proposal.voucher);
    case ProposalStatus::Failed:
        return "kan inte bokföras: " + proposal.reason;
    }
    return {};
}

} // namespace kv
