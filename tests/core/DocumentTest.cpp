#include "ArchiveTestSupport.h"
#include "TestSupport.h"

#include "model/TallvingeDoc.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::buildSmallCompany;
using test::postVoucher;
using test::row;

const CKonto& account(const CTallvingeDoc& doc, std::int32_t number) {
    return *doc.state().m_allaKonton.at(static_cast<std::size_t>(doc.accountIndex(number)));
}

std::size_t resPosition(const CTallvingeDoc& doc, std::int32_t number) {
    for (std::size_t i = 0; i < doc.state().m_resKonton.size(); ++i) {
        if (doc.state().m_resKonton[i]->m_nKontonr == number) {
            return i;
        }
    }
    return doc.state().m_resKonton.size();
}

TEST(Document, AccountLookupScansAllRowsInOrder) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    EXPECT_EQ(doc.accountIndex(4711), -1);
    EXPECT_FALSE(doc.hasAccount(4711));
    EXPECT_TRUE(doc.hasAccount(3000));
    EXPECT_EQ(doc.state().m_allaKonton[static_cast<std::size_t>(doc.accountIndex(1930))]->m_strKolumn2,
              "Bank");
    // Income rows come first in the owning list.
    EXPECT_LT(doc.accountIndex(5010), doc.accountIndex(1910));
    EXPECT_TRUE(doc.inResNummer(3000));
    EXPECT_FALSE(doc.inBalNummer(3000));
    EXPECT_TRUE(doc.inBalNummer(2440));
}

TEST(Document, ApprovalBuildsDisjointSubsetsOfTheOwningList) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    ASSERT_EQ(doc.state().m_allaKonton.size(),
              doc.state().m_resKonton.size() + doc.state().m_balKonton.size());
    for (std::size_t i = 0; i < doc.state().m_resKonton.size(); ++i) {
        EXPECT_EQ(doc.state().m_resKonton[i], doc.state().m_allaKonton[i].get());
        EXPECT_EQ(doc.state().m_resNummer[i], doc.state().m_resKonton[i]->m_nKontonr);
    }
    for (std::size_t i = 0; i < doc.state().m_balKonton.size(); ++i) {
        EXPECT_EQ(doc.state().m_balKonton[i],
                  doc.state().m_allaKonton[doc.state().m_resKonton.size() + i].get());
    }
    EXPECT_EQ(doc.state().m_resKonton.back()->m_nKontonr, 0);
    EXPECT_EQ(doc.state().m_resKonton.back()->m_strKolumn2, "");
    for (const auto& konto : doc.state().m_allaKonton) {
        EXPECT_EQ(konto->m_nMarkering, 1);
    }
}

TEST(Document, ReapprovalKeepsPostedRowsAndDropsRemovedRows) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    postVoucher(doc, 3, 2, 2012, {{1930, 500, 0}, {3000, 0, 500}});
    const CKonto* sales = &account(doc, 3000);

    doc.approveIncomeChart({
        row("3000", "Försäljning av varor", "a"),
        row("3500", "Bidrag", "a"),
        row("", "RESULTAT", "", "", "="),
        row("", "2090", "", "", "", "v"),
        row("Exempel", ""),
    });

    // The same object survives with its rows and the new name.
    EXPECT_EQ(&account(doc, 3000), sales);
    EXPECT_EQ(sales->m_strKolumn2, "Försäljning av varor");
    ASSERT_EQ(sales->m_rader.size(), 1U);
    EXPECT_FALSE(doc.hasAccount(4000));
    EXPECT_TRUE(doc.hasAccount(3500));
    EXPECT_EQ(doc.state().m_resKonton.size(), 5U);
    EXPECT_EQ(doc.state().m_allaKonton.size(),
              doc.state().m_resKonton.size() + doc.state().m_balKonton.size());
    // Balance rows follow, untouched and still first-class members.
    EXPECT_EQ(doc.state().m_allaKonton[5].get(), doc.state().m_balKonton.front());
    EXPECT_EQ(doc.state().m_resNummer, (std::vector<std::int32_t>{3000, 3500, 0, 0, 0}));
}

TEST(Document, ApprovalOfAChartStartingWithTheEndMarkerReadsNothing) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    doc.approveIncomeChart({row("Exempel", ""), row("3000", "Försäljning", "a")});
    EXPECT_FALSE(doc.incomeChartApproved());
    EXPECT_TRUE(doc.balanceChartApproved());
    EXPECT_EQ(doc.state().m_allaKonton.size(), doc.state().m_balKonton.size());
}

