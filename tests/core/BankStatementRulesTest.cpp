// Bank files as banks write them: a rule each, table-driven. Reversals keep
// the direction the entry gives, dates carry time zones, a file holds several
// accounts, a statement's balances agree with its lines or the user is told,
// lines are booked in date order, a CSV heading beats a remembered layout, a
// bare entry gets the words of its bank code, Finnish exports and references
// are read.
#include "BankTestSupport.h"

#include "bank/BankFile.h"
#include "bank/BankImport.h"
#include "bank/BankValues.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

std::string camt(const std::string& statements) {
    return "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.02\"><BkToCstmrStmt>" + statements +
           "</BkToCstmrStmt></Document>";
}

std::string balance(const char* type, const char* amount, const char* sign = "CRDT") {
    return std::string("<Bal><Tp><CdOrPrtry><Cd>") + type + "</Cd></CdOrPrtry></Tp><Amt Ccy=\"SEK\">" +
           amount + "</Amt><CdtDbtInd>" + sign + "</CdtDbtInd><Dt><Dt>2026-03-01</Dt></Dt></Bal>";
}

std::string entry(const char* amount, const char* sign, const std::string& more = {},
                  const std::string& date = "<Dt>2026-03-02</Dt>") {
    return std::string("<Ntry><Amt Ccy=\"SEK\">") + amount + "</Amt><CdtDbtInd>" + sign + "</CdtDbtInd>" +
           more + "<Sts>BOOK</Sts><BookgDt>" + date + "</BookgDt></Ntry>";
}

std::string statement(const std::string& iban, const std::string& body) {
    return "<Stmt><Acct><Id><IBAN>" + iban + "</IBAN></Id><Ccy>SEK</Ccy></Acct>" + body + "</Stmt>";
}

BankLine only(const std::string& xml) {
    const BankStatements read = readBankFile(xml, std::nullopt);
    EXPECT_EQ(read.size(), 1U);
    EXPECT_EQ(read.front().problems, std::vector<BankLineProblem>{});
    EXPECT_EQ(read.front().lines.size(), 1U);
    return read.front().lines.empty() ? BankLine{} : read.front().lines.front();
}

TEST(BankRules, AReversalKeepsTheDirectionItsEntryGives) {
    struct Case {
        const char* sign;
        const char* reversal;
        Ore amount;
    };
    const std::vector<Case> cases = {
        {"CRDT", "", 50000},                         // money in
        {"DBIT", "", -50000},                        // money out
        {"CRDT", "<RvslInd>true</RvslInd>", 50000},  // a payment returned: money back in
        {"DBIT", "<RvslInd>true</RvslInd>", -50000}, // a deposit taken back: money out
        {"CRDT", "<RvslInd>1</RvslInd>", 50000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.sign) + c.reversal);
        EXPECT_EQ(only(camt(statement("SE1", entry("500.00", c.sign, c.reversal)))).amount, c.amount);
    }
}

TEST(BankRules, DatesWithATimeOrATimeZoneAreTheBanksDay) {
    const std::vector<std::pair<std::string, std::optional<BankDate>>> cases = {
        {"2017-04-01", BankDate{2017, 4, 1}},
        {"2017-04-01+02:00", BankDate{2017, 4, 1}},
        {"2017-04-01-05:00", BankDate{2017, 4, 1}},
        {"2017-04-01Z", BankDate{2017, 4, 1}},
        {"2017-04-01T23:30:00.000+02:00", BankDate{2017, 4, 1}},
        {"01.04.2017", BankDate{2017, 4, 1}},
        {"2017-04-01+2", std::nullopt},
        {"2017-04-01 kl", std::nullopt},
        {"2017-02-30+01:00", std::nullopt},
    };
    for (const auto& [text, date] : cases) {
        EXPECT_EQ(parseBankDate(text), date) << text;
    }
    // A booking date given as DtTm with a zone.
    EXPECT_EQ(
        only(camt(statement("SE1", entry("1.00", "CRDT", {}, "<DtTm>2017-04-01T10:15:00+02:00</DtTm>"))))
            .bookingDate,
        (BankDate{2017, 4, 1}));
}

