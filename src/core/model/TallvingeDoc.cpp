#include "model/TallvingeDoc.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace kv {

void CTallvingeDoc::clear() { replaceState(CompanyState{}); }

void CTallvingeDoc::replaceState(CompanyState&& state) { static_cast<CompanyState&>(*this) = std::move(state); }

std::string CTallvingeDoc::title() const {
    if (m_pathName.empty()) {
        return "Namnlös";
    }
    const auto slash = m_pathName.find_last_of('/');
    std::string name = slash == std::string::npos ? m_pathName : m_pathName.substr(slash + 1);
    if (name.size() > 4 && name.ends_with(".bok")) {
        name.resize(name.size() - 4);
    }
    return name;
}

void CTallvingeDoc::addView(DocumentView* view) {
    if (view != nullptr && std::find(m_views.begin(), m_views.end(), view) == m_views.end()) {
        m_views.push_back(view);
    }
}

void CTallvingeDoc::removeView(DocumentView* view) { std::erase(m_views, view); }

void CTallvingeDoc::updateAllViews() {
    // A view may unsubscribe (close) while it updates: walk a copy.
    const auto views = m_views;
    for (DocumentView* view : views) {
        if (std::find(m_views.begin(), m_views.end(), view) != m_views.end()) {
            view->onDocumentUpdated();
        }
    }
}

void CTallvingeDoc::changed() {
    setModified(true);
    updateAllViews();
}