TEST(Document, ApprovalNeverPutsOneRowInTwoPlaces) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    // A number twice in one chart and a number of the other chart: each row
    // still gets exactly one owner and stands in one chart only.
    doc.approveIncomeChart({
        row("3000", "Försäljning", "a"),
        row("3000", "Försäljning igen", "a"),
        row("1930", "Bank?", "a"),
        row("Exempel", ""),
    });
    std::vector<const CKonto*> seen;
    for (const auto& konto : doc.state().m_allaKonton) {
        EXPECT_EQ(std::count(seen.begin(), seen.end(), konto.get()), 0);
        seen.push_back(konto.get());
    }
    EXPECT_EQ(doc.state().m_allaKonton.size(),
              doc.state().m_resKonton.size() + doc.state().m_balKonton.size());
    for (const CKonto* income : doc.state().m_resKonton) {
        EXPECT_EQ(std::count(doc.state().m_balKonton.begin(), doc.state().m_balKonton.end(), income), 0);
    }
}

TEST(Document, BalancesAreExactInOre) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    for (int i = 0; i < 10; ++i) {
        postVoucher(doc, 1, 3, 2012, {{1930, 0.1, 0}, {3000, 0, 0.1}});
    }
    const auto bank = static_cast<std::size_t>(doc.accountIndex(1930)) - doc.state().m_resKonton.size();
    EXPECT_EQ(doc.balanceOfBalanceAccount(bank), 100);
    EXPECT_EQ(doc.RangeBalance(resPosition(doc, 3000)), -100);
    postVoucher(doc, 2, 3, 2012, {{1930, 0, 1.0}, {3000, 1.0, 0}});
    EXPECT_EQ(doc.balanceOfBalanceAccount(bank), 0);
    EXPECT_EQ(FormatAmount(toKronor(doc.balanceOfBalanceAccount(bank))), "0.00");
    EXPECT_EQ(doc.balanceOfBalanceAccount(999), 0);
}

TEST(Document, RangeRulesSelectRowsByMonth) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    for (int month = 1; month <= 12; ++month) {
        postVoucher(doc, 28, month, 2012, {{1930, 100.0 * month, 0}, {3000, 0, 100.0 * month}});
    }
    const std::size_t sales = resPosition(doc, 3000);
    EXPECT_EQ(doc.RangeBalance(sales), -780000);

    doc.setMonthRange(MonthRange{{2012, 3}, {2012, 5}});
    EXPECT_EQ(doc.RangeBalance(sales), -(30000 + 40000 + 50000));
    // Cumulative: from the start of the period through May.
    EXPECT_EQ(doc.balanceUnder(*doc.state().m_resKonton[sales], RangeRule::Cumulative),
              -(10000 + 20000 + 30000 + 40000 + 50000));

    // One month as both ends: exactly that month.
    doc.setMonthRange(MonthRange{{2012, 3}, {2012, 3}});
    EXPECT_EQ(doc.RangeBalance(sales), -30000);
    // Switching the range off shows everything again, whatever the bounds say.
    doc.setMonthRange(std::nullopt);
    EXPECT_EQ(doc.RangeBalance(sales), -780000);
}

TEST(Document, RangeRulesCrossTheYearEnd) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    doc.changeEndDate(6, 2013);
    postVoucher(doc, 15, 12, 2012, {{1930, 10, 0}, {3000, 0, 10}});
    postVoucher(doc, 15, 1, 2013, {{1930, 20, 0}, {3000, 0, 20}});
    postVoucher(doc, 15, 2, 2013, {{1930, 40, 0}, {3000, 0, 40}});
    doc.setMonthRange(MonthRange{{2012, 12}, {2013, 1}});
    EXPECT_EQ(doc.RangeBalance(resPosition(doc, 3000)), -3000);
}

