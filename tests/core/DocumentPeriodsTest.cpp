// The document's period operations: closing a period, a new period with its
// carried balances, opening another period's books, a new end date, and the
// undoing of each when the change around it fails.
#include "PeriodTestSupport.h"

#include "model/DocumentTexts.h"
#include "model/ResultRow.h"

#include <gtest/gtest.h>

#include <functional>

namespace kv {
namespace {

using test::account;
using test::balanceOf;
using test::booksOf;
using test::buildSmallCompany;
using test::postFirstYear;
using test::postVoucher;

constexpr const char* kIb = "Ingående balans";
constexpr const char* kVinst = "Vinst / förlust föreg. per.";

// The small company after its first year, the new year 2013 open.
void firstYearThenNew(CTallvingeDoc& doc) {
    buildSmallCompany(doc);
    postFirstYear(doc);
    doc.newPeriod({1, 2013, 12, 2013});
}

TEST(NewPeriod, OpensTheNextYearWithTheClosingBalancesAndLastYearsResult) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    postFirstYear(doc);
    // A month range of the reports must not narrow the result that is carried.
    doc.setMonthRange(MonthRange{{2012, 3}, {2012, 3}});
    doc.newPeriod({1, 2013, 12, 2013});
    const CompanyState& c = doc.state();

    struct Opening {
        std::int32_t account;
        double debit;
        double credit;
        std::int32_t inUse;
    };
    // 1910 closed at exactly 0: a debit of 0, and the account is no longer in use.
    for (const Opening& want :
         {Opening{1910, 0, 0, 0}, Opening{1930, 11800, 0, 1}, Opening{2040, 0, 10000, 1},
          Opening{2090, 0, 0, 0}, Opening{2440, 0, 800, 1}}) {
        SCOPED_TRACE(want.account);
        const CKonto& konto = account(c, want.account);
        ASSERT_FALSE(konto.m_rader.empty());
        const CKontorad& first = konto.m_rader.front();
        EXPECT_EQ(first.m_strText, kIb);
        EXPECT_EQ(first.m_nVernr, 0);
        EXPECT_EQ(first.m_nDag, 0);
        EXPECT_EQ(first.m_nManad, 1);
        EXPECT_EQ(first.m_nAr, 2013);
        EXPECT_DOUBLE_EQ(first.m_dDebet, want.debit);
        EXPECT_DOUBLE_EQ(first.m_dKredit, want.credit);
        EXPECT_EQ(konto.m_rader.size(), want.account == 2040 ? 2U : 1U);
        EXPECT_EQ(konto.m_nAnvands, want.inUse);
    }
    const CKontorad& carried = account(c, 2040).m_rader[1];
    EXPECT_EQ(carried.m_strText, kVinst);
    EXPECT_DOUBLE_EQ(carried.m_dKredit, 1000);
    EXPECT_DOUBLE_EQ(carried.m_dDebet, 0);
    EXPECT_EQ(c.m_nVinstrad, 1);
    EXPECT_EQ(test::balanceSheetTotal(c), 0);

