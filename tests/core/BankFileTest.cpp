// Reading the banks' files: amounts and dates, the CSV records, the layouts
// of the internet banks' exports, the layout the user gives, camt.053 and
// camt.054 statements, and files that are refused or partly read.
#include "bank/BankFile.h"
#include "bank/CamtReader.h"
#include "bank/CsvBankReader.h"
#include "bank/CsvTokenizer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

namespace kv {
namespace {

// The one statement of a file of one account.
BankStatement oneStatement(std::string_view bytes, const std::optional<CsvLayout>& layout) {
    BankStatements statements = readBankFile(bytes, layout);
    EXPECT_EQ(statements.size(), 1U);
    return statements.empty() ? BankStatement{} : std::move(statements.front());
}

std::string bankFile(const std::string& name) {
    std::ifstream in(std::string(KVISTORAN_BANK_FILES) + "/" + name, std::ios::binary);
    EXPECT_TRUE(in) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

BankDate day(std::int32_t year, std::int32_t month, std::int32_t d) {
    return BankDate{year, month, d};
}

BankLine line(std::size_t number, BankDate date, Ore amount, std::string text, std::string reference = {},
              std::optional<Ore> balance = std::nullopt, std::string counterpart = {},
              std::optional<BankDate> valueDate = std::nullopt) {
    BankLine out;
    out.lineNumber = number;
    out.bookingDate = date;
    out.valueDate = valueDate;
    out.amount = amount;
    out.counterpart = std::move(counterpart);
    out.reference = std::move(reference);
    out.text = std::move(text);
    out.balance = balance;
    return out;
}

TEST(BankAmounts, ReadToOreFromTheDigits) {
    const auto C = DecimalMark::Comma;
    const auto P = DecimalMark::Point;
    struct Case {
        std::string text;
        DecimalMark decimal;
        std::optional<Ore> ore;
    };
    const std::vector<Case> cases = {
        {"1234,50", C, 123450},
        {"1 234,50", C, 123450},
        {"1\u00A0234,50", C, 123450},
        {"1\u202F234\u202F567,5", C, 123456750},
        {"1.234,50", C, 123450},
        {"1,234.50", P, 123450},
        {"0,01", C, 1},
        {",50", C, 50},
        {"1 234", C, 123400},
        {"-12,5", C, -1250},
        {"12,50-", C, -1250},
        {"+12", C, 1200},
        {"\u221212,00", C, -1200},
        {"  -0,00 ", C, 0},
        {"12,50 kr", C, 1250},
        {"-99,00 SEK", C, -9900},
        {"999999999999,99", C, 99999999999999},
        // Refused: three decimals, a second mark, bad groups, two signs, not a number, too large.
        {"12,345", C, std::nullopt},
        {"12,3,4", C, std::nullopt},
        {"12.50", C, std::nullopt},
        {"1 23,00", C, std::nullopt},
        {"1234 567,00", C, std::nullopt},
        {"1 2345,00", C, std::nullopt},
        {"12,", C, std::nullopt},
        {"", C, std::nullopt},
        {"-", C, std::nullopt},
        {"--12", C, std::nullopt},
        {"-12-", C, std::nullopt},
        {"1e5", P, std::nullopt},
        {"12a", C, std::nullopt},
        {"1000000000000,01", C, std::nullopt},
        {"123456789012345678901234567890", C, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseBankAmount(c.text, c.decimal), c.ore) << c.text;
    }
}

TEST(BankDates, ReadInTheBanksForms) {
    const std::vector<std::pair<std::string, std::optional<BankDate>>> cases = {
        {"2026-03-31", day(2026, 3, 31)},
        {"20260331", day(2026, 3, 31)},
        {"31.3.2026", day(2026, 3, 31)},
        {"01.04.2026", day(2026, 4, 1)},
        {"2026/03/31", day(2026, 3, 31)},
        {"2026-3-1", day(2026, 3, 1)},
        {"2026-03-31T23:10:00+01:00", day(2026, 3, 31)},
        {"2026-03-31 00:00", day(2026, 3, 31)},
        {"2024-02-29", day(2024, 2, 29)},
        {"2026-02-29", std::nullopt},
        {"2026-13-01", std::nullopt},
        {"20260332", std::nullopt},
        {"31/3/2026", std::nullopt},
        {"3.31.26", std::nullopt},
        {"2026-03-31x", std::nullopt},
        {"Datum", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, date] : cases) {
        EXPECT_EQ(parseBankDate(text), date) << text;
    }
}

TEST(CsvRecords, SplitAsRfc4180WithTheBanksLeniency) {
    struct Case {
        std::string text;
        char separator;
        std::vector<std::pair<std::size_t, std::vector<std::string>>> records; // line, fields
        std::size_t unclosedOn = 0;
    };
    const std::vector<Case> cases = {
        {"a;b;c", ';', {{1, {"a", "b", "c"}}}},
        {"\"a;b\";c", ';', {{1, {"a;b", "c"}}}},
        {"\"say \"\"hi\"\"\";x", ';', {{1, {"say \"hi\"", "x"}}}},
        {"\"two\nlines\";x\ny;z", ';', {{1, {"two\nlines", "x"}}, {3, {"y", "z"}}}},
        {"\"two\r\nlines\",x\r\ny,z\r\n", ',', {{1, {"two\r\nlines", "x"}}, {3, {"y", "z"}}}},
        {"a;b\r\nc;d\r\n", ';', {{1, {"a", "b"}}, {2, {"c", "d"}}}},
        {"a\rb", ';', {{1, {"a"}}, {2, {"b"}}}},
        {";;", ';', {{1, {"", "", ""}}}},
        {"a;", ';', {{1, {"a", ""}}}},
        {"a\n\n\nb\n", ';', {{1, {"a"}}, {4, {"b"}}}},
        {"\"\"", ';', {{1, {""}}}},
        {"ab\"c;d", ';', {{1, {"ab\"c", "d"}}}},
        {"\"ab\"c;d", ';', {{1, {"abc", "d"}}}},
        {"  \"a;b\";c", ';', {{1, {"a;b", "c"}}}},
        {"  a ;c", ';', {{1, {"  a ", "c"}}}},
        {"a b\t\"c\td\"\te", '\t', {{1, {"a b", "c\td", "e"}}}},
        {"a;\"bc\nd", ';', {{1, {"a", "bc\nd"}}}, 1},
    };
    for (const Case& c : cases) {
        CsvTokenizer tokenizer(c.text, c.separator);
        std::vector<std::pair<std::size_t, std::vector<std::string>>> records;
        CsvRecord record;
        while (tokenizer.next(record)) {
            records.emplace_back(record.line, record.fields);
        }
        EXPECT_EQ(records, c.records) << c.text;
        EXPECT_EQ(tokenizer.unclosedQuoteLine(), c.unclosedOn) << c.text;
    }
    // A record of more fields than any bank has keeps the first and says so.
    const std::vector<CsvRecord> wide = splitCsv(std::string(1000, ';') + "\nx", ';');
    ASSERT_EQ(wide.size(), 2u);
    EXPECT_EQ(wide[0].fields.size(), kMaxCsvFields);
    EXPECT_TRUE(wide[0].tooManyFields);
    EXPECT_EQ(wide[1].fields, std::vector<std::string>{"x"});
}

TEST(CsvExports, LayoutFoundAndLinesRead) {
    struct Case {
        std::string file;
        CsvLayout layout; // as found
        std::string account;
        std::vector<BankLine> lines;
        std::vector<BankLineProblem> problems;
        std::optional<Ore> opening;
        std::optional<Ore> closing;
    };
    const auto layoutOf = [](BankTextEncoding encoding, char separator, DecimalMark decimal,
                             std::optional<std::size_t> headerRow, auto&& setColumns) {
        CsvLayout layout;
        layout.encoding = encoding;
        layout.separator = separator;
        layout.decimal = decimal;
        layout.headerRow = headerRow;
        setColumns(layout);
        return layout;
    };
    const std::vector<Case> cases = {
        {"semikolon-1252.csv",
         layoutOf(BankTextEncoding::Windows1252, ';', DecimalMark::Comma, 3,
                  [](CsvLayout& l) {
                      l.date = 0, l.valueDate = 1, l.reference = 2, l.text = 3, l.amount = 4, l.balance = 5;
                  }),
         "8327-9 123 456 789-0",
         {line(6, day(2026, 3, 2), 1250000, "Inbetalning Åkeri AB", "4105602", 2250000, {}, day(2026, 3, 2)),
          line(7, day(2026, 3, 5), -8750, "Kortköp Café Örat", {}, 2241250, {}, day(2026, 3, 4)),
          line(8, day(2026, 3, 31), -2500, "Månadsavgift", {}, 2238750, {}, day(2026, 3, 31))},
         {},
         1000000,
         2238750},
        {"komma-bom.csv",
         layoutOf(BankTextEncoding::Utf8, ',', DecimalMark::Point, 0,
                  [](CsvLayout& l) { l.date = 0, l.text = 1, l.reference = 2, l.amount = 3, l.balance = 4; }),
         "",
         {line(2, day(2026, 3, 31), -123450, "Lön \"mars\"", {}, 876550),
          line(3, day(2026, 3, 15), 20000, "Swish från Kalle", "Tack för\nlånet", 1000000),
          line(5, day(2026, 3, 1), 980000, "Insättning, kontant", {}, 980000)},
         {},
         0, // newest first: the oldest line's balance less its amount
         876550},
        {"tab-in-ut.csv",
         layoutOf(BankTextEncoding::Utf8, '\t', DecimalMark::Comma, 0,
                  [](CsvLayout& l) { l.date = 0, l.text = 2, l.in = 3, l.out = 4, l.balance = 5; }),
         "",
         {line(2, day(2026, 3, 3), 100000, "Bankgiro 5050-1055", {}, 600000),
          line(3, day(2026, 3, 4), -450000, "Hyra lokal", {}, 150000),
          line(4, day(2026, 3, 6), -15050, "Porto", {}, 134950)},
         {},
         500000,
         134950},
        {"finsk.csv",
         layoutOf(
             BankTextEncoding::Utf8, ';', DecimalMark::Comma, 0,
             [](CsvLayout& l) { l.date = 0, l.amount = 1, l.counterpart = 3, l.text = 4, l.reference = 5; }),
         "",
         {line(2, day(2026, 3, 31), 125000, "INBETALNING", "1232"),
          line(3, day(2026, 4, 1), -4590, "E-FAKTURA", "55667788", std::nullopt, "Elbolaget Ab")},
         {},
         std::nullopt,
         std::nullopt},
        {"tusental-minus.csv",
         layoutOf(BankTextEncoding::Utf8, ';', DecimalMark::Comma, 0,
                  [](CsvLayout& l) { l.date = 0, l.text = 1, l.reference = 2, l.amount = 3; }),
         "",
         {line(2, day(2026, 3, 1), -1234567890, "Leverantör Tråd AB", "7301"),
          line(3, day(2026, 3, 2), 200000, "Kund Ett"), line(7, day(2026, 3, 5), 123456, "Ränta")},
         {{4, "beloppet \"12,3,4\" går inte att läsa"},
          {5, "datumet \"20260230\" går inte att läsa"},
          {6, "raden har 2 kolumner, men belopp står i kolumn 4"}},
         std::nullopt,
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string bytes = bankFile(c.file);
        const CsvDetection detection = detectCsvLayout(bytes);
        EXPECT_TRUE(detection.complete()) << detection.message();
        EXPECT_EQ(detection.layout, c.layout) << csvLayoutText(detection.layout);
        const BankStatement statement = oneStatement(bytes, std::nullopt);
        EXPECT_EQ(statement.kind, BankFileKind::Csv);
        EXPECT_EQ(statement.account, c.account);
        EXPECT_EQ(statement.lines, c.lines);
        EXPECT_EQ(statement.problems, c.problems);
        EXPECT_EQ(statement.openingBalance, c.opening);
        EXPECT_EQ(statement.closingBalance, c.closing);
        // The layout found, given back, reads the same.
        EXPECT_EQ(oneStatement(bytes, detection.layout).lines, c.lines);
    }
}

TEST(CsvExports, UnknownColumnsSayWhichFieldsAreMissing) {
    const std::string bytes = "Dag;Vad;Pengar\n2026-03-01;Hyra;-5000,00\n";
    try {
        oneStatement(bytes, std::nullopt);
        FAIL() << "read without columns";
    } catch (const CsvLayoutUnknown& unknown) {
        EXPECT_STREQ(unknown.what(), "Filens kolumner för datum, text och belopp gick inte att hitta. Ange "
                                     "vilken kolumn som har vad.");
        EXPECT_EQ(unknown.detection().layout.separator, ';');
        ASSERT_EQ(unknown.detection().firstRecords.size(), 2u);
        EXPECT_EQ(unknown.detection().firstRecords[1].fields[2], "-5000,00");
    }
    // The columns the user gives read it; the lines before the first date are its heading.
    const CsvLayoutParse given = parseCsvColumns("datum=1, text=2, belopp=3");
    ASSERT_TRUE(given.layout) << given.error;
    const BankStatement statement =
        oneStatement("Kontoutdrag\nKonto;1234-5 678 901\n" + bytes + "2026-03-02;Fel;x\n", given.layout);
    EXPECT_EQ(statement.account, "1234-5 678 901");
    EXPECT_EQ(statement.lines, std::vector<BankLine>{line(4, day(2026, 3, 1), -500000, "Hyra")});
    EXPECT_EQ(statement.problems, (std::vector<BankLineProblem>{{5, "beloppet \"x\" går inte att läsa"}}));
    EXPECT_EQ(statement.headingRows, (std::vector<std::size_t>{1, 2, 3})); // said, never dropped unsaid
}

TEST(CsvLayouts, ColumnsParsedAndKeptAsText) {
    const std::vector<std::pair<std::string, std::string>> refused = {
        {"datum=1,belopp=3", "kolumnerna saknar text (till exempel datum=1,text=3,belopp=5)"},
        {"datum=0,text=2,belopp=3", "kolumnen för datum ska vara ett nummer från 1 till 256, inte \"0\""},
        {"datum=x,text=2,belopp=3", "kolumnen för datum ska vara ett nummer från 1 till 256, inte \"x\""},
        {"datum=1,datum=2,text=2,belopp=3", "datum anges två gånger"},
        {"datum=1,text=1,belopp=3", "kolumn 1 anges för både datum och text"},
        {"datum=1,text=2,in=3", "in anges utan ut"},
        {"datum=1,text=2,belopp=3,in=4,ut=5", "ange antingen belopp eller in och ut, inte båda"},
        {"datum=1,text=2,summa=3", "fältet \"summa\" finns inte; fälten är datum, valutadag, text, motpart, "
                                   "referens, belopp, in, ut, saldo, konto"},
        {"datum=1,text=2,belopp",
         "kolumnerna ska anges som fält=nummer, som datum=1,text=3,belopp=5; \"belopp\" "
         "saknar \"=\""},
        {"kodning=utf-8,datum=1,text=2,belopp=3",
         "fältet \"kodning\" finns inte; fälten är datum, valutadag, "
         "text, motpart, referens, belopp, in, ut, saldo, konto"},
    };
    for (const auto& [text, error] : refused) {
        const CsvLayoutParse parsed = parseCsvColumns(text);
        EXPECT_FALSE(parsed.layout) << text;
        EXPECT_EQ(parsed.error, error) << text;
    }
    const CsvLayoutParse columns = parseCsvColumns("datum=2,text=4,belopp=7,referens=5");
    ASSERT_TRUE(columns.layout) << columns.error;
    EXPECT_EQ(columns.layout->date, 1u);
    EXPECT_EQ(columns.layout->text, 3u);
    EXPECT_EQ(columns.layout->amount, 6u);
    EXPECT_EQ(columns.layout->reference, 4u);
    EXPECT_FALSE(columns.layout->separator); // found from the file

    // Every layout detection finds is kept as text and read back the same, less its header row.
    for (const std::string file : {"semikolon-1252.csv", "komma-bom.csv", "tab-in-ut.csv", "finsk.csv"}) {
        CsvLayout layout = detectCsvLayout(bankFile(file)).layout;
        const std::string text = csvLayoutText(layout);
        const CsvLayoutParse back = parseCsvLayoutText(text);
        layout.headerRow.reset();
        EXPECT_EQ(back.layout, layout) << text << ": " << back.error;
    }
    EXPECT_EQ(csvLayoutText(detectCsvLayout(bankFile("tab-in-ut.csv")).layout),
              "kodning=utf-8,avgränsare=tab,decimal=komma,datum=1,text=3,in=4,ut=5,saldo=6");
}

TEST(CamtFiles, StatementWithBalancesSignsAndDetails) {
    const BankStatement statement = oneStatement(bankFile("camt053.xml"), std::nullopt);
    EXPECT_EQ(statement.kind, BankFileKind::Camt053);
    EXPECT_EQ(statement.account, "SE4550000000058398257466");
    EXPECT_EQ(statement.currency, "SEK");
    EXPECT_EQ(statement.openingBalance, -100000); // DBIT
    EXPECT_EQ(statement.openingDate, day(2026, 3, 1));
    EXPECT_EQ(statement.closingBalance, 285100);
    EXPECT_EQ(statement.closingDate, day(2026, 3, 31));
    const std::vector<BankLine> expected = {
        line(33, day(2026, 3, 2), 150000, "BG INBETALNING", "4105602", std::nullopt, "Kund & Son AB",
             day(2026, 3, 3)),
        line(55, day(2026, 3, 5), -24900, "AUTOGIRO", "Elräkning mars", std::nullopt, "Elbolaget"),
        line(78, day(2026, 3, 10), 100000, "BG SAMLINGSINBETALNING", "1111", std::nullopt, "Medlem Ett"),
        line(83, day(2026, 3, 10), 120000, "BG SAMLINGSINBETALNING", "2222", std::nullopt, "Medlem Två"),
        line(88, day(2026, 3, 10), 80000, "BG SAMLINGSINBETALNING", "3333", std::nullopt, "Medlem Tre"),
        line(96, day(2026, 3, 12), 10000, "ÅTERFÖRING KORTKÖP"), // a card purchase returned: CRDT, money in
        line(104, day(2026, 3, 20), -50000, "", "Faktura 77, Faktura 78", std::nullopt, "Tryckeriet"),
    };
    EXPECT_EQ(statement.lines, expected);
    EXPECT_EQ(statement.problems, (std::vector<BankLineProblem>{
                                      {120, "beloppet \"12.345\" går inte att läsa"},
                                      {125, "posten saknar bokföringsdag"},
                                  }));
    // The lines read take the opening balance to the closing one.
    Ore sum = *statement.openingBalance;
    for (const BankLine& l : statement.lines) {
        sum += l.amount;
    }
    EXPECT_EQ(sum, statement.closingBalance);
}

TEST(CamtFiles, NotificationWithPrefixedNamesAndNewerElements) {
    const BankStatement statement = oneStatement(bankFile("camt054.xml"), std::nullopt);
    EXPECT_EQ(statement.kind, BankFileKind::Camt054);
    EXPECT_EQ(statement.account, "5050-1055");
    EXPECT_EQ(statement.currency, "SEK");
    EXPECT_FALSE(statement.openingBalance);
    const std::vector<BankLine> expected = {
        line(15, day(2026, 3, 31), 45000, "Medlemsavgift", "9001", std::nullopt, "Anna Andersson",
             day(2026, 3, 31)),
        line(22, day(2026, 3, 31), 25000, "", "Avgift 2026", std::nullopt, "Bertil Berg", day(2026, 3, 31)),
        // The transactions do not add up to the entry: one line of the entry's amount.
        line(30, day(2026, 3, 31), 30000, "BG 5050-1055", "", std::nullopt, "Cecilia Ek, David Ek"),
    };
    EXPECT_EQ(statement.lines, expected);
    EXPECT_EQ(statement.problems, (std::vector<BankLineProblem>{
                                      {47, "posten är inte bokförd (status PDNG) och lästes inte in"},
                                      {53, "beloppet är i EUR men kontot i SEK"},
                                  }));
}

TEST(BankFiles, HostileInputRefusedOrReadInPart) {
    const std::string camt = bankFile("camt053.xml");
    const auto refusal = [](const std::string& bytes) -> std::string {
        try {
            oneStatement(bytes, std::nullopt);
        } catch (const BankFileError& error) {
            return error.what();
        }
        return "(läst)";
    };
    // Files refused whole, with what is wrong.
    EXPECT_EQ(
        refusal(camt.substr(0, camt.size() / 2)),
        "Filen är inte ett kontoutdrag i XML som går att läsa: ett element avslutas inte som det börjar "
        "(filen kan vara avklippt) (rad 69).");
    EXPECT_EQ(
        refusal("<Document><Other/></Document>"),
        "Filen är inget kontoutdrag (camt.053) eller avisering (camt.054): elementet BkToCstmrStmt eller "
        "BkToCstmrDbtCdtNtfctn saknas.");
    EXPECT_EQ(refusal("<Document><BkToCstmrStmt><GrpHdr/></BkToCstmrStmt></Document>"),
              "Filen innehåller inget kontoutdrag (Stmt).");
    EXPECT_EQ(refusal("  \r\n"), "Filen är tom.");
    EXPECT_EQ(
        refusal("<" + std::string(kMaxBankFileBytes, ' ')),
        "Filen är för stor för att vara ett kontoutdrag som programmet kan läsa in (50 MB, högst 50 MB).");
    EXPECT_EQ(refusal("<?xml version=\"1.0\"?>\n<Document"),
              "Filen är inte ett kontoutdrag i XML som går att läsa: ett element är felskrivet (rad 2).");

    // A statement without entries has its balances and no lines.
    const std::string noEntries =
        "<Document><BkToCstmrStmt><Stmt><Acct><Id><IBAN>SE1</IBAN></Id></Acct>"
        "<Bal><Tp><CdOrPrtry><Cd>CLBD</Cd></CdOrPrtry></Tp><Amt Ccy=\"SEK\">5.00</Amt>"
        "<CdtDbtInd>CRDT</CdtDbtInd><Dt><Dt>2026-03-31</Dt></Dt></Bal>"
        "</Stmt></BkToCstmrStmt></Document>";
    const BankStatement empty = oneStatement(noEntries, std::nullopt);
    EXPECT_TRUE(empty.lines.empty());
    EXPECT_EQ(empty.closingBalance, 500);

    // An amount beyond what the books can hold, or with a sign, is the entry's problem.
    const auto entry = [](const std::string& amount) {
        return "<Document><BkToCstmrStmt><Stmt>\n<Ntry><Amt>" + amount +
               "</Amt><CdtDbtInd>CRDT</CdtDbtInd><BookgDt><Dt>2026-03-31</Dt></BookgDt></Ntry>"
               "</Stmt></BkToCstmrStmt></Document>";
    };
    for (const std::string amount : {"99999999999999999999.00", "-5.00", "5,00", "NaN", ""}) {
        const BankStatement statement = oneStatement(entry(amount), std::nullopt);
        EXPECT_TRUE(statement.lines.empty()) << amount;
        ASSERT_EQ(statement.problems.size(), 1u) << amount;
        EXPECT_EQ(statement.problems[0].lineNumber, 2u);
    }

    // Binary garbage is read as a CSV file and refused, never a crash.
    std::mt19937 random(20260331);
    for (int round = 0; round < 50; ++round) {
        std::string bytes(4096, '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(random() & 0xFF);
        }
        bytes[0] = 'x';
        EXPECT_NE(refusal(bytes), "(läst)");
    }

    // A missing file is named.
    try {
        readBankFileAt("/finns/inte/kontoutdrag.csv", std::nullopt);
        FAIL() << "read a missing file";
    } catch (const BankFileError& error) {
        EXPECT_STREQ(error.what(),
                     "Filen /finns/inte/kontoutdrag.csv kan inte läsas. Filen eller mappen finns inte.");
    }
}

TEST(BankFiles, UnreadableRowsListedUpToTheLimit) {
    std::string bytes = "Datum;Text;Belopp\n";
    for (std::size_t i = 0; i < kMaxBankProblems + 5; ++i) {
        bytes += "2026-03-01;x;fel\n";
    }
    bytes += "2026-03-02;Sista;1,00\n";
    const BankStatement statement = oneStatement(bytes, std::nullopt);
    ASSERT_EQ(statement.problems.size(), kMaxBankProblems + 1);
    EXPECT_EQ(statement.problems.back().reason, "ytterligare 5 rader gick inte att läsa");
    ASSERT_EQ(statement.lines.size(), 1u);
    EXPECT_EQ(statement.lines[0].amount, 100);
}

} // namespace
} // namespace kv
