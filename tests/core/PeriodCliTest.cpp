// kvistoran-cli periods and new-period, run as a user would run them.
#include "CliRunner.h"
#include "PeriodTestSupport.h"

#include "model/DocumentTexts.h"
#include "storage/CompanyFiles.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace kv {
namespace {

using test::CliRun;
using test::readFile;
using test::runCli;
using test::TempDir;

TEST(PeriodCli, NewPeriodRefusesAsTheMenuDoesAndWritesNothing) {
    TempDir dir;
    const std::string path = dir.file("Firma.bok");
    CTallvingeDoc doc;
    test::buildSmallCompany(doc);
    test::postFirstYear(doc);
    ASSERT_TRUE(saveCompany(doc, path).ok);
    CTallvingeDoc broken;
    test::buildSmallCompany(broken);
    test::loadEdited(broken, [](CompanyState& c) { c.m_balKonton[8]->m_strKolumn2 = ""; });
    ASSERT_TRUE(saveCompany(broken, dir.file("Trasig.bok")).ok);

    const std::string company = readFile(path);
    for (const auto& [arguments, said] :
         {std::pair{"new-period '" + path + "' --to 2012-12", std::string(kMsgSlutdatumMindre)},
          std::pair{"new-period '" + dir.file("Trasig.bok") + "' --to 2013-12",
                    std::string(kMsgVinstkontoSaknas)},
          std::pair{"new-period '" + path + "' --to 2013-13", std::string("2013-13")},
          std::pair{"new-period '" + path + "'", std::string("--to")}}) {
        const CliRun run = runCli(dir, arguments);
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
    }
    EXPECT_EQ(readFile(path), company);

    EXPECT_EQ(runCli(dir, "periods '" + path + "'").out, "* 01.2012  -  12.2012\n");
    ASSERT_EQ(runCli(dir, "new-period '" + path + "' --to 2013-12").status, 0);
    ASSERT_EQ(runCli(dir, "new-period --to 2014-12 '" + path + "'").status, 0);
    EXPECT_EQ(runCli(dir, "periods '" + path + "'").out,
              "  01.2012  -  12.2012   ( låst )\n  01.2013  -  12.2013\n* 01.2014  -  12.2014\n");
    // Every year is in its own file, the last one included.
    CTallvingeDoc reader;
    ASSERT_TRUE(openCompany(reader, path).ok);
    for (int index = 0; index < 3; ++index) {
        const PeriodFileContents year = loadPeriodFile(reader, index);
        ASSERT_TRUE(year.report.ok) << index;
        EXPECT_EQ(year.period.m_verifikat.size(), index == 0 ? 6U : 0U);
    }
}

} // namespace
} // namespace kv
