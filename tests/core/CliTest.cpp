// Runs the command-line tool as a user would.
#include "CliRunner.h"
#include "TestSupport.h"

#include "KvistoranVersion.h"
#include "app/AppTexts.h"
#include "app/StartUp.h"
#include "storage/CompanyBackups.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>

namespace kv {
namespace {

using test::buildSmallCompany;
using test::CliRun;
using test::postVoucher;
using test::quoted;
using test::readFile;
using test::runCli;
using test::TempDir;
using test::writeFile;

std::string savedCompany(const TempDir& dir) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    postVoucher(doc, 5, 2, 2012, {{1930, 1250.75, 0}, {3000, 0, 1250.75}});
    test::loadEdited(doc,
                     [](CompanyState& s) { s.m_allaKonton.front()->m_strKolumn2 = "Intäkter – övriga"; });
    const std::string path = dir.file("Firma.bok");
    EXPECT_TRUE(saveCompany(doc, path).ok);
    return path;
}

TEST(Cli, DumpsACompanyFileWithItsFieldNames) {
    TempDir dir;
    const std::string path = savedCompany(dir);
    const CliRun run = runCli(dir, "dump " + quoted(path));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto json = nlohmann::ordered_json::parse(run.out);
    EXPECT_EQ(json.begin().key(), "m_nNastaVernr");
    EXPECT_EQ(json["m_nNastaVernr"], 2);
    EXPECT_TRUE(json["m_pBalansGrid"].is_null());
    EXPECT_EQ(json["m_strFilnamn"], "Firma.bok");
    EXPECT_EQ(json["m_allaKonton"][0]["m_strKolumn2"], "Intäkter – övriga");
    // The subsets are positions in the owning list.
    const auto& res = json["m_resKonton"];
    const auto& bal = json["m_balKonton"];
    EXPECT_EQ(res[0], 0);
    EXPECT_EQ(bal[0], res.size());
    EXPECT_EQ(json["m_verifikat"][0]["m_rader"][0]["m_dDebet"], 1250.75);
    EXPECT_EQ(json["m_perioder"][0]["m_nTillAr"], 2012);
}

TEST(Cli, DumpsPeriodAndTemplateFiles) {
    TempDir dir;
    savedCompany(dir);
    const CliRun period = runCli(dir, "dump " + quoted(dir.file("Firma_perioder/Firma0.per")));
    ASSERT_EQ(period.status, 0) << period.err;
    const auto json = nlohmann::ordered_json::parse(period.out);
    EXPECT_EQ(json.begin().key(), "m_strFilnamn");
    EXPECT_EQ(json["m_strFilnamn"], "Firma.bok");
    EXPECT_FALSE(json.contains("m_perioder"));
    EXPECT_FALSE(json.contains("m_strEnhet"));

    writeFile(dir.file("mallar.mal"), std::string("\x00\x00", 2));
    const CliRun templates = runCli(dir, "dump " + quoted(dir.file("mallar.mal")));
    ASSERT_EQ(templates.status, 0) << templates.err;
    EXPECT_TRUE(nlohmann::json::parse(templates.out).is_array());
}

TEST(Cli, ResaveWritesTheSameBytesAndThePeriodFile) {
    TempDir dir;
    TempDir other;
    const std::string path = savedCompany(dir);
    const std::string target = other.file("Firma.bok");
    const CliRun run = runCli(dir, "resave " + quoted(path) + " " + quoted(target));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty());
    // Same file name and same first three characters of the path: same bytes.
    EXPECT_EQ(readFile(target), readFile(path));
    EXPECT_EQ(readFile(other.file("Firma_perioder/Firma0.per")),
              readFile(dir.file("Firma_perioder/Firma0.per")));
}

TEST(Cli, ResaveTakesTheDatabaseAlongAndNeverMixesItWithAnother) {
    TempDir dir;
    TempDir other;
    const std::string path = savedCompany(dir);
    const std::vector<BankRule> rules = {
        {"telia", BankTextMatch::Contains, BankAmountSign::Out, {}, {}, 6211, 0}};
    writeBankRules(path, rules);
    const std::string target = other.file("Kopia.bok");
    ASSERT_EQ(runCli(dir, "resave " + quoted(path) + " " + quoted(target)).status, 0);
    EXPECT_EQ(readBankRules(target), rules);

    // A database already at the new name is refused before anything is written.
    writeBankRules(target, {});
    const std::string company = readFile(target);
    const CliRun again = runCli(dir, "resave " + quoted(path) + " " + quoted(target));
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.err.find("Kopia.kvdb finns redan"), std::string::npos) << again.err;
    EXPECT_EQ(readFile(target), company);
    EXPECT_TRUE(readBankRules(target).empty());
}

TEST(Cli, ResaveToARelativePathStoresTheStartOfTheFullPath) {
    TempDir dir;
    const std::string path = savedCompany(dir);
    std::filesystem::create_directory(dir.file("ut"));
    const CliRun run =
        runCli(dir, "resave " + quoted(path) + " ut/Kopia.bok", "cd " + quoted(dir.path()) + " &&");
    ASSERT_EQ(run.status, 0) << run.err;
    CTallvingeDoc doc;
    ASSERT_TRUE(openCompany(doc, dir.file("ut/Kopia.bok")).ok);
    EXPECT_EQ(doc.state().m_strEnhet, dir.path().substr(0, 3));
    EXPECT_EQ(doc.state().m_strFilnamn, "Kopia.bok");
    EXPECT_TRUE(std::filesystem::exists(dir.file("ut/Kopia_perioder/Kopia0.per")));
}

