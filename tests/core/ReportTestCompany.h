// The association the report tests read: the built-in association chart, its
// VAT rules and one year (2025) of hand-made vouchers, one of them over a
// million kronor and one with a long text. Header-only, so that the window
// tests build the same company.
#pragma once

#include "app/NewCompany.h"
#include "model/TallvingeDoc.h"

#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace kv::test {

struct ReportLine {
    std::int32_t account;
    double debit;
    double credit;
    std::string text;
};

inline CVerifikatrad reportLine(const CTallvingeDoc& doc, const ReportLine& line) {
    CVerifikatrad rad;
    rad.m_nKonto = line.account;
    rad.m_strRadtext = line.text;
    const int index = doc.accountIndex(line.account);
    if (index >= 0) {
        rad.m_strKontonamn = doc.state().m_allaKonton[static_cast<std::size_t>(index)]->m_strKolumn2;
    }
    rad.m_dDebet = line.debit;
    rad.m_dKredit = line.credit;
    return rad;
}

// templateFolder: an empty folder (the company takes a built-in template).
inline void buildReportCompany(CTallvingeDoc& doc, const std::string& templateFolder) {
    const NewCompanyResult made =
        createDefaultCompany(doc, {"FÖRENINGSMALL 22 ST KONTON", 1, 2025, 12, 2025, templateFolder});
    if (!made.ok) {
        throw std::runtime_error(made.error);
    }
    using V = std::tuple<int, int, std::string, std::vector<ReportLine>>;
    const std::vector<V> vouchers = {
        {15,
         1,
         "Medlemsavgifter januari",
         {{1050, 12500, 0, "Avgifter 50 st"}, {3000, 0, 12500, "Avgifter 50 st"}}},
        {3, 2, "Lokalhyra februari", {{6010, 4500, 0, "Hyra"}, {1050, 0, 4500, "Hyra"}}},
        {20, 3, "Loppis", {{1010, 3250.5, 0, "Kassa loppis"}, {3001, 0, 3250.5, "Försäljning loppis"}}},
        {5, 4, "Kommunens bidrag", {{1050, 25000, 0, "Bidrag 2025"}, {3002, 0, 25000, "Bidrag 2025"}}},
        {18,
         4,
         "Inköp till kursen",
         {{4000, 1999.9, 0, "Material"}, {6500, 450.1, 0, "Papper"}, {1050, 0, 2450, "Betalt"}}},
        {10, 5, "Telefon april", {{6800, 389, 0, "Abonnemang"}, {1050, 0, 389, "Abonnemang"}}},
        {28, 5, "Årsmöte", {{7110, 1234.56, 0, "Fika och lokal"}, {1010, 0, 1234.56, "Fika och lokal"}}},
        {12, 6, "Ny dator", {{1820, 12990, 0, "Bärbar dator"}, {2750, 0, 12990, "Faktura 4711"}}},
        {30,
         6,
         "Betalning faktura 4711",
         {{2750, 12990, 0, "Faktura 4711"}, {1050, 0, 12990, "Faktura 4711"}}},
        {15, 9, "Banklån", {{1050, 100000, 0, "Lån nr 77"}, {2520, 0, 100000, "Lån nr 77"}}},
        {1, 10, "Försäkring", {{7310, 3600, 0, "Hemförsäkring föreningslokal"}, {1050, 0, 3600, "Betalt"}}},
        {20,
         12,
         "Medlemsavgifter december",
         {{1050, 1234567.89, 0, "Medlemsavgifter december, sent inbetalda"},
          {3000, 0, 1234567.89, "Medlemsavgifter december, sent inbetalda"}}},
    };
    for (const auto& [day, month, text, lines] : vouchers) {
        std::vector<CVerifikatrad> rader;
        for (const ReportLine& line : lines) {
            rader.push_back(reportLine(doc, line));
        }
        doc.registerVoucher(makeVoucher(day, month, 2025, text, std::move(rader)));
    }
    doc.openedFrom("/hem/kassör/Föreningen.bok");
}

} // namespace kv::test
