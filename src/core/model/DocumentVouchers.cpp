// Registering and amending vouchers: the voucher is stored and each of its
// lines is posted to the ledger of its account.
#include "model/DocumentTexts.h"
#include "model/TallvingeDoc.h"

#include <algorithm>

namespace kv {

CEttVerifikat makeVoucher(std::int32_t day, std::int32_t month, std::int32_t year, std::string text,
                          std::vector<CVerifikatrad> lines) {
    CEttVerifikat voucher;
    voucher.m_nTransDag = voucher.m_nBokfDag = day;
    voucher.m_nTransManad = voucher.m_nBokfManad = month;
    voucher.m_nTransAr = voucher.m_nBokfAr = year;
    voucher.m_strVertext = std::move(text);
    Ore debit = 0;
    Ore credit = 0;
    for (const CVerifikatrad& line : lines) {
        debit = addOre(debit, toOre(line.m_dDebet));
        credit = addOre(credit, toOre(line.m_dKredit));
    }
    voucher.m_dSumDebet = toKronor(debit);
    voucher.m_dSumKredit = toKronor(credit);
    // "Differens" as the voucher dialog shows it: the credit sum less the debit sum.
    voucher.m_dDifferens = toKronor(addOre(credit, -debit));
    voucher.m_nAntalRader = static_cast<std::int32_t>(lines.size());
    voucher.m_rader = std::move(lines);
    return voucher;
}

bool CTallvingeDoc::periodLocked() const {
    return m_nAktuellPeriod < static_cast<std::int64_t>(m_perioder.size()) - 2;
}

void CTallvingeDoc::checkVoucherFits(const CEttVerifikat& voucher, std::size_t firstNewLine) const {
    if (!hasOpenPeriod()) {
        throw DocumentRefusal(kMsgIngenPeriod);
    }
    if (periodLocked()) {
        throw DocumentRefusal(kMsgEndast2SistaPerioderna);
    }
    const YearMonth when{voucher.m_nTransAr, voucher.m_nTransManad};
    if (when < periodStart() || when > periodEnd()) {
        throw DocumentRefusal(kMsgEjInomPerioden);
    }
    // The result account holds only the result that the reports post on it,
    // which replaces every row it has: a line posted there would vanish.
    std::int32_t result = 0;
    const bool namesResult = resultAccountNumber(result);
    for (std::size_t i = firstNewLine; i < voucher.m_rader.size(); ++i) {
        const std::int32_t account = voucher.m_rader[i].m_nKonto;
        if (namesResult && account > 0 && account == result) {
            throw DocumentRefusal(kMsgVinstkontotKanEjAnvandas);
        }
    }
}

void CTallvingeDoc::postLines(const CEttVerifikat& voucher, std::size_t firstLine) {
    for (std::size_t i = firstLine; i < voucher.m_rader.size(); ++i) {
        const CVerifikatrad& line = voucher.m_rader[i];
        // An empty line between others has account 0, which names headings
        // and sum rows only: it posts nothing.
        const int index = line.m_nKonto > 0 ? accountIndex(line.m_nKonto) : -1;
        if (index < 0) {
            continue;
        }
        const auto position = static_cast<std::size_t>(index);
        keepAccountForRollback(position);
        CKontorad posted;
        posted.m_nVernr = voucher.m_nVernr;
        posted.m_nDag = voucher.m_nTransDag;
        posted.m_nManad = voucher.m_nTransManad;
        posted.m_nAr = voucher.m_nTransAr;
        posted.m_dDebet = line.m_dDebet;
        posted.m_dKredit = line.m_dKredit;
        posted.m_strText = line.m_strRadtext;
        posted.m_strKontonamn = line.m_strKontonamn;
        CKonto& konto = *m_allaKonton[position];
        konto.m_rader.push_back(std::move(posted));
        konto.m_nAnvands = 1;
    }
}

std::int32_t CTallvingeDoc::registerVoucher(CEttVerifikat voucher) {
    if (m_readOnly) {
        throw DocumentRefusal(kMsgSkrivskyddat);
    }
    checkVoucherFits(voucher, 0);
    auto scope = beginChange();
    currentScope().onRollback([this, next = m_nNastaVernr, count = m_verifikat.size(), year = m_nSenasteAr,
                               month = m_nSenasteManad, day = m_nSenasteDag] {
        m_nNastaVernr = next;
        m_verifikat.resize(std::min(count, m_verifikat.size()));
        m_nSenasteAr = year;
        m_nSenasteManad = month;
        m_nSenasteDag = day;
    });
    voucher.m_nVernr = m_nNastaVernr;
    voucher.m_strText2.clear();
    postLines(voucher, 0);
    m_verifikat.push_back(std::move(voucher));
    ++m_nNastaVernr;
    const CEttVerifikat& stored = m_verifikat.back();
    m_nSenasteAr = stored.m_nTransAr;
    m_nSenasteManad = stored.m_nTransManad;
    m_nSenasteDag = stored.m_nTransDag;
    scope.commit();
    return stored.m_nVernr;
}

void CTallvingeDoc::amendVoucher(CEttVerifikat voucher, std::int32_t postedLines) {
    if (m_readOnly) {
        throw DocumentRefusal(kMsgSkrivskyddat);
    }
    if (voucher.m_nVernr < 1 || static_cast<std::size_t>(voucher.m_nVernr) > m_verifikat.size()) {
        throw DocumentRefusal(kMsgVerifikatFinnsEj);
    }
    // The lines that the first registration posted stay in the ledger as they were.
    const auto kept =
        std::min(static_cast<std::size_t>(std::max<std::int32_t>(postedLines, 0)), voucher.m_rader.size());
    checkVoucherFits(voucher, kept);
    const auto position = static_cast<std::size_t>(voucher.m_nVernr - 1);
    auto scope = beginChange();
    currentScope().onRollback([this, position, old = m_verifikat[position], year = m_nSenasteAr,
                               month = m_nSenasteManad, day = m_nSenasteDag] {
        m_verifikat[position] = old;
        m_nSenasteAr = year;
        m_nSenasteManad = month;
        m_nSenasteDag = day;
    });
    voucher.m_strText2.clear();
    postLines(voucher, kept);
    m_nSenasteAr = voucher.m_nTransAr;
    m_nSenasteManad = voucher.m_nTransManad;
    m_nSenasteDag = voucher.m_nTransDag;
    m_verifikat[position] = std::move(voucher);
    scope.commit();
}

} // namespace kv
