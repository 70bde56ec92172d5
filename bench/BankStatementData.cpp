#include "BankStatementData.h"

#include <array>
#include <cstdint>
#include <string>

namespace kv::bench {

namespace {

constexpr int kYear = 2023; // the open period of the generated company
constexpr std::array<std::int32_t, 8> kCostAccounts{5010, 5460, 6110, 6211, 6230, 6310, 6540, 6990};

// A small linear congruential generator: the same sequence on every machine.
class Numbers {
public:
    std::uint32_t next() {
        m_state = m_state * 1664525U + 1013904223U;
        return m_state >> 8U;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

private:
    std::uint32_t m_state = 20240402U;
};

std::string supplier(int index) {
    static constexpr std::array<const char*, 10> kWords{"Kontors", "Bygg",   "Data",  "Städ",  "Trä",
                                                        "El",      "Måleri", "Frakt", "Tryck", "Konsult"};
    return std::string(kWords[static_cast<std::size_t>(index % 10)]) + "service " +
           std::to_string(index / 10) + " AB";
}

} // namespace

void addBankPayments(CTallvingeDoc& doc, int count) {
    Numbers numbers;
    auto change = doc.beginChange();
    for (int i = 0; i < count; ++i) {
        const int who = numbers.below(400);
        const Ore amount = 1000 + numbers.below(500000);
        CVerifikatrad cost;
        cost.m_nKonto = kCostAccounts[static_cast<std::size_t>(who % 8)];
        cost.m_dDebet = toKronor(amount);
        CVerifikatrad bank;
        bank.m_nKonto = 1930;
        bank.m_dKredit = toKronor(amount);
        const std::string text = supplier(who) + " " + std::to_string(100000 + numbers.below(900000));
        doc.registerVoucher(
            makeVoucher(1 + numbers.below(28), 1 + numbers.below(12), kYear, text, {cost, bank}));
    }
    change.commit();
}

BankStatement bankStatementOf(int lineCount) {
    Numbers numbers;
    BankStatement statement;
    statement.kind = BankFileKind::Camt053;
    statement.account = "SE45 5000 0000 0583 9825 7466";
    statement.currency = "SEK";
    statement.openingBalance = 51234567;
    for (int i = 0; i < lineCount; ++i) {
        BankLine line;
        line.lineNumber = static_cast<std::size_t>(i + 1);
        line.bookingDate = {kYear, 1 + i * 12 / lineCount, 1 + numbers.below(28)};
        line.amount = -(500 + numbers.below(300000));
        line.reference = std::to_string(1000000 + numbers.below(9000000));
        switch (numbers.below(4)) {
        case 0:
        case 1:
            line.counterpart = supplier(numbers.below(400)); // known from earlier vouchers
            break;
        case 2:
            line.counterpart = "Rulebolaget " + std::to_string(numbers.below(40)) + " HB";
            line.text = "Kortköp";
            break;
        default:
            line.counterpart = "Okänd mottagare " + std::to_string(i);
            line.amount = -line.amount; // a deposit
            break;
        }
        statement.lines.push_back(std::move(line));
    }
    return statement;
}

std::vector<BankRule> bankRules() {
    std::vector<BankRule> rules;
    for (int i = 0; i < 40; ++i) {
        BankRule rule;
        rule.pattern = "Rulebolaget " + std::to_string(i) + (i % 2 == 0 ? " HB" : "");
        rule.match = i % 4 == 0 ? BankTextMatch::Equals : BankTextMatch::Contains;
        rule.sign = i % 3 == 0 ? BankAmountSign::Out : BankAmountSign::Any;
        if (i % 5 == 0) {
            rule.minAmount = 100;
            rule.maxAmount = 400000;
        }
        rule.account = kCostAccounts[static_cast<std::size_t>(i % 8)];
        rules.push_back(std::move(rule));
    }
    return rules;
}

} // namespace kv::bench
