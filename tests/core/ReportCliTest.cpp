// kvistoran-cli report: every refusal is one line on standard error and exit
// status 1; a range is the month range; a PDF of the printed pages.
#include "CliRunner.h"
#include "ReportTestCompany.h"
#include "TestSupport.h"

#include "reports/ReportDataFiles.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace kv::test {
namespace {

CliRun runReport(const TempDir& dir, const std::string& arguments) {
    return runCli(dir, "report " + arguments);
}

class ReportCli : public ::testing::Test {
protected:
    void SetUp() override {
        CTallvingeDoc doc;
        buildReportCompany(doc, dir.path());
        path = dir.file("Föreningen.bok");
        ASSERT_TRUE(saveCompany(doc, path).ok);
    }
    TempDir dir;
    std::string path;
};

TEST_F(ReportCli, RefusesBadInputWithOneLine) {
    const std::string company = "'" + path + "'";
    const std::string cases[] = {
        "trial-balance '" + dir.file("saknas.bok") + "'",
        "kassabok " + company,
        "income " + company + " --from 2025-03",
        "income " + company + " --from 2025-05 --to 2025-03",
        "income " + company + " --from 2024-11 --to 2025-03",
        "income " + company + " --from 2025-13 --to 2025-14",
        "ledger " + company + " --account 9999",
        "ledger " + company + " --format html",
        "income " + company + " --format pdf",
        "trial-balance " + company + " --format pdf --out '" + dir.file("saknas/ut.pdf") + "'",
        "trial-balance " + company + " --format xlsx",
        "trial-balance " + company + " --csv-sv --format json",
    };
    for (const std::string& arguments : cases) {
        const CliRun run = runReport(dir, arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_TRUE(run.out.empty()) << arguments;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << arguments << ": " << run.err;
    }
    EXPECT_FALSE(fileExists(dir.file("saknas/ut.pdf")));
}

TEST_F(ReportCli, RangeAndFormats) {
    const CliRun range = runReport(dir, "trial-balance '" + path + "' --from 2025-03 --to 2025-05");
    ASSERT_EQ(range.status, 0) << range.err;
    EXPECT_NE(range.out.find("Råbalans t.o.m. 5.2025"), std::string::npos);
    const CliRun json = runReport(dir, "income '" + path + "' --format json");
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("\"RÄK PER VINST / FÖRLUST\""), std::string::npos);
    const std::string pdf = dir.file("grundbok.pdf");
    const CliRun written = runReport(dir, "journal '" + path + "' --format pdf --out '" + pdf + "'");
    ASSERT_EQ(written.status, 0) << written.err;
    const std::string bytes = readFile(pdf);
    EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
    EXPECT_NE(bytes.find("/Type /Page "), std::string::npos);
    EXPECT_NE(bytes.find("(1 / 2) Tj"), std::string::npos); // 60 lines do not fit one A4 page
}

TEST_F(ReportCli, DataFormatsWriteTheReportsTable) {
    CTallvingeDoc doc;
    ASSERT_TRUE(openCompany(doc, path).ok);
    const CliRun csv = runReport(dir, "ledger '" + path + "' --account 1050 --csv-sv");
    ASSERT_EQ(csv.status, 0) << csv.err;
    EXPECT_EQ(csv.out, reportCsv(ledgerData(doc, 1050), kCsvSwedish));
    const CliRun json = runReport(dir, "trial-balance '" + path + "' --format json");
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out, reportJson(trialBalanceData(doc)));
    const std::string xlsx = dir.file("råbalans.xlsx");
    const CliRun written = runReport(dir, "trial-balance '" + path + "' --format xlsx --out '" + xlsx + "'");
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_TRUE(written.out.empty());
    EXPECT_EQ(readFile(xlsx).substr(0, 2), "PK");
}

} // namespace
} // namespace kv::test
