// Helpers of the period tests: a first year of books with known balances,
// account lookups, and a readable picture of a company's books for the
// tests that want them unchanged.
#pragma once

#include "TestSupport.h"

#include "model/Amount.h"
#include "model/TallvingeDoc.h"

#include <sstream>
#include <string>

namespace kv::test {

inline const CKonto& account(const CompanyState& company, std::int32_t number) {
    return *company.m_allaKonton.at(accountIndex(company, number));
}

// Debit minus credit over all rows, in öre.
inline Ore balanceOf(const CompanyState& company, std::int32_t number) {
    Ore sum = 0;
    for (const CKontorad& rad : account(company, number).m_rader) {
        sum += toOre(rad.m_dDebet) - toOre(rad.m_dKredit);
    }
    return sum;
}

// The balance-sheet balances summed: 0 for books in balance.
inline Ore balanceSheetTotal(const CompanyState& company) {
    Ore sum = 0;
    for (const CKonto* konto : company.m_balKonton) {
        for (const CKontorad& rad : konto->m_rader) {
            sum += toOre(rad.m_dDebet) - toOre(rad.m_dKredit);
        }
    }
    return sum;
}

// A year of the small company: 10 000 of equity paid into the bank, sales of
// 3 000, rent of 1 200, an unpaid purchase of 800, and cash that comes and
// goes back, so that 1910 closes at exactly 0. The result is 1 000.
inline void postFirstYear(CTallvingeDoc& doc, int year = 2012) {
    postVoucher(doc, 2, 1, year, {{1930, 10000, 0}, {2040, 0, 10000}});
    postVoucher(doc, 15, 3, year, {{1930, 3000, 0}, {3000, 0, 3000}});
    postVoucher(doc, 30, 4, year, {{5010, 1200, 0}, {1930, 0, 1200}});
    postVoucher(doc, 5, 6, year, {{4000, 800, 0}, {2440, 0, 800}});
    postVoucher(doc, 7, 8, year, {{1910, 500, 0}, {1930, 0, 500}});
    postVoucher(doc, 9, 9, year, {{1930, 500, 0}, {1910, 0, 500}});
}

// Everything a period change may touch, as text: the period fields, every
// chart row with its rows, the vouchers and the periods with their closing
// balances.
inline std::string booksOf(const CompanyState& c) {
    std::ostringstream out;
    out << "nästa " << c.m_nNastaVernr << " öppen " << c.m_nAktuellPeriod << " " << c.m_nFranManad << "."
        << c.m_nFranAr << "-" << c.m_nTillManad << "." << c.m_nTillAr << " vinstrad " << c.m_nVinstrad
        << " delperiod " << c.m_nDelperiod << " fil " << c.m_strFilnamn << "\n";
    const auto rows = [&out](const CKonto& konto) {
        out << konto.m_nKontonr << " " << konto.m_strKolumn2 << " anv " << konto.m_nAnvands << ":";
        for (const CKontorad& rad : konto.m_rader) {
            out << " [" << rad.m_nVernr << " " << rad.m_nDag << "." << rad.m_nManad << "." << rad.m_nAr << " "
                << rad.m_strText << " " << rad.m_dDebet << "/" << rad.m_dKredit << "]";
        }
        out << "\n";
    };
    for (const auto& konto : c.m_allaKonton) {
        rows(*konto);
    }
    for (const CEttVerifikat& ver : c.m_verifikat) {
        out << "ver " << ver.m_nVernr << " " << ver.m_strVertext << " rader " << ver.m_rader.size() << "\n";
    }
    for (const CPeriod& period : c.m_perioder) {
        out << "period " << period.m_nFranManad << "." << period.m_nFranAr << "-" << period.m_nTillManad
            << "." << period.m_nTillAr << " ny " << period.m_nVinstradNy << "\n";
        for (const auto& konto : period.m_ingaende) {
            rows(*konto);
        }
    }
    return out.str();
}

} // namespace kv::test
