#include "voucher/VoucherListModel.h"

#include "model/Amount.h"
#include "voucher/VoucherTexts.h"

#include <algorithm>

namespace kv {

namespace {

bool insideRange(const CompanyState& company, const CEttVerifikat& voucher) {
    const YearMonth when{voucher.m_nTransAr, voucher.m_nTransManad};
    return YearMonth{company.m_nDelFranAr, company.m_nDelFranManad} <= when &&
           when <= YearMonth{company.m_nDelTillAr, company.m_nDelTillManad};
}

Ore balanceOf(const CEttVerifikat& voucher) {
    Ore balance = 0;
    for (const CVerifikatrad& line : voucher.m_rader) {
        balance = addOre(balance, addOre(toOre(line.m_dDebet), -toOre(line.m_dKredit)));
    }
    return balance;
}

} // namespace

void VoucherListModel::rebuild() {
    const CompanyState& company = m_doc.state();
    if (company.m_nDelperiod != 1) {
        m_colour = kListColour;
        return;
    }
    const bool anyInside =
        std::any_of(company.m_verifikat.begin(), company.m_verifikat.end(),
                    [&company](const CEttVerifikat& v) { return insideRange(company, v); });
    m_colour = anyInside ? kListRangeColour : kListColour;
}

bool VoucherListModel::shownInFull(std::size_t row) const {
    const CompanyState& company = m_doc.state();
    return company.m_nDelperiod != 1 || insideRange(company, company.m_verifikat.at(row));
}

std::string VoucherListModel::text(std::size_t row, int column) const {
    const CEttVerifikat& voucher = m_doc.state().m_verifikat.at(row);
    if (column == kListColVernr) {
        return std::to_string(voucher.m_nVernr);
    }
    if (!shownInFull(row)) {
        return column == kListColBalans ? kEjInomDelperioden : std::string();
    }
    switch (column) {
    case kListColTransdag:
        return std::to_string(voucher.m_nTransDag) + "-" + std::to_string(voucher.m_nTransManad) + "-" +
               std::to_string(voucher.m_nTransAr);
    case kListColBalans:
        return formatPlainOre(balanceOf(voucher));
    case kListColVertext:
        return voucher.m_strVertext;
    default:
        return {};
    }
}

bool VoucherListModel::hasAttachments(std::size_t row) const {
    const auto& vouchers = m_doc.state().m_verifikat;
    return row < vouchers.size() && m_marks.has(m_doc, vouchers[row].m_nVernr);
}

} // namespace kv