TEST(BankRules, AFileOfSeveralAccountsIsAStatementForEach) {
    const std::string xml = camt(statement("SE11", balance("OPBD", "0.00") + entry("10.00", "CRDT")) +
                                 statement("SE22", entry("20.00", "DBIT")) +
                                 statement("SE11", entry("30.00", "CRDT") + balance("CLBD", "40.00")));
    const BankStatements read = readBankFile(xml, std::nullopt);
    ASSERT_EQ(read.size(), 2U);
    EXPECT_EQ(read[0].account, "SE11"); // two days of one account are one statement
    ASSERT_EQ(read[0].lines.size(), 2U);
    EXPECT_EQ(read[0].openingBalance, 0);
    EXPECT_EQ(read[0].closingBalance, 4000);
    EXPECT_EQ(read[1].account, "SE22");
    EXPECT_EQ(read[1].lines.at(0).amount, -2000);
    // A CSV export whose rows name their account.
    const BankStatements csv = readBankFile(
        "Kontonummer;Bokföringsdag;Beskrivning;Belopp\n111;2026-03-01;Kaffe;-10,00\n222;2026-03-01;Te;-5,00\n"
        "111;2026-03-02;Bulle;-7,00\n",
        std::nullopt);
    ASSERT_EQ(csv.size(), 2U);
    EXPECT_EQ(csv[0].account, "111");
    EXPECT_EQ(csv[0].lines.size(), 2U);
    EXPECT_EQ(csv[1].account, "222");
}

TEST(BankRules, TheStatementsBalancesMustAgreeWithItsLines) {
    struct Case {
        const char* what;
        std::string file;
        std::vector<std::string> problems;
    };
    const std::vector<Case> cases = {
        {"camt that agrees",
         camt(statement("SE1", balance("OPBD", "100.00") + entry("50.00", "CRDT") + entry("20.00", "DBIT") +
                                   balance("CLBD", "130.00"))),
         {}},
        {"camt whose closing balance differs",
         camt(statement("SE1", balance("OPBD", "215000.00") + entry("1649.21", "CRDT") +
                                   balance("CLBD", "215112.21"))),
         {"Utgående saldo enligt kontoutdraget 215 112.21, enligt raderna 216 649.21: skillnad 1 537.00"}},
        {"a balance column that follows its lines",
         "Datum;Text;Belopp;Saldo\n2026-03-01;A;100,00;1100,00\n2026-03-02;B;-50,00;1050,00\n",
         {}},
        {"newest first, following its lines",
         "Datum;Text;Belopp;Saldo\n2026-03-02;B;-50,00;1050,00\n2026-03-01;A;100,00;1100,00\n",
         {}},
        {"a balance column that breaks on row 3",
         "Datum;Text;Belopp;Saldo\n2026-03-01;A;100,00;1100,00\n2026-03-02;B;-50,00;1060,00\n"
         "2026-03-03;C;-10,00;1050,00\n",
         {"Saldot på rad 3 är 1 060.00, men saldot före och radens belopp ger 1 050.00: skillnad 10.00"}},
    };
    test::BankCompany company;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BankStatements read = readBankFile(c.file, std::nullopt);
        ASSERT_EQ(read.size(), 1U);
        const BankImportPlan plan = planBankImport(company.doc, read.front(), {1930, {}}, {}, {});
        EXPECT_EQ(statementBalanceProblems(plan), c.problems);
        EXPECT_EQ(plan.balance.statementAgrees(), c.problems.empty());
    }
}

TEST(BankRules, LinesAreBookedInDateOrder) {
    using test::bankLine;
    const auto order = [](const std::vector<BankLine>& lines) {
        std::string texts;
        for (const BankLine& line : bankLinesInBookingOrder(lines)) {
            texts += line.counterpart;
        }
        return texts;
    };
    // Oldest first: as the file has them; within a day, the file's order.
    EXPECT_EQ(order({bankLine(3, 1, 1, "a"), bankLine(3, 2, 1, "b"), bankLine(3, 2, 1, "c"),
                     bankLine(3, 9, 1, "d")}),
              "abcd");
    // Newest first, as internet banks export: turned round, within a day too.
    EXPECT_EQ(order({bankLine(3, 31, 1, "d"), bankLine(3, 9, 1, "c"), bankLine(3, 9, 1, "b"),
                     bankLine(3, 2, 1, "a")}),
              "abcd");
    // Mostly in order with a stray line: sorted by date, the file's order kept within a day.
    EXPECT_EQ(order({bankLine(3, 5, 1, "b"), bankLine(3, 1, 1, "a"), bankLine(3, 5, 1, "c"),
                     bankLine(3, 8, 1, "d")}),
              "abcd");
}

