// Export of the open period as a SIE file of type 4E.
#include "TestSupport.h"

#include "sie/SieBooks.h"
#include "sie/SieChecksum.h"
#include "sie/SieCodePage.h"
#include "sie/SieRecord.h"
#include "sie/SieWriter.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::buildSmallCompany;
using test::postVoucher;

constexpr SieDate kGenerated{2013, 1, 15};

// The small company with opening balances and two vouchers, its result
// booked on 2090 as the windows book it.
void buildBooks(CTallvingeDoc& doc) {
    buildSmallCompany(doc);
    doc.renameTo({doc.pathName(), "/ho", "Kvistens förening.bok"});
    doc.addOpeningBalances({{1930, 100000}, {2040, -100000}});
    postVoucher(doc, 5, 2, 2012, {{1930, 1250.75, 0}, {3000, 0, 1250.75}});
    postVoucher(doc, 20, 3, 2012, {{5010, 500, 0}, {1930, 0, 500}});
    std::int32_t resultAccount = 0;
    doc.PostPeriodResult(resultAccount);
}

// The lines of the file in UTF-8.
std::vector<std::string> linesOf(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", start)) {
        lines.push_back(decodeSieText(bytes.substr(start, end - start), SieEncoding::Pc8));
        start = end + 2;
    }
    EXPECT_EQ(start, bytes.size()) << "every line ends in CRLF";
    return lines;
}

// The file in UTF-8.
std::string utf8Of(const std::string& bytes) {
    std::string text;
    for (const std::string& line : linesOf(bytes)) {
        text += line + "\r\n";
    }
    return text;
}

TEST(SieExport, WritesTheBooksInTheOrderOfTheFormat) {
    CTallvingeDoc doc;
    buildBooks(doc);
    const SieExport exported = writeSie(doc, kGenerated);
    std::vector<std::string> lines = linesOf(exported.bytes);
    ASSERT_FALSE(lines.empty());
    const std::string checksum = lines.back();
    lines.pop_back();
    const std::vector<std::string> expected = {
        "#FLAGGA 0",
        "#KSUMMA",
        std::string("#PROGRAM \"Kvistoran\" ") + sieProgramVersion(),
        "#FORMAT PC8",
        "#GEN 20130115",
        "#SIETYP 4",
        "#FNAMN \"Kvistens förening\"",
        "#RAR 0 20120101 20121231",
        "#KONTO 1910 \"Kassa\"",
        "#KTYP 1910 T",
        "#KONTO 1930 \"Bank\"",
        "#KTYP 1930 T",
        "#KONTO 2040 \"Fritt eget kapital\"",
        "#KTYP 2040 S",
        "#KONTO 2090 \"Räkenskapsperiodens resultat\"",
        "#KTYP 2090 S",
        "#KONTO 2440 \"Leverantörsskulder\"",
        "#KTYP 2440 S",
        "#KONTO 3000 \"Försäljning\"",
        "#KTYP 3000 I",
        "#KONTO 3010 \"Medlemsavgifter\"",
        "#KTYP 3010 I",
        "#KONTO 4000 \"Inköp\"",
        "#KTYP 4000 K",
        "#KONTO 5010 \"Lokalhyra\"",
        "#KTYP 5010 K",
        "#IB 0 1930 1000.00",
        "#IB 0 2040 -1000.00",
        "#UB 0 1930 1750.75",
        "#UB 0 2040 -1000.00",
        "#UB 0 2090 0.00", // the result row is computed, not booked
        "#RES 0 3000 -1250.75",
        "#RES 0 5010 500.00",
        "#VER \"A\" 1 20120205 \"Verifikat 1\" 20120205",
        "{",
        "#TRANS 1930 {} 1250.75 \"\" \"\"",
        "#TRANS 3000 {} -1250.75 \"\" \"\"",
        "}",
        "#VER \"A\" 2 20120320 \"Verifikat 2\" 20120320",
        "{",
        "#TRANS 5010 {} 500.00 \"\" \"\"",
        "#TRANS 1930 {} -500.00 \"\" \"\"",
        "}",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(exported.accounts, 9U);
    EXPECT_EQ(exported.vouchers, 2U);
    EXPECT_TRUE(exported.notes.empty());
    // Code page 437: "ö" is the byte 0x94.
    EXPECT_NE(exported.bytes.find("#FNAMN \"Kvistens f\x94rening\""), std::string::npos);

    // The checksum is the CRC-32 of every label and field between the two #KSUMMA.
    SieChecksum expectedSum;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        SieRecord record;
        std::size_t replaced = 0;
        if (splitSieLine(encodePc8(lines[i], replaced), record) == SieLineKind::Record) {
            addToChecksum(record, expectedSum);
        }
    }
    EXPECT_EQ(checksum, "#KSUMMA " + std::to_string(expectedSum.value()));
    EXPECT_TRUE(readSieBooks(exported.bytes).checksumVerified);
}

TEST(SieExport, ClosingBalancesAndResultsAddUpToZero) {
    CTallvingeDoc doc;
    buildBooks(doc);
    const SieBooks books = readSieBooks(writeSie(doc, kGenerated).bytes);
    Ore sum = 0;
    for (const auto* balances : {&books.closing, &books.results}) {
        for (const SieBalance& balance : *balances) {
            sum += balance.amount;
        }
    }
    EXPECT_EQ(sum, 0);
}

