// The period dialog "Ny period" in its three modes, and the first period of a
// new company.
#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include "model/DocumentTexts.h"
#include "periods/FirstPeriod.h"
#include "periods/PeriodDialogModel.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::buildSmallCompany;
using test::postVoucher;
using test::ScriptedPrompter;

CPeriod period(int fromMonth, int fromYear, int toMonth, int toYear) {
    CPeriod p;
    p.m_nFranManad = fromMonth;
    p.m_nFranAr = fromYear;
    p.m_nTillManad = toMonth;
    p.m_nTillAr = toYear;
    return p;
}

// Fills a first-period dialog and presses OK.
bool firstPeriod(ScriptedPrompter& prompter, int fromMonth, const std::string& fromYear, int toMonth,
                 const std::string& toYear) {
    CTallvingeDoc doc;
    PeriodDialogModel dialog(doc, PeriodDialogMode::FirstPeriod);
    dialog.setStartMonth(fromMonth);
    dialog.setStartYearText(fromYear);
    dialog.setEndMonth(toMonth);
    dialog.setEndYearText(toYear);
    return dialog.accept(prompter);
}

TEST(PeriodDialog, FirstPeriodModeLetsTheUserChooseBoth) {
    CTallvingeDoc doc;
    PeriodDialogModel dialog(doc, PeriodDialogMode::FirstPeriod);
    EXPECT_STREQ(dialog.title(), "Ange det nya företagets första period");
    EXPECT_FALSE(dialog.cancelEnabled());
    EXPECT_TRUE(dialog.startEnabled());
    EXPECT_EQ(dialog.startMonth(), 1);
    EXPECT_EQ(dialog.endMonth(), 12);
    EXPECT_EQ(kMonthNames[dialog.endMonth() - 1], std::string("december"));
    EXPECT_TRUE(dialog.periodLines().empty());
    EXPECT_EQ(dialog.startYearText(), "");
    PeriodDialogModel suggested(doc, PeriodDialogMode::FirstPeriod, 2013);
    EXPECT_EQ(suggested.startYearText(), "2013");
    EXPECT_EQ(suggested.endYearText(), "2013");
}

TEST(PeriodDialog, NewPeriodStartsTheMonthAfterTheLastOne) {
    CTallvingeDoc doc;
    test::loadEdited(doc,
                     [&](CompanyState& state) { state.m_perioder.push_back(period(1, 2011, 12, 2011)); });
    test::loadEdited(doc,
                     [&](CompanyState& state) { state.m_perioder.push_back(period(1, 2012, 12, 2012)); });
    PeriodDialogModel dialog(doc, PeriodDialogMode::NewPeriod);
    EXPECT_STREQ(dialog.title(), "Ny period");
    EXPECT_TRUE(dialog.cancelEnabled());
    EXPECT_FALSE(dialog.startEnabled());
    EXPECT_EQ(dialog.startMonth(), 1);
    EXPECT_EQ(dialog.startYearText(), "2013");
    EXPECT_EQ(dialog.periodLines(),
              (std::vector<std::string>{"1.2011  -  12.2011  ( perioden låses för ändringar )",
                                        "1.2012  -  12.2012  ( periodens slutdatum låses )"}));
    dialog.setStartMonth(5); // disabled
    dialog.setStartYearText("2020");
    EXPECT_EQ(dialog.startMonth(), 1);
    EXPECT_EQ(dialog.startYearText(), "2013");

    CTallvingeDoc single;
    test::loadEdited(single,
                     [&](CompanyState& state) { state.m_perioder.push_back(period(7, 2012, 6, 2013)); });
    PeriodDialogModel after(single, PeriodDialogMode::NewPeriod);
    EXPECT_EQ(after.startMonth(), 7);
    EXPECT_EQ(after.startYearText(), "2013");
    EXPECT_EQ(after.periodLines().size(), 1u);
}

TEST(PeriodDialog, EndDateModeKeepsTheLastPeriodsStart) {
    CTallvingeDoc doc;
    test::loadEdited(doc,
                     [&](CompanyState& state) { state.m_perioder.push_back(period(1, 2011, 12, 2011)); });
    test::loadEdited(doc,
                     [&](CompanyState& state) { state.m_perioder.push_back(period(3, 2012, 12, 2012)); });
    PeriodDialogModel dialog(doc, PeriodDialogMode::EndDate);
    EXPECT_STREQ(dialog.title(), "Ändra slutdatum för den sista perioden");
    EXPECT_FALSE(dialog.startEnabled());
    EXPECT_EQ(dialog.startMonth(), 3);
    EXPECT_EQ(dialog.startYearText(), "2012");
    EXPECT_EQ(dialog.periodLines(),
              (std::vector<std::string>{"1.2011  -  12.2011 ( låst slutdatum )",
                                        "3.2012  -  12.2012 ( slutdatum som kan ändras )"}));
}