TEST(Document, PostPeriodResultBooksTheResultAsTheOnlyRow) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    postVoucher(doc, 10, 2, 2012, {{1930, 1000, 0}, {3000, 0, 1000}});
    postVoucher(doc, 10, 6, 2012, {{4000, 250.5, 0}, {1930, 0, 250.5}});
    std::int32_t number = -1;
    doc.PostPeriodResult(number);
    EXPECT_EQ(number, 2090);
    const CKonto& result = account(doc, 2090);
    ASSERT_EQ(result.m_rader.size(), 1U);
    EXPECT_EQ(result.m_rader[0].m_strText, "Resultat");
    EXPECT_EQ(result.m_rader[0].m_nVernr, 0);
    EXPECT_EQ(result.m_rader[0].m_nAr, 0);
    EXPECT_DOUBLE_EQ(result.m_rader[0].m_dKredit, 749.5);
    EXPECT_DOUBLE_EQ(result.m_rader[0].m_dDebet, 0);

    // Posting again replaces, never adds; a range narrows the result.
    doc.setMonthRange(MonthRange{{2012, 2}, {2012, 2}});
    doc.PostPeriodResult(number);
    ASSERT_EQ(result.m_rader.size(), 1U);
    EXPECT_DOUBLE_EQ(result.m_rader[0].m_dKredit, 1000);

    // The row is derived from the books: posting it is no change to save,
    // and a change that fails around it takes it back.
    doc.savedInFull();
    doc.setMonthRange(std::nullopt);
    doc.PostPeriodResult(number);
    EXPECT_FALSE(doc.isModified());
    {
        auto change = doc.beginChange();
        postVoucher(doc, 10, 7, 2012, {{1930, 100, 0}, {3000, 0, 100}});
        doc.PostPeriodResult(number);
        EXPECT_DOUBLE_EQ(result.m_rader[0].m_dKredit, 849.5);
    }
    ASSERT_EQ(result.m_rader.size(), 1U);
    EXPECT_DOUBLE_EQ(result.m_rader[0].m_dKredit, 749.5);
    EXPECT_EQ(doc.state().m_verifikat.size(), 2U);
}

TEST(Document, PostPeriodResultWithoutAResultRowLeavesTheNumber) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    doc.approveIncomeChart({row("3000", "Försäljning", "a"), row("", "2090"), row("Exempel", "")});
    std::int32_t number = 77;
    doc.PostPeriodResult(number);
    EXPECT_EQ(number, 77);
    EXPECT_TRUE(account(doc, 2090).m_rader.empty());
}

TEST(Document, LatestVoucherDateStartsInJanuary2000) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    std::int32_t number = 42;
    EXPECT_EQ(doc.latestVoucherDate(number), (YearMonth{2000, 1}));
    EXPECT_EQ(number, 42);
    postVoucher(doc, 5, 7, 2012, {{1930, 1, 0}, {3000, 0, 1}});
    postVoucher(doc, 30, 3, 2012, {{1930, 1, 0}, {3000, 0, 1}});
    postVoucher(doc, 1, 7, 2012, {{1930, 1, 0}, {3000, 0, 1}});
    EXPECT_EQ(doc.latestVoucherDate(number), (YearMonth{2012, 7}));
    EXPECT_EQ(number, 1); // the first voucher of the latest month
}

TEST(Document, PeriodBoundsAndLabels) {
    CTallvingeDoc doc;
    EXPECT_FALSE(doc.hasOpenPeriod());
    buildSmallCompany(doc);
    EXPECT_EQ(doc.periodStart(), (YearMonth{2012, 1}));
    EXPECT_EQ(doc.periodEnd(), (YearMonth{2012, 12}));
    EXPECT_EQ(doc.periodFileLabel(), "_1.2012-12.2012.per");
    EXPECT_EQ(doc.periodLabel(), "1.2012 - 12.2012");
    CTallvingeDoc other;
    other.addFirstPeriod({3, 2011, 2, 2013});
    EXPECT_EQ(other.periodFileLabel(), "_3.2011-2.2013.per");
    EXPECT_EQ(PeriodLabel("_3.2011-2.2013.per"), "3.2011 - 2.2013");
}

TEST(Document, YearMonthArithmeticWrapsAtTheYearEnd) {
    EXPECT_EQ((YearMonth{2012, 12}.plusMonths(1)), (YearMonth{2013, 1}));
    EXPECT_EQ((YearMonth{2012, 7}.plusMonths(11)), (YearMonth{2013, 6}));
    EXPECT_EQ((YearMonth{2012, 1}.plusMonths(-1)), (YearMonth{2011, 12}));
    EXPECT_LT((YearMonth{2012, 12}), (YearMonth{2013, 1}));
}

TEST(Document, ReadWholeNumberReadsLikeTheChartCells) {
    EXPECT_EQ(readWholeNumber(""), 0);
    EXPECT_EQ(readWholeNumber("Exempel"), 0);
    EXPECT_EQ(readWholeNumber("2090"), 2090);
    EXPECT_EQ(readWholeNumber(" 12ab"), 12);
    EXPECT_EQ(readWholeNumber("-5"), -5);
    EXPECT_EQ(readWholeNumber("99999999999999"), 2147483647);
}

