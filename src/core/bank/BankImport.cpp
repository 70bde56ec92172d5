#include "bank/BankImport.h"

#include "bank/BankRules.h"

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

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

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
// Lines of the same book account booked from another file of it (read as
// CSV once, as camt another time: another key, another text) are known by
// their day and amount alone.
class BookedBefore {
public:
    BookedBefore(const std::vector<BankLineRecord>& records, const std::string& bankAccount,
                 std::int32_t bookAccount) {
        for (const BankLineRecord& record : records) {
            if (record.bankAccount == bankAccount) {
                m_byKey[lineKey(record.date, record.amount, record.textKey)].push_back(&record);
            } else if (record.bookAccount == bookAccount && bookAccount != 0) {
                m_otherFiles[lineKey(record.date, record.amount, {})].push_back(&record);
            }
        }
    }
    // The next record of the line's key not yet taken by an earlier line of
    // the statement: two equal lines of one file are two payments, and each
    // is found booked only once.
    const BankLineRecord* take(const BankLine& line) {
        if (const BankLineRecord* same = takeFrom(
                m_byKey, m_used, lineKey(line.bookingDate.text(), line.amount, bankLineTextKey(line)))) {
            return same;
        }
        return takeFrom(m_otherFiles, m_usedOther, lineKey(line.bookingDate.text(), line.amount, {}));
    }

private:
    using Index = std::unordered_map<std::string, std::vector<const BankLineRecord*>>;
    static const BankLineRecord*
    takeFrom(const Index& index, std::unordered_map<std::string, std::size_t>& used, const std::string& key) {
        const auto found = index.find(key);
        if (found == index.end()) {
            return nullptr;
        }
        std::size_t& taken = used[key];
        return taken < found->second.size() ? found->second[taken++] : nullptr;
    }

    Index m_byKey;
    Index m_otherFiles;
    std::unordered_map<std::string, std::size_t> m_used;
    std::unordered_map<std::string, std::size_t> m_usedOther;
};

// The vouchers typed by hand on the book account, by their amount on it:
// each can be the voucher of one line of the statement, no more.
class TypedByHand {
public:
    // Days between the line's booking date and the voucher's date that still make it the line's.
    static constexpr long kDays = 4;

    // Only the amounts of lines are looked for: the book account's other rows are passed by.
    TypedByHand(const CTallvingeDoc& doc, std::int32_t bookAccount, const std::vector<BankLineRecord>& booked,
                const std::vector<BankLine>& lines) {
        const int index = doc.accountIndex(bookAccount);
        if (index < 0) {
            return;
        }
        for (const BankLine& line : lines) {
            m_byAmount.try_emplace(line.amount);
        }
        std::unordered_set<std::int32_t> fromBank;
        for (const BankLineRecord& record : booked) {
            if (record.period == doc.state().m_nAktuellPeriod) {
                fromBank.insert(record.voucher);
            }
        }
        for (const CKontorad& row : doc.state().m_allaKonton[static_cast<std::size_t>(index)]->m_rader) {
            if (row.m_nVernr == 0 || fromBank.contains(row.m_nVernr)) {
                continue; // an opening balance, or a voucher a bank line booked
            }
            const auto wanted = m_byAmount.find(addOre(toOre(row.m_dDebet), -toOre(row.m_dKredit)));
            if (wanted == m_byAmount.end()) {
                continue;
            }
            wanted->second.push_back(
                {dayNumber(LocalTime{row.m_nAr, row.m_nManad, row.m_nDag, 0, 0, 0}), row.m_nVernr, false});
        }
    }

