#include "sie/SieFigures.h"

#include <algorithm>
#include <unordered_set>

namespace kv {

namespace {

Ore sumOf(const CKonto& konto, bool carried, bool booked) {
    Ore sum = 0;
    for (const CKontorad& row : konto.m_rader) {
        const bool isCarried = row.m_nVernr == 0;
        if ((isCarried && carried) || (!isCarried && booked)) {
            sum = addOre(sum, addOre(toOre(row.m_dDebet), -toOre(row.m_dKredit)));
        }
    }
    return sum;
}

bool hasCarriedRow(const CKonto& konto) {
    return std::any_of(konto.m_rader.begin(), konto.m_rader.end(),
                       [](const CKontorad& row) { return row.m_nVernr == 0; });
}

SieAccountType incomeType(std::int32_t number) {
    return number >= 3000 && number <= 3999 ? SieAccountType::Income : SieAccountType::Cost;
}

} // namespace

char sieTypeLetter(SieAccountType type) {
    switch (type) {
    case SieAccountType::Asset:
        return 'T';
    case SieAccountType::Liability:
        return 'S';
    case SieAccountType::Income:
        return 'I';
    case SieAccountType::Cost:
        break;
    }
    return 'K';
}

std::vector<SieAccountFigures> sieAccountFigures(const CTallvingeDoc& doc) {
    const CompanyState& company = doc.state();
    std::int32_t resultAccount = 0;
    const bool hasResultAccount = doc.resultAccountNumber(resultAccount);
    std::vector<SieAccountFigures> figures;
    std::unordered_set<std::int32_t> seen;

    for (const CKonto* konto : company.m_resKonton) {
        if (konto->m_nKontonr <= 0 || !seen.insert(konto->m_nKontonr).second) {
            continue;
        }
        SieAccountFigures account;
        account.konto = konto;
        account.type = incomeType(konto->m_nKontonr);
        if (!konto->m_rader.empty()) {
            account.result = doc.balanceUnder(*konto, RangeRule::WholePeriod);
        }
        figures.push_back(account);
    }

    // The assets side ends with the assets total, the first row with "a" in column 5.
    const bool hasAssetsTotal = std::any_of(company.m_balKonton.begin(), company.m_balKonton.end(),
                                            [](const CKonto* konto) { return konto->m_strKolumn5 == "a"; });
    bool assetsSide = true;
    for (const CKonto* konto : company.m_balKonton) {
        if (konto->m_strKolumn5 == "a") {
            assetsSide = false;
        }
        if (konto->m_nKontonr <= 0 || !seen.insert(konto->m_nKontonr).second) {
            continue;
        }
        const bool asset = hasAssetsTotal ? assetsSide : konto->m_nKontonr < 2000;
        SieAccountFigures account;
        account.konto = konto;
        account.type = asset ? SieAccountType::Asset : SieAccountType::Liability;
        if (hasResultAccount && konto->m_nKontonr == resultAccount) {
            account.resultAccount = true;
            account.closing = sumOf(*konto, false, true);
        } else {
            if (hasCarriedRow(*konto)) {
                account.opening = sumOf(*konto, true, false);
            }
            if (!konto->m_rader.empty()) {
                account.closing = sumOf(*konto, true, true);
            }
        }
        figures.push_back(account);
    }

    std::sort(figures.begin(), figures.end(), [](const SieAccountFigures& a, const SieAccountFigures& b) {
        return a.konto->m_nKontonr < b.konto->m_nKontonr;
    });
    return figures;
}

} // namespace kv
