#include "budget/Budget.h"

#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"
#include "voucher/VoucherNumbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace kv {

namespace {

// Longer than any period the period dialog makes; a damaged file's months
// cannot make a budget of millions of columns.
constexpr std::int32_t kLongestPeriod = 120;

std::string monthKey(YearMonth month) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d", static_cast<int>(month.year),
                  static_cast<int>(month.month));
    return text;
}

std::optional<YearMonth> monthOfKey(const std::string& key) {
    if (key.size() != 7 || key[4] != '-' || key.find_first_not_of("0123456789-") != std::string::npos) {
        return std::nullopt;
    }
    const YearMonth month{std::stoi(key.substr(0, 4)), std::stoi(key.substr(5))};
    if (month.month < 1 || month.month > 12) {
        return std::nullopt;
    }
    return month;
}

std::string timeText(const LocalTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month, time.day,
                  time.hour, time.minute, time.second);
    return text;
}

PeriodBudget budgetOfMonths(std::int32_t period, YearMonth first, YearMonth last) {
    const std::int64_t count = last.key() - first.key() + 1;
    if (first.month < 1 || first.month > 12 || count < 1 || count > kLongestPeriod) {
        throw BudgetRefusal("Periodens månader går inte att budgetera (" + std::to_string(first.month) + "." +
                            std::to_string(first.year) + " - " + std::to_string(last.month) + "." +
                            std::to_string(last.year) + ").");
    }
    PeriodBudget budget;
    budget.period = period;
    budget.first = first;
    budget.monthCount = static_cast<std::int32_t>(count);
    return budget;
}

// The accounts of the charts, income chart first, by number.
struct ChartAccount {
    std::string name;
    std::size_t order = 0;
};
std::map<std::int32_t, ChartAccount> chartAccounts(const CompanyState& company) {
    std::map<std::int32_t, ChartAccount> accounts;
    std::size_t order = 0;
    for (const auto* list : {&company.m_resKonton, &company.m_balKonton}) {
        for (const CKonto* konto : *list) {
            if (konto->m_nKontonr > 0) {
                accounts.try_emplace(konto->m_nKontonr, ChartAccount{konto->m_strKolumn2, order++});
            }
        }
    }
    return accounts;
}

// Chart order, removed accounts last by number.
void sortLines(std::vector<BudgetLine>& lines, const std::map<std::int32_t, ChartAccount>& chart) {
    const auto rank = [&chart](const BudgetLine& line) {
        const auto found = chart.find(line.account);
        return std::pair{found == chart.end() ? chart.size() : found->second.order, line.account};
    };
    std::stable_sort(lines.begin(), lines.end(),
                     [&rank](const BudgetLine& a, const BudgetLine& b) { return rank(a) < rank(b); });
}

BudgetLine& lineOf(PeriodBudget& budget, std::int32_t account, const std::string& name) {
    if (BudgetLine* line = budget.line(account)) {
        return *line;
    }
    budget.lines.push_back({account, name, std::vector<Ore>(static_cast<std::size_t>(budget.monthCount), 0)});
    return budget.lines.back();
}

Ore changedExactly(Ore amount, double percent) {
    return percent == 0.0 ? amount : changedToWholeKronor(amount, percent);
}

} // namespace

Ore BudgetLine::year() const {
    Ore sum = 0;
    for (const Ore month : months) {
        sum = addOre(sum, month);
    }
    return sum;
}

const BudgetLine* PeriodBudget::line(std::int32_t account) const {
    const auto found = std::find_if(lines.begin(), lines.end(),
                                    [account](const BudgetLine& line) { return line.account == account; });
    return found == lines.end() ? nullptr : &*found;
}

BudgetLine* PeriodBudget::line(std::int32_t account) {
    return const_cast<BudgetLine*>(std::as_const(*this).line(account));
}

