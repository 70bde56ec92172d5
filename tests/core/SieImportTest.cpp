// A new company from a SIE file: the charts with the file's accounts put in,
// the opening balances and vouchers, the summary, and the files whose books
// do not fit in the program.
#include "SieTestSupport.h"
#include "TestSupport.h"

#include "app/NewCompany.h"
#include "chart/ChartTemplates.h"
#include "storage/CompanyFiles.h"
#include "storage/TemplateStore.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kv {
namespace {

using test::importSie;
using test::sieFile;

const CKonto& account(const CTallvingeDoc& doc, std::int32_t number) {
    const int index = doc.accountIndex(number);
    if (index < 0) {
        throw std::out_of_range("no account " + std::to_string(number));
    }
    return *doc.state().m_allaKonton[static_cast<std::size_t>(index)];
}

// The position of the account among the rows of its chart.
std::ptrdiff_t positionIn(const KontoRefs& chart, std::int32_t number) {
    const auto found = std::find_if(chart.begin(), chart.end(),
                                    [number](const CKonto* konto) { return konto->m_nKontonr == number; });
    return found == chart.end() ? -1 : found - chart.begin();
}

std::ptrdiff_t assetsTotal(const CTallvingeDoc& doc) {
    const auto& chart = doc.state().m_balKonton;
    return std::find_if(chart.begin(), chart.end(), [](const CKonto* k) { return k->m_strKolumn5 == "a"; }) -
           chart.begin();
}

TEST(SieImport, TheAssociationFileMakesItsCompany) {
    const SieImportResult result = importSie(test::readFile(test::sieTestFile("forening-pc8.se")));
    const CTallvingeDoc& doc = *result.company;
    const CompanyState& company = doc.state();

    ASSERT_EQ(company.m_perioder.size(), 1U);
    EXPECT_EQ(doc.periodStart(), (YearMonth{2024, 1}));
    EXPECT_EQ(doc.periodEnd(), (YearMonth{2024, 12}));
    EXPECT_TRUE(doc.bothChartsApproved());
    EXPECT_EQ(company.m_momsregler.size(), 54U);
    EXPECT_TRUE(doc.isModified());

    // The template's own accounts keep their names; the added ones get the file's.
    EXPECT_EQ(account(doc, 1930).m_strKolumn2, "Checkräkningskonto");
    EXPECT_EQ(account(doc, 1935).m_strKolumn2, "Sparkonto, räntebärande");
    EXPECT_EQ(account(doc, 3890).m_strKolumn2, "Övriga medlemsintäkter");

    // Opening balances as the first row of each account.
    const CKonto& bank = account(doc, 1930);
    ASSERT_FALSE(bank.m_rader.empty());
    EXPECT_EQ(bank.m_rader.front().m_strText, "Ingående balans");
    EXPECT_EQ(bank.m_rader.front().m_nVernr, 0);
    EXPECT_EQ(bank.m_rader.front().m_dDebet, 15000.0);
    EXPECT_EQ(account(doc, 2040).m_rader.front().m_dKredit, 20000.0);
    EXPECT_EQ(doc.balanceUnder(bank, RangeRule::WholePeriod), 1420000);
    EXPECT_EQ(doc.balanceUnder(account(doc, 8311), RangeRule::WholePeriod), -1250);

    // The vouchers in the order of the file, numbered from 1.
    ASSERT_EQ(company.m_verifikat.size(), 3U);
    const CEttVerifikat& fees = company.m_verifikat[0];
    EXPECT_EQ(fees.m_nVernr, 1);
    EXPECT_EQ(fees.m_strVertext, "Medlemsavgifter januari");
    EXPECT_EQ((std::array{fees.m_nTransDag, fees.m_nTransManad, fees.m_nTransAr}), (std::array{15, 1, 2024}));
    EXPECT_EQ((std::array{fees.m_nBokfDag, fees.m_nBokfManad, fees.m_nBokfAr}), (std::array{16, 1, 2024}));
    ASSERT_EQ(fees.m_rader.size(), 2U);
    EXPECT_EQ(fees.m_rader[1].m_nKonto, 3890);
    EXPECT_EQ(fees.m_rader[1].m_dKredit, 1200.0);
    EXPECT_EQ(fees.m_rader[1].m_strKontonamn, "Övriga medlemsintäkter");
    EXPECT_EQ(fees.m_rader[1].m_strRadtext, "Avgifter, tabbar mellan fälten");
    const CEttVerifikat& rent = company.m_verifikat[1];
    EXPECT_EQ(rent.m_nVernr, 2);
    EXPECT_EQ(rent.m_dSumDebet, 2000.0);
    EXPECT_EQ(rent.m_dDifferens, 0.0);
    EXPECT_EQ(company.m_nNastaVernr, 4);

    const SieImportSummary& summary = result.summary;
    EXPECT_TRUE(summary.canImport());
    EXPECT_EQ(summary.companyName, "Föreningen \"Kvisten\"");
    EXPECT_EQ(summary.accountsInFile, 8U);
    EXPECT_EQ(summary.added.size(), 4U);
    EXPECT_EQ(summary.openingBalances, 3U);
    EXPECT_EQ(summary.openingSum, 0);
    EXPECT_EQ(summary.vouchers, 3U);
    EXPECT_EQ(summary.transactions, 6U);
    EXPECT_EQ(summary.debit, 321250);
    EXPECT_EQ(summary.credit, 321250);
    EXPECT_EQ(summary.balancesChecked, 6U);
    const std::vector<std::string> notes = summary.notes;
    EXPECT_TRUE(std::any_of(notes.begin(), notes.end(), [](const std::string& note) {
        return note.starts_with("Verifikaten numreras");
    }));
    EXPECT_TRUE(std::any_of(notes.begin(), notes.end(), [](const std::string& note) {
        return note.find("#RAR -1") != std::string::npos;
    }));
}

// Each account that the template lacks stands among the accounts of its kind
// on its side, in numeric order, in their group.
TEST(SieImport, MissingAccountsGoWhereTheirNumbersBelong) {
    struct Case {
        std::int32_t number;
        char type;
        ChartSide side;
        std::int32_t beside;
    };
    const std::vector<Case> cases = {
        {1001, 0, ChartSide::Assets, 1010},        {1935, 0, ChartSide::Assets, 1930},
        {2099, 'S', ChartSide::Liabilities, 2091}, {2999, 0, ChartSide::Liabilities, 2960},
        {3890, 0, ChartSide::Income, 3911},        {45, 0, ChartSide::Income, 4010},
        {8999, 0, ChartSide::Income, 8980},        {9100, 'T', ChartSide::Assets, 1940},
        {9200, 'S', ChartSide::Liabilities, 2999}, // the nearest may be one added before it
        {9300, 0, ChartSide::Income, 8999},
    };
    std::string body;
    for (const Case& c : cases) {
        body += "#KONTO " + std::to_string(c.number) + " \"Konto nr " + std::to_string(c.number) + "\"\n";
        if (c.type != 0) {
            body += "#KTYP " + std::to_string(c.number) + " " + c.type + "\n";
        }
    }
    const SieImportResult result = importSie(sieFile(body));
    const CTallvingeDoc& doc = *result.company;
    ASSERT_EQ(result.summary.added.size(), cases.size());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        const auto added = std::find_if(result.summary.added.begin(), result.summary.added.end(),
                                        [&c](const SieAddedAccount& a) { return a.number == c.number; });
        ASSERT_NE(added, result.summary.added.end());
        EXPECT_EQ(added->side, c.side);
        EXPECT_EQ(added->beside, c.beside);
        const auto& chart = c.side == ChartSide::Income ? doc.state().m_resKonton : doc.state().m_balKonton;
        const std::ptrdiff_t position = positionIn(chart, c.number);
        const std::ptrdiff_t neighbour = positionIn(chart, c.beside);
        EXPECT_EQ(position, c.number > c.beside ? neighbour + 1 : neighbour - 1);
        EXPECT_EQ(account(doc, c.number).m_strKolumn3, account(doc, c.beside).m_strKolumn3);
        if (c.side != ChartSide::Income) {
            EXPECT_EQ(position < assetsTotal(doc), c.side == ChartSide::Assets);
        }
    }
    EXPECT_EQ(account(doc, 2999).m_strKolumn2, "Konto nr 2999");
    // The charts still name their result and carried-profit accounts.
    std::int32_t resultAccount = 0;
    EXPECT_TRUE(doc.resultAccountNumber(resultAccount));
    EXPECT_EQ(resultAccount, 2090);
    EXPECT_EQ(doc.carriedProfitAccount(), 2040);
}

