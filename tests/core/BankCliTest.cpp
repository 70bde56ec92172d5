// kvistoran-cli import-bank and bank-rules, with the statement made in code
// in place of the file reader; and the review window's model.
#include "BackupTestSupport.h"
#include "BankTestSupport.h"

#include "BankCli.h"
#include "bank/BankReviewModel.h"
#include "bank/BankRules.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kv {
namespace {

using test::bankLine;
using test::bankStatement;
using test::snapshot;

struct CliCompany : test::BankCompany {
    test::TempDir dir;
    std::string path = dir.file("Firma.bok");
    std::string failure;
    std::string columnsAsked;           // the layout the command gave the reader
    std::string layoutsRemembered;      // those it offered for a file without a heading
    std::optional<BankStatements> file; // what the file holds, when not the usual statement

    CliCompany() { EXPECT_TRUE(saveCompany(doc, path).ok); }

    int run(const std::vector<std::string>& args, std::string& out) {
        std::ostringstream printed;
        const auto read = [this](const std::string&, const std::optional<CsvLayout>& given,
                                 const std::vector<RememberedLayout>& remembered) {
            columnsAsked = given ? csvLayoutText(*given) : std::string();
            layoutsRemembered.clear();
            for (const RememberedLayout& kept : remembered) {
                layoutsRemembered += csvLayoutText(kept.layout) + "@" + std::to_string(kept.bookAccount);
            }
            if (file) {
                return BankFileRead{*file, given, 0};
            }
            return BankFileRead{
                {bankStatement({bankLine(3, 4, -2500, "Banken", "", "Bankavgift"),
                                bankLine(3, 8, 50000, "Kund AB", "4711"), bankLine(3, 9, -9900, "Okänd")},
                               0)},
                given,
                0};
        };
        const auto fail = [this](const std::string& message) {
            failure = message;
            return 1;
        };
        const int status = args[0] == "import-bank" ? cli::importBank(args, read, printed, fail)
                                                    : cli::bankRules(args, printed, fail);
        out = printed.str();
        return status;
    }
};

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(BankCli, ImportShowsTheProposalsAndBooksOnlyWithYes) {
    CliCompany company;
    std::string out;
    ASSERT_EQ(company.run({"bank-rules", company.path, "--add", "Bankavgift=6570", "--out"}, out), 0)
        << company.failure;
    EXPECT_EQ(out, "1. innehåller \"Bankavgift\" → 6570, uttag\n");
    const auto before = snapshot(company.dir.path());

    ASSERT_EQ(company.run({"import-bank", company.path, "kontoutdrag.xml", "--account", "1930"}, out), 0)
        << company.failure;
    EXPECT_TRUE(has(out, "Bankkonto: SE4550000000058398257466 (bokförs på konto 1930)\n")) << out;
    EXPECT_TRUE(has(out,
                    "Saldo: Ingående saldo enligt kontoutdraget 0.00, i bokföringen (konto 1930) 0.00 den "
                    "2024-03-03: de stämmer.\n"))
        << out;
    EXPECT_TRUE(has(out, "Förslag:\n  2024-03-04  -25.00  6570  Banken  (förslag enligt regel 1)\n")) << out;
    EXPECT_TRUE(has(out, "Utan konto (följer inte med; ange --unmatched KONTO för att bokföra dem):\n"
                         "  2024-03-08  500.00  Kund AB 4711\n  2024-03-09  -99.00  Okänd\n"))
        << out;
    EXPECT_TRUE(has(out, "Inget har skrivits.")) << out;
    EXPECT_EQ(snapshot(company.dir.path()), before);

    ASSERT_EQ(company.run({"import-bank", company.path, "kontoutdrag.csv", "--account", "1930", "--unmatched",
                           "3010", "--columns", "belopp=3,text=2,datum=1", "--yes"},
                          out),
              0)
        << company.failure;
    EXPECT_EQ(company.columnsAsked, "datum=1,text=2,belopp=3");
    EXPECT_TRUE(has(out, "3 verifikat bokfördes (nr 1–3) och företaget sparades i")) << out;
    CTallvingeDoc saved;
    ASSERT_TRUE(openCompany(saved, company.path).ok);
    ASSERT_EQ(saved.state().m_verifikat.size(), 3U);
    EXPECT_EQ(saved.state().m_verifikat[1].m_strVertext, "Kund AB 4711");
    EXPECT_EQ(saved.state().m_verifikat[1].m_rader[1].m_nKonto, 3010);
    EXPECT_EQ(
        readBankAccounts(company.path),
        (std::vector<BankAccountSetting>{{"SE4550000000058398257466", 1930, "datum=1,text=2,belopp=3"}}));

    // The same statement again, the account and the layout remembered: nothing to book.
    const auto afterBooking = snapshot(company.dir.path());
    company.columnsAsked.clear();
    ASSERT_EQ(company.run({"import-bank", company.path, "kontoutdrag.csv", "--yes"}, out), 0)
        << company.failure;
    EXPECT_EQ(company.columnsAsked, "");                                  // the file's own heading first,
    EXPECT_EQ(company.layoutsRemembered, "datum=1,text=2,belopp=3@1930"); // else the one remembered
    EXPECT_TRUE(has(out, "Redan bokförda:\n  2024-03-04  -25.00  Banken  (redan bokförd som verifikat 1"))
        << out;
    EXPECT_TRUE(has(out, "Inget bokfördes: inga förslag att bokföra. Företaget är oförändrat.")) << out;
    company.columnsAsked.clear();
    ASSERT_EQ(company.run({"import-bank", company.path, "kontoutdrag.csv", "--account", "1930"}, out), 0);
    EXPECT_EQ(company.layoutsRemembered, "datum=1,text=2,belopp=3@1930");
    EXPECT_EQ(snapshot(company.dir.path()), afterBooking); // looking writes nothing
}

TEST(BankCli, WrongArgumentsAreToldAndWriteNothing) {
    struct Case {
        std::vector<std::string> args;
        std::string failure;
    };
    CliCompany company;
    writeBankAccount(company.path, {"SE9300000000001234567890", 1930, {}}); // another statement's account
    const std::vector<Case> cases = {
        {{"import-bank", company.path, "f.csv", "--account", "19x0"},
         "kontot skrivs med siffror, t.ex. 1930 eller SE4550000000058398257466=1930: 19x0"},
        {{"import-bank", company.path, "f.csv"},
         "ange bankkontot i bokföringen med --account, t.ex. --account 1930"},
        {{"import-bank", company.path, "f.csv", "--columns", "datum=1,text=1,belopp=2"},
         "kolumn 1 anges för både datum och text"},
        {{"import-bank", company.path, "f.csv", "--account", "3010"},
         "ingenting kan bokföras: Konto 3010 finns inte i balansräkningens kontoplan och kan inte vara "
         "bankkontot."},
        {{"bank-rules", company.path, "--add", "Telia=9999"}, "Kontot (9999) finns inte i kontoplanen."},
        {{"bank-rules", company.path, "--add", "Telia=2090"},
         "Konto 2090 är resultatkontot och kan inte ha verifikatrader."},
        {{"bank-rules", company.path, "--add", "Telia=6211:3"},
         "Momsregel 3 finns inte eller har ingen momssats (se Moms - Sätt moms)."},
        {{"bank-rules", company.path, "--add", "Överföring=1930"},
         "Konto 1930 är bankens eget konto: en bankrad kan inte bokföras mot sitt eget konto."},
        {{"bank-rules", company.path, "--add", "Telia=6211", "--min", "50", "--max", "20"},
         "Beloppet från är större än beloppet till."},
        {{"bank-rules", company.path, "--remove", "1"}, "det finns ingen regel nummer 1"},
        {{"bank-rules", company.path, "--in"}, "felaktiga argument till bank-rules; se kvistoran-cli --help"},
    };
    const auto before = snapshot(company.dir.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[3 % c.args.size()]);
        std::string out;
        EXPECT_EQ(company.run(c.args, out), 1);
        EXPECT_EQ(company.failure, c.failure);
        EXPECT_EQ(snapshot(company.dir.path()), before);
    }
}

