#include "bank/BankMatching.h"

#include "storage/Cp1252.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace kv {

namespace {

// The next code point of text at pos (moved past it); a byte that starts no
// valid UTF-8 sequence stands for itself.
char32_t nextCodePoint(std::string_view text, std::size_t& pos) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    const auto continuation = [&](std::size_t at) {
        return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0U) == 0x80U;
    };
    std::size_t length = 1;
    char32_t cp = byte;
    if (byte >= 0xF0U && byte < 0xF8U) {
        length = 4;
        cp = byte & 0x07U;
    } else if (byte >= 0xE0U) {
        length = 3;
        cp = byte & 0x0FU;
    } else if (byte >= 0xC0U) {
        length = 2;
        cp = byte & 0x1FU;
    }
    if (length > 1) {
        for (std::size_t i = 1; i < length; ++i) {
            if (!continuation(pos + i)) {
                ++pos;
                return byte;
            }
            cp = (cp << 6U) | (static_cast<unsigned char>(text[pos + i]) & 0x3FU);
        }
    }
    pos += length;
    return cp;
}

char32_t folded(char32_t cp) {
    if (cp >= U'A' && cp <= U'Z') {
        return cp + 32;
    }
    // The capitals of Latin-1 (Å Ä Ö É Ü ...), but not the sign ×.
    if (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7) {
        return cp + 32;
    }
    switch (cp) {
    case 0x160: // Š
    case 0x152: // Œ
    case 0x17D: // Ž
        return cp + 1;
    case 0x178: // Ÿ
        return 0xFF;
    default:
        return cp;
    }
}

enum class Kind { Letter, Digit, Other };

Kind kindOf(char32_t cp) {
    if (cp >= U'0' && cp <= U'9') {
        return Kind::Digit;
    }
    if ((cp >= U'a' && cp <= U'z') || (cp >= U'A' && cp <= U'Z')) {
        return Kind::Letter;
    }
    if (cp < 0xC0 || cp == 0xD7 || cp == 0xF7 || (cp >= 0x2000 && cp <= 0x206F)) {
        return Kind::Other; // blanks, signs, the general punctuation
    }
    return Kind::Letter;
}

} // namespace

std::string normaliseBankText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool inGap = false;    // inside a run of digits and signs
    bool gapDigit = false; // that run holds a digit
    const auto endGap = [&] {
        if (!inGap) {
            return;
        }
        if (gapDigit) {
            if (!out.empty()) {
                out += ' ';
            }
            out += '#';
        }
        out += ' ';
        inGap = false;
        gapDigit = false;
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        // ASCII, most of what banks write, without decoding.
        if (const char c = text[pos]; static_cast<unsigned char>(c) < 0x80) {
            ++pos;
            const bool upperCase = c >= 'A' && c <= 'Z';
            if (upperCase || (c >= 'a' && c <= 'z')) {
                endGap();
                out += upperCase ? static_cast<char>(c + 32) : c;
            } else {
                inGap = true;
                gapDigit = gapDigit || (c >= '0' && c <= '9');
            }
            continue;
        }
        const char32_t cp = nextCodePoint(text, pos);
        const Kind kind = kindOf(cp);
        if (kind == Kind::Letter) {
            endGap();
            appendUtf8(out, folded(cp));
        } else {
            inGap = true;
            gapDigit = gapDigit || kind == Kind::Digit;
        }
    }
    endGap();
    // endGap leaves a blank after each run; none at the start or the end.
    const auto first = out.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = out.find_last_not_of(' ');
    return out.substr(first, last - first + 1);
}

