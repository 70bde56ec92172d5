// The rules that propose an account for a bank line: one rule made from what
// the user typed (in "Bankregler..." or on the command line) and checked
// against the company, a rule written out for a list, and the window
// "Bankregler..." that lists, edits, moves and removes them.
#pragma once

#include "interaction/DialogModel.h"
#include "model/CompanySettings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kv {

class CTallvingeDoc;

inline constexpr const char* kBankRulesTitle = "Bankregler";
inline constexpr const char* kBankRuleTitle = "Bankregel";
inline constexpr const char* kMsgRulesNeedSavedCompany =
    "Spara företaget först: reglerna sparas i företagets databas.";
inline constexpr std::array<const char*, 6> kBankRuleColumnTitles{"Text",     "Konto",  "Moms",
                                                                  "Riktning", "Belopp", "Rader"};

// A rule as typed: every field as the user wrote it.
struct BankRuleFields {
    std::string pattern;
    bool equals = false; // the whole text, not words within it
    std::string account;
    std::string vatRule; // the VAT rule's number, empty for none
    BankAmountSign sign = BankAmountSign::Any;
    std::string minAmount; // empty for no lower bound
    std::string maxAmount;

    bool operator==(const BankRuleFields&) const = default;
};

[[nodiscard]] BankRuleFields bankRuleFields(const BankRule& rule);

// The rule the fields make, or why not, as a Swedish sentence. A rule's
// account must be in the chart, may not be the profit account nor one of
// the bank's own book accounts (a line booked against itself).
[[nodiscard]] std::variant<BankRule, std::string>
bankRuleFrom(const CTallvingeDoc& doc, const BankRuleFields& fields,
             const std::vector<std::int32_t>& bankBookAccounts);

// The book accounts the company's bank accounts are read onto.
[[nodiscard]] std::vector<std::int32_t> bankBookAccounts(const std::vector<BankAccountSetting>& settings);

// "innehåller \"Hyra\" → 5010, momsregel 2 (25 %), uttag, belopp 100,00–"
[[nodiscard]] std::string bankRuleText(const CTallvingeDoc& doc, const BankRule& rule);

// The source a booked bank line records when a rule took it, under which
// the lines a rule took are counted.
[[nodiscard]] std::string bankRuleSource(const BankRule& rule);

// "Bankregler...": the company's rules in the order they are tried, with how
// many bank lines each has taken. Every change is written to the company's
// database at once; a change that cannot be written is not made.
class BankRulesModel : public DialogModelOf<BankRulesModel> {
public:
    // Throws DatabaseError when the company's database cannot be read.
    explicit BankRulesModel(const CTallvingeDoc& doc);

    [[nodiscard]] std::string dialogTitle() const override { return kBankRulesTitle; }

    [[nodiscard]] std::size_t rowCount() const { return m_rules.size(); }
    [[nodiscard]] std::array<std::string, kBankRuleColumnTitles.size()> row(std::size_t index) const;
    [[nodiscard]] const std::vector<BankRule>& rules() const { return m_rules; }

    // The fields of a rule for its edit dialog; empty ones for a new rule.
    [[nodiscard]] BankRuleFields fields(std::optional<std::size_t> index) const;
    // "Ny..." (no index) or "Ändra..." with the typed fields: the refusal,
    // or nothing when the rule is kept.
    std::optional<std::string> store(std::optional<std::size_t> index, const BankRuleFields& fields);
    // "Flytta upp" (-1) and "Flytta ned" (+1): the refusal, or nothing.
    std::optional<std::string> move(std::size_t index, int step);
    std::optional<std::string> remove(std::size_t index);

private:
    std::optional<std::string> write(std::vector<BankRule> rules);

    const CTallvingeDoc& m_doc;
    std::vector<BankRule> m_rules;
    std::vector<std::int32_t> m_bankAccounts;
    std::map<std::string, std::int64_t> m_used;
};

// The edit dialog of one rule, opened from "Bankregler..." or prefilled by
// "Spara som regel" in the review: OK keeps the fields when accept()
// finds nothing to refuse.
class BankRuleModel : public DialogModelOf<BankRuleModel> {
public:
    explicit BankRuleModel(BankRuleFields fields) : m_fields(std::move(fields)) {}
    [[nodiscard]] std::string dialogTitle() const override { return kBankRuleTitle; }

    [[nodiscard]] const BankRuleFields& fieldValues() const { return m_fields; }
    void setFields(BankRuleFields fields) { m_fields = std::move(fields); }

    // What OK does with the fields: the refusal keeps the dialog open.
    void onAccept(std::function<std::optional<std::string>(const BankRuleFields&)> keep) {
        m_keep = std::move(keep);
    }
    std::optional<std::string> accept() { return m_keep ? m_keep(m_fields) : std::nullopt; }

private:
    BankRuleFields m_fields;
    std::function<std::optional<std::string>(const BankRuleFields&)> m_keep;
};

} // namespace kv