TEST(BankReview, TheUserSetsAnAccountAndMakesARuleOfALine) {
    CliCompany company;
    const BankStatement statement = bankStatement({bankLine(3, 4, -12500, "Grossisten AB", "Faktura 88")});
    BankReviewModel review(company.doc, statement, {1930, {}});
    EXPECT_EQ(review.row(0).cells[static_cast<std::size_t>(BankColumn::Status)], "utan konto");
    EXPECT_FALSE(review.setAccepted(0, true));
    EXPECT_EQ(review.setAccount(0, "9999"), "Kontot (9999) finns inte i kontoplanen.");
    EXPECT_EQ(review.setAccount(0, "1930"), "Konto 1930 kan inte vara motkonto till bankraden.");
    EXPECT_EQ(review.setAccount(0, "4010"), std::nullopt);
    EXPECT_EQ(review.setVatRule(0, 1),
              "Momsregel 1 har ingen momssats eller inget momskonto för debetsidan.");
    EXPECT_EQ(review.setVatRule(0, 2), std::nullopt);
    const BankReviewRow row = review.row(0);
    EXPECT_EQ(row.cells, (std::array<std::string, 6>{"2024-03-04", "Grossisten AB Faktura 88", "-125.00",
                                                     "4010", "momsregel 2 (25 %)", "förslag"}));
    EXPECT_TRUE(row.accepted && row.editable);
    EXPECT_EQ(review.ruleProposal(0), "Grossisten AB");
    EXPECT_EQ(review.saveAsRule(0, review.ruleProposal(0)), std::nullopt);
    EXPECT_EQ(readBankRules(company.path),
              (std::vector<BankRule>{
                  {"Grossisten AB", BankTextMatch::Contains, BankAmountSign::Out, {}, {}, 4010, 2}}));
    ASSERT_TRUE(review.canBook());
    EXPECT_EQ(review.book().booked, 1U);
    EXPECT_FALSE(review.setAccepted(0, false)); // booked: no longer the user's to change
    EXPECT_EQ(company.doc.state().m_verifikat.back().m_rader.size(), 3U);

    // The next statement finds the rule.
    const BankReviewModel next(
        company.doc, bankStatement({bankLine(4, 4, -2500, "GROSSISTEN AB", "Faktura 99")}), {1930, {}});
    EXPECT_EQ(next.row(0).cells[static_cast<std::size_t>(BankColumn::Status)], "förslag enligt regel 1");
    EXPECT_EQ(next.summaryText(), "1 förslag, 0 utan konto, 0 redan bokförda");
}

