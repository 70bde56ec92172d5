#include "reports/ReportBooks.h"

#include <cstdio>

namespace kv {

ReportBooks::ReportBooks(const CTallvingeDoc& doc, RangeRule resultRule) : m_doc(doc) {
    if (!doc.resultAccountNumber(m_resultNumber)) {
        m_resultNumber = 0;
        return;
    }
    const int index = doc.accountIndex(m_resultNumber);
    if (index <= 0) {
        return; // the posting leaves a result account in the first place alone
    }
    const Ore result = doc.periodResult(doc.monthSelection(resultRule));
    m_resultKonto = doc.state().m_allaKonton[static_cast<std::size_t>(index)].get();
    CKontorad row;
    row.m_strText = "Resultat";
    row.m_dKredit = toKronor(result);
    m_resultRows.push_back(std::move(row));
    m_posted = result;
}

const std::vector<CKontorad>& ReportBooks::rows(const CKonto& konto) const {
    return isResultAccount(konto) ? m_resultRows : konto.m_rader;
}

Ore ReportBooks::balance(const CKonto& konto, const MonthSelection& months) const {
    if (isResultAccount(konto)) {
        return months.selects(m_resultRows.front()) && m_posted ? -*m_posted : 0;
    }
    return balanceOf(konto, months);
}

std::string zeroPadded(std::int32_t value, int digits) {
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%.*d", digits, value);
    return buffer;
}

std::string dashedDate(std::int32_t day, std::int32_t month, std::int32_t year) {
    return zeroPadded(day, 2) + "-" + zeroPadded(month, 2) + "-" + zeroPadded(year, 4);
}

} // namespace kv
