// kvistoran-cli export-sie and import-sie, run as a user would.
#include "CliRunner.h"
#include "SieTestSupport.h"
#include "TestSupport.h"

#include "sie/SieBooks.h"
#include "storage/CompanyFiles.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

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

} // namespace
} // namespace kv
