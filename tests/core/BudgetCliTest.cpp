// kvistoran-cli budget and report budget, run as a user would run them.
#include "BudgetTestCompany.h"

#include "budget/Budget.h"
#include "storage/CompanyDatabase.h"
#include "storage/FileIo.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace kv::test {
namespace {

class BudgetCli : public ::testing::Test {
protected:
    void SetUp() override {
        path = saveTwoYearCompany(dir);
        company = test::quoted(path);
    }
    CliRun run(const std::string& arguments) { return runCli(dir, arguments); }
    TempDir dir;
    std::string path;
    std::string company;
};

TEST_F(BudgetCli, SetsAndCopiesTheOpenPeriodsBudgetAndRefusesBadInput) {
    const CliRun none = run("budget " + company);
    ASSERT_EQ(none.status, 0) << none.err;
    EXPECT_NE(none.out.find("Ingen budget finns för perioden."), std::string::npos) << none.out;
    EXPECT_FALSE(fileExists(companyDatabasePath(path)));

    const std::string files = readFile(path) + readFile(periodFilePath(path, 1));
    for (const auto& [arguments, said] : {
             std::pair{"budget " + company + " --set 9999=100", std::string("kontot 9999 finns inte")},
             std::pair{"budget " + company + " --set 3000=12kr", std::string(kMsgBudgetGeEttSiffervarde)},
             std::pair{"budget " + company + " --set 3000=1000000000", std::string(kMsgBudgetStorstaTal)},
             std::pair{"budget " + company + " --set 3000", std::string("KONTO=BELOPP")},
             std::pair{"budget " + company + " --copy-outcome --change tio", std::string("procent")},
             std::pair{"budget " + company + " --copy-budget", std::string(kMsgBudgetIngenForegaendeBudget)},
             std::pair{"budget " + test::quoted(dir.file("saknas.bok")), std::string("saknas.bok")},
         }) {
        const CliRun refused = run(arguments);
        EXPECT_EQ(refused.status, 1) << arguments;
        EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << refused.err;
        EXPECT_NE(refused.err.find(said), std::string::npos) << refused.err;
    }
    EXPECT_FALSE(fileExists(companyDatabasePath(path)));

    const CliRun set = run("budget " + company + " --set 3000=3600 5010=-1200,00 --set 4000=-1000");
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_NE(set.out.find("Budget  1.2013 - 12.2013"), std::string::npos) << set.out;
    EXPECT_NE(set.out.find("3 600.00"), std::string::npos) << set.out;
    EXPECT_NE(set.out.find("-83.34"), std::string::npos) << set.out; // -1 000 over twelve months
    EXPECT_EQ(run("budget " + company).out, set.out);

    const CliRun copied = run("budget " + company + " --copy-outcome --change 10");
    ASSERT_EQ(copied.status, 0) << copied.err;
    EXPECT_NE(copied.out.find("3 300.00"), std::string::npos) << copied.out;  // 3 000 + 10 %
    EXPECT_NE(copied.out.find("-1 320.00"), std::string::npos) << copied.out; // 1 200 + 10 %
    // The company's files are not touched by the budget.
    EXPECT_EQ(readFile(path) + readFile(periodFilePath(path, 1)), files);
}

TEST_F(BudgetCli, ReportInEveryFormat) {
    const CliRun without = run("report budget " + company);
    ASSERT_EQ(without.status, 0) << without.err;
    EXPECT_NE(without.out.find("Ingen budget finns för perioden."), std::string::npos) << without.out;

    ASSERT_EQ(run("budget " + company + " --set 3000=3600 5010=-1200 4000=-1000").status, 0);
    const CliRun text = run("report budget " + company + " --from 2013-01 --to 2013-03");
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("Budget och utfall  1.2013 - 12.2013"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("Månader: 1.2013 - 3.2013"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("3 100.00"), std::string::npos) << text.out; // 4 000 against 900

    const CliRun csv = run("report budget " + company + " --format csv");
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_NE(csv.out.find("konto,3000,Försäljning,4000.00,3600.00,400.00,11.11,3000.00\r\n"),
              std::string::npos)
        << csv.out;

    const CliRun json = run("report budget " + company + " --format json");
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json parsed = nlohmann::json::parse(json.out);
    EXPECT_EQ(parsed["rapport"], "budget");
    EXPECT_EQ(parsed["titel"], "Budget och utfall");
    bool result = false;
    for (const auto& record : parsed["rader"]) {
        if (record["namn"] == "RESULTAT") {
            result = true;
            EXPECT_EQ(record["slag"], "summa");
            EXPECT_EQ(record["utfall"], 3100.00);
            EXPECT_EQ(record["budget"], 1400.00);
            EXPECT_EQ(record["avvikelse"], 1700.00);
            EXPECT_EQ(record["föregående_år"], 1000.00);
        }
    }
    EXPECT_TRUE(result) << json.out;

    const std::string pdf = dir.file("budget.pdf");
    const CliRun written = run("report budget " + company + " --format pdf --out " + test::quoted(pdf));
    ASSERT_EQ(written.status, 0) << written.err;
    const std::string bytes = readFile(pdf);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_NE(bytes.find("(Budget och utfall) Tj"), std::string::npos);
    EXPECT_NE(bytes.find("(121.4) Tj"), std::string::npos);
}

} // namespace
} // namespace kv::test
