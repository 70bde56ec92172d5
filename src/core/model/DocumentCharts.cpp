// The chart operations of the document: approval of either chart, and the
// templates a new company starts from.
#include "model/TallvingeDoc.h"

#include <algorithm>

namespace kv {

// Chart approval: turns the rows of a chart grid into chart rows of the
// document. Rows already in the document with the same number above 0 are
// kept (with their posted rows) and get the new texts.
CKonto* CTallvingeDoc::reusableRow(std::int32_t number, const std::vector<CKonto*>& taken,
                                   const KontoRefs& other) {
    // Never hand out a row twice or take one from the other chart: a row must
    // have exactly one owner and stand in one chart only.
    for (auto& konto : m_allaKonton) {
        CKonto* row = konto.get();
        if (row->m_nKontonr == number && std::find(taken.begin(), taken.end(), row) == taken.end() &&
            std::find(other.begin(), other.end(), row) == other.end()) {
            return row;
        }
    }
    return nullptr;
}

std::vector<CKonto*> CTallvingeDoc::takeChartRows(const std::vector<ChartRowTexts>& rows, KontoRefs& subset,
                                                  std::vector<std::int32_t>& numbers,
                                                  const KontoRefs& other) {
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
                                        [row](const auto& k) { return k.get() == row; });
        if (owner != m_allaKonton.end() && *owner) {
            kept.push_back(std::move(*owner));
        }
    }
    m_allaKonton = std::move(kept);
}

void CTallvingeDoc::approveIncomeChart(const std::vector<ChartRowTexts>& rows) {
    auto scope = beginChange();
    keepWholeStateForRollback();
    std::vector<CKonto*> ordered = takeChartRows(rows, m_resKonton, m_resNummer, m_balKonton);
    for (CKonto* row : m_balKonton) {
        row->m_nMarkering = 1;
        ordered.push_back(row);
    }
    finishApproval(std::move(ordered));
    scope.commit();
}

void CTallvingeDoc::approveBalanceChart(const std::vector<ChartRowTexts>& rows) {
    auto scope = beginChange();
    keepWholeStateForRollback();
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
    scope.commit();
}

// ---- templates ----

void CTallvingeDoc::chooseTemplate(const std::string& name) {
    auto scope = beginChange();
    assign(m_strMallnamn, name);
    assign(m_nValdMall, -1);
    scope.commit();
}

void CTallvingeDoc::applyUserTemplate(const CKontoplan& mall) {
    auto scope = beginChange();
    keepWholeStateForRollback();
    m_strMallnamn = mall.m_strNamn;
    m_nValdMall = 0;
    const auto incomeRows = static_cast<std::size_t>(std::max(0, mall.m_nAntalRes));
    for (std::size_t k = 0; k < mall.m_konton.size(); ++k) {
        const CKonto& konto = *mall.m_konton[k];
        m_allaKonton.push_back(std::make_unique<CKonto>(konto.templateRowCopy()));
        (k < incomeRows ? m_resNummer : m_balNummer).push_back(konto.m_nKontonr);
    }
    m_momsregler.insert(m_momsregler.end(), mall.m_momsregler.begin(), mall.m_momsregler.end());
    scope.commit();
}

void CTallvingeDoc::forgetChosenTemplate() {
    auto scope = beginChange(ChangeKind::Display);
    assign(m_nValdMall, -2);
    assign(m_strMallnamn, std::string(kIngenMall));
    scope.commit();
}

} // namespace kv