namespace {

// Month names and the words of invoices and references, normalised: they
// change from one month's line to the next, or say nothing of who it is.
const std::unordered_set<std::string_view>& monthlyWords() {
    static const std::unordered_set<std::string_view> words = {
        "januari",       "februari",  "mars",    "april",    "maj",      "juni",        "juli",
        "augusti",       "september", "oktober", "november", "december", "jan",         "feb",
        "mar",           "apr",       "jun",     "jul",      "aug",      "sep",         "sept",
        "okt",           "nov",       "dec",     "january",  "february", "march",       "may",
        "june",          "july",      "august",  "october",  "faktura",  "fakt",        "fakturanr",
        "fakturanummer", "ocr",       "ref",     "referens", "nr",       "avi",         "avinr",
        "lasku",         "laskunro",  "laskun",  "viite",    "viitenro", "viitenumero", "invoice",
        "inv",           "no",        "rf"};
    return words;
}

// Finnish month names: "maaliskuu", "maaliskuun", "maaliskuussa", ...
bool finnishMonth(std::string_view word) {
    static constexpr std::array<std::string_view, 12> kStems = {"tammi", "helmi", "maalis", "huhti",
                                                                "touko", "kesä",  "heinä",  "elo",
                                                                "syys",  "loka",  "marras", "joulu"};
    for (const std::string_view stem : kStems) {
        if (word.starts_with(stem) && word.substr(stem.size()).starts_with("kuu")) {
            return true;
        }
    }
    return false;
}

// The longest word of monthlyWords.
constexpr std::size_t kLongestMonthlyWord = 13;

bool monthly(std::string_view word) {
    if (word == "#") {
        return true;
    }
    if (word.find("kuu") != std::string_view::npos && finnishMonth(word)) {
        return true;
    }
    return word.size() <= kLongestMonthlyWord && monthlyWords().contains(word);
}

// The words of a normalised text, split at its blanks.
std::vector<std::string_view> wordsOf(std::string_view text) {
    std::vector<std::string_view> words;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (end > start) {
            words.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return words;
}

} // namespace

std::string bankCounterpartWords(std::string_view text) {
    const std::string normalised = normaliseBankText(text);
    std::string kept;
    for (const std::string_view word : wordsOf(normalised)) {
        if (!monthly(word)) {
            kept += (kept.empty() ? "" : " ") + std::string(word);
        }
    }
    return kept;
}

std::string bankLineWords(const BankLine& line) {
    std::string words = bankCounterpartWords(line.counterpart);
    return words.empty() ? bankCounterpartWords(line.text) : words;
}

std::string bankRuleProposal(const BankLine& line) {
    const std::string& text = bankCounterpartWords(line.counterpart).empty() ? line.text : line.counterpart;
    // The words as written, with the numbers and months between them left out.
    std::string kept;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string word = text.substr(start, end - start);
        const std::string normalised = normaliseBankText(word);
        if (!normalised.empty() && !monthly(normalised) && normalised.find('#') == std::string::npos) {
            kept += (kept.empty() ? "" : " ") + word;
        }
        start = end + 1;
    }
    return kept;
}

std::string bankRuleSubject(const BankLine& line) {
    return normaliseBankText(line.counterpart + " " + line.text);
}

bool bankRuleMatches(const BankRule& rule, const std::string& normalisedPattern, const std::string& subject,
                     Ore amount) {
    if ((rule.sign == BankAmountSign::In && amount <= 0) ||
        (rule.sign == BankAmountSign::Out && amount >= 0)) {
        return false;
    }
    const Ore size = amount < 0 ? -amount : amount;
    if ((rule.minAmount && size < *rule.minAmount) || (rule.maxAmount && size > *rule.maxAmount)) {
        return false;
    }
    if (normalisedPattern.empty()) {
        return false; // a rule of no words would take every line
    }
    if (rule.match == BankTextMatch::Equals) {
        return subject == normalisedPattern;
    }
    // Whole words: the pattern with a blank or an end on either side.
    for (std::size_t at = subject.find(normalisedPattern); at != std::string::npos;
         at = subject.find(normalisedPattern, at + 1)) {
        const std::size_t end = at + normalisedPattern.size();
        if ((at == 0 || subject[at - 1] == ' ') && (end == subject.size() || subject[end] == ' ')) {
            return true;
        }
    }
    return false;
}

namespace {

// The 1-based number of the last VAT rule that names account on the side of
// a line (debit or credit) with vatAccount as that side's VAT account, or 0.
std::int32_t vatRuleFor(const std::vector<CAutomoms>& rules, std::int32_t account, bool debit,
                        std::int32_t vatAccount) {
    std::int32_t found = 0;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        const CAutomoms& rule = rules[i];
        const std::int32_t side = debit ? rule.m_nDebetkonto : rule.m_nKreditkonto;
        const std::int32_t vat = debit ? rule.m_nDebetMomskonto : rule.m_nKreditMomskonto;
        if (side == account && vat == vatAccount && vat > 0) {
            found = static_cast<std::int32_t>(i + 1);
        }
    }
    return found;
}