// Rows that could not be read stop --yes unless --skip-unreadable says so,
// each named once; a file of two accounts books each on its own account.
TEST(BankCli, UnreadableRowsAndSeveralAccounts) {
    CliCompany company;
    BankStatement withProblem = bankStatement({bankLine(3, 4, -2500, "Banken")}, 0);
    withProblem.problems.push_back({4, "datumet \"31/2\" går inte att läsa"});
    company.file = BankStatements{withProblem};
    const auto before = snapshot(company.dir.path());
    std::string out;
    EXPECT_EQ(
        company.run(
            {"import-bank", company.path, "f.csv", "--account", "1930", "--unmatched", "6570", "--yes"}, out),
        1);
    EXPECT_TRUE(has(out, "Rader som inte kunde läsas:\n  rad 4: datumet \"31/2\" går inte att läsa\n"))
        << out;
    EXPECT_EQ(company.failure, "1 rad i filen kunde inte läsas (se ovan); ingenting bokfördes. Ange "
                               "--skip-unreadable för att bokföra de övriga.");
    EXPECT_EQ(snapshot(company.dir.path()), before);
    EXPECT_EQ(company.run({"import-bank", company.path, "f.csv", "--account", "1930", "--unmatched", "6570",
                           "--skip-unreadable", "--yes"},
                          out),
              0)
        << company.failure;
    EXPECT_TRUE(has(out, "1 verifikat bokfördes (nr 1)")) << out;

    BankStatement first = bankStatement({bankLine(3, 5, 10000, "Kund")});
    first.account = "SE11";
    BankStatement second = bankStatement({bankLine(3, 6, -5000, "Leverantör")});
    second.account = "SE22";
    company.file = BankStatements{first, second};
    EXPECT_EQ(company.run({"import-bank", company.path, "två.xml", "--unmatched", "3010", "--yes"}, out), 1);
    EXPECT_EQ(company.failure, "ange bankkontot i bokföringen för SE11 med --account SE11=KONTO");
    ASSERT_EQ(company.run({"import-bank", company.path, "två.xml", "--account", "SE11=1930", "--account",
                           "se 22=1940", "--unmatched", "3010", "--yes"},
                          out),
              0)
        << company.failure;
    EXPECT_TRUE(has(out, "Bankkonto: SE11 (bokförs på konto 1930)")) << out;
    EXPECT_TRUE(has(out, "Bankkonto: SE22 (bokförs på konto 1940)")) << out;
    EXPECT_TRUE(has(out, "1 verifikat bokfördes från SE22 (nr 3).")) << out;
    // Remembered: the next file of both accounts needs no --account.
    company.file = BankStatements{first, second};
    EXPECT_EQ(company.run({"import-bank", company.path, "två.xml"}, out), 0) << company.failure;
    EXPECT_TRUE(has(out, "Redan bokförda:")) << out;
}

