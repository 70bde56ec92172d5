// A SIE file's vouchers added to the open period: what refuses them, naming
// the voucher and the line, with nothing changed; and the addition as one
// change, numbered on from the company's next number.
#include "SieTestSupport.h"
#include "TestSupport.h"

#include "app/NewCompany.h"
#include "chart/ChartTemplates.h"
#include "sie/SieAddVouchers.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

struct Company {
    test::TempDir templates;
    CTallvingeDoc doc;

    Company() {
        EXPECT_TRUE(createDefaultCompany(doc, {kMallBaskonto, 1, 2024, 12, 2024, templates.path()}).ok);
        test::postVoucher(doc, 5, 1, 2024, {{1930, 100, 0}, {3010, 0, 100}});
        doc.savedInFull();
    }
};

std::string transactionFile(const std::string& vouchers) {
    return "#FLAGGA 0\n#SIETYP 4\n" + vouchers;
}

class CountingView : public DocumentView {
public:
    void onDocumentUpdated() override { ++updates; }
    int updates = 0;
};

TEST(SieAdd, RefusalsNameTheVoucherAndTheLineAndChangeNothing) {
    struct Case {
        const char* rule;
        std::string vouchers;
        std::string refusal;
    };
    const std::vector<Case> cases = {
        {"outside the open period",
         "#VER A 1 20250105 \"Hyra\"\n{\n#TRANS 5010 {} 100.00\n#TRANS 1930 {} -100.00\n}\n",
         "verifikat A 1 (2025-01-05), rad 3: datumet ligger utanför den öppna perioden 1.2024 - 12.2024."},
        {"a line on the result account",
         "#VER A 1 20240105 \"X\"\n{\n#TRANS 1930 {} 1.00\n#TRANS 2090 {} -1.00\n}\n",
         "verifikat A 1 (2024-01-05), rad 6: konto 2090 är resultatkontot"},
        {"a voucher the books hold",
         "#VER B 9 20240105 \"Igen\"\n{\n#TRANS 3010 {} -100.00\n#TRANS 1930 {} 100.00\n}\n",
         "verifikat B 9 (2024-01-05), rad 3: finns redan i bokföringen som verifikat 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        Company company;
        const std::size_t accounts = company.doc.state().m_allaKonton.size();
        const SieBooks books = readSieBooks(transactionFile(c.vouchers));
        const SieAddSummary summary = planSieVouchers(company.doc, books, "in.si");
        ASSERT_EQ(summary.refusals.size(), 1U);
        EXPECT_NE(summary.refusals[0].find(c.refusal), std::string::npos) << summary.refusals[0];
        EXPECT_FALSE(summary.canAdd());
        EXPECT_THROW(addSieVouchers(company.doc, books, "in.si"), DocumentRefusal);
        EXPECT_EQ(company.doc.state().m_verifikat.size(), 1U);
        EXPECT_EQ(company.doc.state().m_allaKonton.size(), accounts);
        EXPECT_FALSE(company.doc.isModified());
    }
}

TEST(SieAdd, TheVouchersComeAsOneChangeNumberedOn) {
    Company company;
    company.doc.setOnlyUsedAccounts(true);
    company.doc.savedInFull();
    const SieBooks books = readSieBooks(
        transactionFile("#KONTO 3011 \"Kassaförsäljning\"\n"
                        "#VER K 41 20240301 \"Kassa\"\n{\n#TRANS 3011 {} -80.00\n#TRANS 1910 {} 80.00\n}\n"
                        "#VER K 42 20240302 \"Kassa\"\n{\n#TRANS 3012 {} -20.00\n#TRANS 1910 {} 20.00\n}\n"));
    const SieAddSummary summary = planSieVouchers(company.doc, books, "kassa.si");
    EXPECT_TRUE(summary.canAdd());
    EXPECT_EQ(summary.numberLines(), (std::vector<std::string>{"verifikat K 41 (2024-03-01) blir nr 2",
                                                               "verifikat K 42 (2024-03-02) blir nr 3"}));
    ASSERT_EQ(summary.added.size(), 2U);
    EXPECT_EQ(summary.added[0].name, "Kassaförsäljning");
    EXPECT_EQ(summary.added[1].name, "Konto 3012");
    EXPECT_EQ(summary.debit, 10000);
    EXPECT_FALSE(company.doc.isModified()); // the plan changed nothing
    EXPECT_LT(company.doc.accountIndex(3011), 0);

    CountingView view;
    const ViewSubscription subscription = company.doc.subscribe(view);
    addSieVouchers(company.doc, books, "kassa.si");
    EXPECT_EQ(view.updates, 1);
    const CompanyState& state = company.doc.state();
    ASSERT_EQ(state.m_verifikat.size(), 3U);
    EXPECT_EQ(state.m_verifikat[2].m_nVernr, 3);
    EXPECT_EQ(state.m_verifikat[2].m_rader[0].m_strKontonamn, "Konto 3012");
    EXPECT_GE(company.doc.accountIndex(3011), 0);
    EXPECT_EQ(state.m_nEndastAnvanda, 1); // the company's choice, though the editors opened
    EXPECT_TRUE(company.doc.isModified());
}

} // namespace
} // namespace kv