TEST(BankRules, AFilesOwnHeadingBeatsARememberedLayout) {
    const CsvLayout remembered = *parseCsvColumns("datum=1,text=2,belopp=3").layout;
    const std::string headed = "Bokföringsdag;Text;Saldo;Belopp\n2026-03-02;Hyra;16000,00;1000,00\n";
    const BankFileRead read = readBankFileWith(headed, std::nullopt, {{remembered, 1930}});
    ASSERT_EQ(read.statements.size(), 1U);
    EXPECT_EQ(read.statements.front().lines.at(0).amount, 100000);
    EXPECT_FALSE(read.layout);
    // Without a heading the remembered layout reads it, and says which book account it came with.
    const BankFileRead bare =
        readBankFileWith("2026-03-02;Hyra;1000,00\n", std::nullopt, {{remembered, 1940}});
    EXPECT_EQ(bare.statements.front().lines.at(0).amount, 100000);
    EXPECT_EQ(bare.rememberedBook, 1940);
    // A first row that is data but cannot be read is listed, never taken for a heading.
    const BankStatements listed = readBankFile("31/3 2026;Kaffe;12,50x\n2026-03-02;Te;-10,00\n", remembered);
    EXPECT_EQ(listed.front().problems,
              (std::vector<BankLineProblem>{{1, "datumet \"31/3 2026\" går inte att läsa"}}));
    EXPECT_TRUE(listed.front().headingRows.empty());
}

TEST(BankRules, AnEntryWithoutTextGetsItsBankCodesWords) {
    const auto code = [](const std::string& family, const std::string& sub) {
        return "<BkTxCd><Domn><Cd>PMNT</Cd><Fmly><Cd>" + family + "</Cd><SubFmlyCd>" + sub +
               "</SubFmlyCd></Fmly></Domn></BkTxCd>";
    };
    const std::vector<std::tuple<std::string, const char*, std::string>> cases = {
        {code("ICDT", "SALA"), "DBIT", "Löneutbetalning"},
        {code("MDOP", "CHRG"), "DBIT", "Bankavgift"},
        {code("CCRD", "OTHR"), "DBIT", "Kortbetalning"},
        {code("RCDT", "OTHR"), "CRDT", "Inbetalning"},
        {"", "CRDT", "Insättning"},
        {"", "DBIT", "Uttag"},
        {code("ICDT", "SALA") + "<AddtlNtryInf>LÖN MARS</AddtlNtryInf>", "DBIT", "LÖN MARS"},
    };
    for (const auto& [more, sign, text] : cases) {
        EXPECT_EQ(only(camt(statement("SE1", entry("1.00", sign, more)))).text, text) << more;
    }
}

TEST(BankRules, FinnishExportsAndReferencesAreRead) {
    // TAB-separated, an account line, blank lines around the rows, a heading whose ä arrived damaged.
    const std::string finnish =
        "Tilinumero\tFI21 1234 5600 0007 85\n\n"
        "Kirjausp\xEF\xBF\xBDiv\xEF\xBF\xBD\tArvop\xC3\xA4iv\xC3\xA4\tM\xC3\xA4\xC3\xA4r\xC3\xA4 "
        "EUROA\tSaaja/Maksaja\tSelitys\tViite\n\n"
        "01.03.2026\t01.03.2026\t-45,90\tFortum Oyj\tE-LASKU\t00000000000000001232\n\n"
        "02.03.2026\t03.03.2026\t120,00\tMatti Meikäläinen\tTILISIIRTO\tRF18 5390 0754 7034\n";
    const BankStatements read = readBankFile(finnish, std::nullopt);
    ASSERT_EQ(read.size(), 1U);
    const BankStatement& statement = read.front();
    EXPECT_EQ(statement.account, "FI21 1234 5600 0007 85");
    EXPECT_EQ(statement.problems, std::vector<BankLineProblem>{});
    ASSERT_EQ(statement.lines.size(), 2U);
    EXPECT_EQ(statement.lines[0].amount, -4590);
    EXPECT_EQ(statement.lines[0].counterpart, "Fortum Oyj");
    EXPECT_EQ(statement.lines[0].reference, "1232"); // the padding zeros left out
    EXPECT_EQ(statement.lines[1].valueDate, (BankDate{2026, 3, 3}));
    EXPECT_EQ(statement.lines[1].reference, "RF18539007547034");

    const std::vector<std::pair<std::string, BankReferenceKind>> references = {
        {"12345674", BankReferenceKind::Ocr},
        {"4711 8", BankReferenceKind::Ocr},
        {"1232", BankReferenceKind::Finnish},
        {"12345672", BankReferenceKind::Finnish},
        {"RF18 5390 0754 7034", BankReferenceKind::Rf},
        {"rf18539007547034", BankReferenceKind::Rf},
        {"RF19 5390 0754 7034", BankReferenceKind::None},
        {"12345675", BankReferenceKind::None},
        {"Faktura 12", BankReferenceKind::None},
    };
    for (const auto& [text, kind] : references) {
        EXPECT_EQ(bankReferenceKind(text), kind) << text;
    }
    EXPECT_EQ(bankReferenceText("Faktura 12"), "Faktura 12");
}

} // namespace
} // namespace kv