    for (const CKonto* konto : c.m_resKonton) {
        EXPECT_TRUE(konto->m_rader.empty());
        EXPECT_EQ(konto->m_nAnvands, 0);
    }
    EXPECT_TRUE(c.m_verifikat.empty());
    EXPECT_EQ(c.m_nNastaVernr, 1);
    EXPECT_EQ(c.m_nDelperiod, 0);
    ASSERT_EQ(c.m_perioder.size(), 2U);
    EXPECT_EQ(c.m_nAktuellPeriod, 1);
    EXPECT_EQ(doc.periodLabel(), "1.2013 - 12.2013");
    EXPECT_EQ(c.m_perioder[1].m_nVinstradNy, 0);
    // The year left keeps one copy of every balance-sheet row as its closing balances.
    EXPECT_EQ(c.m_perioder[0].m_ingaende.size(), c.m_balKonton.size());
}

TEST(NewPeriod, RefusesWhatWouldBreakTheChainAndChangesNothing) {
    const auto editChart = [](std::function<void(CompanyState&)> edit) {
        return [edit](CTallvingeDoc& doc) { test::loadEdited(doc, edit); };
    };
    const auto carriedProfitRow = [](CompanyState& c) -> CKonto& { return *c.m_balKonton[8]; };
    struct Case {
        const char* name;
        std::function<void(CTallvingeDoc&)> setUp;
        PeriodChoice choice;
        std::string refusal;
    };
    const std::vector<Case> cases = {
        {"not the last period",
         editChart([](CompanyState& c) {
             CPeriod later;
             later.m_nFranManad = 1;
             later.m_nFranAr = 2013;
             later.m_nTillManad = 12;
             later.m_nTillAr = 2013;
             c.m_perioder.push_back(std::move(later));
         }),
         {1, 2013, 12, 2013},
         kMsgInteSistaPerioden},
        {"no result account",
         editChart([](CompanyState& c) { c.m_resKonton[c.m_resKonton.size() - 2]->m_strKolumn2 = ""; }),
         {1, 2013, 12, 2013},
         kMsgVilketVinstkonto},
        {"no carried-profit account",
         editChart([&](CompanyState& c) { carriedProfitRow(c).m_strKolumn2 = ""; }),
         {1, 2013, 12, 2013},
         kMsgVinstkontoSaknas},
        {"carried profit on an income account",
         editChart([&](CompanyState& c) { carriedProfitRow(c).m_strKolumn2 = "3000"; }),
         {1, 2013, 12, 2013},
         kMsgVinstkontoSaknas},
        {"a gap after the last period", [](CTallvingeDoc&) {}, {2, 2013, 12, 2013}, kMsgFelaktigPeriod},
        {"an end not after the start", [](CTallvingeDoc&) {}, {1, 2013, 1, 2013}, kMsgSlutdatumMindre},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        CTallvingeDoc doc;
        buildSmallCompany(doc);
        postFirstYear(doc);
        test.setUp(doc);
        const std::string before = booksOf(doc.state());
        try {
            doc.newPeriod(test.choice);
            ADD_FAILURE() << "not refused";
        } catch (const DocumentRefusal& refusal) {
            EXPECT_EQ(refusal.what(), test.refusal);
        }
        EXPECT_EQ(booksOf(doc.state()), before);
    }
}

// What opening another period's file hands the document: that period as it
// stands now.
CompanyState periodAsStored(const CTallvingeDoc& doc) {
    return copyCompanyState(doc.state());
}

TEST(PeriodChange, AChangeThatFailsAfterwardsPutsTheBooksBackWhole) {
    struct Case {
        const char* name;
        std::function<void(CTallvingeDoc&, const CompanyState&)> change;
    };
    const std::vector<Case> cases = {
        {"close", [](CTallvingeDoc& doc, const CompanyState&) { doc.closePeriod(); }},
        {"new period",
         [](CTallvingeDoc& doc, const CompanyState&) {
             doc.newPeriod({1, 2014, 12, 2014});
         }},
        {"open",
         [](CTallvingeDoc& doc, const CompanyState& first) {
             doc.closePeriod();
             doc.openPeriod(copyCompanyState(first));
         }},
        {"end date", [](CTallvingeDoc& doc, const CompanyState&) { doc.changeEndDate(6, 2014); }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        CTallvingeDoc doc;
        buildSmallCompany(doc);
        postFirstYear(doc);
        const CompanyState first = periodAsStored(doc);
        doc.newPeriod({1, 2013, 12, 2013});
        postVoucher(doc, 3, 2, 2013, {{1930, 250, 0}, {3010, 0, 250}});
        doc.setMonthRange(MonthRange{{2013, 2}, {2013, 2}});
        const std::string before = booksOf(doc.state());
        {
            auto change = doc.beginChange();
            test.change(doc, first);
            EXPECT_NE(booksOf(doc.state()), before);
        } // not committed: a later step of the change failed
        EXPECT_EQ(booksOf(doc.state()), before);
    }
}

TEST(OpenPeriod, ReopeningAYearRewritesItsOpeningBalancesFromTheYearBefore) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    postFirstYear(doc);
    const CompanyState firstYear = periodAsStored(doc);
    doc.newPeriod({1, 2013, 12, 2013});
    postVoucher(doc, 3, 2, 2013, {{1930, 250, 0}, {3010, 0, 250}});
    doc.closePeriod();
    const CompanyState secondYear = periodAsStored(doc);
    const CKonto secondResult = account(secondYear, 2090);

    // The first year again: no opening balances before it; a late sale of 100.
    doc.openPeriod(copyCompanyState(firstYear));
    EXPECT_EQ(doc.state().m_nAktuellPeriod, 0);
    for (const CKonto* konto : doc.state().m_balKonton) {
        for (const CKontorad& rad : konto->m_rader) {
            EXPECT_NE(rad.m_strText, kIb) << konto->m_nKontonr;
        }
    }
    postVoucher(doc, 20, 12, 2012, {{1930, 100, 0}, {3000, 0, 100}});
    doc.closePeriod();

    doc.openPeriod(copyCompanyState(secondYear));
    const CompanyState& c = doc.state();
    EXPECT_DOUBLE_EQ(account(c, 1930).m_rader.front().m_dDebet, 11900);
    EXPECT_EQ(account(c, 1930).m_rader.size(), 2U); // the opening row and the year's own posting
    ASSERT_EQ(account(c, 2040).m_rader.size(), 2U);
    EXPECT_DOUBLE_EQ(account(c, 2040).m_rader[1].m_dKredit, 1100);
    // The result account's rows are this year's, untouched by the year before.
    EXPECT_EQ(account(c, 2090), secondResult);
    EXPECT_EQ(c.m_verifikat.size(), 1U);
    EXPECT_EQ(c.m_nDelperiod, 0);
}

TEST(OpenPeriod, AnOpeningBalanceNeverOverwritesAVoucherPosting) {
    CTallvingeDoc doc;
    firstYearThenNew(doc);
    postVoucher(doc, 3, 2, 2013, {{1930, 250, 0}, {3010, 0, 250}});
    // A period whose bank account starts with a voucher's posting.
    CompanyState stored = periodAsStored(doc);
    auto& bank = stored.m_allaKonton[test::accountIndex(stored, 1930)]->m_rader;
    bank.erase(bank.begin());
    doc.openPeriod(std::move(stored));

    const auto& rows = account(doc.state(), 1930).m_rader;
    ASSERT_EQ(rows.size(), 2U);
    EXPECT_EQ(rows[0].m_strText, kIb);
    EXPECT_DOUBLE_EQ(rows[0].m_dDebet, 11800);
    EXPECT_EQ(rows[1].m_nVernr, 1);
    EXPECT_DOUBLE_EQ(rows[1].m_dDebet, 250);
}

TEST(OpenPeriod, TheChartsOwnResultAccountOpensAtZeroAndTheResultIsCarriedOnce) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    // Another result account than 2090, which is now an ordinary equity account.
    doc.approveBalanceChart({
        test::row("", "A K T I V A"),
        test::row("1910", "Kassa", "c"),
        test::row("1930", "Bank", "c"),
        test::row("", "Sa omsättningstillgångar", "", "c"),
        test::row("", "Sa AKTIVA", "", "", "a"),
        test::row("", ""),
        test::row("", "FÖRRA periodens"),
        test::row("", "vinst/förlust är insatt på  :"),
        test::row("", "2040"),
        test::row("", "P A S S I V A"),
        test::row("2040", "Fritt eget kapital", "d"),
        test::row("2090", "Balanserat resultat", "d"),
        test::row("2099", "Årets resultat", "d"),
        test::row("", "Sa eget kapital", "", "d"),
        test::row("2440", "Leverantörsskulder", "e"),
        test::row("", "Sa PASSIVA", "", "", "p"),
        test::row("Exempel", ""),
    });
    test::loadEdited(doc,
                     [](CompanyState& c) { c.m_resKonton[c.m_resKonton.size() - 2]->m_strKolumn2 = "2099"; });
    postFirstYear(doc);
    postVoucher(doc, 1, 2, 2012, {{1930, 40, 0}, {2090, 0, 40}});
    doc.newPeriod({1, 2013, 12, 2013});
    doc.closePeriod();
    doc.openPeriod(periodAsStored(doc));

