// "Bokför momsavräkning": the voucher dialog opens with the settlement typed
// in and registers it through "OK" like any voucher; a chart without 2650
// asks for the settlement account; the commands of the menu "Moms".
#include "AppFakeHost.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "VatTestCompanies.h"

#include "app/AppController.h"
#include "reports/AccountChoiceModel.h"
#include "reports/MonthRangeModel.h"
#include "reports/VatReportModel.h"
#include "voucher/VoucherFormModel.h"
#include "voucher/VoucherLayout.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using C = CommandId;

struct App {
    test::TempDir templates;
    test::ScriptedPrompter prompter;
    AppController controller{prompter, templates.path()};
    test::FakeHost host{controller};

    App() { test::newCompanyWithoutPeriod(controller, prompter); }
};

TEST(VatSettlement, OpensTheVoucherDialogWithTheLinesAndRegistersOnOk) {
    App app;
    CTallvingeDoc& doc = app.controller.document();
    test::buildBasVatCompany(doc, app.templates.path());
    const std::size_t before = doc.state().m_verifikat.size();
    startVatSettlement(app.controller, VatRange{{2025, 11}, {2026, 1}, false});
    ASSERT_EQ(app.host.forms.size(), 1U);
    auto& form = static_cast<VoucherFormModel&>(*app.host.forms[0]);
    EXPECT_EQ(doc.state().m_verifikat.size(), before); // proposed, not booked
    EXPECT_EQ(form.fieldText(VoucherField::Vertext), "Momsavräkning 11.2025 - 1.2026");
    EXPECT_EQ(form.fieldText(VoucherField::TransDay), "31");
    EXPECT_EQ(form.grid().text(1, kColKonto), "2610");
    EXPECT_EQ(form.grid().text(2, kColKonto), "2640");
    EXPECT_EQ(form.grid().text(3, kColKonto), "2650");
    EXPECT_EQ(form.differenceOre(), 0);
    EXPECT_TRUE(app.prompter.said.empty()) << app.prompter.said.front();

    app.prompter.answer(Answer::Ok).answer(Answer::Ok);
    ASSERT_TRUE(form.ok());
    ASSERT_EQ(doc.state().m_verifikat.size(), before + 1);
    const CEttVerifikat& booked = doc.state().m_verifikat.back();
    EXPECT_EQ(booked.m_strVertext, "Momsavräkning 11.2025 - 1.2026");
    ASSERT_EQ(booked.m_rader.size(), 3U);
    EXPECT_DOUBLE_EQ(booked.m_rader[0].m_dDebet, 2396.91);
    EXPECT_DOUBLE_EQ(booked.m_rader[1].m_dKredit, 1000.0);
    EXPECT_DOUBLE_EQ(booked.m_rader[2].m_dKredit, 1396.91);
    // The report still shows the months' VAT, and names the settlement.
    const VatReport after = buildVatReport(doc, VatRange{{2025, 11}, {2026, 1}, false});
    EXPECT_EQ(after.outputBooked, 239691);
    EXPECT_EQ(after.settlements, std::vector<std::int32_t>{booked.m_nVernr});

    // The months are settled now: a second settlement is asked about first,
    // Return keeping it from being proposed.
    const std::string question =
        settledAlreadyQuestion(VatRange{{2025, 11}, {2026, 1}, false}, after.settlements);
    EXPECT_NE(question.find("verifikat " + std::to_string(booked.m_nVernr)), std::string::npos) << question;
    app.prompter.said.clear();
    app.prompter.answer(Answer::Cancel);
    startVatSettlement(app.controller, VatRange{{2025, 11}, {2026, 1}, false});
    EXPECT_EQ(app.prompter.said, std::vector<std::string>{question});
    EXPECT_EQ(app.prompter.defaultOf[question], Answer::Cancel);
    EXPECT_TRUE(app.host.forms.empty());
    app.prompter.answer(Answer::Ok);
    startVatSettlement(app.controller, VatRange{{2025, 11}, {2026, 1}, false});
    EXPECT_EQ(app.host.forms.size(), 1U);
}

