// Which account a bank line is booked on: the user's rules first (the first
// that matches), then what this company booked earlier for the same
// counterpart in the open period's vouchers (the most recent voucher wins),
// then what the bank lines booked before, in every period, went to (the
// account most of them went to), else nothing.
#pragma once

#include "bank/BankStatement.h"
#include "model/CompanyRecords.h"
#include "model/CompanySettings.h"
#include "model/TallvingeDoc.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace kv {

// A text as the matching compares it: letters case-folded (å ä ö and the
// other letters of Windows-1252 too), each run of digits with the signs
// between them one "#", each other run of blanks and signs one blank, no
// blank at either end. "TELIA SVERIGE AB, 1234-5678/9" gives
// "telia sverige ab #".
std::string normaliseBankText(std::string_view text);

// The words of a text that name a counterpart, the same month after month:
// normalised, without numbers, month names (Swedish, Finnish, English) and
// the words of invoices and references ("faktura", "ocr", "lasku", ...).
// "Vattenfall AB faktura 123456 mars" gives "vattenfall ab".
std::string bankCounterpartWords(std::string_view text);
// The words a line is known by: its counterpart's, else its free text's
// (an export with one text column names the counterpart there).
std::string bankLineWords(const BankLine& line);
// The text a rule proposed from the line would match: the counterpart as the
// bank writes it, else the free text, without its numbers and months
// ("Hyra mars Fastighets AB Bostaden" gives "Hyra Fastighets AB Bostaden").
std::string bankRuleProposal(const BankLine& line);

// The counterpart and free text of a line, normalised: what the rules match.
std::string bankRuleSubject(const BankLine& line);

enum class MatchSource { None, Rule, History, Learnt };

struct BankMatch {
    MatchSource source = MatchSource::None;
    std::int32_t account = 0;
    std::int32_t vatRule = 0;   // 1-based among the company's VAT rules, 0 for none
    std::size_t ruleNumber = 0; // 1-based, for a rule
    std::int32_t voucher = 0;   // the earlier voucher, for history and what was learnt
    std::string voucherDate;    // its date, "2026-03-14"
    std::size_t agreeing = 0;   // learnt: the earlier lines booked this way
    std::size_t earlier = 0;    // learnt: the earlier lines of these words
};

// True when rule matches a line of this amount and normalised subject: the
// pattern's words stand in the subject as whole words ("ica" is found in
// "ica maxi" but not in "monica andersson").
bool bankRuleMatches(const BankRule& rule, const std::string& normalisedPattern, const std::string& subject,
                     Ore amount);

// A set of words that a part of a longer text can be looked up in without a copy.
struct BankWordsHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view words) const { return std::hash<std::string_view>{}(words); }
};
using BankWordSet = std::unordered_set<std::string, BankWordsHash, std::equal_to<>>;

// The open period's vouchers on the bank's book account, by the words of
// their text: the other account of each voucher with one line on the book
// account and one on another account (and perhaps the VAT line of that
// account's VAT rule). Only the words asked for are kept; a voucher text is
// found by its whole words or by its first words (a counterpart followed by
// a message).
class BankHistory {
public:
    BankHistory(const CTallvingeDoc& doc, std::int32_t bookAccount, const BankWordSet& wanted);

    // The most recent voucher booked with these words.
    [[nodiscard]] std::optional<BankMatch> find(const std::string& words) const;
    [[nodiscard]] std::size_t size() const { return m_byWords.size(); }

private:
    struct Entry {
        BankMatch match;
        std::int64_t when = 0; // date and number, for most recent
        bool whole = false;    // the voucher's whole text, not its first words
    };
    std::unordered_map<std::string, Entry> m_byWords;
};

// What the bank lines booked before went to, by their counterpart's words:
// for each, the account and VAT rule most of them were booked on.
class BankLearning {
public:
    explicit BankLearning(const std::vector<BankLineRecord>& booked);

    // Nothing when no earlier line had these words.
    [[nodiscard]] const BankMatch* find(const std::string& words) const;

private:
    std::unordered_map<std::string, BankMatch> m_byWords;
};

// The rules, the history and what was learnt, ready for the lines of one statement.
class BankMatcher {
public:
    BankMatcher(const CTallvingeDoc& doc, std::vector<BankRule> rules, std::int32_t bookAccount,
                const std::vector<BankLine>& lines, const std::vector<BankLineRecord>& booked);

    [[nodiscard]] BankMatch match(const BankLine& line) const;

private:
    std::vector<BankRule> m_rules;
    std::int32_t m_bookAccount;
    std::vector<std::string> m_patterns; // normalised
    BankHistory m_history;
    BankLearning m_learning;
};

} // namespace kv
