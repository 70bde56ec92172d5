// The renderings of a report: amounts, text columns, CSV and the PDF file.
#include "reports/PdfWriter.h"
#include "reports/ReportText.h"

#include "model/Amount.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

namespace kv::test {
namespace {

// The amount rule as written: "%1.2f", a blank 6 from the end when longer
// than 6, another 10 from the end when then longer than 10.
std::string writtenRule(Ore ore) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s%lld.%02lld", ore < 0 ? "-" : "",
                  static_cast<long long>((ore < 0 ? -ore : ore) / 100),
                  static_cast<long long>((ore < 0 ? -ore : ore) % 100));
    std::string text = buffer;
    if (text.size() > 6) {
        text.insert(text.size() - 6, " ");
    }
    if (text.size() > 10) {
        text.insert(text.size() - 10, " ");
    }
    return text;
}

TEST(ReportRender, AmountsFollowTheWrittenRuleAtEverySize) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const int digits = 1 + i % 14;
        Ore ore = static_cast<Ore>(random() % static_cast<std::uint64_t>(std::pow(10.0, digits)));
        ore = i % 2 == 0 ? ore : -ore;
        ASSERT_EQ(formatOre(ore), writtenRule(ore)) << ore;
    }
    EXPECT_EQ(formatOre(kMaxOre), writtenRule(kMaxOre));
}

FormCell cell(std::string text, std::int32_t column, std::int32_t x, TextAlign align = TextAlign::Left) {
    return {std::move(text), column, x, align, std::nullopt, false};
}

TEST(ReportRender, TextAlignsColumnsAndCsvQuotes) {
    ReportForm form;
    form.columns = {"Nr", "Namn", "Saldo"};
    form.lines.push_back(
        {2, {cell("1930", 0, 1), cell("Bank, företag", 1, 55), cell("1 000.00", 2, 310, TextAlign::Right)}});
    form.lines.push_back({1, {cell("Rubrik", -1, 1)}});
    form.lines.push_back(
        {3, {cell("10", 0, 1), cell("Kassa", 1, 55), cell("5.00", 2, 310, TextAlign::Right)}});
    form.lines.push_back({4, {{std::string(20, '_'), -1, 1, TextAlign::Left, std::nullopt, true}}});
    EXPECT_EQ(formAsText(form), "Rubrik\n"
                                "1930  Bank, företag  1 000.00\n"
                                "10    Kassa              5.00\n");
    EXPECT_EQ(formAsCsv(form), "Rubrik\r\n1930,\"Bank, företag\",1 000.00\r\n10,Kassa,5.00\r\n");
}

TEST(ReportRender, PdfHoldsEveryPageWithItsTextInWindows1252) {
    ListingPage first;
    first.texts.push_back({0, 0, "Räkenskaper (2025) \\ slut"});
    ListingPage second;
    second.texts.push_back({100, 50, "2 / 2"});
    const std::string pdf = pdfDocument({first, second}, "Huvudbok");
    EXPECT_EQ(pdf.substr(0, 8), "%PDF-1.4");
    EXPECT_NE(pdf.find("/Count 2"), std::string::npos);
    EXPECT_NE(pdf.find("(R\xE4kenskaper \\(2025\\) \\\\ slut) Tj"), std::string::npos);
    EXPECT_NE(pdf.find("(2 / 2) Tj"), std::string::npos);
    EXPECT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");
    // The cross-reference table points at the objects.
    const auto xref = std::stoul(pdf.substr(pdf.rfind("startxref\n") + 10));
    EXPECT_EQ(pdf.compare(xref, 4, "xref"), 0);
    const auto firstObject = std::stoul(pdf.substr(xref + 30, 10));
    EXPECT_EQ(pdf.compare(firstObject, 7, "1 0 obj"), 0);
}

TEST(ReportRender, HelveticaMeasuresAsArial) {
    const HelveticaMeasurer measurer;
    // 10 points at 300 dpi: a digit is 0.556 em, 23.2 units; ten of them 231.7.
    EXPECT_EQ(measurer.width("0000000000"), 232);
    EXPECT_LT(measurer.width("iiii"), measurer.width("MMMM"));
    EXPECT_EQ(measurer.width("å"), measurer.width("a"));
}

} // namespace
} // namespace kv::test
