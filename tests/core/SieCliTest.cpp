// kvistoran-cli export-sie and import-sie, run as a user would.
#include "CliRunner.h"
#include "SieTestSupport.h"
#include "TestSupport.h"

#include "sie/SieBooks.h"
#include "storage/CompanyFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>

namespace kv {
namespace {

using test::CliRun;
using test::quoted;
using test::TempDir;

// The tool with a template folder of its own in dir.
CliRun runSie(const TempDir& dir, const std::string& arguments) {
    return test::runCli(dir, arguments, "KVISTORAN_MALLAR=" + quoted(dir.file("mallar")));
}

TEST(SieCli, ImportShowsTheSummaryAndWritesOnlyWithYes) {
    const TempDir dir;
    const std::string in = quoted(test::sieTestFile("forening-1252.se"));
    const std::string out = dir.file("Kvisten.bok");

    const CliRun looked = runSie(dir, "import-sie " + in + " " + quoted(out));
    EXPECT_EQ(looked.status, 0) << looked.err;
    EXPECT_NE(looked.out.find("Företag: Föreningen \"Kvisten\"\n"), std::string::npos) << looked.out;
    EXPECT_NE(looked.out.find("Teckenkodning: Windows-1252 (filen anger PC8)\n"), std::string::npos);
    EXPECT_NE(looked.out.find("  1935  Sparkonto, räntebärande  (tillgångar, efter 1930)\n"),
              std::string::npos);
    EXPECT_NE(looked.out.find("Inget har skrivits."), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(out));

    const CliRun made = runSie(dir, "import-sie " + in + " " + quoted(out) + " --yes");
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_NE(made.out.find("Företaget sparades i"), std::string::npos);
    CTallvingeDoc doc;
    ASSERT_TRUE(openCompany(doc, out).ok);
    EXPECT_EQ(doc.state().m_verifikat.size(), 3U);

    const std::string exported = dir.file("ut.se");
    const CliRun written = runSie(dir, "export-sie " + quoted(out) + " " + quoted(exported));
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "Skrev 251 konton och 3 verifikat till " + exported + ".\n");
    const SieBooks books = readSieBooks(test::readFile(exported));
    EXPECT_EQ(books.companyName, "Kvisten");
    EXPECT_TRUE(books.checksumVerified);
}

TEST(SieCli, FailuresAreOneLineAndWriteNothing) {
    const TempDir dir;
    const std::string broken = dir.file("trasig.se");
    test::writeFile(broken, test::sieFile("#IB 0 1930 12,50\n"));
    const std::string mismatch = dir.file("fel.se");
    test::writeFile(mismatch, test::sieFile("#UB 0 1930 5.00\n"));
    const std::string existing = dir.file("finns.bok");
    test::writeFile(existing, "x");
    const std::string good = quoted(test::sieTestFile("forening-pc8.se"));
    struct Case {
        std::string arguments;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"import-sie " + quoted(broken) + " " + quoted(dir.file("a.bok")),
         "kvistoran-cli: " + broken +
             ": Rad 4: \"12,50\" är inget belopp med punkt och högst två decimaler.\n"},
        {"import-sie " + quoted(mismatch) + " " + quoted(dir.file("a.bok")) + " --yes",
         "kvistoran-cli: Företaget skapas inte: 1 saldo i filen stämmer inte med de ingående balanserna och "
         "verifikaten i den.\n"},
        {"import-sie " + good + " " + quoted(existing),
         "kvistoran-cli: filen finns redan och skrivs inte över: " + existing + "\n"},
        {"import-sie " + good + " " + quoted(dir.file("a.bok")) + " --template 'INGEN SÅDAN'",
         "kvistoran-cli: " + test::sieTestFile("forening-pc8.se") +
             ": Mallen \"INGEN SÅDAN\" finns inte bland kontoplanmallarna.\n"},
        {"import-sie " + good,
         "kvistoran-cli: felaktiga argument till import-sie; se kvistoran-cli --help\n"},
        {"export-sie " + quoted(dir.file("saknas.bok")) + " " + quoted(dir.file("ut.se")), ""},
    };
    for (const Case& c : cases) {
        const CliRun run = runSie(dir, c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments;
        if (!c.error.empty()) {
            EXPECT_EQ(run.err, c.error);
        } else {
            EXPECT_TRUE(run.err.starts_with("kvistoran-cli: ")) << run.err;
        }
        EXPECT_FALSE(std::filesystem::exists(dir.file("a.bok")));
        EXPECT_FALSE(std::filesystem::exists(dir.file("ut.se")));
    }
}

// An import writes all of it or nothing: never over a period file that is
// there, and nothing left behind when the period file cannot be written.
TEST(SieCli, AnImportWritesEverythingOrNothing) {
    const std::string good = quoted(test::sieTestFile("forening-pc8.se"));
    struct Case {
        const char* what;
        std::function<void(const TempDir&)> prepare;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"a period file without its company file",
         [](const TempDir& dir) {
             std::filesystem::create_directories(dir.file("F_perioder"));
             test::writeFile(dir.file("F_perioder/F0.per"), "gammal");
         },
         "Filen finns redan"},
        {"a period folder that is a file",
         [](const TempDir& dir) { test::writeFile(dir.file("F_perioder"), "ingen mapp"); }, "Kan ej spara"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TempDir dir;
        c.prepare(dir);
        const CliRun run = runSie(dir, "import-sie " + good + " " + quoted(dir.file("F.bok")) + " --yes");
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir.file("F.bok")));
    }
    // The period file that was there is as it was.
    const TempDir dir;
    cases[0].prepare(dir);
    runSie(dir, "import-sie " + good + " " + quoted(dir.file("F.bok")) + " --yes");
    EXPECT_EQ(test::readFile(dir.file("F_perioder/F0.per")), "gammal");
}

