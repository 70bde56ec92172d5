// The periods of the company: the first one, closing the open period (its
// result booked, its balance-sheet balances kept as closing balances), a new
// period after the last one, opening another period, and moving the last
// period's end.
#include "model/DocumentTexts.h"
#include "model/ResultRow.h"
#include "model/TallvingeDoc.h"

#include <algorithm>

namespace kv {

namespace {

constexpr const char* kIngaendeBalans = "Ingående balans";
constexpr const char* kVinstForegPer = "Vinst / förlust föreg. per.";

bool isOpeningRow(const CKontorad& row) {
    return row.m_nVernr == 0 && row.m_strText == kIngaendeBalans;
}

// The last balance-sheet row with the number, as the carried balances find it.
CKonto* lastBalanceRow(const std::vector<CKonto*>& rows, std::int32_t number) {
    const auto found = std::find_if(rows.rbegin(), rows.rend(),
                                    [number](const CKonto* row) { return row->m_nKontonr == number; });
    return found == rows.rend() ? nullptr : *found;
}

} // namespace

std::int32_t CTallvingeDoc::carriedProfitAccount() const {
    const auto lastAssets = std::find_if(m_balKonton.rbegin(), m_balKonton.rend(),
                                         [](const CKonto* row) { return row->m_strKolumn5 == "a"; });
    if (lastAssets == m_balKonton.rend()) {
        return 0;
    }
    const auto position = static_cast<std::size_t>(m_balKonton.rend() - lastAssets - 1) + 4;
    return position < m_balKonton.size() ? readWholeNumber(m_balKonton[position]->m_strKolumn2) : 0;
}

void CTallvingeDoc::firstPeriodAsked() {
    // Nothing worth saving by itself: a new company left without a period is still empty.
    auto scope = beginChange(ChangeKind::Display);
    assign(m_bNyttForetag, 0);
    scope.commit();
}

void CTallvingeDoc::addFirstPeriod(const PeriodChoice& choice) {
    if (!m_perioder.empty()) {
        throw DocumentRefusal(kMsgForstaPeriodenFinns);
    }
    auto scope = beginChange();
    keepWholeStateForRollback();
    CPeriod period;
    period.m_nFranManad = choice.franManad;
    period.m_nFranAr = choice.franAr;
    period.m_nTillManad = choice.tillManad;
    period.m_nTillAr = choice.tillAr;
    period.m_nVinstradNy = 1;
    m_nFranManad = choice.franManad;
    m_nFranAr = choice.franAr;
    m_nTillManad = choice.tillManad;
    m_nTillAr = choice.tillAr;
    m_perioder.push_back(std::move(period));
    m_nAktuellPeriod = static_cast<std::int32_t>(m_perioder.size()) - 1;
    scope.commit();
}

std::int32_t CTallvingeDoc::closePeriod() {
    if (!hasOpenPeriod()) {
        throw DocumentRefusal(kMsgIngenPeriod);
    }
    auto scope = beginChange();
    keepWholeStateForRollback();
    const std::int32_t resultAccount = closePeriodSteps();
    scope.commit();
    return resultAccount;
}

std::int32_t CTallvingeDoc::closePeriodSteps() {
    // The closing balances cover the whole period: a month range chosen for
    // the reports would book only its months' result.
    m_nDelperiod = 0;
    CPeriod& period = m_perioder[static_cast<std::size_t>(m_nAktuellPeriod)];
    period.m_ingaende.clear();
    std::int32_t resultAccount = -1;
    PostPeriodResult(resultAccount);
    for (const CKonto* row : m_balKonton) {
        const Ore balance = balanceUnder(*row, RangeRule::WholePeriod);
        auto copy = std::make_unique<CKonto>(row->chartRowCopy());
        CKontorad opening;
        opening.m_nManad = m_nFranManad;
        opening.m_nAr = m_nFranAr;
        opening.m_strText = kIngaendeBalans;
        if (balance >= 0) {
            opening.m_dDebet = toKronor(balance);
        } else {
            opening.m_dKredit = toKronor(-balance);
        }
        copy->m_rader.push_back(std::move(opening));
        period.m_ingaende.push_back(std::move(copy));
    }
    return resultAccount;
}

void CTallvingeDoc::newPeriod(const PeriodChoice& choice) {
    if (!hasOpenPeriod() || static_cast<std::size_t>(m_nAktuellPeriod) + 1 != m_perioder.size()) {
        throw DocumentRefusal(kMsgInteSistaPerioden);
    }
    if (const auto problem = resultRowProblem(*this)) {
        throw DocumentRefusal(*problem);
    }
    const std::int32_t carried = carriedProfitAccount();
    if (carried <= 0 || lastBalanceRow(m_balKonton, carried) == nullptr) {
        throw DocumentRefusal(kMsgVinstkontoSaknas);
    }
    if (m_bVerifikatOppen != 0) {
        throw DocumentRefusal(kMsgVerifikatdialogenNyPeriod);
    }
    const YearMonth start{choice.franAr, choice.franManad};
    if (start != periodEnd().plusMonths(1)) {
        throw DocumentRefusal(kMsgFelaktigPeriod);
    }
    if (YearMonth{choice.tillAr, choice.tillManad} <= start) {
        throw DocumentRefusal(kMsgSlutdatumMindre);
    }

    auto scope = beginChange();
    keepWholeStateForRollback();
    CPeriod next;
    next.m_nFranManad = choice.franManad;
    next.m_nFranAr = choice.franAr;
    next.m_nTillManad = choice.tillManad;
    next.m_nTillAr = choice.tillAr;
    next.m_nVinstradNy = 1;
    // The new period's start first: the closing balances are dated by it.
    m_nFranManad = choice.franManad;
    m_nFranAr = choice.franAr;
    m_nTillManad = choice.tillManad;
    m_nTillAr = choice.tillAr;
    m_nNastaVernr = 1;
    m_nUtskrift1 = 2046;
    m_nUtskrift2 = 2046;
    m_nSenasteAr = 0;
    m_nSenasteManad = 0;
    m_nSenasteDag = 0;
    const std::int32_t resultAccount = closePeriodSteps();
    for (const auto& konto : m_allaKonton) {
        konto->m_rader.clear();
    }
    for (CKonto* row : m_resKonton) {
        row->m_nAnvands = 0;
    }
    m_verifikat.clear();
    m_perioder.push_back(std::move(next));
    m_nAktuellPeriod = static_cast<std::int32_t>(m_perioder.size()) - 1;
    applyOpeningBalances(resultAccount);
    scope.commit();
}

void CTallvingeDoc::openPeriod(CompanyState&& period) {
    if (period.m_nAktuellPeriod < 0 ||
        static_cast<std::size_t>(period.m_nAktuellPeriod) >= m_perioder.size()) {
        throw DocumentRefusal(kMsgOkandPeriod);
    }
    auto scope = beginChange();
    keepWholeStateForRollback();
    m_nDelperiod = 0;
    loadPeriod(std::move(period));
    if (m_nAktuellPeriod > 0) {
        // The account that this period's own chart books the result on.
        std::int32_t resultAccount = -1;
        if (!resultAccountNumber(resultAccount)) {
            resultAccount = -1;
        }
        applyOpeningBalances(resultAccount);
    }
    scope.commit();
}

void CTallvingeDoc::changeEndDate(std::int32_t tillManad, std::int32_t tillAr) {
    if (!hasOpenPeriod() || static_cast<std::size_t>(m_nAktuellPeriod) + 1 != m_perioder.size()) {
        throw DocumentRefusal(kMsgInteSistaPerioden);
    }
    const YearMonth end{tillAr, tillManad};
    if (end <= periodStart()) {
        throw DocumentRefusal(kMsgSlutdatumMindre);
    }
    std::int32_t vernr = 0;
    if (latestVoucherDate(vernr) > end) {
        throw DocumentRefusal(voucherAfterEndMessage(vernr));
    }
    auto scope = beginChange();
    CPeriod& last = m_perioder.back();
    currentScope().onRollback([this, month = m_nTillManad, year = m_nTillAr] {
        m_perioder.back().m_nTillManad = month;
        m_perioder.back().m_nTillAr = year;
        m_nTillManad = month;
        m_nTillAr = year;
    });
    last.m_nTillManad = tillManad;
    last.m_nTillAr = tillAr;
    m_nTillManad = tillManad;
    m_nTillAr = tillAr;
    scope.commit();
}

// Writes the open period's opening balances from the closing balances of the
// period before it. Runs inside the caller's scope, which can restore all.
void CTallvingeDoc::applyOpeningBalances(std::int32_t resultAccount) {
    if (m_nAktuellPeriod <= 0 || static_cast<std::size_t>(m_nAktuellPeriod) >= m_perioder.size()) {
        return;
    }
    const CPeriod& previous = m_perioder[static_cast<std::size_t>(m_nAktuellPeriod) - 1];
    const CKonto* resultCopy = nullptr;
    for (const auto& copy : previous.m_ingaende) {
        if (copy->m_nKontonr <= 0 || !inBalNummer(copy->m_nKontonr) || copy->m_rader.empty()) {
            continue;
        }
        CKonto* account = lastBalanceRow(m_balKonton, copy->m_nKontonr);
        if (account == nullptr) {
            continue;
        }
        const bool isResult = copy->m_nKontonr == resultAccount;
        if (isResult) {
            resultCopy = copy.get();
        }
        CKontorad opening = copy->m_rader.front();
        if (isResult) {
            // The result account opens at 0: its balance moves to the carried-profit row.
            opening.m_dDebet = 0;
            opening.m_dKredit = 0;
        }
        if (!account->m_rader.empty() && isOpeningRow(account->m_rader.front())) {
            if (!isResult) {
                account->m_rader.front().m_dDebet = opening.m_dDebet;
                account->m_rader.front().m_dKredit = opening.m_dKredit;
            }
        } else {
            // Never over a voucher's posting: the opening row goes in first.
            account->m_rader.insert(account->m_rader.begin(), opening);
        }
        account->m_nAnvands = copy->m_nAnvands;
    }
    carryPreviousResult(previous, resultCopy);
    applyInUseRule();
}

// The previous period's result, as its result account closed, on the row
// "Vinst / förlust föreg. per." of the carried-profit account.
void CTallvingeDoc::carryPreviousResult(const CPeriod& previous, const CKonto* resultCopy) {
    const std::int32_t number = carriedProfitAccount();
    CKonto* carried = number > 0 ? lastBalanceRow(m_balKonton, number) : nullptr;
    if (carried == nullptr) {
        return; // no account names where it goes: nothing is booked on a heading
    }
    const CKontorad none;
    const CKontorad& result = resultCopy != nullptr ? resultCopy->m_rader.front() : none;
    CPeriod& open = m_perioder[static_cast<std::size_t>(m_nAktuellPeriod)];
    if (open.m_nVinstradNy != 1) {
        if (CKontorad* row = carriedResultRow(*carried)) {
            row->m_dDebet = result.m_dDebet;
            row->m_dKredit = result.m_dKredit;
            return;
        }
    }
    const auto copy = std::find_if(previous.m_ingaende.begin(), previous.m_ingaende.end(),
                                   [number](const auto& k) { return k->m_nKontonr == number; });
    CKontorad row;
    if (copy != previous.m_ingaende.end() && !(*copy)->m_rader.empty()) {
        const CKontorad& source = (*copy)->m_rader.front();
        row.m_nVernr = source.m_nVernr;
        row.m_nDag = source.m_nDag;
        row.m_nManad = source.m_nManad;
        row.m_nAr = source.m_nAr;
    }
    row.m_strText = kVinstForegPer;
    row.m_dDebet = result.m_dDebet;
    row.m_dKredit = result.m_dKredit;
    carried->m_rader.push_back(std::move(row));
    m_nVinstrad = static_cast<std::int32_t>(carried->m_rader.size()) - 1;
    open.m_nVinstradNy = 0;
}

// The carried-result row at its stored position; or, when rows were put in
// before it, wherever it now stands (m_nVinstrad follows).
CKontorad* CTallvingeDoc::carriedResultRow(CKonto& carried) {
    const auto isResultRow = [](const CKontorad& row) {
        return row.m_nVernr == 0 && row.m_strText == kVinstForegPer;
    };
    if (m_nVinstrad >= 0 && static_cast<std::size_t>(m_nVinstrad) < carried.m_rader.size() &&
        isResultRow(carried.m_rader[static_cast<std::size_t>(m_nVinstrad)])) {
        return &carried.m_rader[static_cast<std::size_t>(m_nVinstrad)];
    }
    const auto found = std::find_if(carried.m_rader.begin(), carried.m_rader.end(), isResultRow);
    if (found == carried.m_rader.end()) {
        return nullptr;
    }
    m_nVinstrad = static_cast<std::int32_t>(found - carried.m_rader.begin());
    return &*found;
}

// An account whose only row is a zero opening row is not in use; one with
// more rows is.
void CTallvingeDoc::applyInUseRule() {
    for (CKonto* row : m_balKonton) {
        if (row->m_rader.size() == 1 && row->m_rader.front().m_dDebet == 0 &&
            row->m_rader.front().m_dKredit == 0) {
            row->m_nAnvands = 0;
        } else if (row->m_rader.size() > 1) {
            row->m_nAnvands = 1;
        }
    }
}

} // namespace kv