Ore PeriodBudget::amount(std::int32_t account, YearMonth from, YearMonth to) const {
    const BudgetLine* found = line(account);
    if (found == nullptr) {
        return 0;
    }
    Ore sum = 0;
    for (std::int32_t i = 0; i < monthCount && static_cast<std::size_t>(i) < found->months.size(); ++i) {
        if (from <= month(i) && month(i) <= to) {
            sum = addOre(sum, found->months[static_cast<std::size_t>(i)]);
        }
    }
    return sum;
}

std::vector<Ore> evenSpread(Ore year, std::int32_t count) {
    if (count <= 0) {
        return {};
    }
    const Ore base = year / count;
    const Ore left = year % count; // the sign of year
    std::vector<Ore> months(static_cast<std::size_t>(count), base);
    const Ore step = left < 0 ? -1 : 1;
    for (Ore i = 0; i < std::abs(left); ++i) {
        months[static_cast<std::size_t>(i)] += step;
    }
    return months;
}

namespace {

bool isDigitChar(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string typedBudgetText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        // "- 200.00": the blank after the sign of a short negative amount.
        if (text[i] == ' ' && out.find_first_not_of(' ') != std::string::npos &&
            out.substr(out.find_first_not_of(' ')) == "-") {
            continue;
        }
        if (text[i] == ' ' && !out.empty() && isDigitChar(out.back())) {
            std::size_t next = i;
            while (next < text.size() && text[next] == ' ') {
                ++next;
            }
            if (next < text.size() && isDigitChar(text[next])) {
                i = next - 1;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

TypedBudgetAmount readBudgetAmount(const std::string& shown) {
    const std::string text = typedBudgetText(shown);
    if (text.find_first_not_of(' ') == std::string::npos) {
        return {Ore{0}, {}};
    }
    const std::optional<double> value = parseTypedAmount(text);
    if (!value) {
        // parseTypedAmount also refuses what is beyond any amount: tell that apart.
        const bool digitsOnly = text.find_first_not_of(" -0123456789,.") == std::string::npos;
        return {std::nullopt,
                digitsOnly && text.size() > 12 ? kMsgBudgetStorstaTal : kMsgBudgetGeEttSiffervarde};
    }
    if (std::fabs(*value) > kLargestLineAmount) {
        return {std::nullopt, kMsgBudgetStorstaTal};
    }
    return {toOre(*value), {}};
}

std::optional<double> readPercentChange(const std::string& text) {
    if (text.find_first_not_of(' ') == std::string::npos) {
        return 0.0;
    }
    std::string trimmed = text;
    while (!trimmed.empty() && (trimmed.back() == ' ' || trimmed.back() == '%')) {
        trimmed.pop_back();
    }
    if (!trimmed.empty() && trimmed.front() == '+') {
        trimmed.erase(0, 1);
    }
    const std::optional<double> value = parseTypedAmount(trimmed);
    if (!value || *value < -100.0 || *value > 1000.0) {
        return std::nullopt;
    }
    return value;
}

Ore changedToWholeKronor(Ore amount, double percent) {
    const long double kronor = static_cast<long double>(amount) * (100.0L + percent) / 10000.0L;
    const long double whole = std::round(kronor) * 100.0L;
    return std::clamp(static_cast<Ore>(whole), -kMaxOre, kMaxOre);
}

PeriodBudget emptyBudget(const CTallvingeDoc& doc, std::int32_t period) {
    const CompanyState& company = doc.state();
    if (period < 0 || static_cast<std::size_t>(period) >= company.m_perioder.size()) {
        throw BudgetRefusal(kMsgBudgetIngenPeriod);
    }
    const CPeriod& p = company.m_perioder[static_cast<std::size_t>(period)];
    return budgetOfMonths(period, {p.m_nFranAr, p.m_nFranManad}, {p.m_nTillAr, p.m_nTillManad});
}

PeriodBudget emptyNextBudget(const CTallvingeDoc& doc) {
    if (!doc.hasOpenPeriod()) {
        throw BudgetRefusal(kMsgBudgetIngenPeriod);
    }
    const std::int32_t next = doc.state().m_nAktuellPeriod + 1;
    if (static_cast<std::size_t>(next) < doc.state().m_perioder.size()) {
        return emptyBudget(doc, next);
    }
    const PeriodBudget open = emptyBudget(doc, next - 1);
    const YearMonth first = doc.periodEnd().plusMonths(1);
    return budgetOfMonths(next, first, first.plusMonths(open.monthCount - 1));
}

std::optional<PeriodBudget> loadBudget(const CTallvingeDoc& doc, std::int32_t period) {
    if (doc.neverSaved() || doc.pathName().empty()) {
        return std::nullopt;
    }
    const std::optional<BudgetRecord> saved = readBudget(doc.pathName(), period);
    if (!saved) {
        return std::nullopt;
    }
    PeriodBudget budget = static_cast<std::size_t>(period) < doc.state().m_perioder.size()
                              ? emptyBudget(doc, period)
                              : emptyNextBudget(doc);
    const auto chart = chartAccounts(doc.state());
    for (const BudgetAccountRecord& account : saved->accounts) {
        const auto inChart = chart.find(account.account);
        BudgetLine& line =
            lineOf(budget, account.account, inChart == chart.end() ? account.name : inChart->second.name);
        line.removed = inChart == chart.end();
        line.spreadEvenly = account.spreadEvenly;
        for (const auto& [key, amount] : account.months) {
            const std::optional<YearMonth> month = monthOfKey(key);
            if (!month) {
                continue;
            }
            const std::int64_t index = month->key() - budget.first.key();
            if (index >= 0 && index < budget.monthCount) {
                line.months[static_cast<std::size_t>(index)] = std::clamp(amount, -kMaxOre, kMaxOre);
            }
        }
    }
    sortLines(budget.lines, chart);
    return budget;
}

void saveBudget(const CTallvingeDoc& doc, const PeriodBudget& budget, const LocalClock& clock) {
    if (doc.neverSaved() || doc.pathName().empty()) {
        throw BudgetRefusal(kMsgBudgetEjSparatForetag);
    }
    const auto chart = chartAccounts(doc.state());
    BudgetRecord record{budget.period, monthKey(budget.first), budget.monthCount, timeText(clock()), {}};
    for (const BudgetLine& line : budget.lines) {
        const auto inChart = chart.find(line.account);
        if (line.removed || inChart == chart.end()) {
            continue;
        }
        BudgetAccountRecord account{line.account, inChart->second.name, line.spreadEvenly, {}};
        for (std::int32_t i = 0; i < budget.monthCount && static_cast<std::size_t>(i) < line.months.size();
             ++i) {
            account.months.emplace_back(monthKey(budget.month(i)), line.months[static_cast<std::size_t>(i)]);
        }
        record.accounts.push_back(std::move(account));
    }
    writeBudget(doc.pathName(), record);
}

Ore AccountOutcome::over(YearMonth from, YearMonth to) const {
    Ore sum = 0;
    for (const auto& [month, amount] : months) {
        if (from <= month && month <= to) {
            sum = addOre(sum, amount);
        }
    }
    return sum;
}

Ore AccountOutcome::total() const {
    Ore sum = 0;
    for (const auto& entry : months) {
        sum = addOre(sum, entry.second);
    }
    return sum;
}

std::vector<AccountOutcome> outcomeOf(const CompanyState& company) {
    std::vector<AccountOutcome> out;
    for (const bool income : {true, false}) {
        for (const CKonto* konto : income ? company.m_resKonton : company.m_balKonton) {
            if (konto->m_nKontonr <= 0) {
                continue;
            }
            std::map<YearMonth, Ore> months;
            for (const CKontorad& rad : konto->m_rader) {
                if (!income && rad.m_nVernr == 0) {
                    continue; // an opening balance or the booked result, not a movement
                }
                const Ore balance = addOre(toOre(rad.m_dDebet), -toOre(rad.m_dKredit));
                Ore& month = months[YearMonth{rad.m_nAr, rad.m_nManad}];
                month = addOre(month, income ? -balance : balance);
            }
            out.push_back({konto->m_nKontonr, konto->m_strKolumn2, income, {months.begin(), months.end()}});
        }
    }
    return out;
}

std::optional<PreviousPeriod> loadPreviousPeriod(const CTallvingeDoc& doc) {
    if (!doc.hasOpenPeriod() || doc.state().m_nAktuellPeriod == 0 || doc.neverSaved()) {
        return std::nullopt;
    }
    const std::int32_t index = doc.state().m_nAktuellPeriod - 1;
    const PeriodFileContents read = loadPeriodFile(doc, index);
    if (!read.report.ok) {
        std::string message;
        for (const std::string& line : read.report.messages) {
            message += (message.empty() ? "" : "\n") + line;
        }
        throw BudgetRefusal(message);
    }
    const CPeriod& p = doc.state().m_perioder[static_cast<std::size_t>(index)];
    return PreviousPeriod{
        {p.m_nFranAr, p.m_nFranManad}, {p.m_nTillAr, p.m_nTillManad}, outcomeOf(read.period)};
}

void fillFromOutcome(PeriodBudget& target, const std::vector<std::int32_t>& accounts,
                     const std::vector<AccountOutcome>& outcome, YearMonth outcomeFirst,
                     std::int32_t outcomeMonths, double percent) {
    const bool byMonth = outcomeMonths == target.monthCount;
    for (const std::int32_t account : accounts) {
        const auto source = std::find_if(outcome.begin(), outcome.end(),
                                         [account](const AccountOutcome& o) { return o.account == account; });
        BudgetLine& line = lineOf(target, account, source == outcome.end() ? std::string() : source->name);
        line.removed = false;
        if (source == outcome.end()) {
            line.months.assign(static_cast<std::size_t>(target.monthCount), 0);
            line.spreadEvenly = true;
        } else if (byMonth) {
            for (std::int32_t i = 0; i < target.monthCount; ++i) {
                const YearMonth month = outcomeFirst.plusMonths(i);
                line.months[static_cast<std::size_t>(i)] =
                    changedToWholeKronor(source->over(month, month), percent);
            }
            line.spreadEvenly = false;
        } else {
            const YearMonth last = outcomeFirst.plusMonths(outcomeMonths - 1);
            line.months = evenSpread(changedToWholeKronor(source->over(outcomeFirst, last), percent),
                                     target.monthCount);
            line.spreadEvenly = true;
        }
    }
}

void fillFromBudget(PeriodBudget& target, const std::vector<std::int32_t>& accounts,
                    const PeriodBudget& source, double percent) {
    const bool byMonth = source.monthCount == target.monthCount;
    for (const std::int32_t account : accounts) {
        const BudgetLine* from = source.line(account);
        BudgetLine& line = lineOf(target, account, from == nullptr ? std::string() : from->name);
        line.removed = false;
        if (from == nullptr) {
            line.months.assign(static_cast<std::size_t>(target.monthCount), 0);
            line.spreadEvenly = true;
        } else if (byMonth && !from->spreadEvenly) {
            for (std::int32_t i = 0; i < target.monthCount; ++i) {
                const std::size_t at = static_cast<std::size_t>(i);
                line.months[at] = changedExactly(at < from->months.size() ? from->months[at] : 0, percent);
            }
            line.spreadEvenly = false;
        } else {
            line.months = evenSpread(changedExactly(from->year(), percent), target.monthCount);
            line.spreadEvenly = true;
        }
    }
}

std::vector<std::int32_t> incomeAccounts(const CompanyState& company) {
    std::vector<std::int32_t> accounts;
    for (const CKonto* konto : company.m_resKonton) {
        if (konto->m_nKontonr > 0) {
            accounts.push_back(konto->m_nKontonr);
        }
    }
    return accounts;
}

PeriodBudget nextBudgetFromOutcome(const CTallvingeDoc& doc, double percent) {
    PeriodBudget next = emptyNextBudget(doc);
    const PeriodBudget open = emptyBudget(doc, doc.state().m_nAktuellPeriod);
    fillFromOutcome(next, incomeAccounts(doc.state()), outcomeOf(doc.state()), open.first, open.monthCount,
                    percent);
    sortLines(next.lines, chartAccounts(doc.state()));
    return next;
}

} // namespace kv