    const CompanyState& c = doc.state();
    EXPECT_EQ(balanceOf(c, 2099), 0);
    EXPECT_EQ(balanceOf(c, 2090), -4000);
    EXPECT_EQ(balanceOf(c, 2040), -(10000 + 1000) * 100);
    EXPECT_EQ(test::balanceSheetTotal(c), 0);
}

TEST(OpenPeriod, TheCarriedResultFollowsTheChartToItsNewAccount) {
    CTallvingeDoc doc;
    firstYearThenNew(doc);
    doc.closePeriod();
    CompanyState stored = periodAsStored(doc);
    stored.m_balKonton[8]->m_strKolumn2 = "2440"; // the chart now names another carried-profit account
    doc.openPeriod(std::move(stored));

    int carriedRows = 0;
    for (const CKonto* konto : doc.state().m_balKonton) {
        for (const CKontorad& rad : konto->m_rader) {
            carriedRows += rad.m_strText == kVinst ? 1 : 0;
        }
    }
    EXPECT_EQ(carriedRows, 1);
    EXPECT_EQ(account(doc.state(), 2440).m_rader.back().m_strText, kVinst);
    EXPECT_EQ(test::balanceSheetTotal(doc.state()), 0);
}

TEST(ChangeEndDate, MovesTheLastPeriodsEndUnlessAVoucherLiesAfterIt) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    postFirstYear(doc);
    const CompanyState firstYear = periodAsStored(doc);
    for (const auto& [month, year, refusal] : {std::tuple{8, 2012, voucherAfterEndMessage(6)},
                                               std::tuple{1, 2012, std::string(kMsgSlutdatumMindre)}}) {
        const std::string before = booksOf(doc.state());
        try {
            doc.changeEndDate(month, year);
            ADD_FAILURE() << "not refused";
        } catch (const DocumentRefusal& error) {
            EXPECT_EQ(error.what(), refusal);
        }
        EXPECT_EQ(booksOf(doc.state()), before);
    }
    doc.changeEndDate(9, 2013);
    EXPECT_EQ(doc.periodEnd(), (YearMonth{2013, 9}));
    EXPECT_EQ(doc.state().m_nTillManad, 9);
    EXPECT_EQ(doc.state().m_nTillAr, 2013);
    EXPECT_EQ(doc.state().m_verifikat.size(), 6U);

    doc.newPeriod({10, 2013, 9, 2014});
    doc.closePeriod();
    doc.openPeriod(copyCompanyState(firstYear)); // only the last period's end can move
    EXPECT_THROW(doc.changeEndDate(12, 2013), DocumentRefusal);
}

} // namespace
} // namespace kv
