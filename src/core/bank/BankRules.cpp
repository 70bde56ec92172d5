#include "bank/BankRules.h"

#include "bank/BankImport.h"
#include "bank/BankMatching.h"
#include "model/Amount.h"
#include "model/TallvingeDoc.h"
#include "storage/CompanyDatabase.h"
#include "voucher/VoucherRules.h"

#include <algorithm>
#include <utility>

namespace kv {

namespace {

// "1 250,50" as an amount of at least zero, in öre; nothing for empty text.
std::variant<std::optional<Ore>, std::string> boundOf(const std::string& typed, const char* which) {
    if (typed.find_first_not_of(' ') == std::string::npos) {
        return std::optional<Ore>{};
    }
    const auto value = parseTypedAmount(typed);
    if (!value || *value < 0) {
        return std::string("Beloppet ") + which + " skrivs t.ex. 1250,50: " + typed;
    }
    return std::optional<Ore>{toOre(*value)};
}

// "100.00–2 000.00", "högst 2 000.00" or "minst 100.00"; empty without bounds.
std::string rangeText(const std::optional<Ore>& lowest, const std::optional<Ore>& highest) {
    if (lowest && highest) {
        return bankAmountText(*lowest) + "–" + bankAmountText(*highest);
    }
    if (highest) {
        return "högst " + bankAmountText(*highest);
    }
    return lowest ? "minst " + bankAmountText(*lowest) : std::string();
}

} // namespace

BankRuleFields bankRuleFields(const BankRule& rule) {
    BankRuleFields fields;
    fields.pattern = rule.pattern;
    fields.equals = rule.match == BankTextMatch::Equals;
    fields.account = rule.account > 0 ? std::to_string(rule.account) : std::string();
    fields.vatRule = rule.vatRule > 0 ? std::to_string(rule.vatRule) : std::string();
    fields.sign = rule.sign;
    // As the user types an amount, so that the fields read back unchanged.
    fields.minAmount = rule.minAmount ? formatPlainOre(*rule.minAmount) : std::string();
    fields.maxAmount = rule.maxAmount ? formatPlainOre(*rule.maxAmount) : std::string();
    return fields;
}

std::variant<BankRule, std::string> bankRuleFrom(const CTallvingeDoc& doc, const BankRuleFields& fields,
                                                 const std::vector<std::int32_t>& bankBookAccounts) {
    BankRule rule;
    rule.pattern = fields.pattern;
    if (normaliseBankText(rule.pattern).empty()) {
        return std::string("Regeln behöver en text med bokstäver att känna igen raderna på.");
    }
    rule.match = fields.equals ? BankTextMatch::Equals : BankTextMatch::Contains;
    rule.sign = fields.sign;
    const std::int32_t account = accountOf(fields.account);
    if (account <= 0 || !doc.hasAccount(account)) {
        return "Kontot (" + fields.account + ") finns inte i kontoplanen.";
    }
    if (VoucherRules(doc).isProfitAccount(account)) {
        return "Konto " + std::to_string(account) + " är resultatkontot och kan inte ha verifikatrader.";
    }
    if (std::find(bankBookAccounts.begin(), bankBookAccounts.end(), account) != bankBookAccounts.end()) {
        return "Konto " + std::to_string(account) +
               " är bankens eget konto: en bankrad kan inte bokföras mot sitt eget konto.";
    }
    rule.account = account;
    if (!fields.vatRule.empty()) {
        const auto& vatRules = doc.state().m_momsregler;
        const bool digits =
            fields.vatRule.size() <= 3 && fields.vatRule.find_first_not_of("0123456789") == std::string::npos;
        const std::size_t number = digits ? static_cast<std::size_t>(std::stoi(fields.vatRule)) : 0;
        if (number == 0 || number > vatRules.size() || vatRules[number - 1].m_dMomssats <= 0.0) {
            return "Momsregel " + fields.vatRule +
                   " finns inte eller har ingen momssats (se Moms - Sätt moms).";
        }
        rule.vatRule = static_cast<std::int32_t>(number);
    }
    auto lowest = boundOf(fields.minAmount, "från");
    auto highest = boundOf(fields.maxAmount, "till");
    if (auto* refusal = std::get_if<std::string>(&lowest)) {
        return *refusal;
    }
    if (auto* refusal = std::get_if<std::string>(&highest)) {
        return *refusal;
    }
    rule.minAmount = std::get<std::optional<Ore>>(lowest);
    rule.maxAmount = std::get<std::optional<Ore>>(highest);
    if (rule.minAmount && rule.maxAmount && *rule.minAmount > *rule.maxAmount) {
        return std::string("Beloppet från är större än beloppet till.");
    }
    return rule;
}

std::vector<std::int32_t> bankBookAccounts(const std::vector<BankAccountSetting>& settings) {
    std::vector<std::int32_t> accounts;
    for (const BankAccountSetting& setting : settings) {
        if (setting.bookAccount > 0) {
            accounts.push_back(setting.bookAccount);
        }
    }
    return accounts;
}

std::string bankRuleText(const CTallvingeDoc& doc, const BankRule& rule) {
    std::string line = (rule.match == BankTextMatch::Equals ? "är lika med \"" : "innehåller \"") +
                       rule.pattern + "\" → " + std::to_string(rule.account);
    if (const std::string vat = vatRuleText(doc, rule.vatRule); !vat.empty()) {
        line += ", " + vat;
    }
    if (rule.sign != BankAmountSign::Any) {
        line += rule.sign == BankAmountSign::In ? ", insättningar" : ", uttag";
    }
    if (rule.minAmount || rule.maxAmount) {
        line += ", belopp " + rangeText(rule.minAmount, rule.maxAmount);
    }
    return line;
}

std::string bankRuleSource(const BankRule& rule) {
    return "regel:" + normaliseBankText(rule.pattern);
}

BankRulesModel::BankRulesModel(const CTallvingeDoc& doc) : m_doc(doc) {
    if (!doc.pathName().empty()) {
        m_rules = readBankRules(doc.pathName());
        m_bankAccounts = bankBookAccounts(readBankAccounts(doc.pathName()));
        m_used = readBankLineSources(doc.pathName());
    }
}

std::array<std::string, kBankRuleColumnTitles.size()> BankRulesModel::row(std::size_t index) const {
    if (index >= m_rules.size()) {
        return {};
    }
    const BankRule& rule = m_rules[index];
    const auto used = m_used.find(bankRuleSource(rule));
    const std::string amounts = rangeText(rule.minAmount, rule.maxAmount);
    return {(rule.match == BankTextMatch::Equals ? "= " : "") + rule.pattern,
            std::to_string(rule.account),
            vatRuleText(m_doc, rule.vatRule),
            rule.sign == BankAmountSign::In    ? "insättningar"
            : rule.sign == BankAmountSign::Out ? "uttag"
                                               : "alla",
            amounts,
            std::to_string(used == m_used.end() ? 0 : used->second)};
}

BankRuleFields BankRulesModel::fields(std::optional<std::size_t> index) const {
    return index && *index < m_rules.size() ? bankRuleFields(m_rules[*index]) : BankRuleFields{};
}

std::optional<std::string> BankRulesModel::store(std::optional<std::size_t> index,
                                                 const BankRuleFields& fields) {
    auto made = bankRuleFrom(m_doc, fields, m_bankAccounts);
    if (auto* refusal = std::get_if<std::string>(&made)) {
        return *refusal;
    }
    std::vector<BankRule> rules = m_rules;
    if (index && *index < rules.size()) {
        rules[*index] = std::get<BankRule>(std::move(made));
    } else {
        rules.push_back(std::get<BankRule>(std::move(made)));
    }
    return write(std::move(rules));
}

std::optional<std::string> BankRulesModel::move(std::size_t index, int step) {
    const auto to = static_cast<std::ptrdiff_t>(index) + step;
    if (index >= m_rules.size() || to < 0 || to >= static_cast<std::ptrdiff_t>(m_rules.size())) {
        return std::nullopt;
    }
    std::vector<BankRule> rules = m_rules;
    std::swap(rules[index], rules[static_cast<std::size_t>(to)]);
    return write(std::move(rules));
}

std::optional<std::string> BankRulesModel::remove(std::size_t index) {
    if (index >= m_rules.size()) {
        return std::nullopt;
    }
    std::vector<BankRule> rules = m_rules;
    rules.erase(rules.begin() + static_cast<std::ptrdiff_t>(index));
    return write(std::move(rules));
}

std::optional<std::string> BankRulesModel::write(std::vector<BankRule> rules) {
    if (m_doc.pathName().empty()) {
        return std::string(kMsgRulesNeedSavedCompany);
    }
    try {
        writeBankRules(m_doc.pathName(), rules);
    } catch (const DatabaseError& error) {
        return std::string(error.what());
    }
    m_rules = std::move(rules);
    return std::nullopt;
}

} // namespace kv
