#include "ArchiveTestSupport.h"

#include "TestSupport.h"
#include "storage/Cp1252.h"

#include <gtest/gtest.h>

#include <utility>

namespace kv::test {

std::unordered_map<const CKonto*, std::uint32_t> accountNumbers(const CompanyState& doc, std::uint32_t next) {
    std::unordered_map<const CKonto*, std::uint32_t> numbers;
    bool kontoClass = false;
    bool kontoradClass = false;
    for (const auto& konto : doc.m_allaKonton) {
        if (!std::exchange(kontoClass, true)) {
            ++next;
        }
        numbers[konto.get()] = next++;
        for (std::size_t i = 0; i < konto->m_rader.size(); ++i) {
            if (!std::exchange(kontoradClass, true)) {
                ++next;
            }
            ++next;
        }
    }
    return numbers;
}

std::string subsetBytes(const CompanyState& doc, std::uint32_t next) {
    const auto numbers = accountNumbers(doc, next);
    Bytes bytes;
    for (const auto* subset : {&doc.m_resKonton, &doc.m_balKonton}) {
        bytes.u16(static_cast<std::uint16_t>(subset->size()));
        for (const CKonto* konto : *subset) {
            bytes.ref(numbers.at(konto));
        }
    }
    return bytes;
}

std::string everyWindows1252Character() {
    std::string bytes;
    for (int value = 1; value < 256; ++value) {
        bytes.push_back(static_cast<char>(value));
    }
    bytes.push_back('\0');
    return cp1252ToUtf8(bytes);
}

GridState styledGrid() {
    GridState grid;
    grid.setRowCount(12);
    grid.setColCount(4);
    grid.setColumnWidth(0, 40);
    grid.setColumnWidth(2, 250);
    grid.settings().zoom = 125;
    grid.settings().printLike = true;
    grid.setText(0, 1, "Konto");
    grid.setText(0, 2, "Benämning");
    grid.setText(3, 2, "Försäljning € 25 %");
    CellStyle bold;
    bold.bold = true;
    bold.underline = true;
    bold.fontFace = "Times New Roman";
    bold.fontSize = 14;
    bold.align = HAlign::Center;
    grid.setStyle(1, 1, bold);
    CellStyle amount;
    amount.readOnly = true;
    amount.italic = true;
    amount.background = rgb(255, 255, 192);
    amount.textColor = rgb(200, 0, 0);
    amount.align = HAlign::Right;
    grid.setCell(12, 4, GridCell{"-1 234.50", amount});
    return grid;
}

void buildFullCompany(CTallvingeDoc& company) {
    buildSmallCompany(company);
    postVoucher(company, 15, 3, 2012, {{1930, 1250.5, 0}, {3000, 0, 1000.4}, {3010, 0, 250.1}});
    postVoucher(company, 2, 4, 2012, {{5010, 4000, 0}, {1930, 0, 4000}});
    // Every other stored field as a file may hold it.
    CompanyState doc = copyCompanyState(company.state());
    doc.m_verifikat[1].m_strText2 = "Hyra för april, lokal på Östra gatan";
    doc.m_verifikat[1].m_dKontosaldo = -2749.6;
    doc.m_verifikat[1].m_rader[0].m_strRadtext = everyWindows1252Character();
    doc.m_verifikat[1].m_rader[0].m_dMoms = 25;

    CAutomoms regel;
    regel.m_dMomssats = 12.5;
    regel.m_nDebetkonto = 1930;
    regel.m_nKreditkonto = 3000;
    regel.m_nDebetMomskonto = 2640;
    regel.m_nKreditMomskonto = 2610;
    regel.m_strKommentar = "Försäljning, låg moms (ÅÄÖ)";
    doc.m_momsregler.push_back(regel);

    // Closing balances of the first period and a second period after it.
    for (const CKonto* konto : doc.m_balKonton) {
        auto copy = std::make_unique<CKonto>(konto->chartRowCopy());
        CKontorad ib;
        ib.m_strText = "Ingående balans";
        ib.m_dDebet = konto->m_nKontonr == 1930 ? -2749.6 : 0.0;
        ib.m_dExtra = -0.0;
        copy->m_rader.push_back(ib);
        doc.m_perioder[0].m_ingaende.push_back(std::move(copy));
    }
    CPeriod next;
    next.m_nReserv1 = 7;
    next.m_nFranManad = 1;
    next.m_nFranAr = 2013;
    next.m_nReserv2 = -7;
    next.m_nTillManad = 6;
    next.m_nTillAr = 2013;
    next.m_nVinstradNy = 1;
    doc.m_perioder.push_back(std::move(next));

    doc.m_pBalansGrid = std::make_unique<GridState>(styledGrid());
    doc.m_pResultatGrid = std::make_unique<GridState>();
    doc.m_pResultatGrid->setRowCount(3);
    doc.m_pResultatGrid->setColCount(2);
    doc.m_pResultatGrid->settings().readOnly = true;

    doc.m_nUtskrift1 = 120;
    doc.m_nUtskrift2 = -5;
    doc.m_nReserv1 = 11;
    doc.m_nReserv2 = 22;
    doc.m_nEndastAnvanda = 1;
    doc.m_strEnhet = "/ho";
    doc.m_strFilnamn = "Företaget Åkesson & Söner.bok";
    doc.m_nVinstrad = 3;
    company.loadCompany(std::move(doc));
}

namespace {

void expectSameGrid(const DeepConst<std::unique_ptr<GridState>>& expected,
                    const DeepConst<std::unique_ptr<GridState>>& actual, const char* which) {
    ASSERT_EQ(expected == nullptr, actual == nullptr) << which;
    if (expected) {
        EXPECT_TRUE(*expected == *actual) << which;
    }
}

void expectSameAccounts(const KontoList& expected, const KontoList& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(*expected[i], *actual[i]) << "account " << i;
    }
}

// Positions in m_allaKonton of the rows a subset refers to.
std::vector<std::size_t> positions(const KontoList& owner, const KontoRefs& subset) {
    std::vector<std::size_t> result;
    for (const CKonto* konto : subset) {
        std::size_t i = 0;
        while (i < owner.size() && owner[i].get() != konto) {
            ++i;
        }
        result.push_back(i);
    }
    return result;
}

} // namespace