// What a voucher booked against the bank's book account: the other account
// and the VAT rule of its VAT line, or nothing for another kind of voucher.
std::optional<BankMatch> bookedAgainst(const CEttVerifikat& voucher, std::int32_t bookAccount,
                                       const std::vector<CAutomoms>& vatRules) {
    int onBank = 0;
    std::array<const CVerifikatrad*, 2> others{};
    std::size_t otherCount = 0;
    for (const CVerifikatrad& line : voucher.m_rader) {
        if (line.m_nKonto == 0) {
            continue;
        }
        if (line.m_nKonto == bookAccount) {
            ++onBank;
        } else if (otherCount < others.size()) {
            others[otherCount++] = &line;
        } else {
            return std::nullopt;
        }
    }
    if (onBank != 1 || otherCount == 0) {
        return std::nullopt;
    }
    BankMatch match;
    match.source = MatchSource::History;
    match.voucher = voucher.m_nVernr;
    if (otherCount == 1) {
        match.account = others[0]->m_nKonto;
        return match;
    }
    for (std::size_t i = 0; i < 2; ++i) {
        const CVerifikatrad& net = *others[i];
        const CVerifikatrad& vat = *others[1 - i];
        const bool debit = toOre(net.m_dDebet) != 0;
        if (const std::int32_t rule = vatRuleFor(vatRules, net.m_nKonto, debit, vat.m_nKonto); rule > 0) {
            match.account = net.m_nKonto;
            match.vatRule = rule;
            return match;
        }
    }
    return std::nullopt;
}

// The vouchers with a posted row on the account, found through its rows
// rather than by reading every voucher of the period.
std::vector<const CEttVerifikat*> vouchersOn(const CTallvingeDoc& doc, std::int32_t account) {
    const auto& vouchers = doc.state().m_verifikat;
    std::vector<const CEttVerifikat*> found;
    const int index = doc.accountIndex(account);
    if (index < 0) {
        return found;
    }
    std::int32_t last = 0;
    for (const CKontorad& row : doc.state().m_allaKonton[static_cast<std::size_t>(index)]->m_rader) {
        if (row.m_nVernr <= 0 || row.m_nVernr == last) {
            continue; // an opening balance, or the voucher's second row
        }
        last = row.m_nVernr;
        const auto at = static_cast<std::size_t>(row.m_nVernr - 1);
        if (at >= vouchers.size() || vouchers[at].m_nVernr != row.m_nVernr) {
            // Numbered otherwise than by place: every voucher is looked at.
            found.clear();
            for (const CEttVerifikat& voucher : vouchers) {
                found.push_back(&voucher);
            }
            return found;
        }
        found.push_back(&vouchers[at]);
    }
    return found;
}

} // namespace

BankHistory::BankHistory(const CTallvingeDoc& doc, std::int32_t bookAccount, const BankWordSet& wanted) {
    if (wanted.empty()) {
        return;
    }
    const auto& vatRules = doc.state().m_momsregler;
    for (const CEttVerifikat* onBank : vouchersOn(doc, bookAccount)) {
        const CEttVerifikat& voucher = *onBank;
        if (voucher.m_strVertext.size() == 0) {
            continue;
        }
        const auto match = bookedAgainst(voucher, bookAccount, vatRules);
        if (!match) {
            continue;
        }
        const std::int64_t day =
            (std::int64_t{voucher.m_nTransAr} * 16 + voucher.m_nTransManad) * 32 + voucher.m_nTransDag;
        const std::int64_t when = (day << 32) + voucher.m_nVernr;
        const std::string words = bankCounterpartWords(voucher.m_strVertext.view());
        // The whole text, then its first words: the counterpart before a message.
        std::size_t end = words.size();
        while (end > 0) {
            const std::string_view prefix = std::string_view(words).substr(0, end);
            if (wanted.contains(prefix)) {
                const bool whole = end == words.size();
                auto [entry, added] = m_byWords.try_emplace(std::string(prefix), Entry{*match, when, whole});
                // A whole text before first words; the most recent of each.
                if (!added && (whole > entry->second.whole ||
                               (whole == entry->second.whole && entry->second.when < when))) {
                    entry->second = Entry{*match, when, whole};
                }
            }
            const std::size_t blank = words.rfind(' ', end - 1);
            if (blank == std::string::npos) {
                break;
            }
            end = blank;
        }
    }
}