    // The voucher the line seems to be, taken so that no other line takes it.
    std::optional<std::int32_t> take(const BankLine& line) {
        const auto found = m_byAmount.find(line.amount);
        if (found == m_byAmount.end() || found->second.empty()) {
            return std::nullopt;
        }
        const long day = dayNumber(
            LocalTime{line.bookingDate.year, line.bookingDate.month, line.bookingDate.day, 0, 0, 0});
        Candidate* best = nullptr;
        for (Candidate& candidate : found->second) {
            const long apart = candidate.day > day ? candidate.day - day : day - candidate.day;
            if (!candidate.taken && apart <= kDays &&
                (best == nullptr || apart < (best->day > day ? best->day - day : day - best->day))) {
                best = &candidate;
            }
        }
        if (best == nullptr) {
            return std::nullopt;
        }
        best->taken = true;
        return best->voucher;
    }

private:
    struct Candidate {
        long day = 0;
        std::int32_t voucher = 0;
        bool taken = false;
    };
    std::unordered_map<Ore, std::vector<Candidate>> m_byAmount;
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

bool BalanceComparison::statementAgrees() const {
    return !columnBreak && (!closingStated || !closingByLines || *closingStated == *closingByLines);
}

std::vector<BankLine> bankLinesInBookingOrder(const std::vector<BankLine>& lines) {
    std::vector<BankLine> ordered = lines;
    std::size_t forward = 0;
    std::size_t backward = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        forward += lines[i - 1].bookingDate < lines[i].bookingDate ? 1 : 0;
        backward += lines[i].bookingDate < lines[i - 1].bookingDate ? 1 : 0;
    }
    if (backward > forward) {
        std::reverse(ordered.begin(), ordered.end()); // newest first: within a day too
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const BankLine& a, const BankLine& b) { return a.bookingDate < b.bookingDate; });
    return ordered;
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

namespace {

// The statement's own agreement: its closing balance with its opening
// balance and lines, and a balance column row by row in the file's direction.
void checkStatementBalances(const BankStatement& statement, BalanceComparison& balance) {
    const std::vector<BankLine>& lines = statement.lines;
    if (statement.openingBalance && statement.closingBalance) {
        Ore sum = *statement.openingBalance;
        for (const BankLine& line : lines) {
            sum = addOre(sum, line.amount);
        }
        balance.closingStated = statement.closingBalance;
        balance.closingByLines = sum;
    }
    if (lines.size() < 2 ||
        !std::all_of(lines.begin(), lines.end(), [](const BankLine& l) { return l.balance; })) {
        return;
    }
    const bool backward = lines.back().bookingDate < lines.front().bookingDate;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        // The later line of the pair, and the balance it should have.
        const BankLine& later = backward ? lines[i - 1] : lines[i];
        const BankLine& earlier = backward ? lines[i] : lines[i - 1];
        const Ore byLines = addOre(*earlier.balance, later.amount);
        if (*later.balance != byLines) {
            balance.columnBreak = BalanceBreak{later.lineNumber, *later.balance, byLines};
            return;
        }
    }
}

// Where the account was learnt from, for the record of a booked line.
std::string sourceText(const BankProposal& proposal, const std::vector<BankRule>& rules) {
    switch (proposal.source) {
    case MatchSource::Rule:
        return proposal.ruleNumber >= 1 && proposal.ruleNumber <= rules.size()
                   ? bankRuleSource(rules[proposal.ruleNumber - 1])
                   : std::string("regel:");
    case MatchSource::History:
    case MatchSource::Learnt:
        return "historik";
    case MatchSource::None:
        break;
    }
    return "användaren";
}

} // namespace

BankImportPlan planBankImport(const CTallvingeDoc& doc, const BankStatement& statement,
                              const BankImportOptions& options, const std::vector<BankRule>& rules,
                              const std::vector<BankLineRecord>& imported) {
    BankImportPlan plan;
    plan.bankAccount = bankAccountKey(statement, options.bookAccount);
    plan.options = options;
    plan.rules = rules;
    if (auto refusal = planRefusal(doc, options)) {
        plan.refusals.push_back(std::move(*refusal));
    }
    const std::vector<BankLine> lines = bankLinesInBookingOrder(statement.lines);
    // The lines read and booked before first: only the others are matched.
    BookedBefore before(imported, plan.bankAccount, options.bookAccount);
    std::vector<const BankLineRecord*> bookedAs;
    std::vector<BankLine> unbooked;
    for (const BankLine& line : lines) {
        bookedAs.push_back(before.take(line));
        if (bookedAs.back() == nullptr) {
            unbooked.push_back(line);
        }
    }
    const BankMatcher matcher(doc, rules, options.bookAccount, unbooked, imported);
    TypedByHand typed(doc, options.bookAccount, imported, unbooked);
    plan.proposals.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const BankLine& line = lines[i];
        BankProposal proposal;
        proposal.line = line;
        proposal.text = bankVoucherText(line);
        if (const BankLineRecord* booked = bookedAs[i]) {
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
        proposal.earlierDate = match.voucherDate;
        proposal.agreeing = match.agreeing;
        proposal.earlierLines = match.earlier;
        proposal.account = match.account;
        proposal.vatRule = match.vatRule;
        if (proposal.account == 0 && options.unmatchedAccount) {
            proposal.account = *options.unmatchedAccount;
        }
        if (const auto voucher = typed.take(line)) {
            proposal.status = ProposalStatus::PossiblyBooked;
            proposal.voucher = *voucher;
            proposal.reason = "troligen redan verifikat " + std::to_string(*voucher);
        } else if (proposal.account != 0) {
            proposal.status = ProposalStatus::Proposed;
            proposal.accepted = true;
            if (plan.refusals.empty()) {
                checkProposal(doc, proposal, options.bookAccount);
            }
        }
        plan.proposals.push_back(std::move(proposal));
    }
    // The balance at the end of the day before the first line.
    if (!lines.empty()) {
        const BankDate first = lines.front().bookingDate;
        plan.balance.dayBefore = dayBefore(first);
        plan.balance.books = bookBalanceBefore(doc, options.bookAccount, first);
        if (statement.openingBalance) {
            plan.balance.statement = statement.openingBalance;
        } else if (const BankLine& front = lines.front(); front.balance) {
            plan.balance.statement = addOre(*front.balance, -front.amount);
        }
    }
    checkStatementBalances(statement, plan.balance);
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
                               readAt, plan.options.bookAccount, proposal.account, proposal.vatRule,
                               bankLineWords(proposal.line), sourceText(proposal, plan.rules)});
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