// add-sie end to end: a payroll program's transaction file into the open
// period, shown first, added with --yes, refused when read again.
TEST(SieCli, AddSieAddsATransactionFileToTheOpenBooks) {
    const TempDir dir;
    const std::string company = dir.file("Firma.bok");
    ASSERT_EQ(
        runSie(dir, "new --template \"RIKSSVENSK BASKONTOMALL 247 ST KONTON\" --from 2024-01 --to 2024-12 " +
                        quoted(company))
            .status,
        0);
    const std::string payroll = dir.file("lon.si");
    test::writeFile(payroll,
                    "#FLAGGA 0\r\n#PROGRAM \"Lönesystem\" 2.0\r\n#SIETYP 4\r\n"
                    "#KONTO 7399 \"Förmåner, övrigt\"\r\n"
                    "#VER L 7 20240125 \"Lön januari\"\r\n{\r\n#TRANS 7010 {} 25000.00\r\n"
                    "#TRANS 7399 {} 500.00\r\n#TRANS 2710 {} -5500.00\r\n#TRANS 1930 {} -20000.00\r\n}\r\n");
    const CliRun looked = runSie(dir, "add-sie " + quoted(company) + " " + quoted(payroll));
    EXPECT_EQ(looked.status, 0) << looked.err;
    for (const std::string expected : {"Verifikat: 1 (blir nr 1)\n", "Summa debet: 25 500.00\n",
                                       "  7399  Förmåner, övrigt  (resultaträkningen",
                                       "  verifikat L 7 (2024-01-25) blir nr 1\n", "Inget har skrivits."}) {
        EXPECT_NE(looked.out.find(expected), std::string::npos) << expected << "\n" << looked.out;
    }
    CTallvingeDoc before;
    ASSERT_TRUE(openCompany(before, company).ok);
    EXPECT_TRUE(before.state().m_verifikat.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("Firma.kvdb"))); // looking writes no database

    const CliRun added = runSie(dir, "add-sie " + quoted(company) + " " + quoted(payroll) + " --yes");
    EXPECT_EQ(added.status, 0) << added.err;
    EXPECT_NE(added.out.find("1 verifikat lades till (nr 1)"), std::string::npos) << added.out;
    CTallvingeDoc after;
    ASSERT_TRUE(openCompany(after, company).ok);
    ASSERT_EQ(after.state().m_verifikat.size(), 1U);
    EXPECT_EQ(after.state().m_verifikat[0].m_rader.size(), 4U);
    EXPECT_GE(after.accountIndex(7399), 0);
    EXPECT_TRUE(std::filesystem::exists(dir.file("Firma_säkerhetskopior"))); // the company before it

    const CliRun again = runSie(dir, "add-sie " + quoted(company) + " " + quoted(payroll) + " --yes");
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(
        again.out.find("finns redan i bokföringen som verifikat 1 (samma datum och rader); det lästes in "),
        std::string::npos)
        << again.out;
    EXPECT_NE(again.out.find(" från lon.si.\n"), std::string::npos) << again.out;
    CTallvingeDoc unchanged;
    ASSERT_TRUE(openCompany(unchanged, company).ok);
    EXPECT_EQ(unchanged.state().m_verifikat.size(), 1U);
}

} // namespace
} // namespace kv