// "Bankregler...": rules made from typed fields, listed with the lines each
// took once saved, moved and removed, each change written at once.
TEST(BankRules, TheListCountsTheLinesEachRuleTookAndEditsMovesAndRemoves) {
    CliCompany company;
    writeBankAccount(company.path, {"SE4550000000058398257466", 1930, {}});
    BankRulesModel rules(company.doc);
    BankRuleFields grossisten{"Grossisten", false, "4010", "2", BankAmountSign::Out, "", "5000"};
    EXPECT_EQ(rules.store(std::nullopt, grossisten), std::nullopt);
    EXPECT_EQ(rules.store(std::nullopt, {"Telia", true, "6211", "", BankAmountSign::Any, "", ""}),
              std::nullopt);
    EXPECT_EQ(rules.store(std::nullopt, {"Lön", false, "1930", "", BankAmountSign::Any, "", ""}),
              "Konto 1930 är bankens eget konto: en bankrad kan inte bokföras mot sitt eget konto.");
    EXPECT_EQ(rules.store(0, {"Grossisten", false, "4010", "", BankAmountSign::Out, "1x", ""}),
              "Beloppet från skrivs t.ex. 1250,50: 1x");
    grossisten.maxAmount = "5000.00";
    EXPECT_EQ(rules.fields(0), grossisten);
    EXPECT_EQ(rules.store(0, rules.fields(0)), std::nullopt); // and read back
    EXPECT_EQ(readBankRules(company.path).size(), 2U);

    BankReviewModel review(company.doc, bankStatement({bankLine(3, 4, -12500, "GROSSISTEN AB", "F 88")}),
                           {1930, {}});
    ASSERT_EQ(review.book().booked, 1U);
    ASSERT_TRUE(saveCompany(company.doc, company.path).ok);

    BankRulesModel listed(company.doc);
    using Row = std::array<std::string, 6>;
    EXPECT_EQ(listed.row(0),
              (Row{"Grossisten", "4010", "momsregel 2 (25 %)", "uttag", "högst 5 000.00", "1"}));
    EXPECT_EQ(listed.row(1), (Row{"= Telia", "6211", "", "alla", "", "0"}));
    EXPECT_EQ(listed.move(1, -1), std::nullopt);
    EXPECT_EQ(listed.move(0, -1), std::nullopt); // already first: nothing moves
    EXPECT_EQ(readBankRules(company.path).front().pattern, "Telia");
    EXPECT_EQ(listed.remove(0), std::nullopt);
    EXPECT_EQ(readBankRules(company.path), listed.rules());
    ASSERT_EQ(listed.rowCount(), 1U);
    EXPECT_EQ(listed.row(0)[0], "Grossisten");
}

// "Ångra" takes the whole booking back while nothing came after it; the
// voucher of a booked line is shown; the text is the user's to change.
TEST(BankReview, OneUndoTheVoucherShownAndTheTextTyped) {
    CliCompany company;
    const BankStatement statement =
        bankStatement({bankLine(3, 4, -12500, "Grossisten AB"), bankLine(3, 6, -2500, "Kaffebaren")});
    BankReviewModel review(company.doc, statement, {1930, {}});
    ASSERT_EQ(review.setAccount(0, "4010"), std::nullopt);
    ASSERT_EQ(review.setAccount(1, "4010"), std::nullopt);
    EXPECT_EQ(review.setText(0, std::string(kVoucherTextLimit + 1, 'x')),
              "Texten får vara högst " + std::to_string(kVoucherTextLimit) + " tecken.");
    EXPECT_EQ(review.setText(0, "Varor mars"), std::nullopt);
    EXPECT_FALSE(review.canUndoBooking());
    EXPECT_EQ(review.voucherOf(0), std::nullopt);

    ASSERT_EQ(review.book().booked, 2U);
    EXPECT_EQ(review.voucherOf(0), "Verifikat 1, 2024-03-04: Varor mars\n1930  Checkräkningskonto  kredit "
                                   "125.00\n4010  Inköp  debet 125.00");
    ASSERT_TRUE(review.canUndoBooking());
    review.undoBooking();
    EXPECT_TRUE(company.doc.state().m_verifikat.empty());
    EXPECT_TRUE(company.doc.pendingRecords().bankLines.empty());
    EXPECT_FALSE(company.doc.isModified()); // as it was before the booking
    EXPECT_EQ(review.row(0).cells[static_cast<std::size_t>(BankColumn::Text)], "Varor mars");
    EXPECT_TRUE(review.row(0).accepted && review.row(0).editable);

    // A voucher typed after the booking: the booking is no longer the last change.
    ASSERT_EQ(review.book().booked, 2U);
    company.book(7, 3, "Porto", {{6250, 5000}, {1930, -5000}});
    EXPECT_FALSE(review.canUndoBooking());
    review.undoBooking();
    EXPECT_EQ(company.doc.state().m_verifikat.size(), 3U);
}

} // namespace
} // namespace kv
