// The small company of the budget tests: 2012 with the period tests' known
// year (result 1 000), then 2013 opened with "Ny period" and booked: sales
// of 4 000 in March, membership fees of 600 in January, rent of 1 500 in April.
#pragma once

#include "CliRunner.h"
#include "PeriodTestSupport.h"

#include "storage/CompanyFiles.h"
#include "storage/LocalClock.h"

#include <gtest/gtest.h>

namespace kv::test {

inline LocalTime fixedBudgetTime() {
    return {2026, 12, 10, 9, 30, 0};
}

// Firma.bok in dir with the two years, the second open and saved.
inline std::string saveTwoYearCompany(const TempDir& dir) {
    const std::string path = dir.file("Firma.bok");
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    postFirstYear(doc);
    EXPECT_TRUE(saveCompany(doc, path).ok);
    EXPECT_EQ(runCli(dir, "new-period " + test::quoted(path) + " --to 2013-12").status, 0);
    CTallvingeDoc next;
    EXPECT_TRUE(openCompany(next, path).ok);
    postVoucher(next, 20, 3, 2013, {{1930, 4000, 0}, {3000, 0, 4000}});
    postVoucher(next, 10, 1, 2013, {{1930, 600, 0}, {3010, 0, 600}});
    postVoucher(next, 30, 4, 2013, {{5010, 1500, 0}, {1930, 0, 1500}});
    EXPECT_TRUE(saveCompany(next, path).ok);
    return path;
}

} // namespace kv::test