TEST(PeriodDialog, YearsMustBeWholeNumbersInRangeAndTheStartYearInside) {
    ScriptedPrompter prompter;
    for (const char* bad : {"", "12", "1999", "2100", "20x2", "-2012", "2012.5"}) {
        prompter.said.clear();
        EXPECT_FALSE(firstPeriod(prompter, 1, bad, 12, "2012")) << bad;
        EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgYearRange}) << bad;
        prompter.said.clear();
        EXPECT_FALSE(firstPeriod(prompter, 1, "2012", 12, bad)) << bad;
        EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgYearRange}) << bad;
    }
    prompter.said.clear();
    EXPECT_FALSE(firstPeriod(prompter, 1, "2000", 12, "2000"));
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgFelaktigtBegynnelsear});
    prompter.said.clear();
    EXPECT_FALSE(firstPeriod(prompter, 1, "2099", 12, "2099"));
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgFelaktigtBegynnelsear});
    prompter.said.clear();
    prompter.answer(Answer::Ok); // January 2098 to December 2099 is longer than 18 months
    EXPECT_TRUE(firstPeriod(prompter, 1, " 2098 ", 12, "2099"));
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgLangre18});
}

TEST(PeriodDialog, ShortPeriodQuestionAtOneHundredAndFiftyDays) {
    ScriptedPrompter prompter;
    // February to July: 150 days in 2011, 151 in the leap year 2012.
    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(firstPeriod(prompter, 2, "2011", 7, "2011"));
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgKortare6});
    prompter.said.clear();
    prompter.answer(Answer::Ok);
    EXPECT_TRUE(firstPeriod(prompter, 2, "2011", 7, "2011"));
    prompter.said.clear();
    EXPECT_TRUE(firstPeriod(prompter, 2, "2012", 7, "2012"));
    EXPECT_TRUE(prompter.said.empty());
    EXPECT_EQ(prompter.unscripted, 0);
}

TEST(PeriodDialog, LongPeriodQuestionFromFiveHundredAndFortyOneDays) {
    ScriptedPrompter prompter;
    EXPECT_TRUE(firstPeriod(prompter, 1, "2012", 6, "2013")); // 517 days
    EXPECT_TRUE(prompter.said.empty());
    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(firstPeriod(prompter, 1, "2012", 7, "2013")); // 547 days
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgLangre18});
    EXPECT_EQ(daysFromCivil(2013, 7, 1) - daysFromCivil(2012, 1, 1), 547);
    EXPECT_EQ(daysFromCivil(2011, 7, 1) - daysFromCivil(2011, 2, 1), 150);
}

TEST(PeriodDialog, EndMustComeAfterTheStartWhateverWasAnswered) {
    ScriptedPrompter prompter;
    prompter.answer(Answer::Ok);
    EXPECT_FALSE(firstPeriod(prompter, 5, "2012", 5, "2012"));
    EXPECT_EQ(prompter.said, (std::vector<std::string>{kMsgKortare6, kMsgSlutdatumMindre}));
    prompter.said.clear();
    prompter.answer(Answer::Ok);
    EXPECT_FALSE(firstPeriod(prompter, 5, "2013", 4, "2012"));
    EXPECT_EQ(prompter.said.back(), kMsgSlutdatumMindre);
}

TEST(PeriodDialog, NoVoucherMayLieAfterTheNewEnd) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    postVoucher(doc, 3, 2, 2012, {{1910, 100, 0}, {3000, 0, 100}});
    postVoucher(doc, 9, 11, 2012, {{1910, 50, 0}, {3000, 0, 50}});
    postVoucher(doc, 1, 4, 2012, {{1910, 50, 0}, {3000, 0, 50}});
    ScriptedPrompter prompter;
    PeriodDialogModel dialog(doc, PeriodDialogMode::EndDate);
    dialog.setEndMonth(10);
    dialog.setEndYearText("2012");
    EXPECT_FALSE(dialog.accept(prompter));
    EXPECT_EQ(prompter.said,
              std::vector<std::string>{
                  "Ett/flera transaktionsdatum  -verifikat nr 2-  finns registrerat efter slutdatumet!"});
    EXPECT_FALSE(dialog.accepted());
    prompter.said.clear();
    dialog.setEndMonth(11);
    EXPECT_TRUE(dialog.accept(prompter));
    EXPECT_TRUE(prompter.said.empty());
    EXPECT_EQ(dialog.choice().franManad, 1);
    EXPECT_EQ(dialog.choice().franAr, 2012);
    EXPECT_EQ(dialog.choice().tillManad, 11);
    EXPECT_EQ(dialog.choice().tillAr, 2012);
}