// The association template has no VAT accounts: 2610-2650 go among the
// short-term liabilities beside 2750, not after 2520 among the long-term ones.
TEST(SieImport, NewAccountsJoinTheGroupOfTheirKind) {
    const SieImportResult result =
        importSie(sieFile("#KONTO 2610 \"Utgående moms\"\n#KONTO 2640 \"Ingående moms\"\n"
                          "#KONTO 2650 \"Redovisningskonto för moms\"\n#KONTO 1510 \"Kundfordringar\"\n"),
                  kMallForening);
    const CTallvingeDoc& doc = *result.company;
    const std::vector<std::pair<std::int32_t, std::int32_t>> beside = {
        {1510, 1820}, {2610, 2750}, {2640, 2610}, {2650, 2640}};
    for (const auto& [number, neighbour] : beside) {
        SCOPED_TRACE(number);
        const auto added = std::find_if(result.summary.added.begin(), result.summary.added.end(),
                                        [number](const SieAddedAccount& a) { return a.number == number; });
        ASSERT_NE(added, result.summary.added.end());
        EXPECT_EQ(added->beside, neighbour);
        EXPECT_EQ(account(doc, number).m_strKolumn3, account(doc, neighbour).m_strKolumn3);
    }
    EXPECT_EQ(account(doc, 2610).m_strKolumn3, "h"); // "Sa kortfristigt"
    const auto& chart = doc.state().m_balKonton;
    EXPECT_LT(positionIn(chart, 2650), positionIn(chart, 2750));
    EXPECT_LT(positionIn(chart, 2610), positionIn(chart, 2640));
}