TEST(Cli, BadFilesAndArgumentsGiveOneLineAndNoOutput) {
    TempDir dir;
    const std::string path = savedCompany(dir);
    const std::string bytes = readFile(path);
    writeFile(dir.file("Trasig.bok"), bytes.substr(0, 40));

    for (const std::string& arguments :
         {"dump " + quoted(dir.file("Trasig.bok")), "dump " + quoted(dir.file("saknas.bok")),
          "dump " + quoted(path + ".txt"),
          "resave " + quoted(dir.file("Trasig.bok")) + " " + quoted(dir.file("Ny.bok")),
          std::string("resave"), std::string("klipp")}) {
        const CliRun run = runCli(dir, arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_TRUE(run.out.empty()) << arguments;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << arguments << ": " << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("Ny.bok")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("Ny_perioder")));

    const CliRun help = runCli(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("resave"), std::string::npos);
}

TEST(Cli, ResaveOverACompanyKeepsABackupThatBackupsListsAndRestoreTakesBack) {
    TempDir dir;
    const std::string path = savedCompany(dir);
    const std::string before = readFile(path);
    ASSERT_EQ(runCli(dir, "resave " + quoted(path) + " " + quoted(path)).status, 0);
    const CliRun none = runCli(dir, "backups " + quoted(dir.file("Annan.bok")));
    EXPECT_EQ(none.status, 0);
    EXPECT_TRUE(none.out.empty());

    const CliRun list = runCli(dir, "backups " + quoted(path));
    ASSERT_EQ(list.status, 0) << list.err;
    const auto lines = std::count(list.out.begin(), list.out.end(), '\n');
    ASSERT_EQ(lines, 2) << list.out;
    EXPECT_TRUE(list.out.starts_with("Namn\tSparad\tPeriod\tVerifikat\tSenaste verifikat\tAnmärkning\n"));
    const std::string row = list.out.substr(list.out.find('\n') + 1);
    const std::string name = row.substr(0, row.find('\t'));
    ASSERT_TRUE(parseBackupFolderName(name)) << row;
    EXPECT_NE(row.find("\t1.2012 - 12.2012\t1\t2012-02-05  Verifikat 1\t\n"), std::string::npos) << row;

    const CliRun restore =
        runCli(dir, "restore " + quoted(path) + " " + name + " " + quoted(dir.file("Kopia.bok")));
    ASSERT_EQ(restore.status, 0) << restore.err;
    EXPECT_EQ(readFile(path), readFile(backupFolderPath(path) + name + "/Firma.bok"));
    CTallvingeDoc copy;
    ASSERT_TRUE(openCompany(copy, dir.file("Kopia.bok")).ok);
    EXPECT_EQ(copy.state().m_verifikat.size(), 1U);
    EXPECT_TRUE(std::filesystem::exists(dir.file("Kopia_perioder/Kopia0.per")));
    EXPECT_EQ(readFile(backupFolderPath(path) + name + "/Firma.bok"), before);

    // Never over a company, and only a backup of the list.
    for (const std::string& arguments :
         {"restore " + quoted(path) + " " + name + " " + quoted(path),
          "restore " + quoted(path) + " " + name + " " + quoted(dir.file("Kopia.bok")),
          "restore " + quoted(path) + " 2024-01-01 " + quoted(dir.file("Ny.bok")),
          "restore " + quoted(path) + " " + name + " " + quoted(dir.file("Ny.txt")),
          std::string("backups")}) {
        const CliRun run = runCli(dir, arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << arguments << ": " << run.err;
    }
    EXPECT_EQ(readFile(path), before);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Ny.bok")));
}

} // namespace
} // namespace kv

namespace kv {
namespace {

using test::CliRun;
using test::TempDir;

// The version comes from the project's version alone: the tool, the window
// program's --version and its about line all state the same one.
TEST(Cli, VersionIsTheProjectsVersionEverywhere) {
    TempDir dir;
    const std::string version = KVISTORAN_VERSION;
    ASSERT_FALSE(version.empty());
    EXPECT_EQ(version.find_first_not_of("0123456789."), std::string::npos) << version;
    for (const std::string option : {"--version", "-v"}) {
        const CliRun run = runCli(dir, option);
        EXPECT_EQ(run.status, 0) << option;
        EXPECT_EQ(run.out, "kvistoran-cli (Kvistoran) " + version + "\n") << option;
        EXPECT_TRUE(run.err.empty()) << option;
    }
    EXPECT_EQ(std::string(kVersionText), "Kvistoran " + version + "\n");
    EXPECT_EQ(std::string(kAboutLine), "Kvistoran version " + version + "  (dec 2012)");
    EXPECT_NE(runCli(dir, "--help").out.find("kvistoran-cli --version"), std::string::npos);
}

} // namespace
} // namespace kv
