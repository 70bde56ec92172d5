// Reading SIE files: lines and fields, amounts and dates, the checksum, the
// three character sets, and the files that are refused whole.
#include "SieTestSupport.h"
#include "TestSupport.h"

#include "sie/SieBooks.h"
#include "sie/SieChecksum.h"
#include "sie/SieRecord.h"

#include <gtest/gtest.h>

#include <functional>

namespace kv {
namespace {

using test::sieFile;

// The fields of a record, an object list written as "{item|item}".
std::vector<std::string> fieldsOf(const SieRecord& record) {
    std::vector<std::string> out;
    for (const SieField& field : record.fields) {
        if (!field.list) {
            out.push_back(field.text);
            continue;
        }
        std::string list = "{";
        for (std::size_t i = 0; i < field.items.size(); ++i) {
            list += (i == 0 ? "" : "|") + field.items[i];
        }
        out.push_back(list + "}");
    }
    return out;
}

TEST(SieLines, SplitIntoLabelAndFields) {
    struct Case {
        std::string line;
        std::string label;
        std::vector<std::string> fields;
    };
    const std::vector<Case> cases = {
        {"#KONTO 1930 \"Bank konto\"", "#KONTO", {"1930", "Bank konto"}},
        {"#KONTO\t1930\t\t\"Bank\tkonto\"", "#KONTO", {"1930", "Bank\tkonto"}},
        {"#FNAMN \"Citat \\\"här\\\" slut\"", "#FNAMN", {"Citat \"här\" slut"}},
        {"#FNAMN \"C:\\mapp\"", "#FNAMN", {"C:\\mapp"}},
        {"#TRANS 1930 {1 \"10\" 6 \"Projekt A\"} -1.00", "#TRANS", {"1930", "{1|10|6|Projekt A}", "-1.00"}},
        {"#TRANS 1930 {} 1.00 \"\" \"\"", "#TRANS", {"1930", "{}", "1.00", "", ""}},
        {"#TRANS 1930 { } 1.00", "#TRANS", {"1930", "{}", "1.00"}},
        {"#TRANS 1930 {1 10}1.00", "#TRANS", {"1930", "{1|10}", "1.00"}},
        {"  #trans 1 {} 2  ", "#TRANS", {"1", "{}", "2"}},
        {"#X abc\"def", "#X", {"abc\"def"}},
        {"#KSUMMA", "#KSUMMA", {}},
    };
    for (const Case& c : cases) {
        SieRecord record;
        ASSERT_EQ(splitSieLine(c.line, record), SieLineKind::Record) << c.line;
        EXPECT_EQ(record.label, c.label) << c.line;
        EXPECT_EQ(fieldsOf(record), c.fields) << c.line;
    }
}

TEST(SieLines, BracesBlankLinesAndTheEndOfText) {
    const std::vector<std::pair<std::string, SieLineKind>> cases = {
        {"{", SieLineKind::OpenBlock}, {"  {\t", SieLineKind::OpenBlock}, {"}", SieLineKind::CloseBlock},
        {"", SieLineKind::Blank},      {" \t ", SieLineKind::Blank},      {"\x1A", SieLineKind::EndOfText},
    };
    for (const auto& [line, kind] : cases) {
        SieRecord record;
        EXPECT_EQ(splitSieLine(line, record), kind) << line;
    }
    for (const std::string line : {"#FNAMN \"öppet", "#TRANS 1 {1 \"2\"", "Kassa 100", "{ #TRANS 1 {} 2"}) {
        SieRecord record;
        EXPECT_THROW(splitSieLine(line, record), SieLineError) << line;
    }
}

TEST(SieChecksum, IsTheCrc32OfLabelAndFieldContents) {
    SieChecksum check;
    check.add("123456789");
    EXPECT_EQ(check.value(), 0xCBF43926u); // the CRC-32 check value

    SieRecord record;
    splitSieLine("#TRANS  7010\t{1 \"456\"}  13200.00 \"\" \"Hyra \\\"mars\\\"\"", record);
    SieChecksum fromRecord;
    addToChecksum(record, fromRecord);
    SieChecksum expected;
    expected.add("#TRANS70101456"
                 "13200.00"
                 "Hyra \"mars\"");
    EXPECT_EQ(fromRecord.value(), expected.value());
}

TEST(SieValues, AmountsHaveAPointAndAtMostTwoDecimals) {
    const std::vector<std::pair<std::string, std::optional<Ore>>> cases = {
        {"1200.00", 120000},
        {"-0.5", -50},
        {"5000", 500000},
        {"12.340", 1234},
        {"+3.10", 310},
        {"-0.00", 0},
        {"12,50", std::nullopt},
        {"1.234", std::nullopt},
        {".", std::nullopt},
        {"", std::nullopt},
        {"1e5", std::nullopt},
        {"-", std::nullopt},
        {"12.", std::nullopt},
        {"99999999999999", std::nullopt},
        {"1 000.00", std::nullopt},
    };
    for (const auto& [text, ore] : cases) {
        EXPECT_EQ(parseSieAmount(text), ore) << text;
    }
}

TEST(SieValues, DatesAreDaysOfTheCalendar) {
    EXPECT_EQ(parseSieDate("20240229"), (SieDate{2024, 2, 29}));
    EXPECT_EQ(parseSieDate("20001231"), (SieDate{2000, 12, 31}));
    for (const std::string text :
         {"20230229", "2024013", "202401011", "20241301", "20240100", "2024-01-01", ""}) {
        EXPECT_FALSE(parseSieDate(text).has_value()) << text;
    }
}

// The same books, written in code page 437 with CRLF, in UTF-8 and in
// Windows-1252 with LF, each claiming PC8.
TEST(SieFiles, TheThreeCharacterSetsGiveTheSameBooks) {
    struct Case {
        const char* file;
        SieEncoding encoding;
        bool checksum;
    };
    const std::vector<Case> cases = {{"forening-pc8.se", SieEncoding::Pc8, true},
                                     {"forening-utf8.se", SieEncoding::Utf8, true},
                                     {"forening-1252.se", SieEncoding::Windows1252, false}};
    for (const Case& c : cases) {
        const SieBooks books = readSieBooks(test::readFile(test::sieTestFile(c.file)));
        SCOPED_TRACE(c.file);
        EXPECT_EQ(books.encoding, c.encoding);
        EXPECT_EQ(books.checksumVerified, c.checksum);
        EXPECT_EQ(books.format, "PC8");
        EXPECT_EQ(books.companyName, "Föreningen \"Kvisten\"");
        EXPECT_EQ(books.program, "Handskrivet testprogram 1.0 beta");
        ASSERT_TRUE(books.year && books.previousYear);
        EXPECT_EQ(books.year->first, (SieDate{2024, 1, 1}));
        EXPECT_EQ(books.year->last, (SieDate{2024, 12, 31}));
        ASSERT_EQ(books.accounts.size(), 8U);
        EXPECT_EQ(books.accounts[1].name, "Sparkonto, räntebärande");
        EXPECT_EQ(books.accounts[4].name, "Övriga medlemsintäkter");
        EXPECT_EQ(books.accounts[7].type, 'T');
        EXPECT_EQ(books.accounts[4].type, 0);
        // Only the year's own balances; #IB -1 and #UB -1 say nothing of it.
        ASSERT_EQ(books.opening.size(), 3U);
        EXPECT_EQ(books.opening[1].amount, 500000);
        EXPECT_EQ(books.closing.size(), 3U);
        EXPECT_EQ(books.results.size(), 3U);
        EXPECT_EQ(books.results[2].amount, -1250);

        ASSERT_EQ(books.vouchers.size(), 3U);
        const SieVoucher& rent = books.vouchers[1];
        EXPECT_EQ(rent.series, "B");
        EXPECT_EQ(rent.number, "7");
        EXPECT_EQ(rent.text, "Hyra \"lokalen\" februari");
        EXPECT_FALSE(rent.registered.has_value());
        // #RTRANS repeats the #TRANS after it and #BTRANS was removed: two lines.
        ASSERT_EQ(rent.transactions.size(), 2U);
        EXPECT_EQ(rent.transactions[0].account, 5010);
        EXPECT_EQ(rent.transactions[0].amount, 200000);
        EXPECT_EQ(rent.transactions[1].text, "Bankgiro \\\\ betalning");
        EXPECT_EQ(books.vouchers[0].registered, (SieDate{2024, 1, 16}));
        EXPECT_EQ(books.vouchers[0].transactions[1].text, "Avgifter, tabbar mellan fälten");
        EXPECT_EQ(books.vouchers[2].transactions[0].text, "Ränta 2024 - å ä ö Å Ä Ö é ü");
        EXPECT_EQ(books.replacedCharacters, 0U);
    }
}

TEST(SieFiles, EncodingIsToldByTheBytes) {
    const std::vector<std::pair<std::string, SieEncoding>> cases = {
        {"#FNAMN \"Ab\"", SieEncoding::Pc8},
        {"#FNAMN \"F\x94reningen \x86\x84\"", SieEncoding::Pc8},
        {"#FNAMN \"F\xF6reningen \xE5\xE4\"", SieEncoding::Windows1252},
        {"#FNAMN \"F\xC3\xB6reningen\"", SieEncoding::Utf8},
        {"\xEF\xBB\xBF#FNAMN \"Ab\"", SieEncoding::Utf8},
        // Invalid UTF-8 with more letters of 437 than of 1252.
        {"#FNAMN \"\x94\x94\x94\xE5\"", SieEncoding::Pc8},
    };
    for (const auto& [bytes, encoding] : cases) {
        EXPECT_EQ(detectSieEncoding(bytes), encoding) << bytes;
    }
    // A byte-order mark does not stand in the way of the first label.
    const SieBooks books = readSieBooks("\xEF\xBB\xBF" + sieFile("#FNAMN \"K\xC3\xA5ren\"\n"));
    EXPECT_EQ(books.companyName, "Kåren");
}

TEST(SieFiles, TextsBecomeWhatTheCompanyFilesCanStore) {
    // UTF-8 with letters outside Windows-1252, and a control character.
    const SieBooks books = readSieBooks(sieFile("#FNAMN \"\xC5\x81\xC3\xB3"
                                                "d\xC5\xBA \xE2\x86\x92 Bok\x01h\"\n"));
    EXPECT_EQ(books.companyName, "Lódz ? Bok h");
    EXPECT_EQ(books.replacedCharacters, 3U);
}

TEST(SieFiles, UnknownRecordsAreSkippedAndTheEndOfTextEndsTheFile) {
    const SieBooks books = readSieBooks(sieFile(
        "#ADRESS \"A\" \"B\"\r\n#OBJEKT 1 \"10\" \"Kansli\"\r\n#KONTO 1930 \"Bank\"\r\n\x1A\r\nskräp\r\n"));
    EXPECT_EQ(books.skippedRecords, 3U); // #FLAGGA, #ADRESS, #OBJEKT
    ASSERT_EQ(books.accounts.size(), 1U);
    EXPECT_EQ(books.accounts[0].name, "Bank");
}

// Files that are refused whole, with the line they concern (0: the whole file).
TEST(SieFiles, RefusedFilesNameTheLineAndTheReason) {
    const std::size_t head = test::kSieHeadLines;
    struct Case {
        std::string bytes;
        std::size_t line;
        std::string reason;
    };
    const std::string voucher =
        "#VER A 1 20240105 \"Hyra\"\n{\n#TRANS 5010 {} 100.00\n#TRANS 1930 {} -100.00\n}\n";
    std::string manyFields = "#OBJEKT";
    for (int i = 0; i < 70; ++i) {
        manyFields += " x";
    }
    std::string longList = "#TRANS 1930 {";
    for (int i = 0; i < 70; ++i) {
        longList += " 1";
    }
    longList += "} 1.00";
    const std::vector<Case> cases = {
        {sieFile("#VER A 1 20240105 \"Hyra\"\n{\n#TRANS 5010 {} 100.00\n#TRANS 1930 {} -99.50\n}\n"),
         head + 1, "inte i balans: debet och kredit skiljer sig med 0.50"},
        {sieFile("#VER A 1 20250105 \"Hyra\"\n{\n#TRANS 1930 {} 0.00\n}\n"), head + 1,
         "utanför räkenskapsåret"},
        {sieFile(voucher.substr(0, voucher.size() - 2)), head + 1, "avkortad"},
        {sieFile("#KSUMMA\n#KONTO 1930 \"Bank\"\n"), 0, "avkortad"},
        {sieFile("#KSUMMA\n#KONTO 1930 \"Bank\"\n#KSUMMA 12345\n"), head + 3, "Kontrollsumman stämmer inte"},
        {sieFile("#KSUMMA\n#KSUMMA 0\n#KONTO 1930 \"Bank\"\n"), head + 3, "täcks inte av kontrollsumman"},
        {sieFile("#KSUMMA 17\n"), head + 1, "saknar en inledande"},
        {sieFile("#IB 0 1930 100,00\n"), head + 1, "\"100,00\" är inget belopp"},
        {sieFile("#UB 0 1930 1.00\n#UB 0 1930 2.00\n"), head + 2, "har redan en #UB"},
        {sieFile("#KONTO 19A0 \"Bank\"\n#VER A 1 20240105 \"X\"\n{\n#TRANS 19A0 {} 0.00\n}\n"), head + 4,
         "\"19A0\" är inget kontonummer"},
        {sieFile("#UB 0 0 1.00\n"), head + 1, "inget kontonummer"},
        {sieFile("#RAR 0 20250101 20251231\n"), head + 1, "anges två gånger, på rad 3 och rad 4"},
        {sieFile(manyFields + "\n"), head + 1, "fler än 64 fält"},
        {sieFile("#VER A 1 20240105 \"X\"\n{\n" + longList + "\n}\n"), head + 3, "fler än 64 delar"},
        {sieFile("#VER A 1 20240230 \"Hyra\"\n{\n}\n"), head + 1, "inget datum"},
        {sieFile("#TRANS 1930 {} 1.00\n"), head + 1, "utanför ett verifikat"},
        {sieFile("#VER A 1 20240105 \"Hyra\"\n#VER A 2 20240105 \"Hyra\"\n"), head + 1,
         "väntades en rad med {"},
        {sieFile("#VER A 1 20240105 \"\"\n{\n#VER A 2 20240105 \"\"\n"), head + 3,
         "inne i ett annat verifikat"},
        {sieFile("}\n"), head + 1, "avslutar inget verifikat"},
        {sieFile("#FNAMN \"Öppet\n"), head + 1, "citattecken"},
        {sieFile("#KONTO"), head + 1, "saknar fält"},
        {"#FLAGGA 0\n#SIETYP 3\n", 2, "inte av SIE-typ 4"},
        {"#FLAGGA 0\n#RAR 0 20240101 20241231\n", 0, "inte av SIE-typ 4"},
        {"#SIETYP 4\n#RAR 0 20241231 20240101\n", 2, "slutar före det börjar"},
        {std::string("#SIETYP 4\n#FNAMN \"A\0B\"\n", 20), 0, "nolltecken"},
    };
    for (const Case& c : cases) {
        try {
            readSieBooks(c.bytes);
            ADD_FAILURE() << "not refused: " << c.bytes;
        } catch (const SieReadError& error) {
            EXPECT_EQ(error.line(), c.line) << c.bytes;
            EXPECT_NE(std::string(error.what()).find(c.reason), std::string::npos) << error.what();
            if (c.line > 0) {
                EXPECT_TRUE(std::string(error.what()).starts_with("Rad " + std::to_string(c.line) + ": "));
            }
        }
    }
}

// What real files of other programs hold, read as the books can use it.
TEST(SieFiles, WhatOtherProgramsWriteIsRead) {
    std::string payroll = "#VER L 7 20240125 \"Lön januari\"\n{\n";
    for (int i = 0; i < 404; ++i) {
        payroll += "#TRANS 7010 {} 100.00\n#TRANS 1930 {} -100.00\n";
    }
    payroll += "#TRANS 7510 {} 1.00\n#TRANS 1930 {} -1.00\n}\n";
    struct Case {
        const char* rule;
        std::string bytes;
        std::function<void(const SieBooks&)> check;
    };
    const std::vector<Case> cases = {
        {"lines ended by CR alone", "#FLAGGA 0\r#SIETYP 4\r#RAR 0 20240101 20241231\r#KONTO 1930 \"Bank\"\r",
         [](const SieBooks& books) { EXPECT_EQ(books.accounts.size(), 1U); }},
        {"a transaction file without #RAR",
         "#FLAGGA 0\n#SIETYP 4\n#VER \"\" \"\" 20240310 \"Kassa\"\n{\n#TRANS 3010 {} -5.00\n#TRANS 1910 {} "
         "5.00\n}\n",
         [](const SieBooks& books) {
             EXPECT_FALSE(books.year.has_value());
             EXPECT_EQ(books.vouchers.size(), 1U);
         }},
        {"an empty #RAR 0", sieFile("#RAR 0 \"\" \"\"\n"),
         [](const SieBooks& books) { EXPECT_EQ(books.year->line, test::kSieHeadLines); }},
        {"#KONTO DIFF, used nowhere", sieFile("#KONTO DIFF \"Avrundning\"\n#KTYP DIFF K\n"),
         [](const SieBooks& books) {
             ASSERT_EQ(books.unusableAccounts.size(), 1U);
             EXPECT_EQ(books.unusableAccounts[0].what, "#KONTO DIFF");
             EXPECT_TRUE(books.accounts.empty());
         }},
        {"leading zeros", sieFile("#KONTO 0351 \"Lager\"\n#IB 0 0351 10.00\n"),
         [](const SieBooks& books) {
             EXPECT_EQ(books.accounts.at(0).number, 351);
             EXPECT_EQ(books.zeroLedAccounts, std::vector<std::int32_t>{351});
         }},
        {"a voucher of 810 lines", sieFile(payroll),
         [](const SieBooks& books) { EXPECT_EQ(books.vouchers.at(0).transactions.size(), 810U); }},
        {"vouchers without lines", sieFile("#VER A 1 20240105 \"\"\n{\n}\n#VER A 2 20240106 \"\"\n{\n}\n"),
         [](const SieBooks& books) {
             EXPECT_TRUE(books.vouchers.empty());
             ASSERT_EQ(books.emptyVouchers.size(), 2U);
             EXPECT_EQ(books.emptyVouchers[1].what, "verifikat A 2 (2024-01-06)");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        try {
            c.check(readSieBooks(c.bytes));
        } catch (const SieReadError& error) {
            ADD_FAILURE() << "refused: " << error.what();
        }
    }
}

} // namespace
} // namespace kv
