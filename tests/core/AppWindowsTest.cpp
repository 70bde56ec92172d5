// The company's windows: one of each kind, the commands that reopen a window
// afresh, the statement windows' grid state, and the last window closing the
// company.
#include "AppFakeHost.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include "app/AppController.h"
#include "chart/ChartEditorModel.h"
#include "periods/FirstPeriod.h"
#include "periods/PeriodDialogModel.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using C = CommandId;
using test::FakeHost;
using test::ScriptedPrompter;

struct App {
    test::TempDir templates;
    ScriptedPrompter prompter;
    AppController controller{prompter, templates.path()};
    FakeHost host{controller};

    App() {
        // The first period of a new company is left unchosen unless a test says otherwise.
        prompter.on<PeriodDialogModel>([](PeriodDialogModel&) { return Answer::Cancel; });
    }
    // A new company, its first question answered.
    void newCompany() {
        controller.execute(C::NewCompany);
        prompter.said.clear();
        prompter.dialogs.clear();
    }

    CTallvingeDoc& doc() { return controller.document(); }
    void newApprovedCompany() {
        newCompany();
        test::buildSmallCompany(doc());
        doc().savedInFull();
        host.log.clear();
    }
};

TEST(AppWindows, ANewCompanyOpensItsJournal) {
    App app;
    app.controller.execute(C::NewCompany);
    ASSERT_TRUE(app.controller.companyOpen());
    EXPECT_EQ(app.host.log, (std::vector<std::string>{"öppna grundbok"}));
    // Once the journal shows, the company's first question.
    EXPECT_EQ(app.prompter.said, (std::vector<std::string>{kMsgBestamForstaPerioden}));
    EXPECT_EQ(app.prompter.dialogs, (std::vector<std::string>{kFirstPeriodTitle}));
    EXPECT_EQ(app.controller.windows().active(), WindowKind::Journal);
    EXPECT_EQ(app.controller.mainWindowTitle(), "  Kvistoran - Namnlös");
    EXPECT_FALSE(app.doc().isModified());
    // Only after "Stäng" can another company come.
    app.controller.execute(C::NewCompany);
    EXPECT_EQ(app.host.log.size(), 1U);
}

TEST(AppWindows, AWindowCommandOpensItsWindowOnce) {
    App app;
    app.newApprovedCompany();
    app.controller.execute(C::LedgerWindow);
    app.controller.execute(C::LedgerWindow); // off while the ledger is open
    EXPECT_EQ(app.host.log, (std::vector<std::string>{"öppna huvudbok"}));
    EXPECT_FALSE(app.controller.commandState(C::LedgerWindow).enabled);
    EXPECT_TRUE(app.host.userCloses(WindowKind::Ledger));
    EXPECT_TRUE(app.controller.commandState(C::LedgerWindow).enabled);
    EXPECT_TRUE(app.controller.companyOpen()); // the journal is still open
}

TEST(AppWindows, ChartAndVatCommandsRunTheirEditorOverTheTrialBalanceOpenedAfresh) {
    App app;
    app.newApprovedCompany();
    app.controller.execute(C::TrialBalanceWindow);
    app.prompter.on<ChartEditorModel>([](ChartEditorModel&) { return Answer::Cancel; });
    app.controller.execute(C::IncomeChart);
    app.controller.execute(C::BalanceChart);
    // Without rules of its own the company takes the default rules at once, without the dialog.
    app.controller.execute(C::VatRules);
    EXPECT_EQ(app.prompter.dialogs,
              (std::vector<std::string>{"Konton i resultaträkningen", "Konton i balansräkningen"}));
    EXPECT_TRUE(app.doc().isModified());
    EXPECT_EQ(app.host.log, (std::vector<std::string>{"öppna råbalans", "stäng råbalans", "öppna råbalans",
                                                      "stäng råbalans", "öppna råbalans", "stäng råbalans",
                                                      "öppna råbalans"}));
    EXPECT_TRUE(app.prompter.said.empty());
    EXPECT_TRUE(app.controller.windows().isOpen(WindowKind::TrialBalance));
}

TEST(AppWindows, FindAccountReopensTheLedger) {
    App app;
    app.newApprovedCompany();
    app.controller.execute(C::FindAccount);
    app.controller.execute(C::FindAccount);
    EXPECT_EQ(app.host.log, (std::vector<std::string>{"öppna huvudbok", "stäng huvudbok", "öppna huvudbok"}));
}

TEST(AppWindows, ReopeningTheOnlyWindowKeepsTheCompany) {
    App app;
    app.newApprovedCompany();
    app.controller.execute(C::TrialBalanceWindow);
    ASSERT_TRUE(app.host.userCloses(WindowKind::Journal));
    app.prompter.on<ChartEditorModel>([](ChartEditorModel&) { return Answer::Cancel; });
    app.controller.execute(C::IncomeChart);
    EXPECT_TRUE(app.controller.companyOpen());
    EXPECT_TRUE(app.host.isShown(WindowKind::TrialBalance));
}

