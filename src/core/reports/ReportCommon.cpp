#include "reports/ReportCommon.h"

#include "reports/ReportBooks.h"

namespace kv {

std::optional<std::string> subPeriodText(const CompanyState& c) {
    if (c.m_nDelperiod != 1) {
        return std::nullopt;
    }
    return "Delperiod: " + std::to_string(c.m_nDelFranManad) + "." + std::to_string(c.m_nDelFranAr) + " - " +
           std::to_string(c.m_nDelTillManad) + "." + std::to_string(c.m_nDelTillAr);
}

std::optional<std::string> trialBalanceRangeText(const CompanyState& c) {
    if (c.m_nDelperiod != 1) {
        return std::nullopt;
    }
    return "Råbalans t.o.m. " + std::to_string(c.m_nDelTillManad) + "." + std::to_string(c.m_nDelTillAr);
}

std::string printedCompanyName(const CTallvingeDoc& doc) {
    return doc.title();
}

std::optional<std::string> lastBookingDate(const CompanyState& c) {
    if (c.m_verifikat.empty()) {
        return std::nullopt;
    }
    const CEttVerifikat& last = c.m_verifikat.back();
    return dashedDate(last.m_nBokfDag, last.m_nBokfManad, last.m_nBokfAr);
}

bool booksComplete(const CompanyState& c) {
    return !c.m_resKonton.empty() && !c.m_balKonton.empty() && !c.m_momsregler.empty();
}

} // namespace kv