int CTallvingeDoc::accountIndex(std::int32_t number) const {
    for (std::size_t i = 0; i < m_allaKonton.size(); ++i) {
        if (m_allaKonton[i]->m_nKontonr == number) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool CTallvingeDoc::inBalNummer(std::int32_t number) const {
    return std::find(m_balNummer.begin(), m_balNummer.end(), number) != m_balNummer.end();
}

bool CTallvingeDoc::inResNummer(std::int32_t number) const {
    return std::find(m_resNummer.begin(), m_resNummer.end(), number) != m_resNummer.end();
}

Ore CTallvingeDoc::balanceOfBalanceAccount(std::size_t position) const {
    if (position >= m_balKonton.size()) {
        return 0;
    }
    return balanceUnder(*m_balKonton[position], RangeRule::WholePeriod);
}

RangeRule CTallvingeDoc::rangeRuleInForce() const {
    if (m_nDelperiod != 1) {
        return RangeRule::WholePeriod;
    }
    return m_bKumulativ != 0 ? RangeRule::Cumulative : RangeRule::SubPeriod;
}

Ore CTallvingeDoc::balanceUnder(const CKonto& konto, RangeRule rule) const {
    const YearMonth from{m_nDelFranAr, m_nDelFranManad};
    const YearMonth to{m_nDelTillAr, m_nDelTillManad};
    Ore sum = 0;
    for (const CKontorad& rad : konto.m_rader) {
        const YearMonth when{rad.m_nAr, rad.m_nManad};
        const bool selected = rule == RangeRule::WholePeriod ||
                              (rule == RangeRule::SubPeriod && from <= when && when <= to) ||
                              (rule == RangeRule::Cumulative && when <= to);
        if (selected) {
            sum = addOre(sum, addOre(toOre(rad.m_dDebet), -toOre(rad.m_dKredit)));
        }
    }
    return sum;
}

Ore CTallvingeDoc::RangeBalance(std::size_t position) const {
    if (position >= m_resKonton.size()) {
        return 0;
    }
    return balanceUnder(*m_resKonton[position], rangeRuleInForce());
}

Ore CTallvingeDoc::periodResult() const {
    Ore sum = 0;
    for (std::size_t i = 0; i < m_resKonton.size(); ++i) {
        sum = addOre(sum, RangeBalance(i));
    }
    return -sum;
}

bool CTallvingeDoc::resultAccountNumber(std::int32_t& number) const {
    // The result row stands just above the end-marker row, the last income row.
    if (m_resKonton.size() < 2) {
        return false;
    }
    const CKonto& resultRow = *m_resKonton[m_resKonton.size() - 2];
    if (resultRow.m_strKolumn6 != "v") {
        return false;
    }
    number = readWholeNumber(resultRow.m_strKolumn2);
    return true;
}

void CTallvingeDoc::PostPeriodResult(std::int32_t& number) {
    const Ore result = periodResult();
    std::int32_t account = 0;
    if (!resultAccountNumber(account)) {
        return;
    }
    number = account;
    const int index = accountIndex(account);
    if (index <= 0) {
        return;
    }
    CKontorad row;
    row.m_strText = "Resultat";
    row.m_dKredit = toKronor(result);
    CKonto& konto = *m_allaKonton[static_cast<std::size_t>(index)];
    konto.m_rader.clear();
    konto.m_rader.push_back(std::move(row));
}

YearMonth CTallvingeDoc::latestVoucherDate(std::int32_t& vernr) const {
    YearMonth latest{2000, 1};
    for (const CEttVerifikat& ver : m_verifikat) {
        const YearMonth when{ver.m_nTransAr, ver.m_nTransManad};
        if (when > latest) {
            latest = when;
            vernr = ver.m_nVernr;
        }
    }
    return latest;
}

bool CTallvingeDoc::hasOpenPeriod() const {
    return m_nAktuellPeriod >= 0 && static_cast<std::size_t>(m_nAktuellPeriod) < m_perioder.size();
}

YearMonth CTallvingeDoc::periodStart() const {
    if (!hasOpenPeriod()) {
        return {};
    }
    const CPeriod& period = m_perioder[static_cast<std::size_t>(m_nAktuellPeriod)];
    return {period.m_nFranAr, period.m_nFranManad};
}

YearMonth CTallvingeDoc::periodEnd() const {
    if (!hasOpenPeriod()) {
        return {};
    }
    const CPeriod& period = m_perioder[static_cast<std::size_t>(m_nAktuellPeriod)];
    return {period.m_nTillAr, period.m_nTillManad};
}

std::string CTallvingeDoc::periodFileLabel() const {
    return "_" + std::to_string(m_nFranManad) + "." + std::to_string(m_nFranAr) + "-" + std::to_string(m_nTillManad) +
           "." + std::to_string(m_nTillAr) + ".per";
}

std::string CTallvingeDoc::periodLabel() const { return PeriodLabel(periodFileLabel()); }

std::string PeriodLabel(const std::string& periodFileLabel) {
    if (periodFileLabel.size() < 5) {
        return {};
    }
    const std::string middle = periodFileLabel.substr(1, periodFileLabel.size() - 5);
    const auto dash = middle.find('-');
    if (dash == std::string::npos) {
        return middle;
    }
    return middle.substr(0, dash) + " - " + middle.substr(dash + 1);
}

std::int32_t readWholeNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0; ++i) {
        value = std::min(value * 10 + (text[i] - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    value = negative ? -value : value;
    return static_cast<std::int32_t>(std::clamp(value, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

// Chart approval: turns the rows of a chart grid into chart rows of the
// document. Rows already in the document with the same number above 0 are
// kept (with their posted rows) and get the new texts.
CKonto* CTallvingeDoc::reusableRow(std::int32_t number, const std::vector<CKonto*>& taken,
                                   const std::vector<CKonto*>& other) const {
    // Never hand out a row twice or take one from the other chart: a row must
    // have exactly one owner and stand in one chart only.
    for (const auto& konto : m_allaKonton) {
        CKonto* row = konto.get();
        if (row->m_nKontonr == number && std::find(taken.begin(), taken.end(), row) == taken.end() &&
            std::find(other.begin(), other.end(), row) == other.end()) {
            return row;
        }
    }
    return nullptr;
}

std::vector<CKonto*> CTallvingeDoc::takeChartRows(const std::vector<ChartRowTexts>& rows,
                                                  std::vector<CKonto*>& subset, std::vector<std::int32_t>& numbers,
                                                  const std::vector<CKonto*>& other) {
    subset.clear();
    numbers.clear();
    for (auto& konto : m_allaKonton) {
        konto->m_nMarkering = 0;
    }
    std::vector<CKonto*> taken;
    if (rows.empty() || rows.front()[0] == kEndMarker) {
        return taken;
    }
    for (const ChartRowTexts& texts : rows) {
        const std::int32_t number = readWholeNumber(texts[0]);
        CKonto* row = number > 0 ? reusableRow(number, taken, other) : nullptr;
        if (row == nullptr) {
            m_allaKonton.push_back(std::make_unique<CKonto>());
            row = m_allaKonton.back().get();
            row->m_nKontonr = number;
        }
        row->m_strKolumn2 = texts[1];
        row->m_strKolumn3 = texts[2];
        row->m_strKolumn4 = texts[3];
        row->m_strKolumn5 = texts[4];
        row->m_strKolumn6 = texts[5];
        row->m_nMarkering = 1;
        taken.push_back(row);
        subset.push_back(row);
        numbers.push_back(number);
        if (texts[0] == kEndMarker) {
            break;
        }
    }
    return taken;
}

void CTallvingeDoc::finishApproval(std::vector<CKonto*> ordered) {
    // Keep the marked rows in the new order; every other row is deleted.
    KontoList kept;
    kept.reserve(ordered.size());
    for (CKonto* row : ordered) {
        const auto owner = std::find_if(m_allaKonton.begin(), m_allaKonton.end(),
                                        [row](const std::unique_ptr<CKonto>& k) { return k.get() == row; });
        if (owner != m_allaKonton.end() && *owner) {
            kept.push_back(std::move(*owner));
        }
    }
    m_allaKonton = std::move(kept);
}

void CTallvingeDoc::approveIncomeChart(const std::vector<ChartRowTexts>& rows) {
    std::vector<CKonto*> ordered = takeChartRows(rows, m_resKonton, m_resNummer, m_balKonton);
    for (CKonto* row : m_balKonton) {
        row->m_nMarkering = 1;
        ordered.push_back(row);
    }
    finishApproval(std::move(ordered));
}

void CTallvingeDoc::approveBalanceChart(const std::vector<ChartRowTexts>& rows) {
    std::vector<CKonto*> ordered;
    for (CKonto* row : m_resKonton) {
        row->m_nMarkering = 1;
        ordered.push_back(row);
    }
    // takeChartRows clears every mark first, so mark the income rows after it.
    std::vector<CKonto*> balance = takeChartRows(rows, m_balKonton, m_balNummer, m_resKonton);
    for (CKonto* row : m_resKonton) {
        row->m_nMarkering = 1;
    }
    ordered.insert(ordered.end(), balance.begin(), balance.end());
    finishApproval(std::move(ordered));
}

} // namespace kv
