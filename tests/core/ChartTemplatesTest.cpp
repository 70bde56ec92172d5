// The built-in chart templates: their cells, and that each gives charts that
// pass approval untouched.
#include "ChartTestSupport.h"

#include "chart/ChartTemplates.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace kv {
namespace {

using test::setUpCompany;
using test::TemplateFolder;

const TemplateRowTexts* rowAt(const std::vector<TemplateRowTexts>& rows, std::int32_t row) {
    const auto found = std::find_if(rows.begin(), rows.end(), [row](const auto& r) { return r.row == row; });
    return found == rows.end() ? nullptr : &*found;
}

std::string nameOf(const std::vector<TemplateRowTexts>& rows, const std::string& number) {
    const auto found =
        std::find_if(rows.begin(), rows.end(), [&number](const auto& r) { return r.texts[0] == number; });
    return found == rows.end() ? std::string("<saknas>") : found->texts[1];
}

struct Shape {
    const char* name;
    std::int32_t incomeRows, incomeAccounts, balanceRows, balanceAccounts, assetsTotal, equityHeading;
    const char* equityText;
};

constexpr Shape kShapes[] = {
    {kMallForening, 26, 15, 62, 7, 27, 33, "EGET KAPITAL"},
    {kMallRikssvensk, 128, 52, 62, 25, 30, 36, "EGET KAPITAL"},
    {kMallFinlandssvensk, 128, 52, 62, 25, 30, 36, "EGET KAPITAL"},
    {kMallBaskonto, 220, 178, 136, 69, 51, 57, "Fritt eget kapital"},
};

std::int32_t accounts(const std::vector<TemplateRowTexts>& rows) {
    return static_cast<std::int32_t>(
        std::count_if(rows.begin(), rows.end(), [](const auto& r) { return !r.texts[0].empty(); }));
}

TEST(ChartTemplates, HaveTheirRowsAndAccounts) {
    for (const Shape& shape : kShapes) {
        SCOPED_TRACE(shape.name);
        const auto income = builtInTemplateRows(shape.name, ChartKind::Income);
        const auto balance = builtInTemplateRows(shape.name, ChartKind::Balance);
        EXPECT_EQ(income.back().row, shape.incomeRows);
        EXPECT_EQ(balance.back().row, shape.balanceRows);
        EXPECT_EQ(accounts(income), shape.incomeAccounts);
        EXPECT_EQ(accounts(balance), shape.balanceAccounts);
        // Rows are listed once each, in order.
        for (const auto* rows : {&income, &balance}) {
            EXPECT_TRUE(std::is_sorted(rows->begin(), rows->end(),
                                       [](const auto& a, const auto& b) { return a.row <= b.row; }));
        }
    }
}

TEST(ChartTemplates, LeaveRoomForTheFixedRowsBetweenAssetsAndEquity) {
    for (const Shape& shape : kShapes) {
        SCOPED_TRACE(shape.name);
        const auto balance = builtInTemplateRows(shape.name, ChartKind::Balance);
        const auto* assets = rowAt(balance, shape.assetsTotal);
        ASSERT_NE(assets, nullptr);
        EXPECT_EQ(assets->texts[1], "Sa AKTIVA");
        EXPECT_EQ(assets->texts[4], "a");
        for (std::int32_t row = shape.assetsTotal + 1; row < shape.equityHeading; ++row) {
            EXPECT_EQ(rowAt(balance, row), nullptr) << row;
        }
        ASSERT_NE(rowAt(balance, shape.equityHeading), nullptr);
        EXPECT_EQ(rowAt(balance, shape.equityHeading)->texts[1], shape.equityText);
        EXPECT_EQ(balance.back().texts[1], "Sa PASSIVA");
        EXPECT_EQ(balance.back().texts[4], "p");
        const auto income = builtInTemplateRows(shape.name, ChartKind::Income);
        EXPECT_EQ(income.back().texts[1], "RÄK PER VINST / FÖRLUST");
        EXPECT_EQ(income.back().texts[4], "=");
    }
}

TEST(ChartTemplates, AssociationTemplateSumsItsTwoGroups) {
    const auto income = builtInTemplateRows(kMallForening, ChartKind::Income);
    EXPECT_EQ(rowAt(income, 8)->texts[1], "**Summa intäkter**");
    EXPECT_EQ(rowAt(income, 8)->texts[3], "a");
    EXPECT_EQ(rowAt(income, 24)->texts[3], "b");
    EXPECT_EQ(rowAt(income, 26)->texts[4], "=");
    const auto balance = builtInTemplateRows(kMallForening, ChartKind::Balance);
    EXPECT_EQ(rowAt(balance, 1)->texts[1], "A  K  T  I  V  A");
    EXPECT_EQ(rowAt(balance, 34)->texts, (ChartRowTexts{"2040", "Fritt eget kapital", "e", "", "", "A"}));
    EXPECT_EQ(rowAt(balance, 35)->texts,
              (ChartRowTexts{"2090", "Räkenskapsperiodens res", "e", "", "", "A"}));
    EXPECT_EQ(rowAt(balance, 62)->texts[1], "Sa PASSIVA");
}

TEST(ChartTemplates, VatNamesFollowTheTemplateName) {
    const auto swedish = builtInTemplateRows(kMallRikssvensk, ChartKind::Balance);
    const auto finnish = builtInTemplateRows(kMallFinlandssvensk, ChartKind::Balance);
    EXPECT_EQ(nameOf(swedish, "1717"), "Momsfordran 25%");
    EXPECT_EQ(nameOf(finnish, "1717"), "Momsfordran 22%");
    EXPECT_EQ(nameOf(swedish, "2932"), "Momsskuld 6%");
    EXPECT_EQ(nameOf(finnish, "2932"), "Momsskuld 8%");
    EXPECT_EQ(nameOf(swedish, "1720"), "Sa Momsfordran");
    const auto swedishIncome = builtInTemplateRows(kMallRikssvensk, ChartKind::Income);
    EXPECT_EQ(nameOf(swedishIncome, "3001"), "Försäljning moms 12%");
    EXPECT_EQ(nameOf(swedishIncome, "4065"), "Inköp moms 6%");
    EXPECT_EQ(nameOf(swedishIncome, "7100"), "Bokföring o löner ");

    // Any other name, the never-chosen one included, gives the 75-account template with 22/17/8.
    for (const char* other : {"Något annat", kIngenMall, ""}) {
        const auto fallback = builtInTemplateRows(other, ChartKind::Income);
        EXPECT_EQ(fallback.back().row, 128);
        EXPECT_EQ(nameOf(fallback, "3000"), "Försäljning moms 22%");
    }
}

TEST(ChartTemplates, BasTemplateStartsWithItsOwnHeading) {
    const auto balance = builtInTemplateRows(kMallBaskonto, ChartKind::Balance);
    EXPECT_EQ(rowAt(balance, 1)->texts[1], "T I L L G Å N G A R");
    EXPECT_EQ(nameOf(balance, "2090"), "Årets resultat");
    const auto income = builtInTemplateRows(kMallBaskonto, ChartKind::Income);
    EXPECT_EQ(rowAt(income, 25)->texts[1], "Bruttovinst");
    EXPECT_EQ(nameOf(income, "5710"), "Frakter, varudistribution mm. ");
}

TEST(ChartTemplates, EveryTemplateIsApprovedAsTheEditorsShowIt) {
    TemplateFolder folder;
    for (const Shape& shape : kShapes) {
        SCOPED_TRACE(shape.name);
        CTallvingeDoc doc;
        setUpCompany(doc, shape.name, folder.path());
        ASSERT_TRUE(doc.bothChartsApproved());
        EXPECT_EQ(doc.state().m_resKonton.size(), 236u);
        EXPECT_EQ(doc.state().m_balKonton.size(), 138u);
        const auto numbered = [](const KontoRefs& rows) {
            return std::count_if(rows.begin(), rows.end(), [](const auto& k) { return k->m_nKontonr > 0; });
        };
        EXPECT_EQ(numbered(doc.state().m_resKonton), shape.incomeAccounts);
        EXPECT_EQ(numbered(doc.state().m_balKonton), shape.balanceAccounts);
        std::int32_t result = 0;
        ASSERT_TRUE(doc.resultAccountNumber(result));
        EXPECT_EQ(result, 2090);
        // The carried-profit account: four rows after the assets total.
        EXPECT_EQ(doc.state().m_balKonton[static_cast<std::size_t>(shape.assetsTotal) + 3]->m_strKolumn2,
                  "2040");
        EXPECT_EQ(doc.state().m_balKonton.front()->m_strKolumn2, "A K T I V A");
        EXPECT_EQ(doc.state().m_momsregler.size(), 54u);
        EXPECT_EQ(doc.state().m_strMallnamn, kIngenMall);
        EXPECT_EQ(doc.state().m_nValdMall, -2);
    }
}

} // namespace
} // namespace kv