TEST(VatSettlement, AChartWithout2650AsksForTheAccount) {
    App app;
    CTallvingeDoc& doc = app.controller.document();
    test::buildFinlandVatCompany(doc, app.templates.path());
    app.prompter.on<AccountChoiceModel>([](AccountChoiceModel& choice) {
        EXPECT_EQ(choice.title(), kVatSettlementAccountTitle);
        EXPECT_TRUE(choice.selectTyped("2936"));
        return Answer::Ok;
    });
    startVatSettlement(app.controller, VatRange{{2025, 4}, {2025, 6}, false});
    ASSERT_EQ(app.prompter.dialogs, std::vector<std::string>{kVatSettlementAccountTitle});
    ASSERT_EQ(app.host.forms.size(), 1U);
    auto& form = static_cast<VoucherFormModel&>(*app.host.forms[0]);
    EXPECT_EQ(form.grid().text(4, kColKonto), "1719");
    EXPECT_EQ(form.grid().text(5, kColKonto), "2936"); // 2932 booked nothing: no line
    EXPECT_EQ(form.differenceOre(), 0);
    app.prompter.answer(Answer::Ok); // the proposal may go
    form.cancel();
    EXPECT_TRUE(app.host.forms.empty());

    // Cancel in the account choice: no dialog.
    app.prompter.on<AccountChoiceModel>([](AccountChoiceModel&) { return Answer::Cancel; });
    startVatSettlement(app.controller, VatRange{{2025, 4}, {2025, 6}, false});
    EXPECT_TRUE(app.host.forms.empty());
}

TEST(VatSettlement, NoVatNoDialog) {
    App app;
    CTallvingeDoc& doc = app.controller.document();
    test::buildBasVatCompany(doc, app.templates.path());
    startVatSettlement(app.controller, VatRange{{2026, 4}, {2026, 6}, false});
    EXPECT_TRUE(app.host.forms.empty());
    EXPECT_EQ(app.prompter.said,
              std::vector<std::string>{"Det finns ingen moms att föra över under 4.2026 - 6.2026."});
}

TEST(VatSettlement, TheMenuMomsOpensTheReportAndOffersTheSettlementBesideIt) {
    App app;
    test::buildBasVatCompany(app.controller.document(), app.templates.path());
    EXPECT_TRUE(app.controller.commandState(C::VatReportWindow).enabled);
    EXPECT_FALSE(app.controller.commandState(C::VatSettlement).enabled);
    app.controller.execute(C::VatReportWindow);
    EXPECT_TRUE(app.host.isShown(WindowKind::VatReport));
    EXPECT_FALSE(app.controller.commandState(C::VatReportWindow).enabled);
    EXPECT_TRUE(app.controller.commandState(C::VatSettlement).enabled);
}

TEST(VatReportWindowModel, ChosenMonthsWinAndTheWholePeriodCanBeChosen) {
    test::TempDir templates;
    CTallvingeDoc doc;
    test::buildBasVatCompany(doc, templates.path());
    test::ScriptedPrompter prompter;
    VatReportModel model;
    EXPECT_TRUE(model.range(doc)->defaulted);
    prompter.on<MonthRangeModel>([&prompter](MonthRangeModel& dialog) {
        dialog.setWholePeriod(true);
        return dialog.accept(prompter) ? Answer::Ok : Answer::Cancel;
    });
    ASSERT_TRUE(model.chooseMonths(doc, prompter));
    EXPECT_EQ(model.range(doc)->from, (YearMonth{2025, 7}));
    EXPECT_EQ(model.range(doc)->to, (YearMonth{2026, 6}));
    EXPECT_EQ(model.report(doc).outputBooked, 264691); // October's 250 too
    prompter.on<MonthRangeModel>([](MonthRangeModel&) { return Answer::Cancel; });
    EXPECT_FALSE(model.chooseMonths(doc, prompter));
    EXPECT_EQ(model.range(doc)->from, (YearMonth{2025, 7}));
}

} // namespace
} // namespace kv
