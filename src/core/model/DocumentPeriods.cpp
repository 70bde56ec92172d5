// The periods of the company: the first one, closing the open period (its
// result booked, its balance-sheet balances kept as closing balances), a new
// period after the last one, opening another period, and moving the last
// period's end.
//
// The periods hold the company's books, which may be large: these operations
// put aside (by move) or record only what they change, so that a failed change
// can be undone without a copy of the whole company.
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

bool isCarriedResultRow(const CKontorad& row) {
    return row.m_nVernr == 0 && row.m_strText == kVinstForegPer;
}

// The last balance-sheet row with the number, as the carried balances find it.
CKonto* lastBalanceRow(KontoRefs& rows, std::int32_t number) {
    const auto found = std::find_if(rows.rbegin(), rows.rend(),
                                    [number](const auto& row) { return row->m_nKontonr == number; });
    return found == rows.rend() ? nullptr : found->get();
}

// Moves the fields that a period file holds; the periods, the company's texts
// and the run-time fields stay where they are.
void movePeriodFields(CompanyState& to, CompanyState& from) {
    to.m_nNastaVernr = from.m_nNastaVernr;
    to.m_nUtskrift1 = from.m_nUtskrift1;
    to.m_nUtskrift2 = from.m_nUtskrift2;
    to.m_bNyttForetag = from.m_bNyttForetag;
    to.m_pBalansGrid = std::move(from.m_pBalansGrid);
    to.m_pResultatGrid = std::move(from.m_pResultatGrid);
    to.m_nReserv1 = from.m_nReserv1;
    to.m_nFranManad = from.m_nFranManad;
    to.m_nFranAr = from.m_nFranAr;
    to.m_nReserv2 = from.m_nReserv2;
    to.m_nTillManad = from.m_nTillManad;
    to.m_nTillAr = from.m_nTillAr;
    to.m_nEndastAnvanda = from.m_nEndastAnvanda;
    to.m_nAktuellPeriod = from.m_nAktuellPeriod;
    to.m_nVinstrad = from.m_nVinstrad;
    to.m_allaKonton = std::move(from.m_allaKonton);
    to.m_resKonton = std::move(from.m_resKonton);
    to.m_balKonton = std::move(from.m_balKonton);
    to.m_balNummer = std::move(from.m_balNummer);
    to.m_resNummer = std::move(from.m_resNummer);
    to.m_momsregler = std::move(from.m_momsregler);
    to.m_verifikat = std::move(from.m_verifikat);
}

// The posted rows, in-use flags and vouchers of a period that is left for a new one.
struct BooksAside {
    std::vector<std::vector<CKontorad>> rows;
    std::vector<std::int32_t> inUse;
    std::vector<CEttVerifikat> vouchers;
};

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
    // Without a sound result row the result would land on a heading or an income row.
    if (const auto problem = resultRowProblem(*this)) {
        throw DocumentRefusal(*problem);
    }
    auto scope = beginChange();
    keepClosingForRollback();
    const std::int32_t resultAccount = closePeriodSteps();
    scope.commit();
    return resultAccount;
}

// The dates and the carried-result flag of one period, put back by position
// if the change fails.
void CTallvingeDoc::keepPeriodForRollback(std::size_t index) {
    const CPeriod& period = m_perioder[index];
    currentScope().onRollback([this, index, till = period.m_nTillManad, tillAr = period.m_nTillAr,
                               vinstradNy = period.m_nVinstradNy] {
        if (index < m_perioder.size()) {
            m_perioder[index].m_nTillManad = till;
            m_perioder[index].m_nTillAr = tillAr;
            m_perioder[index].m_nVinstradNy = vinstradNy;
        }
    });
}

// Closing changes the open period's closing balances, the result account's
// rows and the month range; a failed change puts back these three.
void CTallvingeDoc::keepClosingForRollback() {
    const auto index = static_cast<std::size_t>(m_nAktuellPeriod);
    auto kept = std::make_shared<KontoList>(std::move(m_perioder[index].m_ingaende));
    m_perioder[index].m_ingaende.clear();
    currentScope().onRollback([this, index, kept] { m_perioder[index].m_ingaende = std::move(*kept); });
    keepResultRowsForRollback();
    assign(m_nDelperiod, m_nDelperiod);
}