TEST(AppWindows, TheStatementWindowsKeepTheirGridStateInTheDocument) {
    App app;
    app.newApprovedCompany();
    EXPECT_EQ(app.doc().state().m_pResultatGrid, nullptr);
    app.controller.execute(C::IncomeStatementWindow);
    const GridState* income = app.doc().state().m_pResultatGrid.get();
    ASSERT_NE(income, nullptr);
    EXPECT_EQ(app.doc().state().m_pBalansGrid, nullptr);
    EXPECT_EQ(app.controller.menuBar(), MenuBarId::Report);
    app.host.userCloses(WindowKind::IncomeStatement);
    app.controller.execute(C::IncomeStatementWindow);
    EXPECT_EQ(app.doc().state().m_pResultatGrid.get(), income);
    app.controller.execute(C::BalanceSheetWindow);
    EXPECT_NE(app.doc().state().m_pBalansGrid, nullptr);
    // Making the state is no change of the books.
    EXPECT_FALSE(app.doc().isModified());
}

TEST(AppWindows, TheMenuFollowsTheActiveWindow) {
    App app;
    EXPECT_EQ(app.controller.menuBar(), MenuBarId::NoCompany);
    app.newApprovedCompany();
    app.controller.execute(C::BalanceSheetWindow);
    EXPECT_EQ(app.controller.menuBar(), MenuBarId::Report);
    app.controller.windowActivated(WindowKind::Journal);
    EXPECT_EQ(app.controller.menuBar(), MenuBarId::Company);
    // Activating a window that is open only through its command activates it.
    app.controller.execute(C::SeveralVouchers);
    EXPECT_EQ(app.host.log.back(), "aktivera grundbok");
    // With the journal closed the command opens it: it never does nothing.
    app.controller.execute(C::BalanceSheetWindow);
    EXPECT_TRUE(app.host.userCloses(WindowKind::Journal));
    app.controller.execute(C::SeveralVouchers);
    EXPECT_EQ(app.host.log.back(), "öppna grundbok");
}

TEST(AppWindows, ClosingTheLastWindowClosesTheCompany) {
    App app;
    app.newApprovedCompany();
    app.controller.execute(C::LedgerWindow);
    EXPECT_TRUE(app.host.userCloses(WindowKind::Journal));
    EXPECT_TRUE(app.prompter.said.empty()); // not the last one: no question
    EXPECT_TRUE(app.host.userCloses(WindowKind::Ledger));
    EXPECT_FALSE(app.controller.companyOpen());
    EXPECT_EQ(app.controller.menuBar(), MenuBarId::NoCompany);
}

TEST(AppWindows, ClosingTheLastWindowOfAModifiedCompanyAsksFirst) {
    App app;
    app.newApprovedCompany();
    test::changeSomething(app.doc());
    app.prompter.answer(Answer::Cancel).answer(Answer::No);
    EXPECT_FALSE(app.host.userCloses(WindowKind::Journal));
    EXPECT_TRUE(app.controller.companyOpen());
    EXPECT_TRUE(app.host.isShown(WindowKind::Journal));
    EXPECT_TRUE(app.host.userCloses(WindowKind::Journal));
    EXPECT_FALSE(app.controller.companyOpen());
    EXPECT_EQ(app.prompter.said, (std::vector<std::string>{"Vill du spara ändringarna i Namnlös?",
                                                           "Vill du spara ändringarna i Namnlös?"}));
}

TEST(AppWindows, ClosingTheCompanyClosesEveryWindow) {
    App app;
    app.newApprovedCompany();
    app.controller.execute(C::LedgerWindow);
    app.controller.execute(C::IncomeStatementWindow);
    app.host.log.clear();
    app.controller.execute(C::CloseCompany);
    EXPECT_FALSE(app.controller.companyOpen());
    EXPECT_TRUE(app.host.shown.empty());
    EXPECT_EQ(app.host.log, (std::vector<std::string>{"stäng grundbok", "stäng huvudbok", "stäng resultat"}));
    EXPECT_TRUE(app.controller.windows().empty());
}

TEST(AppWindows, WindowAndFrameCommandsGoToTheWindows) {
    App app;
    app.newApprovedCompany();
    app.controller.execute(C::Cascade);
    app.controller.execute(C::NextWindow);
    app.controller.execute(C::About);
    app.controller.execute(C::Calendar);
    app.controller.execute(C::Bold); // off: the journal is no grid
    app.host.view.isGrid = true;
    app.controller.execute(C::Bold);
    EXPECT_EQ(app.host.performed,
              (std::vector<C>{C::Cascade, C::NextWindow, C::About, C::Calendar, C::Bold}));
}

TEST(AppWindows, CommandsThatNoSubsystemRegisteredStayOff) {
    App app;
    app.newApprovedCompany();
    // Every command of the menus has a handler now: an id that none names stands for a missing one.
    for (const C id : {static_cast<C>(1), static_cast<C>(32999)}) {
        EXPECT_FALSE(app.controller.commands().has(id)) << static_cast<int>(id);
        EXPECT_FALSE(app.controller.commandState(id).enabled) << static_cast<int>(id);
        app.controller.execute(id); // a key or a stale menu item does nothing
    }
    EXPECT_TRUE(app.prompter.said.empty());
    for (const C id : {C::NewVoucher, C::SaveChartTemplate, C::DeleteChartTemplate}) {
        EXPECT_TRUE(app.controller.commandState(id).enabled) << static_cast<int>(id);
    }
}

} // namespace
} // namespace kv
