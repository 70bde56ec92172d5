#include "ArchiveTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kv {
namespace {

using test::Bytes;

// Offset of the first grid-state reference: after four int32.
constexpr std::size_t kGridOffset = 16;

TEST(CompanyArchive, ReadAndWrittenAgainGivesTheSameBytes) {
    CTallvingeDoc withoutGrids;
    test::buildSmallCompany(withoutGrids);
    test::postVoucher(withoutGrids, 1, 2, 2012, {{1910, 300, 0}, {3010, 0, 300}});
    const CompanyState full = test::fullCompany();

    for (const CompanyState* doc : {&withoutGrids.state(), &full}) {
        const std::string company = test::companyBytes(*doc);
        EXPECT_EQ(test::companyBytes(test::readCompanyBytes(company)), company);

        const std::string period = test::periodBytes(*doc, "Firma.bok");
        EXPECT_EQ(test::periodBytes(test::readPeriodBytes(period), "Firma.bok"), period);
    }
}

TEST(CompanyArchive, TemplateFileReadAndWrittenAgainGivesTheSameBytes) {
    CompanyState doc = test::fullCompany();
    TemplateList templates;
    for (const char* name : {"Förening med moms", ""}) {
        auto mall = std::make_unique<CKontoplan>();
        mall->m_strNamn = name;
        mall->m_nAntalRes = static_cast<std::int32_t>(doc.m_resKonton.size());
        mall->m_nAntalBal = static_cast<std::int32_t>(doc.m_balKonton.size());
        for (const auto& konto : doc.m_allaKonton) {
            mall->m_konton.push_back(std::make_unique<CKonto>(konto->chartRowCopy()));
        }
        mall->m_momsregler = doc.m_momsregler;
        templates.push_back(std::move(mall));
    }
    const std::string bytes = test::templateBytes(templates);
    const TemplateList read = test::readTemplateBytes(bytes);
    test::expectSameTemplates(templates, read);
    EXPECT_EQ(test::templateBytes(read), bytes);
    EXPECT_EQ(test::templateBytes({}), Bytes().u16(0).str());
}

TEST(CompanyArchive, EveryStoredFieldComesBack) {
    CompanyState doc = test::fullCompany();
    // Amounts at the edges of what a double carries.
    CKontorad& rad = doc.m_allaKonton[static_cast<std::size_t>(test::accountIndex(doc, 3000))]->m_rader.at(0);
    rad.m_dDebet = 0.1;
    rad.m_dKredit = 999999999999.99;
    rad.m_dExtra = 4.9406564584124654e-324;
    doc.m_verifikat[0].m_dDifferens = -0.0;
    doc.m_allaKonton[0]->m_strKolumn6 = test::everyWindows1252Character();

    const CompanyState read = test::readCompanyBytes(test::companyBytes(doc));
    test::expectSameStoredFields(doc, read, true);
    const CKontorad& back =
        read.m_allaKonton[static_cast<std::size_t>(test::accountIndex(doc, 3000))]->m_rader.at(0);
    EXPECT_EQ(back.m_dExtra, 4.9406564584124654e-324);
    EXPECT_TRUE(std::signbit(read.m_verifikat[0].m_dDifferens));
    EXPECT_EQ(read.m_allaKonton[0]->m_strKolumn6, test::everyWindows1252Character());

    const CompanyState period = test::readPeriodBytes(test::periodBytes(doc, doc.m_strFilnamn));
    test::expectSameStoredFields(doc, period, false);
    // The period file holds neither the company texts nor the periods.
    EXPECT_EQ(period.m_strEnhet, kNyttForetag);
    EXPECT_TRUE(period.m_perioder.empty());
}

TEST(CompanyArchive, GridStateBeyondTheStoredLimitsIsSavedReadably) {
    CompanyState doc = test::smallCompany();
    doc.m_pResultatGrid = std::make_unique<GridState>(test::styledGrid());
    doc.m_pResultatGrid->settings().zoom = 2000;
    CellStyle style;
    style.background = 0xFF102030; // with an alpha byte, as window systems hand colours out
    style.textColor = 0x80FFFFFF;
    style.fontSize = 1000;
    doc.m_pResultatGrid->setStyle(2, 2, style);

    const CompanyState read = test::readCompanyBytes(test::companyBytes(doc));
    ASSERT_NE(read.m_pResultatGrid, nullptr);
    EXPECT_EQ(read.m_pResultatGrid->settings().zoom, 1000);
    EXPECT_EQ(read.m_pResultatGrid->style(2, 2).background, Rgb{0x102030});
    EXPECT_EQ(read.m_pResultatGrid->style(2, 2).textColor, Rgb{0xFFFFFF});
    EXPECT_EQ(read.m_pResultatGrid->style(2, 2).fontSize, 400);
    EXPECT_EQ(read.m_pResultatGrid->text(3, 2), "Försäljning € 25 %");
}

TEST(CompanyArchive, SubsetsComeBackAsTheSameObjectsAsTheOwningList) {
    CompanyState doc = test::fullCompany();
    const CompanyState read = test::readCompanyBytes(test::companyBytes(doc));
    ASSERT_EQ(read.m_resKonton.size() + read.m_balKonton.size(), read.m_allaKonton.size());
    for (std::size_t i = 0; i < read.m_resKonton.size(); ++i) {
        EXPECT_EQ(read.m_resKonton[i], read.m_allaKonton[i].get()) << i;
    }
    for (std::size_t i = 0; i < read.m_balKonton.size(); ++i) {
        EXPECT_EQ(read.m_balKonton[i], read.m_allaKonton[read.m_resKonton.size() + i].get()) << i;
    }
}

// A company put together field by field, so that every byte of its file is known.
struct HandMadeCompany {
    CompanyState doc;
    HandMadeCompany() {
        doc.m_nFranManad = 1;
        doc.m_nFranAr = 2012;
        doc.m_nTillManad = 12;
        doc.m_nTillAr = 2012;
        doc.m_nEndastAnvanda = 1;
        doc.m_strEnhet = "/ho";
        doc.m_strFilnamn = "Firma.bok";
        doc.m_nVinstrad = 3;
        auto kassa = std::make_unique<CKonto>();
        kassa->m_nKontonr = 1910;
        kassa->m_strKolumn2 = "Kassa";
        kassa->m_strKolumn3 = "c";
        kassa->m_nAnvands = 1;
        kassa->m_nMarkering = 1;
        CKontorad rad;
        rad.m_nVernr = 1;
        rad.m_nDag = 15;
        rad.m_nManad = 3;
        rad.m_nAr = 2012;
        rad.m_dDebet = 100.25;
        rad.m_strText = "Insättning";
        rad.m_strKontonamn = "Kassa";
        kassa->m_rader.push_back(rad);
        auto skuld = std::make_unique<CKonto>();
        skuld->m_nKontonr = 2440;
        skuld->m_strKolumn2 = "Leverantörsskulder";
        skuld->m_nMarkering = 1;
        doc.m_resKonton.emplace_back(kassa.get());
        doc.m_balKonton.emplace_back(skuld.get());
        doc.m_allaKonton.push_back(std::move(kassa));
        doc.m_allaKonton.push_back(std::move(skuld));
        doc.m_resNummer = {1910};
        doc.m_balNummer = {2440};
    }
};

TEST(CompanyArchive, HandMadeCompanyFileHasTheExpectedBytes) {
    const HandMadeCompany company;
    const std::string expected = Bytes()
                                     .i32(1)    // m_nNastaVernr
                                     .i32(2046) // m_nUtskrift1
                                     .i32(2046) // m_nUtskrift2
                                     .i32(1)    // m_bNyttForetag
                                     .u16(0)    // m_pBalansGrid: never opened
                                     .u16(0)    // m_pResultatGrid
                                     .i32(0)
                                     .i32(1)
                                     .i32(2012)
                                     .i32(0)
                                     .i32(12)
                                     .i32(2012)
                                     .i32(1)
                                     .text("/ho")
                                     .text("Firma.bok")
                                     .i32(0)             // m_nAktuellPeriod
                                     .i32(3)             // m_nVinstrad
                                     .u16(2)             // m_allaKonton
                                     .newClass("CKonto") // class 1, account 2
                                     .i32(1910)
                                     .text("Kassa")
                                     .text("c")
                                     .text("")
                                     .text("")
                                     .text("")
                                     .i32(1) // m_nAnvands
                                     .i32(1) // m_nMarkering
                                     .u16(1)
                                     .newClass("CKontorad") // class 3, row 4
                                     .i32(1)
                                     .i32(15)
                                     .i32(3)
                                     .i32(2012)
                                     .f64(100.25)
                                     .f64(0)
                                     .f64(0)
                                     .text("Ins\xE4ttning")
                                     .text("Kassa")
                                     .u16(0x8001) // account 5
                                     .i32(2440)
                                     .text("Leverant\xF6rsskulder")
                                     .text("")
                                     .text("")
                                     .text("")
                                     .text("")
                                     .i32(0)
                                     .i32(1)
                                     .u16(0)
                                     .u16(1) // m_resKonton
                                     .u16(2)
                                     .u16(1) // m_balKonton
                                     .u16(5)
                                     .u16(1) // m_balNummer
                                     .i32(2440)
                                     .u16(1) // m_resNummer
                                     .i32(1910)
                                     .u16(0)  // m_momsregler
                                     .u16(0)  // m_verifikat: no vouchers
                                     .u16(0); // m_perioder
    const std::string bytes = test::companyBytes(company.doc);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(test::companyBytes(test::readCompanyBytes(expected)), expected);
}

TEST(CompanyArchive, GridStatesTakeNumbersBeforeTheAccounts) {
    HandMadeCompany company;
    company.doc.m_pBalansGrid = std::make_unique<GridState>(test::styledGrid());
    company.doc.m_pResultatGrid = std::make_unique<GridState>();
    const std::string bytes = test::companyBytes(company.doc);
    // Grid-state class 1 with objects 2 and 3; "CKonto" becomes 4, the first
    // account 5, "CKontorad" 6, its row 7, and the second account 8.
    EXPECT_EQ(bytes.substr(kGridOffset, 18), Bytes().newClass("CGXGridParam").str());
    EXPECT_NE(bytes.find(Bytes().u16(0x8001).i32(1).i32(0).i32(0).str()), std::string::npos);
    const std::size_t konto = bytes.find(Bytes().newClass("CKonto").i32(1910).str());
    ASSERT_NE(konto, std::string::npos);
    EXPECT_NE(bytes.find(Bytes().i32(1).i32(1).u16(1).newClass("CKontorad").str(), konto), std::string::npos);
    EXPECT_NE(bytes.find(Bytes().u16(0x8004).i32(2440).str(), konto), std::string::npos);
    EXPECT_NE(bytes.find(Bytes().u16(1).u16(5).u16(1).u16(8).u16(1).i32(2440).str(), konto),
              std::string::npos);
    const CompanyState read = test::readCompanyBytes(bytes);
    EXPECT_EQ(read.m_resKonton.at(0), read.m_allaKonton.at(0).get());
    EXPECT_EQ(read.m_balKonton.at(0), read.m_allaKonton.at(1).get());
}

TEST(CompanyArchive, CompanyWhoseGridsWereNeverOpenedHasNullAtBothPositions) {
    CompanyState doc = test::smallCompany();
    const std::string bytes = test::companyBytes(doc);
    EXPECT_EQ(test::u16At(bytes, kGridOffset), 0x0000);
    EXPECT_EQ(test::u16At(bytes, kGridOffset + 2), 0x0000);
    EXPECT_EQ(bytes.substr(kGridOffset + 4, 8), Bytes().i32(0).i32(1).str()); // m_nReserv1, m_nFranManad

    const CompanyState read = test::readCompanyBytes(bytes);
    EXPECT_EQ(read.m_pBalansGrid, nullptr);
    EXPECT_EQ(read.m_pResultatGrid, nullptr);
}

TEST(CompanyArchive, FortyAccountsAreReferredToByFortyBackReferences) {
    CTallvingeDoc company;
    std::vector<ChartRowTexts> income;
    std::vector<ChartRowTexts> balance;
    for (int i = 0; i < 19; ++i) {
        income.push_back(test::row(std::to_string(3000 + i), "Intäkt " + std::to_string(i), "a"));
        balance.push_back(test::row(std::to_string(1900 + i), "Tillgång " + std::to_string(i), "c"));
    }
    income.push_back(test::row("Exempel", ""));
    balance.push_back(test::row("Exempel", ""));
    company.approveIncomeChart(income);
    company.approveBalanceChart(balance);
    company.addFirstPeriod({1, 2012, 12, 2012});
    for (int i = 0; i < 19; ++i) {
        test::postVoucher(company, 1, 1 + i % 12, 2012, {{1900 + i, 100.0 + i, 0}, {3000 + i, 0, 100.0 + i}});
    }
    CompanyState doc = copyCompanyState(company.state());
    doc.m_perioder.clear();
    ASSERT_EQ(doc.m_allaKonton.size(), 40u);
    const std::string bytes = test::companyBytes(doc);

    // Where the subsets start: the same company without them ends with seven
    // empty counts (the two subsets, the two number arrays, VAT rules, vouchers, periods).
    auto res = std::move(doc.m_resKonton);
    auto bal = std::move(doc.m_balKonton);
    auto resNummer = std::move(doc.m_resNummer);
    auto balNummer = std::move(doc.m_balNummer);
    auto verifikat = std::move(doc.m_verifikat);
    doc.m_resKonton.clear();
    doc.m_balKonton.clear();
    doc.m_resNummer.clear();
    doc.m_balNummer.clear();
    doc.m_verifikat.clear();
    const std::size_t subsets = test::companyBytes(doc).size() - 7 * 2;
    doc.m_resKonton = std::move(res);
    doc.m_balKonton = std::move(bal);

    std::string expected = test::subsetBytes(doc, 1);
    EXPECT_EQ(expected.size(), 2 + 20 * 2 + 2 + 20 * 2u); // two counts and 40 tags, no fields
    Bytes numbers;
    numbers.u16(static_cast<std::uint16_t>(balNummer.size()));
    for (const std::int32_t n : balNummer) {
        numbers.i32(n);
    }
    expected += numbers.str();
    EXPECT_EQ(bytes.substr(subsets, expected.size()), expected);
}

TEST(CompanyArchive, AccountsNumberedFrom7fffAreReferredToInTheLongForm) {
    CompanyState doc = test::smallCompany();
    // Enough rows on the second account that every account after it is numbered above 0x7FFF;
    // texts of varying length also cross the buffer limits of writer and reader at varying places.
    CKonto& many = *doc.m_allaKonton.at(1);
    for (int i = 0; i < 0x8000; ++i) {
        CKontorad rad;
        rad.m_nVernr = i;
        rad.m_strText = "Rad " + std::to_string(i) + (i % 3 == 0 ? " på Åland" : "");
        many.m_rader.push_back(rad);
    }
    const std::string bytes = test::companyBytes(doc);
    const std::string subsets = test::subsetBytes(doc, 1);
    EXPECT_NE(subsets.find(Bytes().u16(0x7FFF).str()), std::string::npos);
    EXPECT_NE(bytes.find(subsets), std::string::npos);

    const CompanyState read = test::readCompanyBytes(bytes);
    for (std::size_t i = 0; i < read.m_resKonton.size(); ++i) {
        ASSERT_EQ(read.m_resKonton[i], read.m_allaKonton[i].get()) << i;
    }
    for (std::size_t i = 0; i < read.m_balKonton.size(); ++i) {
        ASSERT_EQ(read.m_balKonton[i], read.m_allaKonton[read.m_resKonton.size() + i].get()) << i;
    }
    EXPECT_EQ(test::companyBytes(read), bytes);
}

TEST(CompanyArchive, VoucherListOfACompanyWithoutVouchersIsCountZero) {
    HandMadeCompany company;
    CAutomoms regel;
    regel.m_dMomssats = 25;
    regel.m_strKommentar = "Moms";
    company.doc.m_momsregler.push_back(regel);
    CPeriod period;
    period.m_nFranManad = 1;
    period.m_nFranAr = 2012;
    period.m_nTillManad = 12;
    period.m_nTillAr = 2012;
    company.doc.m_perioder.push_back(std::move(period));
    const std::string tail = Bytes()
                                 .u16(1)
                                 .newClass("CAutomoms")
                                 .f64(25)
                                 .i32(0)
                                 .i32(0)
                                 .i32(0)
                                 .i32(0)
                                 .text("Moms")
                                 .u16(0) // m_verifikat
                                 .u16(1)
                                 .newClass("CPeriod")
                                 .i32(0)
                                 .i32(1)
                                 .i32(2012)
                                 .i32(0)
                                 .i32(12)
                                 .i32(2012)
                                 .i32(0)
                                 .u16(0);
    const std::string bytes = test::companyBytes(company.doc);
    ASSERT_GT(bytes.size(), tail.size());
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
}

TEST(CompanyArchive, PeriodFileStartsWithTheCompanyFileName) {
    CompanyState doc = test::fullCompany();
    const std::string bytes = test::periodBytes(doc, "Åkesson.bok");
    EXPECT_EQ(bytes.substr(0, 12), Bytes().text("\xC5kesson.bok").str());
    // Then the same opening fields as the company file, but no company texts:
    // m_nAktuellPeriod and m_nVinstrad follow the seven period fields directly.
    EXPECT_EQ(bytes.substr(12, 8), Bytes().i32(doc.m_nNastaVernr).i32(doc.m_nUtskrift1).str());
    const std::size_t afterGrids =
        bytes.find(Bytes().i32(doc.m_nReserv1).i32(1).i32(2012).i32(doc.m_nReserv2).str());
    ASSERT_NE(afterGrids, std::string::npos);
    EXPECT_EQ(bytes.substr(afterGrids + 28, 10), Bytes()
                                                     .i32(doc.m_nAktuellPeriod)
                                                     .i32(doc.m_nVinstrad)
                                                     .u16(static_cast<std::uint16_t>(doc.m_allaKonton.size()))
                                                     .str());

    MemorySource source(bytes);
    ArchiveReader in(source);
    EXPECT_EQ(readPeriodArchiveOwner(in), "Åkesson.bok");
}

} // namespace
} // namespace kv