TEST(FirstPeriod, OkCreatesTheOpenPeriod) {
    CTallvingeDoc doc;
    ScriptedPrompter prompter;
    prompter.on<PeriodDialogModel>([&prompter](PeriodDialogModel& dialog) {
        EXPECT_EQ(dialog.mode(), PeriodDialogMode::FirstPeriod);
        dialog.setStartMonth(7);
        dialog.setStartYearText("2012");
        dialog.setEndMonth(6);
        dialog.setEndYearText("2013");
        return dialog.accept(prompter) ? Answer::Ok : Answer::Cancel;
    });
    EXPECT_TRUE(runFirstPeriodPrompt(doc, prompter));
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgBestamForstaPerioden});
    EXPECT_EQ(prompter.dialogs, std::vector<std::string>{kFirstPeriodTitle});
    EXPECT_TRUE(doc.isModified());
    ASSERT_EQ(doc.state().m_perioder.size(), 1u);
    const CPeriod& p = doc.state().m_perioder.front();
    EXPECT_EQ(p.m_nFranManad, 7);
    EXPECT_EQ(p.m_nFranAr, 2012);
    EXPECT_EQ(p.m_nTillManad, 6);
    EXPECT_EQ(p.m_nTillAr, 2013);
    EXPECT_EQ(p.m_nVinstradNy, 1);
    EXPECT_EQ(doc.state().m_nAktuellPeriod, 0);
    EXPECT_EQ(doc.state().m_nFranManad, 7);
    EXPECT_EQ(doc.state().m_nTillAr, 2013);
    EXPECT_EQ(doc.state().m_bNyttForetag, 0);
    EXPECT_TRUE(doc.hasOpenPeriod());
    EXPECT_EQ(doc.periodLabel(), "7.2012 - 6.2013");

    // Asked once only.
    EXPECT_FALSE(runFirstPeriodPrompt(doc, prompter));
    EXPECT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.dialogs.size(), 1u);
}

TEST(FirstPeriod, ACompanyThatAlreadyHasPeriodsIsNotAskedAgain) {
    // A file may say "new" although it has periods; a second first period would break the chain.
    CTallvingeDoc doc;
    doc.addFirstPeriod({1, 2012, 12, 2012});
    ASSERT_EQ(doc.state().m_bNyttForetag, 1);
    ScriptedPrompter prompter;
    EXPECT_FALSE(runFirstPeriodPrompt(doc, prompter));
    EXPECT_TRUE(prompter.said.empty());
    EXPECT_TRUE(prompter.dialogs.empty());
    EXPECT_EQ(doc.state().m_perioder.size(), 1u);
    EXPECT_EQ(doc.state().m_bNyttForetag, 0);
}

TEST(FirstPeriod, EscapeLeavesACompanyWithoutPeriod) {
    CTallvingeDoc doc;
    ScriptedPrompter prompter;
    prompter.on<PeriodDialogModel>([](PeriodDialogModel&) { return Answer::Cancel; });
    EXPECT_FALSE(runFirstPeriodPrompt(doc, prompter));
    EXPECT_TRUE(doc.state().m_perioder.empty());
    EXPECT_EQ(doc.state().m_bNyttForetag, 0);
    EXPECT_FALSE(doc.hasOpenPeriod());
    // A dialog closed without OK is not taken as OK, even if its fields are right.
    CTallvingeDoc other;
    prompter.on<PeriodDialogModel>([](PeriodDialogModel& dialog) {
        dialog.setStartYearText("2012");
        dialog.setEndYearText("2012");
        return Answer::Ok;
    });
    EXPECT_FALSE(runFirstPeriodPrompt(other, prompter));
    EXPECT_TRUE(other.state().m_perioder.empty());
}

} // namespace
} // namespace kv
