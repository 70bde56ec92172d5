// The flows of the company commands and their messages, in order: "Nytt
// verifikat", "Ta fram önskat verifikat", the help texts; and start-up.
#include "AppFakeHost.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include "app/AppController.h"
#include "app/AppTexts.h"
#include "app/StartUp.h"
#include "model/DocumentTexts.h"
#include "model/ResultRow.h"
#include "voucher/NewVoucherCheck.h"
#include "voucher/VoucherLookupModel.h"
#include "voucher/VoucherTexts.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>

namespace kv {
namespace {

using C = CommandId;
using test::FakeHost;
using test::ScriptedPrompter;

void giveVatRule(CTallvingeDoc& doc) {
    CAutomoms rule;
    rule.m_dMomssats = 25.0;
    rule.m_nDebetkonto = 4000;
    doc.setVatRules({rule});
}

// A company ready for vouchers: both charts, one period and a VAT rule.
void buildReadyCompany(CTallvingeDoc& doc) {
    test::buildSmallCompany(doc);
    giveVatRule(doc);
}

// The company as its file holds it with more periods after the open first one.
void addPeriods(CTallvingeDoc& doc, int count) {
    test::loadEdited(doc, [count](CompanyState& state) {
        for (int i = 0; i < count; ++i) {
            CPeriod period;
            period.m_nFranManad = 1;
            period.m_nFranAr = 2013 + i;
            period.m_nTillManad = 12;
            period.m_nTillAr = 2013 + i;
            state.m_perioder.push_back(std::move(period));
        }
    });
}

// The result row of the income chart names account.
void nameResultAccount(CTallvingeDoc& doc, const std::string& account) {
    test::loadEdited(doc, [&account](CompanyState& state) {
        state.m_resKonton[state.m_resKonton.size() - 2]->m_strKolumn2 = account;
    });
}

TEST(AppNewVoucher, AReadyCompanyPassesEveryCheckSilently) {
    CTallvingeDoc doc;
    buildReadyCompany(doc);
    ScriptedPrompter prompter;
    EXPECT_EQ(checkNewVoucher(doc, prompter, false), NewVoucherOutcome::Ready);
    EXPECT_TRUE(prompter.said.empty());
}

TEST(AppNewVoucher, WithoutIncomeRowsTheResultRowCheckStopsFirst) {
    CTallvingeDoc doc;
    ScriptedPrompter prompter;
    EXPECT_EQ(checkNewVoucher(doc, prompter, false), NewVoucherOutcome::Stopped);
    EXPECT_EQ(prompter.said, (std::vector<std::string>{
                                 "Resultaträkningen är ej registrerad. Gå till   Kontoplan - Kontoplan för "
                                 "resultaträkning."}));
}

TEST(AppNewVoucher, TheResultMustGoToALiabilitiesAccount) {
    const std::string question =
        "Vilket konto skall vinst/förlust sättas in på i balansräkningen / passiva? Gå "
        "till   Kontoplan - Kontoplan för resultaträkning.";
    CTallvingeDoc doc;
    buildReadyCompany(doc);
    // An assets account does not take the result.
    nameResultAccount(doc, "1930");
    EXPECT_EQ(resultRowProblem(doc), question);
    // Nor does a number that is no account (headings carry 0).
    nameResultAccount(doc, "");
    EXPECT_EQ(resultRowProblem(doc), question);
    nameResultAccount(doc, "2440");
    EXPECT_EQ(resultRowProblem(doc), std::nullopt);
    // Without an assets total there is no liabilities side at all.
    test::loadEdited(doc, [](CompanyState& state) {
        for (CKonto* row : state.m_balKonton) {
            row->m_strKolumn5.clear();
        }
    });
    ScriptedPrompter prompter;
    EXPECT_EQ(checkNewVoucher(doc, prompter, false), NewVoucherOutcome::Stopped);
    EXPECT_EQ(prompter.said, (std::vector<std::string>{question}));
}

TEST(AppNewVoucher, OnlyTheLastTwoPeriodsTakeVouchers) {
    CTallvingeDoc doc;
    buildReadyCompany(doc);
    addPeriods(doc, 2); // three periods, the first one open
    ScriptedPrompter prompter;
    EXPECT_EQ(checkNewVoucher(doc, prompter, false), NewVoucherOutcome::Stopped);
    EXPECT_EQ(prompter.said, (std::vector<std::string>{"Perioden är låst"}));
    test::loadEdited(doc, [](CompanyState& state) { state.m_nAktuellPeriod = 1; });
    EXPECT_FALSE(doc.periodLocked());
    EXPECT_EQ(checkNewVoucher(doc, prompter, false), NewVoucherOutcome::Ready);
    EXPECT_EQ(prompter.said.size(), 1U);
}

TEST(AppNewVoucher, ACompanyWithoutAPeriodTakesNoVoucher) {
    CTallvingeDoc doc;
    buildReadyCompany(doc);
    test::loadEdited(doc, [](CompanyState& state) { state.m_perioder.clear(); });
    ScriptedPrompter prompter;
    EXPECT_EQ(checkNewVoucher(doc, prompter, false), NewVoucherOutcome::Stopped);
    EXPECT_EQ(prompter.said, (std::vector<std::string>{kMsgIngenPeriod}));
}

TEST(AppNewVoucher, AnOpenVoucherDialogMeansNothingHappens) {
    ScriptedPrompter prompter;
    AppController controller(prompter, "");
    FakeHost host(controller);
    test::newCompanyWithoutPeriod(controller, prompter);
    CTallvingeDoc& doc = controller.document();
    buildReadyCompany(doc);
    test::openVoucherForm(controller);
    doc.setVatRules({});
    EXPECT_EQ(checkNewVoucher(doc, prompter, controller.isFormOpen(FormKind::Voucher)),
              NewVoucherOutcome::AlreadyOpen);
    EXPECT_TRUE(prompter.said.empty());
}

TEST(AppNewVoucher, WithoutVatRulesTheUserIsSentToSattMoms) {
    ScriptedPrompter prompter;
    AppController controller(prompter, "");
    FakeHost host(controller);
    test::newCompanyWithoutPeriod(controller, prompter);
    test::buildSmallCompany(controller.document());
    host.log.clear();
    controller.execute(C::NewVoucher);
    controller.execute(C::NewVoucher);
    EXPECT_EQ(prompter.said, (std::vector<std::string>{kMsgMomsEjGodkand, kMsgMomsEjGodkand}));
    EXPECT_TRUE(host.log.empty());
    // With the dialog open the command is off: the key does nothing, though
    // the rules are gone again.
    giveVatRule(controller.document());
    test::openVoucherForm(controller);
    controller.document().setVatRules({});
    controller.execute(C::NewVoucher);
    EXPECT_EQ(prompter.said.size(), 2U);
    EXPECT_EQ(host.forms.size(), 1U);
}

TEST(AppFindVoucher, AnOpenVoucherDialogIsToldToClose) {
    ScriptedPrompter prompter;
    AppController controller(prompter, "");
    FakeHost host(controller);
    test::newCompanyWithoutPeriod(controller, prompter);
    CTallvingeDoc& doc = controller.document();
    buildReadyCompany(doc);
    test::postVoucher(doc, 3, 2, 2012, {{1930, 100.0, 0.0}, {3000, 0.0, 100.0}});
    FormModel& voucher = test::openVoucherForm(controller);
    host.log.clear();
    controller.execute(C::FindVoucher);
    EXPECT_EQ(prompter.said, (std::vector<std::string>{"Verifikatdialogen är öppen. Stäng den!"}));
    EXPECT_TRUE(prompter.dialogs.empty());
    EXPECT_TRUE(host.log.empty());

    ASSERT_TRUE(controller.closeFormByUser(voucher));
    host.log.clear();
    prompter.on<VoucherLookupModel>([](VoucherLookupModel&) { return Answer::Cancel; });
    controller.execute(C::VoucherList);
    controller.execute(C::FindVoucher);
    EXPECT_EQ(prompter.dialogs, std::vector<std::string>{"Ta fram verifikat"});
    EXPECT_EQ(host.log, (std::vector<std::string>{"öppna verifikatlista", "stäng verifikatlista",
                                                  "öppna verifikatlista"}));
}

TEST(AppHelp, EachHelpCommandShowsItsTextOnce) {
    ScriptedPrompter prompter;
    AppController controller(prompter, "");
    controller.execute(C::HelpOpening);
    controller.execute(C::HelpMonthRange);
    EXPECT_EQ(prompter.said, (std::vector<std::string>{
                                 "Endast filer av typen  '.bok'   går att öppna. Det går således inte att "
                                 "öppna en fil av typen  '.per'  i periodmappen",
                                 "Klicka    Visa  eller   Visa/Inställningar - Månadsbokslut. Här kan du "
                                 "välja att visa bokslut/transaktioner för en eller flera månader."}));
}

TEST(AppReportOption, OnlyUsedAccountsTogglesAndIsAChange) {
    ScriptedPrompter prompter;
    AppController controller(prompter, "");
    FakeHost host(controller);
    test::newCompanyWithoutPeriod(controller, prompter);
    test::buildSmallCompany(controller.document());
    controller.execute(C::IncomeStatementWindow);
    host.view.isGrid = true;
    controller.execute(C::OnlyUsedAccounts);
    EXPECT_EQ(controller.document().state().m_nEndastAnvanda, 1);
    EXPECT_TRUE(controller.commandState(C::OnlyUsedAccounts).checked);
    EXPECT_TRUE(controller.document().isModified());
    controller.execute(C::OnlyUsedAccounts);
    EXPECT_EQ(controller.document().state().m_nEndastAnvanda, 0);
}

TEST(AppStartUp, LinesPerPageComeFromTheDefaultPrinter) {
    EXPECT_EQ(linesPerPage(std::nullopt), (PageLines{20, false}));
    EXPECT_EQ(linesPerPage(PrinterMetrics{6600, 100}), (PageLines{61, true}));
    EXPECT_EQ(linesPerPage(PrinterMetrics{1000, 0}), (PageLines{20, false}));
    EXPECT_EQ(linesPerPage(PrinterMetrics{400, 100}), (PageLines{20, false})); // too small for a listing
}

TEST(AppStartUp, NumbersKeepTheDecimalPointUnderTheUsersLocale) {
    const std::string before = std::setlocale(LC_ALL, nullptr);
    setUserLocale();
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    std::setlocale(LC_ALL, before.c_str());
}

} // namespace
} // namespace kv

namespace kv {
namespace {

TEST(AppStartUp, TheCommandLineNamesAtMostOneCompany) {
    EXPECT_FALSE(readCommandLine({}).company.has_value());
    const CommandLine one = readCommandLine({"/srv/Firma.bok"});
    EXPECT_EQ(one.company, "/srv/Firma.bok");
    EXPECT_TRUE(one.error.empty());
    EXPECT_TRUE(readCommandLine({"--help"}).help);
    EXPECT_TRUE(readCommandLine({"-v"}).version);
    EXPECT_EQ(readCommandLine({"--färg"}).error, "Okänt val: --färg");
    EXPECT_EQ(readCommandLine({"a.bok", "b.bok"}).error, "Ange högst ett företag.");
    // After "--" even a name that starts with a dash is a company.
    EXPECT_EQ(readCommandLine({"--", "-konstig.bok"}).company, "-konstig.bok");
}

} // namespace
} // namespace kv