std::int32_t CTallvingeDoc::closePeriodSteps() {
    // The closing balances cover the whole period: a month range chosen for
    // the reports would book only its months' result.
    m_nDelperiod = 0;
    CPeriod& period = m_perioder[static_cast<std::size_t>(m_nAktuellPeriod)];
    period.m_ingaende.clear();
    std::int32_t resultAccount = -1;
    postPeriodResultSteps(resultAccount, rangeRuleInForce());
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

// Takes every posted row and voucher out of the company; a failed change
// moves them back, with the in-use flags they had.
void CTallvingeDoc::setBooksAsideForRollback() {
    auto aside = std::make_shared<BooksAside>();
    aside->rows.reserve(m_allaKonton.size());
    aside->inUse.reserve(m_allaKonton.size());
    for (auto& konto : m_allaKonton) {
        aside->rows.push_back(std::move(konto->m_rader));
        konto->m_rader.clear();
        aside->inUse.push_back(konto->m_nAnvands);
    }
    aside->vouchers = std::move(m_verifikat);
    m_verifikat.clear();
    currentScope().onRollback([this, aside] {
        for (std::size_t i = 0; i < m_allaKonton.size() && i < aside->rows.size(); ++i) {
            m_allaKonton[i]->m_rader = std::move(aside->rows[i]);
            m_allaKonton[i]->m_nAnvands = aside->inUse[i];
        }
        m_verifikat = std::move(aside->vouchers);
    });
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
    const YearMonth start{choice.franAr, choice.franManad};
    if (start != periodEnd().plusMonths(1)) {
        throw DocumentRefusal(kMsgFelaktigPeriod);
    }
    if (YearMonth{choice.tillAr, choice.tillManad} <= start) {
        throw DocumentRefusal(kMsgSlutdatumMindre);
    }

    auto scope = beginChange();
    // The new period's start first: the closing balances are dated by it.
    assign(m_nFranManad, choice.franManad);
    assign(m_nFranAr, choice.franAr);
    assign(m_nTillManad, choice.tillManad);
    assign(m_nTillAr, choice.tillAr);
    assign(m_nNastaVernr, 1);
    assign(m_nUtskrift1, 2046);
    assign(m_nUtskrift2, 2046);
    assign(m_nSenasteAr, 0);
    assign(m_nSenasteManad, 0);
    assign(m_nSenasteDag, 0);
    assign(m_nVinstrad, m_nVinstrad);
    assign(m_nAktuellPeriod, m_nAktuellPeriod);
    keepClosingForRollback();
    const std::int32_t resultAccount = closePeriodSteps();
    setBooksAsideForRollback();
    for (CKonto* row : m_resKonton) {
        row->m_nAnvands = 0;
    }
    CPeriod next;
    next.m_nFranManad = choice.franManad;
    next.m_nFranAr = choice.franAr;
    next.m_nTillManad = choice.tillManad;
    next.m_nTillAr = choice.tillAr;
    next.m_nVinstradNy = 1;
    m_perioder.push_back(std::move(next));
    currentScope().onRollback([this] { m_perioder.pop_back(); });
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
    // The period being left goes aside whole, by move; a failed change moves it back.
    auto left = std::make_shared<CompanyState>();
    movePeriodFields(*left, *this);
    currentScope().onRollback([this, left] { movePeriodFields(*this, *left); });
    assign(m_nDelperiod, 0);
    keepPeriodForRollback(static_cast<std::size_t>(period.m_nAktuellPeriod));
    movePeriodFields(*this, period);
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
    keepPeriodForRollback(m_perioder.size() - 1);
    CPeriod& last = m_perioder.back();
    last.m_nTillManad = tillManad;
    last.m_nTillAr = tillAr;
    assign(m_nTillManad, tillManad);
    assign(m_nTillAr, tillAr);
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
        account->m_nAnvands = copy->m_nAnvands;
        if (copy->m_nKontonr == resultAccount) {
            // The result account opens at 0: its balance moves to the carried-profit
            // row. Rows it already has (its result) stay as they are.
            resultCopy = copy.get();
            if (account->m_rader.empty()) {
                CKontorad opening = copy->m_rader.front();
                opening.m_dDebet = 0;
                opening.m_dKredit = 0;
                account->m_rader.push_back(std::move(opening));
            }
            continue;
        }
        const CKontorad& closing = copy->m_rader.front();
        if (!account->m_rader.empty() && isOpeningRow(account->m_rader.front())) {
            account->m_rader.front().m_dDebet = closing.m_dDebet;
            account->m_rader.front().m_dKredit = closing.m_dKredit;
        } else {
            // Never over a voucher's posting: the opening row goes in first.
            account->m_rader.insert(account->m_rader.begin(), closing);
        }
    }
    carryPreviousResult(previous, resultCopy);
    applyInUseRule();
}

// The previous period's result, as its result account closed, on the row
// "Vinst / förlust föreg. per." of the carried-profit account. The period has
// that row once: it is added the first time the period opens and rewritten
// at every later opening, also where it was added before the chart named
// another carried-profit account.
void CTallvingeDoc::carryPreviousResult(const CPeriod& previous, const CKonto* resultCopy) {
    const std::int32_t number = carriedProfitAccount();
    CKonto* carried = number > 0 ? lastBalanceRow(m_balKonton, number) : nullptr;
    if (carried == nullptr) {
        return; // no account names where it goes: nothing is booked on a heading
    }
    const CKontorad none;
    const CKontorad& result = resultCopy != nullptr ? resultCopy->m_rader.front() : none;
    CPeriod& open = m_perioder[static_cast<std::size_t>(m_nAktuellPeriod)];
    auto& rows = carried->m_rader;
    const bool atStoredPosition = m_nVinstrad >= 0 && static_cast<std::size_t>(m_nVinstrad) < rows.size() &&
                                  isCarriedResultRow(rows[static_cast<std::size_t>(m_nVinstrad)]);
    auto existing = atStoredPosition ? rows.begin() + m_nVinstrad
                                     : std::find_if(rows.begin(), rows.end(), isCarriedResultRow);
    for (CKonto* other : m_balKonton) {
        if (other != carried) {
            std::erase_if(other->m_rader, isCarriedResultRow);
        }
    }
    if (existing == rows.end()) {
        CKontorad row;
        const auto copy = std::find_if(previous.m_ingaende.begin(), previous.m_ingaende.end(),
                                       [number](const auto& k) { return k->m_nKontonr == number; });
        if (copy != previous.m_ingaende.end() && !(*copy)->m_rader.empty()) {
            const CKontorad& source = (*copy)->m_rader.front();
            row.m_nVernr = source.m_nVernr;
            row.m_nDag = source.m_nDag;
            row.m_nManad = source.m_nManad;
            row.m_nAr = source.m_nAr;
        }
        row.m_strText = kVinstForegPer;
        rows.push_back(std::move(row));
        existing = rows.end() - 1;
    }
    existing->m_dDebet = result.m_dDebet;
    existing->m_dKredit = result.m_dKredit;
    m_nVinstrad = static_cast<std::int32_t>(existing - rows.begin());
    open.m_nVinstradNy = 0;
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
