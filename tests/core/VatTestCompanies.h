// The two companies the VAT report tests read, one per template family:
// a Swedish BAS company with 25, 12 and 6 % on one output VAT account and a
// broken year (7.2025 - 6.2026), and a Finland-Swedish company with the
// template's 22, 17 and 8 % rules over the calendar year 2025. Each has
// sales, purchases, a credit note, a line entered without its VAT line and
// a line whose VAT does not come out in whole öre. Header-only, so that the
// window tests build the same companies.
#pragma once

#include "ReportTestCompany.h"

namespace kv::test {

struct VatVoucher {
    std::int32_t day;
    std::int32_t month;
    std::int32_t year;
    std::string text;
    std::vector<ReportLine> lines;
};

inline void registerVatVouchers(CTallvingeDoc& doc, const std::vector<VatVoucher>& vouchers) {
    for (const VatVoucher& voucher : vouchers) {
        std::vector<CVerifikatrad> rader;
        for (const ReportLine& line : voucher.lines) {
            rader.push_back(reportLine(doc, line));
        }
        doc.registerVoucher(
            makeVoucher(voucher.day, voucher.month, voucher.year, voucher.text, std::move(rader)));
    }
}

inline CAutomoms vatRule(double rate, bool sales, std::int32_t account, std::int32_t vatAccount,
                         std::string comment) {
    CAutomoms rule;
    rule.m_dMomssats = rate;
    (sales ? rule.m_nKreditkonto : rule.m_nDebetkonto) = account;
    (sales ? rule.m_nKreditMomskonto : rule.m_nDebetMomskonto) = vatAccount;
    rule.m_strKommentar = std::move(comment);
    return rule;
}

// templateFolder: an empty folder (the company takes a built-in template).
inline void buildBasVatCompany(CTallvingeDoc& doc, const std::string& templateFolder) {
    const NewCompanyResult made = createDefaultCompany(
        doc, {"RIKSSVENSK BASKONTOMALL 247 ST KONTON", 7, 2025, 6, 2026, templateFolder});
    if (!made.ok) {
        throw std::runtime_error(made.error);
    }
    doc.setVatRules(
        {vatRule(25, true, 3010, 2610, "Försäljning 25%"), vatRule(12, true, 3610, 2610, "Försäljning 12%"),
         vatRule(6, true, 3690, 2610, "Försäljning 6%"), vatRule(25, false, 4010, 2640, "Inköp 25%"),
         vatRule(25, false, 5611, 2640, "Drivmedel 25%"),
         // Shown in "Sätt moms" twice: the report counts it once.
         vatRule(25, true, 3010, 2610, "Försäljning 25%")});
    registerVatVouchers(
        doc,
        {
            {5,
             10,
             2025,
             "Försäljning oktober",
             {{1930, 1250, 0, "Kontant"}, {3010, 0, 1000, ""}, {2610, 0, 250, ""}}},
            {10,
             11,
             2025,
             "Faktura 101",
             {{1510, 12500, 0, "Kund A"}, {3010, 0, 10000, ""}, {2610, 0, 2500, ""}}},
            {20,
             11,
             2025,
             "Faktura 102, böcker",
             {{1510, 1120, 0, "Kund B"}, {3610, 0, 1000, ""}, {2610, 0, 120, ""}}},
            {3, 12, 2025, "Kontant, tidningar", {{1930, 530, 0, ""}, {3690, 0, 500, ""}, {2610, 0, 30, ""}}},
            {15,
             12,
             2025,
             "Varuinköp",
             {{4010, 4000, 0, ""}, {2640, 1000, 0, ""}, {2440, 0, 5000, "Lev. X"}}},
            {28,
             12,
             2025,
             "Kreditnota faktura 101",
             {{3010, 2000, 0, ""}, {2610, 500, 0, ""}, {1510, 0, 2500, "Kund A"}}},
            {12, 1, 2026, "Diesel, momsraden glömd", {{5611, 800, 0, ""}, {1930, 0, 800, ""}}},
            {20,
             1,
             2026,
             "Faktura 103",
             {{1510, 1234.56, 0, "Kund C"}, {3010, 0, 987.65, ""}, {2610, 0, 246.91, ""}}},
            {2, 2, 2026, "Varuinköp februari", {{4010, 200, 0, ""}, {2640, 50, 0, ""}, {1930, 0, 250, ""}}},
        });
    doc.openedFrom("/hem/kassör/Handelsbod.bok");
}

inline void buildFinlandVatCompany(CTallvingeDoc& doc, const std::string& templateFolder) {
    const NewCompanyResult made = createDefaultCompany(
        doc, {"FINLANDSSVENSK STANDARDMALL 75 ST KONTON", 1, 2025, 12, 2025, templateFolder});
    if (!made.ok) {
        throw std::runtime_error(made.error);
    }
    registerVatVouchers(
        doc,
        {
            {10, 3, 2025, "Försäljning mars", {{1905, 1220, 0, ""}, {3000, 0, 1000, ""}, {2930, 0, 220, ""}}},
            {8, 4, 2025, "Faktura 7", {{1600, 6100, 0, "Kund A"}, {3000, 0, 5000, ""}, {2930, 0, 1100, ""}}},
            {15, 4, 2025, "Livsmedel", {{1905, 585, 0, ""}, {3001, 0, 500, ""}, {2931, 0, 85, ""}}},
            {2, 5, 2025, "Böcker, momsraden glömd", {{1900, 324, 0, ""}, {3065, 0, 324, ""}}},
            {20, 5, 2025, "Varuinköp", {{4000, 2000, 0, ""}, {1717, 440, 0, ""}, {2750, 0, 2440, "Lev. Y"}}},
            {3, 6, 2025, "Inköp 8 %", {{4065, 250, 0, ""}, {1719, 20, 0, ""}, {1905, 0, 270, ""}}},
            {18,
             6,
             2025,
             "Retur till Lev. Y",
             {{2750, 610, 0, "Lev. Y"}, {4000, 0, 500, ""}, {1717, 0, 110, ""}}},
            {30,
             6,
             2025,
             "Telefon juni",
             {{6800, 100.37, 0, ""}, {1717, 22.08, 0, ""}, {1905, 0, 122.45, ""}}},
        });
    doc.openedFrom("/hem/kassör/Butiken.bok");
}

} // namespace kv::test
