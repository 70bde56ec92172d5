// Every report of one hand-built association, as text and CSV, against the
// files in expected/: a change of any report shows as a difference. After a
// change that is meant, KV_UPDATE_EXPECTED=1 writes the files anew.
#include "ReportTestCompany.h"
#include "TestSupport.h"

#include "reports/MonthRangeModel.h"
#include "reports/ReportKinds.h"
#include "reports/ReportText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace kv::test {
namespace {

struct Case {
    const char* file;
    ReportKind kind;
    bool marchToMay;
    std::optional<std::int32_t> account;
    bool csv;
};

std::string expectedPath(const std::string& name) {
    return std::string(KVISTORAN_EXPECTED_DIR) + "/" + name;
}

std::string produced(const CTallvingeDoc& doc, const Case& c) {
    std::string out;
    for (const ReportForm& form : reportForms(doc, c.kind, c.account)) {
        out += c.csv ? formAsCsv(form) : formAsText(form);
    }
    return out;
}

TEST(ReportOutput, EveryReportMatchesItsExpectedFile) {
    const Case cases[] = {
        {"trial-balance.txt", ReportKind::TrialBalance, false, std::nullopt, false},
        {"trial-balance.csv", ReportKind::TrialBalance, false, std::nullopt, true},
        {"trial-balance-mar-may.txt", ReportKind::TrialBalance, true, std::nullopt, false},
        {"income.txt", ReportKind::Income, false, std::nullopt, false},
        {"income.csv", ReportKind::Income, false, std::nullopt, true},
        {"income-mar-may.txt", ReportKind::Income, true, std::nullopt, false},
        {"balance.txt", ReportKind::Balance, false, std::nullopt, false},
        {"balance-mar-may.txt", ReportKind::Balance, true, std::nullopt, false},
        {"ledger-1050.txt", ReportKind::Ledger, false, 1050, false},
        {"ledger-1050-mar-may.txt", ReportKind::Ledger, true, 1050, false},
        {"ledger-2090-mar-may.txt", ReportKind::Ledger, true, 2090, false},
        {"ledger.csv", ReportKind::Ledger, false, std::nullopt, true},
        {"journal.txt", ReportKind::Journal, false, std::nullopt, false},
    };
    TempDir templates;
    CTallvingeDoc doc;
    buildReportCompany(doc, templates.path());
    const bool update = std::getenv("KV_UPDATE_EXPECTED") != nullptr;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        doc.setMonthRange(c.marchToMay ? std::optional<MonthRange>(MonthRange{{2025, 3}, {2025, 5}})
                                       : std::nullopt);
        const std::string text = produced(doc, c);
        if (update) {
            std::ofstream(expectedPath(c.file), std::ios::binary) << text;
            continue;
        }
        std::ifstream file(expectedPath(c.file), std::ios::binary);
        ASSERT_TRUE(file.good()) << "missing " << expectedPath(c.file);
        std::stringstream expected;
        expected << file.rdbuf();
        EXPECT_EQ(expected.str(), text);
    }
}

} // namespace
} // namespace kv::test