// A transaction file (4I) makes a company too: its period is its vouchers'
// months, and the accounts it uses without #KONTO are named by number.
TEST(SieImport, ATransactionFileMakesItsCompany) {
    const std::string head = "#FLAGGA 0\n#SIETYP 4\n";
    const std::string twoMonths =
        "#VER \"\" \"\" 20240310 \"Kassa\"\n{\n#TRANS 3011 {} -5.00\n#TRANS 1910 {} 5.00\n}\n"
        "#VER \"\" \"\" 20240502 \"Kassa\"\n{\n#TRANS 3011 {} -7.00\n#TRANS 1910 {} 7.00\n}\n";
    const std::string oneMonth =
        "#VER \"\" \"\" 20241205 \"Lön\"\n{\n#TRANS 7010 {} 10.00\n#TRANS 1930 {} -10.00\n}\n";
    struct Case {
        std::string body;
        YearMonth start;
        YearMonth end;
        std::string note;
    };
    const std::vector<Case> cases = {
        {twoMonths, {2024, 3}, {2024, 5}, "perioden är verifikatens månader, 3.2024 – 5.2024."},
        {oneMonth,
         {2024, 12},
         {2025, 1},
         "ligger i en enda månad: perioden är den månaden och nästa, 12.2024 – 1.2025."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        const SieImportResult result = importSie(head + c.body, kMallBaskonto);
        const CTallvingeDoc& doc = *result.company;
        EXPECT_EQ(doc.periodStart(), c.start);
        EXPECT_EQ(doc.periodEnd(), c.end);
        const auto& notes = result.summary.notes;
        EXPECT_TRUE(std::any_of(notes.begin(), notes.end(), [&c](const std::string& note) {
            return note.find(c.note) != std::string::npos;
        }));
        EXPECT_TRUE(result.summary.canImport());
    }
    // 3011 is in neither the file's chart nor the template's: it is added under its number.
    const SieImportResult result = importSie(head + twoMonths, kMallBaskonto);
    EXPECT_EQ(account(*result.company, 3011).m_strKolumn2, "Konto 3011");
    ASSERT_EQ(result.summary.added.size(), 1U);
    EXPECT_EQ(result.summary.added[0].number, 3011);
}

// What the summary says of records that the books leave out or read their own way.
TEST(SieImport, TheSummaryNamesWhatIsLeftOutOrRead) {
    const SieImportResult result = importSie(
        sieFile("#KONTO DIFF \"Öresavrundning\"\n#KONTO 01930 \"Bank\"\n#VER A 1 20240105 \"\"\n{\n}\n"),
        kMallBaskonto);
    const auto& notes = result.summary.notes;
    for (const std::string expected : {"#KONTO DIFF (rad 4) har inget kontonummer och används inte",
                                       "Filens verifikat A 1 (2024-01-05) (rad 6) har inga rader",
                                       "inledande nollor läses som sina tal: 1930."}) {
        EXPECT_TRUE(std::any_of(notes.begin(), notes.end(), [&expected](const std::string& note) {
            return note.find(expected) != std::string::npos;
        })) << expected;
    }
    EXPECT_TRUE(result.company->state().m_verifikat.empty());
}

TEST(SieImport, ABalanceThatDisagreesWithTheFileStopsTheCompany) {
    const SieImportResult result = importSie(sieFile("#KONTO 1930 \"Bank\"\n"
                                                     "#IB 0 1930 100.00\n"
                                                     "#IB 0 2040 -100.00\n"
                                                     "#UB 0 1930 150.00\n"
                                                     "#UB 0 2040 -100.00\n"
                                                     "#RES 0 3010 -40.00\n"
                                                     "#VER A 1 20240301 \"Försäljning\"\n{\n"
                                                     "#TRANS 1930 {} 50.00\n#TRANS 3010 {} -50.00\n}\n"));
    const SieImportSummary& summary = result.summary;
    EXPECT_FALSE(summary.canImport());
    EXPECT_EQ(summary.balancesChecked, 3U);
    ASSERT_EQ(summary.mismatches.size(), 1U);
    EXPECT_EQ(summary.mismatchLines(),
              (std::vector<std::string>{"#RES konto 3010 (rad 9): filen -40.00, bokföringen -50.00"}));
    EXPECT_EQ(
        summary.conclusion(),
        "Företaget skapas inte: 1 saldo i filen stämmer inte med de ingående balanserna och verifikaten i "
        "den.");

    // An account with vouchers but no #UB or #RES line is checked against zero.
    const SieImportResult unstated = importSie(sieFile("#UB 0 1930 50.00\n"
                                                       "#VER A 1 20240301 \"Försäljning\"\n{\n"
                                                       "#TRANS 1930 {} 50.00\n#TRANS 3010 {} -50.00\n}\n"));
    EXPECT_EQ(
        unstated.summary.mismatchLines(),
        (std::vector<std::string>{"#RES konto 3010 (ingen rad i filen): filen 0.00, bokföringen -50.00"}));

    // Taken as it stands when the user says so, the differences listed.
    const std::string bytes = sieFile("#UB 0 1930 60.00\n#RES 0 3010 -50.00\n#VER A 1 20240301 \"\"\n{\n"
                                      "#TRANS 1930 {} 50.00\n#TRANS 3010 {} -50.00\n}\n");
    const test::TempDir templates;
    const SieImportResult taken =
        buildSieCompany(readSieBooks(bytes), {kMallBaskonto, templates.path(), "test.se", true});
    EXPECT_TRUE(taken.summary.canImport());
    EXPECT_EQ(taken.summary.mismatches.size(), 1U);
    EXPECT_NE(taken.summary.conclusion().find("saldona ovan stämmer inte"), std::string::npos);
    EXPECT_EQ(taken.company->state().m_verifikat.size(), 1U);
}

TEST(SieImport, AFileWithoutChartOrBalancesUsesTheTemplatesAccounts) {
    // As a 4I file may be: only vouchers, on the template's accounts.
    const SieImportResult result = importSie(
        sieFile("#VER \"\" \"\" 20241231 \"Porto\"\n{\n#TRANS 6250 {} 55.00\n#TRANS 1910 {} -55.00\n}\n"),
        kMallBaskonto);
    EXPECT_TRUE(result.summary.canImport());
    EXPECT_TRUE(result.summary.added.empty());
    EXPECT_EQ(result.summary.balancesChecked, 0U);
    EXPECT_EQ(result.company->state().m_verifikat.size(), 1U);
    EXPECT_EQ(account(*result.company, 6250).m_nAnvands, 1);
    // Vouchers without series or number are not renumbered.
    const auto& notes = result.summary.notes;
    EXPECT_TRUE(std::none_of(notes.begin(), notes.end(), [](const std::string& note) {
        return note.starts_with("Verifikaten numreras");
    }));
}

TEST(SieImport, OtherTemplatesGiveTheirChartsAndVatRules) {
    const SieImportResult result = importSie(
        sieFile("#VER A 1 20240110 \"Avgift\"\n{\n#TRANS 1050 {} 300.00\n#TRANS 3000 {} -300.00\n}\n"),
        kMallForening);
    const CTallvingeDoc& doc = *result.company;
    EXPECT_EQ(account(doc, 3000).m_strKolumn2, "Medlemsavgifter");
    EXPECT_EQ(doc.state().m_momsregler.size(), 54U);
    EXPECT_EQ(doc.balanceUnder(account(doc, 1050), RangeRule::WholePeriod), 30000);
}

TEST(SieImport, AUserTemplateGivesItsChartsAndItsVatRules) {
    // The association template's charts as the editors approve them, saved as the user template "Liten.bok".
    const test::TempDir templates;
    CTallvingeDoc source;
    ASSERT_TRUE(createDefaultCompany(source, {kMallForening, 1, 2024, 12, 2024, templates.path()}).ok);
    auto mall = std::make_unique<CKontoplan>();
    mall->m_strNamn = "Liten.bok";
    mall->m_nAntalRes = static_cast<std::int32_t>(source.state().m_resKonton.size());
    mall->m_nAntalBal = static_cast<std::int32_t>(source.state().m_balKonton.size());
    for (const auto& konto : source.state().m_allaKonton) {
        mall->m_konton.push_back(std::make_unique<CKonto>(konto->templateRowCopy()));
    }
    CAutomoms rule;
    rule.m_dMomssats = 25;
    rule.m_nKreditkonto = 3000;
    rule.m_nKreditMomskonto = 2750;
    mall->m_momsregler.assign(54, CAutomoms{});
    mall->m_momsregler[0] = rule;
    TemplateStore store(templates.path());
    store.store(std::move(mall), std::nullopt);
    ASSERT_TRUE(store.write().ok);

    const SieImportResult result =
        buildSieCompany(readSieBooks(sieFile("#KONTO 1935 \"Sparkonto\"\n#VER A 1 20240110 \"Sålt\"\n{\n"
                                             "#TRANS 1935 {} 125.00\n#TRANS 3000 {} -125.00\n}\n")),
                        {"Liten.bok", templates.path(), "liten.se"});
    const CTallvingeDoc& doc = *result.company;
    EXPECT_EQ(positionIn(doc.state().m_balKonton, 1935), positionIn(doc.state().m_balKonton, 1820) + 1);
    EXPECT_EQ(doc.state().m_resKonton.size(), source.state().m_resKonton.size());
    EXPECT_EQ(doc.state().m_momsregler.front(), rule);
    // The voucher line shows the rate of the rule, as the voucher dialog would.
    EXPECT_EQ(doc.state().m_verifikat.front().m_rader[1].m_dMoms, 25.0);
}

// Books that the program cannot keep, refused with the line they concern.
TEST(SieImport, BooksThatDoNotFitAreRefused) {
    const std::size_t head = test::kSieHeadLines;
    struct Case {
        std::string bytes;
        std::string templateName;
        std::size_t line;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {sieFile("#IB 0 2090 100.00\n#IB 0 1930 -100.00\n"), kMallBaskonto, head + 1,
         "Konto 2090 är resultatkontot i mallens kontoplan"},
        {sieFile("#VER A 1 20240105 \"X\"\n{\n#TRANS 1930 {} 1.00\n#TRANS 2090 {} -1.00\n}\n"), kMallBaskonto,
         head + 4, "kan inte ha några verifikatrader"},
        {sieFile("#IB 0 3010 -100.00\n#IB 0 1930 100.00\n"), kMallBaskonto, head + 1,
         "hör till resultaträkningen och kan inte ha någon ingående balans"},
        {"#SIETYP 4\n#RAR 0 20240115 20241231\n", kMallBaskonto, 2,
         "börjar eller slutar inte vid ett månadsskifte"},
        {"#SIETYP 4\n#RAR 0 20240101 20241230\n", kMallBaskonto, 2, "månadsskifte"},
        {"#SIETYP 4\n#RAR 0 20000101 20001231\n", kMallBaskonto, 2, "utanför de år som programmet bokför"},
        {"#SIETYP 4\n#RAR 0 20240101 20240131\n", kMallBaskonto, 2, "kortare än två månader"},
        {"#SIETYP 4\n#RAR 0 20990101 20991231\n", kMallBaskonto, 2,
         "perioder som börjar 2001–2098 och slutar senast 2099"},
        {"#SIETYP 4\n#KONTO 1930 \"Bank\"\n", kMallBaskonto, 0,
         "varken räkenskapsår (#RAR 0) eller verifikat"},
        {"#SIETYP 4\n#VER A 1 19991231 \"\"\n{\n#TRANS 1930 {} 0.00\n}\n", kMallBaskonto, 0,
         "Verifikatens datum 1999-12-31 – 1999-12-31 ligger utanför"},
        {sieFile(""), "EGEN MALL SOM INTE FINNS", 0,
         "Mallen \"EGEN MALL SOM INTE FINNS\" finns inte bland kontoplanmallarna."},
    };
    for (const Case& c : cases) {
        try {
            importSie(c.bytes, c.templateName);
            ADD_FAILURE() << "not refused: " << c.bytes;
        } catch (const SieReadError& error) {
            EXPECT_EQ(error.line(), c.line) << c.bytes;
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
        }
    }
    // A zero balance on them harms nothing.
    EXPECT_NO_THROW(importSie(sieFile("#IB 0 2090 0.00\n#IB 0 3010 0.00\n"), kMallBaskonto));
}

} // namespace
} // namespace kv