void expectSameStoredFields(const CompanyState& expected, const CompanyState& actual, bool companyFile) {
    EXPECT_EQ(expected.m_nNastaVernr, actual.m_nNastaVernr);
    EXPECT_EQ(expected.m_nUtskrift1, actual.m_nUtskrift1);
    EXPECT_EQ(expected.m_nUtskrift2, actual.m_nUtskrift2);
    EXPECT_EQ(expected.m_bNyttForetag, actual.m_bNyttForetag);
    expectSameGrid(expected.m_pBalansGrid, actual.m_pBalansGrid, "m_pBalansGrid");
    expectSameGrid(expected.m_pResultatGrid, actual.m_pResultatGrid, "m_pResultatGrid");
    EXPECT_EQ(expected.m_nReserv1, actual.m_nReserv1);
    EXPECT_EQ(expected.m_nFranManad, actual.m_nFranManad);
    EXPECT_EQ(expected.m_nFranAr, actual.m_nFranAr);
    EXPECT_EQ(expected.m_nReserv2, actual.m_nReserv2);
    EXPECT_EQ(expected.m_nTillManad, actual.m_nTillManad);
    EXPECT_EQ(expected.m_nTillAr, actual.m_nTillAr);
    EXPECT_EQ(expected.m_nEndastAnvanda, actual.m_nEndastAnvanda);
    EXPECT_EQ(expected.m_nAktuellPeriod, actual.m_nAktuellPeriod);
    EXPECT_EQ(expected.m_nVinstrad, actual.m_nVinstrad);
    expectSameAccounts(expected.m_allaKonton, actual.m_allaKonton);
    EXPECT_EQ(positions(expected.m_allaKonton, expected.m_resKonton),
              positions(actual.m_allaKonton, actual.m_resKonton));
    EXPECT_EQ(positions(expected.m_allaKonton, expected.m_balKonton),
              positions(actual.m_allaKonton, actual.m_balKonton));
    EXPECT_EQ(expected.m_balNummer, actual.m_balNummer);
    EXPECT_EQ(expected.m_resNummer, actual.m_resNummer);
    EXPECT_EQ(expected.m_momsregler, actual.m_momsregler);
    EXPECT_EQ(expected.m_verifikat, actual.m_verifikat);
    if (!companyFile) {
        return;
    }
    EXPECT_EQ(expected.m_strEnhet, actual.m_strEnhet);
    EXPECT_EQ(expected.m_strFilnamn, actual.m_strFilnamn);
    ASSERT_EQ(expected.m_perioder.size(), actual.m_perioder.size());
    for (std::size_t i = 0; i < expected.m_perioder.size(); ++i) {
        const CPeriod& e = expected.m_perioder[i];
        const CPeriod& a = actual.m_perioder[i];
        EXPECT_EQ(e.m_nReserv1, a.m_nReserv1);
        EXPECT_EQ(e.m_nFranManad, a.m_nFranManad);
        EXPECT_EQ(e.m_nFranAr, a.m_nFranAr);
        EXPECT_EQ(e.m_nReserv2, a.m_nReserv2);
        EXPECT_EQ(e.m_nTillManad, a.m_nTillManad);
        EXPECT_EQ(e.m_nTillAr, a.m_nTillAr);
        EXPECT_EQ(e.m_nVinstradNy, a.m_nVinstradNy);
        expectSameAccounts(e.m_ingaende, a.m_ingaende);
    }
}

void expectSameTemplates(const TemplateList& expected, const TemplateList& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i]->m_strNamn, actual[i]->m_strNamn);
        EXPECT_EQ(expected[i]->m_nAntalRes, actual[i]->m_nAntalRes);
        EXPECT_EQ(expected[i]->m_nAntalBal, actual[i]->m_nAntalBal);
        expectSameAccounts(expected[i]->m_konton, actual[i]->m_konton);
        EXPECT_EQ(expected[i]->m_momsregler, actual[i]->m_momsregler);
    }
}

} // namespace kv::test