TEST(SieExport, ALaterPeriodNamesThePreviousYearAndCarriesItsResult) {
    CTallvingeDoc doc;
    buildBooks(doc);
    doc.newPeriod({1, 2013, 12, 2013});
    postVoucher(doc, 2, 1, 2013, {{4000, 100, 0}, {1910, 0, 100}});
    const std::string text = utf8Of(writeSie(doc, kGenerated).bytes);
    EXPECT_NE(text.find("#RAR 0 20130101 20131231\r\n#RAR -1 20120101 20121231\r\n"), std::string::npos);
    // The carried-profit account opens with last year's result; the result account opens at 0.
    EXPECT_NE(text.find("#IB 0 1910 0.00\r\n#IB 0 1930 1750.75\r\n#IB 0 2040 -1750.75\r\n#IB 0 2440 0.00\r\n"
                        "#UB 0 1910 -100.00\r\n"),
              std::string::npos);
    const SieBooks books = readSieBooks(writeSie(doc, kGenerated).bytes);
    Ore opening = 0;
    for (const SieBalance& balance : books.opening) {
        opening += balance.amount;
    }
    EXPECT_EQ(opening, 0);
}

TEST(SieExport, CharactersBeyondCodePage437BecomeTheirClosestLetters) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    doc.approveBalanceChart({
        test::row("", "A K T I V A"),
        test::row("1930", "Bank €ł", "c"),
        test::row("", "Sa omsättningstillgångar", "", "c"),
        test::row("", "Sa AKTIVA", "", "", "a"),
        test::row("Exempel", ""),
    });
    CVerifikatrad bank;
    bank.m_nKonto = 1930;
    bank.m_dDebet = 10;
    CVerifikatrad sale;
    sale.m_nKonto = 3000;
    sale.m_dKredit = 10;
    sale.m_strRadtext = "Kvitto \"14\"";
    doc.registerVoucher(makeVoucher(1, 2, 2012, "Sålt på C:\\", {bank, sale}));
    const SieExport exported = writeSie(doc, kGenerated);
    const std::string text = utf8Of(exported.bytes);
    EXPECT_NE(text.find("#KONTO 1930 \"Bank EURl\""), std::string::npos);
    // A quote is escaped; a backslash at the end would escape the closing quote.
    EXPECT_NE(text.find("\"Sålt på C:/\""), std::string::npos);
    EXPECT_NE(text.find("#TRANS 3000 {} -10.00 \"\" \"Kvitto \\\"14\\\"\""), std::string::npos);
    ASSERT_EQ(exported.notes.size(), 1U);
    EXPECT_EQ(exported.notes[0],
              "3 tecken finns inte i SIE-filens teckentabell (PC8) och skrevs som närmaste "
              "bokstav eller \"?\": konto 1930, verifikat 1.");
    const SieBooks books = readSieBooks(exported.bytes);
    EXPECT_EQ(books.vouchers[0].text, "Sålt på C:/");
    EXPECT_EQ(books.vouchers[0].transactions[1].text, "Kvitto \"14\"");
}

TEST(SieExport, EmptyLinesAreLeftOutAndLostAccountsKeptWithTheirLines) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    CVerifikatrad bank;
    bank.m_nKonto = 1930;
    bank.m_dKredit = 80;
    const CVerifikatrad empty;
    CVerifikatrad lost; // an account the chart no longer has: the ledger got nothing
    lost.m_nKonto = 6110;
    lost.m_strKontonamn = "Kontorsmaterial";
    lost.m_dDebet = 80;
    doc.registerVoucher(makeVoucher(1, 2, 2012, "Papper", {bank, empty, lost}));
    const SieExport exported = writeSie(doc, kGenerated);
    const std::string text = utf8Of(exported.bytes);
    EXPECT_NE(text.find("{\r\n#TRANS 1930 {} -80.00 \"\" \"\"\r\n#TRANS 6110 {} 80.00 \"\" \"\"\r\n}"),
              std::string::npos);
    EXPECT_NE(text.find("#KONTO 6110 \"Kontorsmaterial\"\r\n#KTYP 6110 K\r\n"), std::string::npos);
    EXPECT_NE(text.find("#RES 0 6110 80.00\r\n"), std::string::npos);
    ASSERT_EQ(exported.notes.size(), 1U);
    EXPECT_NE(exported.notes[0].find("Konto 6110 används i verifikat men finns inte längre i kontoplanen"),
              std::string::npos);
    EXPECT_NO_THROW(readSieBooks(exported.bytes));
}

TEST(SieExport, BooksThatMakeNoValidFileAreRefused) {
    const auto line = [](std::int32_t account, double debit, double credit) {
        CVerifikatrad made;
        made.m_nKonto = account;
        made.m_dDebet = debit;
        made.m_dKredit = credit;
        return made;
    };
    struct Case {
        std::vector<CVerifikatrad> lines;
        std::int32_t day;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {{line(1930, 100, 0), line(3000, 0, 90)}, 5, "verifikat 1 har differensen 10.00"},
        {{line(1930, 100, 0), line(0, 0, 100)}, 5, "verifikat 1 har ett belopp på en rad utan konto"},
        {{line(1930, 100, 0), line(3000, 0, 100)}, 31, "verifikat 1 har inget giltigt datum"},
    };
    for (const Case& c : cases) {
        CTallvingeDoc doc;
        buildSmallCompany(doc);
        doc.registerVoucher(makeVoucher(c.day, 2, 2012, "Fel", c.lines));
        try {
            writeSie(doc, kGenerated);
            ADD_FAILURE() << c.reason;
        } catch (const DocumentRefusal& refusal) {
            EXPECT_NE(std::string(refusal.what()).find(c.reason), std::string::npos) << refusal.what();
        }
    }
    CTallvingeDoc empty;
    EXPECT_THROW(writeSie(empty, kGenerated), DocumentRefusal);
}

} // namespace
} // namespace kv