std::optional<BankMatch> BankHistory::find(const std::string& words) const {
    const auto found = m_byWords.find(words);
    if (found == m_byWords.end()) {
        return std::nullopt;
    }
    BankMatch match = found->second.match;
    // The date is written out only for the voucher found.
    const std::int64_t day = found->second.when >> 32;
    match.voucherDate =
        BankDate{static_cast<std::int32_t>(day / 32 / 16), static_cast<std::int32_t>(day / 32 % 16),
                 static_cast<std::int32_t>(day % 32)}
            .text();
    return match;
}

BankLearning::BankLearning(const std::vector<BankLineRecord>& booked) {
    // Per counterpart's words, the few accounts its lines went to.
    struct Way {
        std::int32_t account = 0;
        std::int32_t vatRule = 0;
        std::size_t count = 0;
        const BankLineRecord* latest = nullptr;
    };
    std::unordered_map<std::string_view, std::vector<Way>> ways;
    for (const BankLineRecord& record : booked) {
        if (record.words.empty() || record.account == 0) {
            continue;
        }
        std::vector<Way>& of = ways[record.words];
        auto way = std::find_if(of.begin(), of.end(), [&record](const Way& w) {
            return w.account == record.account && w.vatRule == record.vatRule;
        });
        if (way == of.end()) {
            way = of.insert(of.end(), Way{record.account, record.vatRule, 0, &record});
        }
        ++way->count;
        if (way->latest->date <= record.date) {
            way->latest = &record;
        }
    }
    for (const auto& [words, of] : ways) {
        const Way* best = &of.front();
        std::size_t total = 0;
        for (const Way& way : of) {
            total += way.count;
            if (way.count > best->count ||
                (way.count == best->count && best->latest->date < way.latest->date)) {
                best = &way;
            }
        }
        BankMatch match;
        match.source = MatchSource::Learnt;
        match.account = best->account;
        match.vatRule = best->vatRule;
        match.voucher = best->latest->voucher;
        match.voucherDate = best->latest->date;
        match.agreeing = best->count;
        match.earlier = total;
        m_byWords.emplace(std::string(words), std::move(match));
    }
}

const BankMatch* BankLearning::find(const std::string& words) const {
    const auto found = m_byWords.find(words);
    return found == m_byWords.end() ? nullptr : &found->second;
}

namespace {

BankWordSet wordsOfLines(const std::vector<BankLine>& lines) {
    BankWordSet wanted;
    for (const BankLine& line : lines) {
        if (std::string words = bankLineWords(line); !words.empty()) {
            wanted.insert(std::move(words));
        }
    }
    return wanted;
}

} // namespace

BankMatcher::BankMatcher(const CTallvingeDoc& doc, std::vector<BankRule> rules, std::int32_t bookAccount,
                         const std::vector<BankLine>& lines, const std::vector<BankLineRecord>& booked)
    : m_rules(std::move(rules)), m_bookAccount(bookAccount), m_history(doc, bookAccount, wordsOfLines(lines)),
      m_learning(booked) {
    m_patterns.reserve(m_rules.size());
    for (const BankRule& rule : m_rules) {
        m_patterns.push_back(normaliseBankText(rule.pattern));
    }
}

BankMatch BankMatcher::match(const BankLine& line) const {
    const std::string subject = bankRuleSubject(line);
    for (std::size_t i = 0; i < m_rules.size(); ++i) {
        // A rule never books a line on the bank's account itself.
        if (m_rules[i].account != m_bookAccount &&
            bankRuleMatches(m_rules[i], m_patterns[i], subject, line.amount)) {
            BankMatch match;
            match.source = MatchSource::Rule;
            match.account = m_rules[i].account;
            match.vatRule = m_rules[i].vatRule;
            match.ruleNumber = i + 1;
            return match;
        }
    }
    const std::string words = bankLineWords(line);
    if (words.empty()) {
        return {};
    }
    if (auto found = m_history.find(words)) {
        return *found;
    }
    if (const BankMatch* found = m_learning.find(words)) {
        return *found;
    }
    return {};
}

} // namespace kv