std::vector<BankLineRecord> importedBankLines(const CTallvingeDoc& doc, const std::string& bankAccount,
                                              std::int32_t bookAccount) {
    std::vector<BankLineRecord> lines;
    if (!doc.pathName().empty()) {
        lines = readBankLines(doc.pathName(), bankAccount, bookAccount);
    }
    for (const BankLineRecord& line : doc.pendingRecords().bankLines) {
        if (line.bankAccount == bankAccount || (bookAccount != 0 && line.bookAccount == bookAccount)) {
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

std::vector<std::string> statementBalanceProblems(const BankImportPlan& plan) {
    std::vector<std::string> problems;
    const BalanceComparison& balance = plan.balance;
    if (balance.closingStated && balance.closingByLines &&
        *balance.closingStated != *balance.closingByLines) {
        const Ore difference = addOre(*balance.closingStated, -*balance.closingByLines);
        problems.push_back("Utgående saldo enligt kontoutdraget " + bankAmountText(*balance.closingStated) +
                           ", enligt raderna " + bankAmountText(*balance.closingByLines) + ": skillnad " +
                           bankAmountText(difference < 0 ? -difference : difference));
    }
    if (balance.columnBreak) {
        const BalanceBreak& at = *balance.columnBreak;
        const Ore difference = addOre(at.stated, -at.byLines);
        problems.push_back("Saldot på rad " + std::to_string(at.lineNumber) + " är " +
                           bankAmountText(at.stated) + ", men saldot före och radens belopp ger " +
                           bankAmountText(at.byLines) + ": skillnad " +
                           bankAmountText(difference < 0 ? -difference : difference));
    }
    return problems;
}

std::string proposalStatusText(const BankProposal& proposal) {
    switch (proposal.status) {
    case ProposalStatus::Proposed:
        switch (proposal.source) {
        case MatchSource::Rule:
            return "förslag enligt regel " + std::to_string(proposal.ruleNumber);
        case MatchSource::History:
            return "förslag som verifikat " + std::to_string(proposal.earlierVoucher) + ", " +
                   proposal.earlierDate;
        case MatchSource::Learnt:
            return "förslag som tidigare rader (" + std::to_string(proposal.agreeing) + " av " +
                   std::to_string(proposal.earlierLines) + " tidigare, senast verifikat " +
                   std::to_string(proposal.earlierVoucher) + ", " + proposal.earlierDate + ")";
        case MatchSource::None:
            break;
        }
        return "förslag";
    case ProposalStatus::Unmatched:
        return "utan konto";
    case ProposalStatus::AlreadyBooked:
        return "redan " + proposal.reason;
    case ProposalStatus::PossiblyBooked:
        return proposal.reason + "; bokförs bara om du tar med raden";
    case ProposalStatus::Booked:
        return "bokförd som verifikat " + std::to_string(proposal.voucher);
    case ProposalStatus::Failed:
        return "kan inte bokföras: " + proposal.reason;
    }
    return {};
}

} // namespace kv
