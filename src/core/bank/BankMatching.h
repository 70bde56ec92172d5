// Which account a bank line is booked on: the user's rules first (the first
// that matches), then what this company booked earlier for the same
// counterpart (the most recent voucher wins), else nothing.
#pragma once

#include "bank/BankStatement.h"
#include "model/CompanySettings.h"
#include "model/TallvingeDoc.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kv {

// A text as the matching compares it: letters case-folded (å ä ö and the
// other letters of Windows-1252 too), each run of digits with the signs
// between them one "#", each other run of blanks and signs one blank, no
// blank at either end. "TELIA SVERIGE AB, 1234-5678/9" gives
// "telia sverige ab #".
std::string normaliseBankText(std::string_view text);

// The counterpart and free text of a line, normalised: what the rules match.
std::string bankRuleSubject(const BankLine& line);

enum class MatchSource { None, Rule, History };

struct BankMatch {
    MatchSource source = MatchSource::None;
    std::int32_t account = 0;
    std::int32_t vatRule = 0;   // 1-based among the company's VAT rules, 0 for none
    std::size_t ruleNumber = 0; // 1-based, for a rule
    std::int32_t voucher = 0;   // the earlier voucher, for history
};

// True when rule matches a line of this amount and normalised subject.
bool bankRuleMatches(const BankRule& rule, const std::string& normalisedPattern, const std::string& subject,
                     Ore amount);

// The company's earlier vouchers on the bank's book account, by their
// normalised text: the other account of each voucher with one line on the
// book account and one on another account (and perhaps the VAT line of that
// account's VAT rule). Built once per import.
class BankHistory {
public:
    BankHistory(const CTallvingeDoc& doc, std::int32_t bookAccount);

    // The most recent voucher booked with this normalised text.
    [[nodiscard]] const BankMatch* find(const std::string& normalisedText) const;
    [[nodiscard]] std::size_t size() const { return m_byText.size(); }

private:
    struct Entry {
        BankMatch match;
        std::int64_t when = 0; // date and number, for most recent
    };
    std::unordered_map<std::string, Entry> m_byText;
};

// The rules and the history, ready for the lines of one statement.
class BankMatcher {
public:
    BankMatcher(const CTallvingeDoc& doc, std::vector<BankRule> rules, std::int32_t bookAccount);

    [[nodiscard]] BankMatch match(const BankLine& line) const;

private:
    std::vector<BankRule> m_rules;
    std::vector<std::string> m_patterns; // normalised
    BankHistory m_history;
};

} // namespace kv
