#include "reports/ReportBooks.h"

#include <cstdint>

namespace kv {

ReportBooks::ReportBooks(const CTallvingeDoc& doc, RangeRule resultRule) : m_doc(doc) {
    if (findResultAccount()) {
        post(doc.periodResult(doc.monthSelection(resultRule)));
    }
}

ReportBooks::ReportBooks(const CTallvingeDoc& doc, Ore periodResult) : m_doc(doc) {
    if (findResultAccount()) {
        post(periodResult);
    }
}

bool ReportBooks::findResultAccount() {
    if (!m_doc.resultAccountNumber(m_resultNumber)) {
        m_resultNumber = 0;
        return false;
    }
    const int index = m_doc.accountIndex(m_resultNumber);
    if (index <= 0) {
        return false; // the posting leaves a result account in the first place alone
    }
    m_resultKonto = m_doc.state().m_allaKonton[static_cast<std::size_t>(index)].get();
    return true;
}

void ReportBooks::post(Ore result) {
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
    // As "%.*d", without printf: the listings write a million of these.
    char buffer[24];
    char* const end = buffer + sizeof buffer;
    char* p = end;
    const bool negative = value < 0;
    auto magnitude = negative ? static_cast<std::uint32_t>(-(static_cast<std::int64_t>(value)))
                              : static_cast<std::uint32_t>(value);
    int written = 0;
    while (magnitude != 0 || written < digits) {
        *--p = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
        ++written;
        if (p == buffer + 1) {
            break;
        }
    }
    if (negative) {
        *--p = '-';
    }
    return std::string(p, end);
}

std::string dashedDate(std::int32_t day, std::int32_t month, std::int32_t year) {
    return zeroPadded(day, 2) + "-" + zeroPadded(month, 2) + "-" + zeroPadded(year, 4);
}

} // namespace kv
