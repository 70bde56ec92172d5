// "Momsrapport": the figures of one Swedish and one Finland-Swedish company,
// the report as text and CSV against the files in expected/ (after a change
// that is meant, KV_UPDATE_EXPECTED=1 writes them anew), the default range,
// the settlement voucher and the command line.
#include "CliRunner.h"
#include "TestSupport.h"
#include "VatTestCompanies.h"

#include "reports/PdfWriter.h"
#include "reports/ReportKinds.h"
#include "reports/ReportText.h"
#include "reports/VatReport.h"
#include "storage/CompanyFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace kv::test {
namespace {

std::string expectedPath(const std::string& name) {
    return std::string(KVISTORAN_EXPECTED_DIR) + "/" + name;
}

void expectMatchesFile(const std::string& name, const std::string& text) {
    SCOPED_TRACE(name);
    if (std::getenv("KV_UPDATE_EXPECTED") != nullptr) {
        std::ofstream(expectedPath(name), std::ios::binary) << text;
        return;
    }
    std::ifstream file(expectedPath(name), std::ios::binary);
    ASSERT_TRUE(file.good()) << "missing " << expectedPath(name);
    std::stringstream expected;
    expected << file.rdbuf();
    EXPECT_EQ(expected.str(), text);
}

std::string asText(const VatReport& report) {
    return formAsText(vatReportForm(report, ScreenMeasures{}));
}

const VatAccountGroup& groupOf(const VatReport& report, std::int32_t account) {
    for (const VatAccountGroup& group : report.groups) {
        if (group.account == account) {
            return group;
        }
    }
    throw std::runtime_error("no group " + std::to_string(account));
}

const VatBox& boxOf(const VatReport& report, const std::string& code) {
    for (const VatBox& box : report.boxes) {
        if (box.code == code) {
            return box;
        }
    }
    throw std::runtime_error("no box " + code);
}

class VatReportBas : public ::testing::Test {
protected:
    void SetUp() override { buildBasVatCompany(doc, templates.path()); }
    TempDir templates;
    CTallvingeDoc doc;
    const VatRange novemberToJanuary{{2025, 11}, {2026, 1}, false};
};

TEST_F(VatReportBas, AddsUpTheMonthsAcrossTheYearEnd) {
    const VatReport report = buildVatReport(doc, novemberToJanuary);
    ASSERT_TRUE(report.shown);
    ASSERT_EQ(report.groups.size(), 2U);
    const VatAccountGroup& output = groupOf(report, 2610);
    EXPECT_EQ(output.side, VatSide::Sales);
    ASSERT_EQ(output.rules.size(), 3U); // 3010 once, though two rules name it
    EXPECT_EQ(output.rules[0].account, 3010);
    // 10 000 - 2 000 (the credit note) + 987.65; October is outside the months.
    EXPECT_EQ(output.rules[0].net, 898765);
    EXPECT_EQ(output.rules[0].implied, 224691); // 2 246.9125
    EXPECT_EQ(output.booked, 239691);
    EXPECT_EQ(output.implied, 239691);
    const VatAccountGroup& input = groupOf(report, 2640);
    EXPECT_EQ(input.booked, 100000);
    EXPECT_EQ(input.implied, 120000); // the diesel without its VAT line
    EXPECT_EQ(input.difference(), -20000);
    EXPECT_FALSE(report.agrees());
    EXPECT_EQ(report.toPay(), 139691);
}

TEST_F(VatReportBas, FillsTheSwedishBoxesInWholeKronor) {
    const VatReport report = buildVatReport(doc, novemberToJanuary);
    ASSERT_TRUE(report.swedish);
    EXPECT_EQ(boxOf(report, "05").exact, 1048765);
    EXPECT_EQ(boxOf(report, "05").kronor, 10487);
    EXPECT_EQ(boxOf(report, "10").exact, 224691);
    EXPECT_EQ(boxOf(report, "10").kronor, 2246);
    EXPECT_EQ(boxOf(report, "11").kronor, 120);
    EXPECT_EQ(boxOf(report, "12").kronor, 30);
    EXPECT_EQ(boxOf(report, "48").kronor, 1000);
    EXPECT_EQ(boxOf(report, "49").exact, 139691);
    EXPECT_EQ(boxOf(report, "49").kronor, 1396); // 2 246 + 120 + 30 - 1 000
    EXPECT_EQ(wholeKronorText(-1234567), "-1 234 567");
}

// February has only a purchase: VAT to get back, said in words on the
// screen and the page, with its minus sign kept in the data.
TEST_F(VatReportBas, ARefundIsSaidWithoutAMinusSign) {
    const VatReport report = buildVatReport(doc, VatRange{{2026, 2}, {2026, 2}, false});
    ASSERT_TRUE(report.swedish);
    const VatBox& refund = boxOf(report, "49");
    EXPECT_EQ(refund.label, "Moms att få tillbaka");
    EXPECT_EQ(refund.exact, -5000);
    EXPECT_EQ(refund.kronor, -50);
    const std::string shown = formAsText(vatReportForm(report, {}));
    const std::string line = shown.substr(shown.find("Moms att få tillbaka"));
    EXPECT_EQ(line.substr(0, line.find('\n')).find('-'), std::string::npos) << line;
    EXPECT_NE(line.find("50.00"), std::string::npos) << line;
    int printedLines = 0;
    for (const CUtskriftsrad& printed : vatReportListing(report, doc, a4PdfDevice()).lines) {
        if (printed.m_text[2] == "Moms att få tillbaka") {
            ++printedLines;
            EXPECT_EQ(printed.m_text[6], "50");
            EXPECT_EQ(printed.m_text[7], "50.00");
        }
    }
    EXPECT_EQ(printedLines, 1);
}

TEST_F(VatReportBas, DefaultsToTheLastQuarterWithVouchers) {
    const auto range = defaultVatRange(doc);
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(range->from, (YearMonth{2026, 1}));
    EXPECT_EQ(range->to, (YearMonth{2026, 3}));
    EXPECT_TRUE(range->defaulted);
    // A month range chosen as in "Månadsbokslut" is the report's.
    doc.setMonthRange(MonthRange{{2025, 11}, {2026, 1}});
    EXPECT_EQ(vatRangeInForce(doc)->from, (YearMonth{2025, 11}));
    EXPECT_FALSE(vatRangeInForce(doc)->defaulted);
}

TEST_F(VatReportBas, MatchesTheExpectedFiles) {
    expectMatchesFile("vat-bas-nov-jan.txt", asText(buildVatReport(doc, novemberToJanuary)));
    expectMatchesFile("vat-bas-nov-jan.csv",
                      formAsCsv(vatReportForm(buildVatReport(doc, novemberToJanuary), {})));
    std::string forms;
    for (const ReportForm& form : reportForms(doc, ReportKind::Vat)) {
        forms += formAsText(form);
    }
    expectMatchesFile("vat-bas-default.txt", forms);
}

TEST_F(VatReportBas, ProposesTheSettlementAndLeavesItOutOnceBooked) {
    const VatReport report = buildVatReport(doc, novemberToJanuary);
    const auto settlement = proposeVatSettlement(report, kBasVatSettlementAccount);
    ASSERT_TRUE(settlement.has_value());
    EXPECT_EQ(settlement->text, "Momsavräkning 11.2025 - 1.2026");
    EXPECT_EQ(settlement->date, (CalendarDate{31, 1, 2026}));
    ASSERT_EQ(settlement->lines.size(), 3U);
    EXPECT_EQ(settlement->lines[0].account, 2610);
    EXPECT_EQ(settlement->lines[0].debit, 239691);
    EXPECT_EQ(settlement->lines[1].account, 2640);
    EXPECT_EQ(settlement->lines[1].credit, 100000);
    EXPECT_EQ(settlement->lines[2].account, 2650);
    EXPECT_EQ(settlement->lines[2].credit, 139691);
    EXPECT_EQ(
        settlementClipboardText(*settlement, doc).substr(0, 60),
        std::string("2610\tUtgående moms\tMomsavräkning 11.2025 - 1.2026\t2396.91\t\n2640").substr(0, 60));

    std::vector<ReportLine> lines;
    for (const VatSettlementLine& line : settlement->lines) {
        lines.push_back({line.account, toKronor(line.debit), toKronor(line.credit), ""});
    }
    registerVatVouchers(doc, {{31, 1, 2026, settlement->text, lines}});
    const VatReport after = buildVatReport(doc, novemberToJanuary);
    EXPECT_EQ(after.outputBooked, report.outputBooked);
    EXPECT_EQ(after.inputBooked, report.inputBooked);
    ASSERT_EQ(after.settlements.size(), 1U);
    EXPECT_EQ(after.settlements[0], 10);
}

TEST_F(VatReportBas, OneVatAccountForBothSidesIsSplitByDebitAndCredit) {
    doc.setVatRules(
        {vatRule(25, true, 3010, 2610, "Försäljning 25%"), vatRule(25, false, 4010, 2610, "Inköp 25%")});
    registerVatVouchers(
        doc, {{10, 2, 2026, "Kontant", {{1930, 1250, 0, ""}, {3010, 0, 1000, ""}, {2610, 0, 250, ""}}},
              {11, 2, 2026, "Inköp", {{4010, 400, 0, ""}, {2610, 100, 0, ""}, {1930, 0, 500, ""}}}});
    const VatReport report = buildVatReport(doc, VatRange{{2026, 2}, {2026, 2}, false});
    EXPECT_EQ(report.outputBooked, 25000);
    EXPECT_EQ(report.inputBooked, 10000);
    EXPECT_EQ(report.inputImplied, 15000); // 200 + 400 net; February's first purchase put its VAT on 2640
    EXPECT_EQ(report.toPay(), 15000);
    ASSERT_FALSE(report.notes.empty());
    EXPECT_NE(report.notes.front().find("både utgående och ingående"), std::string::npos);
}

class VatReportFinland : public ::testing::Test {
protected:
    void SetUp() override { buildFinlandVatCompany(doc, templates.path()); }
    TempDir templates;
    CTallvingeDoc doc;
};

TEST_F(VatReportFinland, ShowsTheRulesWithTheirTotalsAndNoBoxes) {
    const VatReport report = buildVatReport(doc);
    ASSERT_TRUE(report.shown);
    EXPECT_EQ(report.range.from, (YearMonth{2025, 4}));
    EXPECT_EQ(report.range.to, (YearMonth{2025, 6}));
    EXPECT_FALSE(report.swedish);
    EXPECT_TRUE(report.boxes.empty());
    EXPECT_EQ(report.outputBooked, 118500);          // 1 100 + 85
    EXPECT_EQ(report.outputImplied, 118500 + 2592);  // 324 × 8 % = 25.92 missing
    EXPECT_EQ(groupOf(report, 1717).booked, 35208);  // 440 - 110 + 22.08
    EXPECT_EQ(groupOf(report, 1717).implied, 35208); // (2 000 - 500) × 22 % + 100.37 × 22 %
    EXPECT_EQ(groupOf(report, 1719).booked, 2000);
    EXPECT_EQ(report.toPay(), 118500 - 37208);
    // No 2650 in this chart: the settlement goes where the user says.
    const auto settlement = proposeVatSettlement(report, 2936);
    ASSERT_TRUE(settlement.has_value());
    EXPECT_EQ(settlement->lines.back().account, 2936);
    EXPECT_EQ(settlement->lines.back().credit, 118500 - 37208);
}

TEST_F(VatReportFinland, MatchesTheExpectedFiles) {
    expectMatchesFile("vat-fi-default.txt", asText(buildVatReport(doc)));
    expectMatchesFile("vat-fi-year.txt", asText(buildVatReport(doc, VatRange{{2025, 1}, {2025, 12}, false})));
}

TEST_F(VatReportFinland, PrintsItsListing) {
    const Listing listing = vatReportListing(buildVatReport(doc), doc, a4PdfDevice());
    ASSERT_GT(listing.size(), 10U);
    EXPECT_EQ(listing.heading.front().text, "Momsrapport");
    const std::string pdf = pdfDocument(
        {layoutListingPage(listing, a4PdfDevice(), HelveticaMeasurer(), linesPerPageOn(a4PdfDevice()), 1)},
        "Momsrapport");
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
}

CliRun runReport(const TempDir& dir, const std::string& arguments) {
    return runCli(dir, "report " + arguments);
}

TEST(VatReportCli, WritesTheReportOfTheMonthsAskedFor) {
    TempDir dir;
    CTallvingeDoc doc;
    buildBasVatCompany(doc, dir.path());
    const std::string path = dir.file("Handelsbod.bok");
    ASSERT_TRUE(saveCompany(doc, path).ok);
    const std::string company = "'" + path + "'";

    const CliRun text = runReport(dir, "vat " + company + " --from 2025-11 --to 2026-01");
    ASSERT_EQ(text.status, 0) << text.err;
    CTallvingeDoc reopened;
    ASSERT_TRUE(openCompany(reopened, path).ok);
    std::string expected = formAsText(reportForms(reopened, ReportKind::Vat).front());
    expected += asText(buildVatReport(reopened, VatRange{{2025, 11}, {2026, 1}, false}));
    EXPECT_EQ(text.out, expected);

    const CliRun json = runReport(dir, "vat " + company + " --format json");
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("\"moms_att_betala\": 196.91"), std::string::npos); // 246.91 - 50.00
    const auto parsed = nlohmann::json::parse(json.out);
    EXPECT_EQ(parsed["månader"]["text"], "1.2026 - 3.2026");
    EXPECT_EQ(parsed["månader"]["från"], "2026-01");
    EXPECT_NE(parsed["noter"][0].get<std::string>().find("senaste kvartalet med verifikat"),
              std::string::npos);
    std::vector<nlohmann::json> boxes;
    for (const auto& row : parsed["rader"]) {
        if (row["del"] == "ruta") {
            boxes.push_back(row);
        }
    }
    ASSERT_EQ(boxes.size(), 6U);
    EXPECT_EQ(boxes[5]["ruta"], "49");
    EXPECT_EQ(boxes[5]["kronor"], 196);

    const CliRun whole = runReport(dir, "vat " + company + " --from 2025-07 --to 2026-06 --format json");
    ASSERT_EQ(whole.status, 0) << whole.err;
    EXPECT_EQ(nlohmann::json::parse(whole.out)["månader"]["text"], "7.2025 - 6.2026");

    const CliRun pdf = runReport(dir, "vat " + company + " --format pdf");
    ASSERT_EQ(pdf.status, 0) << pdf.err;
    EXPECT_EQ(pdf.out.substr(0, 5), "%PDF-");

    const CliRun outside = runReport(dir, "vat " + company + " --from 2025-01 --to 2025-03");
    EXPECT_EQ(outside.status, 1);
    EXPECT_NE(outside.err.find("inom perioden"), std::string::npos);
}

} // namespace
} // namespace kv::test