class CountingView : public DocumentView {
public:
    explicit CountingView(CTallvingeDoc& doc) : subscription(doc.subscribe(*this)) {}
    void onDocumentUpdated() override {
        ++updates;
        if (closeOnUpdate) {
            subscription.reset();
        }
    }
    ViewSubscription subscription;
    int updates = 0;
    bool closeOnUpdate = false;
};

TEST(Document, ACommittedChangeMarksModifiedAndTellsEveryViewOnce) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    doc.savedInFull();
    CountingView first(doc);
    first.closeOnUpdate = true;
    CountingView second(doc);
    {
        auto change = doc.beginChange();
        postVoucher(doc, 1, 2, 2012, {{1930, 5, 0}, {3000, 0, 5}});
        postVoucher(doc, 2, 2, 2012, {{1930, 6, 0}, {3000, 0, 6}});
        EXPECT_EQ(second.updates, 0); // nobody hears of a change before it is whole
        change.commit();
    }
    EXPECT_TRUE(doc.isModified());
    EXPECT_EQ(first.updates, 1);
    EXPECT_EQ(second.updates, 1);
    doc.updateAllViews(); // the first unsubscribed while it was told
    EXPECT_EQ(first.updates, 1);
    EXPECT_EQ(second.updates, 2);
    { CountingView gone(doc); } // a view that goes unsubscribes
    doc.updateAllViews();
    EXPECT_EQ(second.updates, 3);
    // A display change is told, but leaves nothing to save.
    doc.savedInFull();
    doc.setMonthRange(MonthRange{{2012, 1}, {2012, 1}});
    EXPECT_EQ(second.updates, 4);
    EXPECT_FALSE(doc.isModified());
}

TEST(Document, AChangeThatFailsHalfwayPutsEverythingBackAndTellsNobody) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    postVoucher(doc, 1, 2, 2012, {{1930, 5, 0}, {3000, 0, 5}});
    doc.savedInFull();
    const std::string before = test::companyBytes(doc.state());
    CountingView view(doc);
    // Every kind of step: postings and a voucher, a whole-state step, fields.
    EXPECT_THROW(
        {
            auto change = doc.beginChange();
            postVoucher(doc, 3, 2, 2012, {{1930, 7, 0}, {3000, 0, 7}});
            doc.approveBalanceChart(
                {row("1930", "Bank", "c"), row("", "Sa", "", "", "a"), row("Exempel", "")});
            doc.setOnlyUsedAccounts(true);
            doc.amendVoucher(makeVoucher(1, 2, 2012, "Ändrad", {}), 0);
            postVoucher(doc, 1, 3, 2013, {{1930, 1, 0}}); // outside the period: refused
            change.commit();
        },
        DocumentRefusal);
    EXPECT_EQ(test::companyBytes(doc.state()), before);
    EXPECT_EQ(view.updates, 0);
    EXPECT_FALSE(doc.isModified());
    // A scope left without commit, by an early return, puts back too.
    {
        auto change = doc.beginChange();
        postVoucher(doc, 3, 2, 2012, {{1930, 7, 0}, {3000, 0, 7}});
    }
    EXPECT_EQ(test::companyBytes(doc.state()), before);
    EXPECT_EQ(view.updates, 0);
}

TEST(Document, ClearingReturnsEveryFieldToItsStartingValue) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    postVoucher(doc, 1, 1, 2012, {{1930, 1, 0}, {3000, 0, 1}});
    doc.makeStatementGrid(Statement::Balance);
    doc.setMonthRange(MonthRange{{2012, 1}, {2012, 2}});
    doc.renameTo({doc.pathName(), "/ho", "Firma.bok"});
    doc.startAfresh();
    EXPECT_TRUE(doc.state().m_allaKonton.empty());
    EXPECT_TRUE(doc.state().m_resKonton.empty());
    EXPECT_TRUE(doc.state().m_verifikat.empty());
    EXPECT_TRUE(doc.state().m_perioder.empty());
    EXPECT_EQ(doc.state().m_pBalansGrid, nullptr);
    EXPECT_EQ(doc.state().m_nDelperiod, 0);
    EXPECT_EQ(doc.state().m_nNastaVernr, 1);
    EXPECT_EQ(doc.state().m_nUtskrift1, 2046);
    EXPECT_EQ(doc.state().m_bNyttForetag, 1);
    EXPECT_EQ(doc.state().m_strFilnamn, "Nytt företag123456");
    EXPECT_EQ(doc.state().m_strMallnamn, "xxx123456");
    EXPECT_EQ(doc.state().m_nValdMall, -1);
    EXPECT_TRUE(doc.neverSaved());
}

} // namespace
} // namespace kv
