// Setting up a company through the shell: the first-period prompt and the
// guidance button of the journal, the editors that the trial-balance window
// runs for the chart and VAT commands, the template commands, and a company
// left without a period.
#include "AppFakeHost.h"
#include "ChartTestSupport.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include "app/AppController.h"
#include "app/SetupFlow.h"
#include "chart/ChartEditorModel.h"
#include "chart/ChartTemplates.h"
#include "chart/TemplateChooserModel.h"
#include "chart/UserTemplates.h"
#include "periods/FirstPeriod.h"
#include "periods/PeriodDialogModel.h"
#include "storage/CompanyFiles.h"
#include "storage/FileIo.h"
#include "storage/TemplateStore.h"
#include "voucher/VatRulesModel.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using C = CommandId;
using test::FakeHost;
using test::ScriptedPrompter;
using test::TemplateFolder;
using test::typeInto;

std::int32_t rowOf(const Grid& grid, const std::string& number) {
    for (std::int32_t r = 1; r <= grid.rowCount(); ++r) {
        if (grid.storedText(r, kColKontonr) == number) {
            return r;
        }
    }
    return 0;
}

std::vector<std::string> chartNames(const CTallvingeDoc& doc) {
    std::vector<std::string> names;
    for (const auto& konto : doc.state().m_allaKonton) {
        names.push_back(std::to_string(konto->m_nKontonr) + " " + konto->m_strKolumn2);
    }
    return names;
}

// The application with windows that behave as the window program's do: the
// journal refreshes its guidance; the commands run the editors themselves.
struct App {
    TemplateFolder templates;
    ScriptedPrompter prompter;
    AppController controller{prompter, templates.path()};
    FakeHost host{controller};

    // What the journal shows: the guidance button while the company has no chart.
    bool guidanceButton() { return needsChartGuidance(doc()); }
    CTallvingeDoc& doc() { return controller.document(); }
    bool enabled(C id) const { return controller.commandState(id).enabled; }

    void choosePeriod(const char* year) {
        prompter.on<PeriodDialogModel>([this, year](PeriodDialogModel& dialog) {
            dialog.setStartYearText(year);
            dialog.setEndYearText(year);
            return dialog.accept(prompter) ? Answer::Ok : Answer::Cancel;
        });
    }
    void chooseTemplate(const std::string& name) {
        prompter.on<TemplateChooserModel>([name](TemplateChooserModel& chooser) {
            EXPECT_TRUE(chooser.selectName(name));
            chooser.accept();
            return Answer::Ok;
        });
    }
    void approveEveryEditor() {
        prompter.on<ChartEditorModel>(
            [](ChartEditorModel& editor) { return editor.approve() ? Answer::Ok : Answer::Cancel; });
        prompter.on<VatRulesModel>(
            [](VatRulesModel& rules) { return rules.approve() ? Answer::Ok : Answer::Cancel; });
    }
    // A company set up from the association template, every default taken.
    void newAssociation() {
        choosePeriod("2012");
        controller.execute(C::NewCompany);
        test::setUpCompany(doc(), kMallForening, templates.path());
        doc().savedInFull();
        prompter.said.clear();
        prompter.dialogs.clear();
        host.log.clear();
    }
};

TEST(SetupThroughTheShell, ANewCompanyGoesFromItsFirstPeriodToBooksReadyForVouchers) {
    App app;
    app.choosePeriod("2012");
    app.controller.execute(C::NewCompany);
    EXPECT_EQ(app.prompter.said, std::vector<std::string>{kMsgBestamForstaPerioden});
    EXPECT_EQ(app.prompter.dialogs, std::vector<std::string>{kFirstPeriodTitle});
    ASSERT_TRUE(app.doc().hasOpenPeriod());
    EXPECT_TRUE(app.doc().isModified());
    EXPECT_TRUE(app.enabled(C::Save));
    EXPECT_TRUE(app.guidanceButton());
    EXPECT_FALSE(app.enabled(C::IncomeChart));

    // The guidance button.
    app.chooseTemplate(kMallForening);
    app.approveEveryEditor();
    app.controller.runChartGuidance();
    EXPECT_EQ(app.prompter.dialogs, (std::vector<std::string>{kFirstPeriodTitle, kTemplateChooserTitle,
                                                              kTitleBalansplan, kTitleResultatplan}));
    EXPECT_TRUE(app.host.isShown(WindowKind::TrialBalance)); // which hosted the editors
    ASSERT_TRUE(app.doc().bothChartsApproved());
    EXPECT_EQ(app.doc().state().m_momsregler.size(), 54u);
    EXPECT_FALSE(needsChartGuidance(app.doc()));
    EXPECT_TRUE(needsFirstVoucherHint(app.doc()));
    for (const C id : {C::NewVoucher, C::LedgerWindow, C::BalanceSheetWindow, C::IncomeChart, C::VatRules,
                       C::SaveChartTemplate}) {
        EXPECT_TRUE(app.enabled(id)) << static_cast<int>(id);
    }
    EXPECT_EQ(app.prompter.unscripted, 0);
}

TEST(SetupThroughTheShell, AChartCommandOpensTheTrialBalanceWhichRunsTheEditor) {
    App app;
    app.newAssociation();
    app.controller.execute(C::TrialBalanceWindow);
    const int shellChanges = app.host.shellChanges;
    app.prompter.on<ChartEditorModel>([](ChartEditorModel& editor) {
        EXPECT_EQ(editor.kind(), ChartKind::Income);
        EXPECT_TRUE(typeInto(editor.grid(), rowOf(editor.grid(), "3000"), kColNamn, "Medlemsavgift"));
        return editor.approve() ? Answer::Ok : Answer::Cancel;
    });
    app.controller.execute(C::IncomeChart);
    EXPECT_EQ(app.host.log, (std::vector<std::string>{"öppna råbalans", "stäng råbalans", "öppna råbalans"}));
    EXPECT_EQ(app.prompter.dialogs, std::vector<std::string>{kTitleResultatplan});
    EXPECT_EQ(app.doc().state().m_resKonton[2]->m_strKolumn2, "Medlemsavgift");
    EXPECT_TRUE(app.doc().isModified());
    EXPECT_GT(app.host.shellChanges, shellChanges); // the views heard of it
    EXPECT_TRUE(app.prompter.said.empty());
}

TEST(SetupThroughTheShell, CancelInAnEditorLeavesTheCompanyAsItWas) {
    App app;
    app.newAssociation();
    const std::vector<std::string> before = chartNames(app.doc());
    app.prompter.on<ChartEditorModel>([](ChartEditorModel& editor) {
        EXPECT_TRUE(typeInto(editor.grid(), rowOf(editor.grid(), "1050"), kColNamn, "Plusgiro"));
        editor.insertRow();
        return Answer::Cancel;
    });
    app.controller.execute(C::BalanceChart);
    EXPECT_EQ(app.prompter.dialogs, std::vector<std::string>{kTitleBalansplan});
    EXPECT_EQ(chartNames(app.doc()), before);
    EXPECT_FALSE(app.doc().isModified());
}

TEST(SetupThroughTheShell, SattMomsShowsTheRulesAndAppliesThemOnlyOnApproval) {
    App app;
    app.newAssociation();
    const auto rules = app.doc().state().m_momsregler;
    ASSERT_EQ(rules.size(), 54u);
    app.prompter.on<VatRulesModel>([](VatRulesModel& vat) {
        EXPECT_FALSE(vat.pink());
        EXPECT_TRUE(typeInto(vat.grid(), 12, kVatColSats, "12"));
        return Answer::Cancel;
    });
    app.controller.execute(C::VatRules);
    EXPECT_EQ(app.prompter.dialogs, std::vector<std::string>{kVatDialogTitle});
    EXPECT_EQ(app.doc().state().m_momsregler, rules);
    EXPECT_FALSE(app.doc().isModified());

    app.prompter.on<VatRulesModel>([](VatRulesModel& vat) {
        EXPECT_TRUE(typeInto(vat.grid(), 12, kVatColSats, "12"));
        EXPECT_TRUE(typeInto(vat.grid(), 12, kVatColKredit, "3001"));
        EXPECT_TRUE(typeInto(vat.grid(), 12, kVatColKreditMoms, "2750"));
        return vat.approve() ? Answer::Ok : Answer::Cancel;
    });
    app.controller.execute(C::VatRules);
    EXPECT_EQ(app.doc().state().m_momsregler[11].m_nKreditkonto, 3001);
    EXPECT_EQ(app.doc().state().m_momsregler[11].m_dMomssats, 12.0);
    EXPECT_TRUE(app.doc().isModified());
    EXPECT_TRUE(app.prompter.said.empty());
}

TEST(SetupThroughTheShell, AChartLeftHalfDoneByTheGuidanceIsFinishedFromTheMenu) {
    App app;
    app.choosePeriod("2012");
    app.controller.execute(C::NewCompany);
    app.chooseTemplate(kMallForening);
    // The balance sheet approved, the income statement cancelled.
    app.prompter.on<ChartEditorModel>([](ChartEditorModel& editor) {
        if (editor.kind() == ChartKind::Income) {
            return Answer::Cancel;
        }
        return editor.approve() ? Answer::Ok : Answer::Cancel;
    });
    app.controller.runChartGuidance();
    EXPECT_EQ(app.prompter.said.back(), kMsgBadaGodkanda);
    ASSERT_TRUE(app.doc().balanceChartApproved());
    ASSERT_FALSE(app.doc().incomeChartApproved());
    EXPECT_FALSE(needsChartGuidance(app.doc()));    // the button is gone ...
    EXPECT_FALSE(needsFirstVoucherHint(app.doc())); // no voucher before both charts
    ASSERT_TRUE(app.enabled(C::IncomeChart));       // ... and the menu finishes the job
    EXPECT_FALSE(app.enabled(C::VatRules));

    app.approveEveryEditor();
    app.controller.execute(C::IncomeChart);
    ASSERT_TRUE(app.doc().bothChartsApproved());
    // The association template's income rows, since that chart was still empty.
    EXPECT_EQ(app.doc().state().m_resKonton[2]->m_strKolumn2, "Medlemsavgifter");
    EXPECT_TRUE(app.enabled(C::VatRules));
    app.controller.execute(C::VatRules);
    EXPECT_EQ(app.doc().state().m_momsregler.size(), 54u);
    EXPECT_TRUE(app.enabled(C::NewVoucher));
}

TEST(SetupThroughTheShell, AnEscapedTemplateChooserChoosesNothing) {
    App app;
    app.choosePeriod("2012");
    app.controller.execute(C::NewCompany);
    app.prompter.dialogs.clear();
    app.prompter.said.clear();
    app.prompter.on<TemplateChooserModel>([](TemplateChooserModel& chooser) {
        chooser.select(3); // looked at, then Escape
        return Answer::Cancel;
    });
    app.approveEveryEditor();
    app.controller.runChartGuidance();
    EXPECT_EQ(app.prompter.dialogs, std::vector<std::string>{kTemplateChooserTitle});
    EXPECT_EQ(app.prompter.said, std::vector<std::string>{templateFileMessage(app.templates.path())});
    EXPECT_EQ(app.doc().state().m_strMallnamn, kIngenMall);
    EXPECT_TRUE(needsChartGuidance(app.doc())); // the button stays for another try

    app.chooseTemplate(kMallForening);
    app.controller.runChartGuidance();
    EXPECT_TRUE(app.doc().bothChartsApproved());
    // Once the company has its chart, the button's flow does nothing more.
    app.prompter.dialogs.clear();
    app.controller.runChartGuidance();
    EXPECT_TRUE(app.prompter.dialogs.empty());
}

TEST(SetupThroughTheShell, ACompanyWithoutAPeriodSetsUpItsChartsButBooksNothing) {
    App app;
    app.prompter.on<PeriodDialogModel>([](PeriodDialogModel&) { return Answer::Cancel; });
    app.controller.execute(C::NewCompany);
    ASSERT_FALSE(app.doc().hasOpenPeriod());
    // Asked once only; without a chart the journal still shows the button.
    EXPECT_TRUE(app.guidanceButton());
    EXPECT_EQ(app.prompter.said, std::vector<std::string>{kMsgBestamForstaPerioden});

    app.chooseTemplate(kMallRikssvensk);
    app.approveEveryEditor();
    app.controller.runChartGuidance();
    ASSERT_TRUE(app.doc().bothChartsApproved());
    EXPECT_EQ(app.doc().state().m_momsregler.size(), 54u);
    for (const C id : {C::IncomeChart, C::BalanceChart, C::VatRules, C::SaveChartTemplate}) {
        EXPECT_TRUE(app.enabled(id)) << static_cast<int>(id);
    }
    for (const C id : {C::NewVoucher, C::FindAccount, C::LedgerWindow, C::TrialBalanceWindow,
                       C::IncomeStatementWindow, C::BalanceSheetWindow, C::VoucherList, C::NewPeriod}) {
        EXPECT_FALSE(app.enabled(id)) << static_cast<int>(id);
    }
    // A key pressed anyway does nothing.
    app.prompter.said.clear();
    app.host.log.clear();
    app.controller.execute(C::NewVoucher);
    app.controller.execute(C::LedgerWindow);
    EXPECT_TRUE(app.prompter.said.empty());
    EXPECT_TRUE(app.host.log.empty());
}

TEST(SetupThroughTheShell, TheTemplateCommandsSaveAndDeleteTheCompanysTemplate) {
    App app;
    test::TempDir dir;
    app.newAssociation();
    // Never saved: refused.
    app.prompter.answer(Answer::Ok);
    app.controller.execute(C::SaveChartTemplate);
    EXPECT_EQ(app.prompter.said, (std::vector<std::string>{kMsgSparasSomMall, kMsgSparaForstSomMall}));
    EXPECT_FALSE(fileExists(templateFilePath(app.templates.path())));

    app.prompter.chooseFile(dir.file("Förening"));
    app.controller.execute(C::SaveAs);
    app.prompter.said.clear();
    app.prompter.answer(Answer::Ok);
    app.controller.execute(C::SaveChartTemplate);
    EXPECT_EQ(app.prompter.said,
              (std::vector<std::string>{kMsgSparasSomMall, templateFileMessage(app.templates.path())}));
    TemplateStore reader(app.templates.path());
    ASSERT_TRUE(reader.read().ok);
    ASSERT_EQ(reader.templates().size(), 1u);
    EXPECT_EQ(reader.templates().front()->m_strNamn, "Förening.bok");

    // Deleting: the question, then the list; Cancel in the list deletes nothing.
    app.prompter.said.clear();
    app.prompter.answer(Answer::Ok);
    app.prompter.on<DeleteTemplateModel>([](DeleteTemplateModel& dialog) {
        EXPECT_EQ(dialog.entries(), std::vector<std::string>{"Förening.bok"});
        return Answer::Cancel;
    });
    app.controller.execute(C::DeleteChartTemplate);
    EXPECT_EQ(app.prompter.dialogs, std::vector<std::string>{kDeleteTemplateTitle});
    ASSERT_TRUE(reader.read().ok);
    EXPECT_EQ(reader.templates().size(), 1u);

    app.prompter.answer(Answer::Ok);
    app.prompter.on<DeleteTemplateModel>([&app](DeleteTemplateModel& dialog) {
        dialog.accept(app.prompter);
        return Answer::Ok;
    });
    app.controller.execute(C::DeleteChartTemplate);
    ASSERT_TRUE(reader.read().ok);
    EXPECT_TRUE(reader.templates().empty());
    EXPECT_EQ(app.prompter.said, (std::vector<std::string>{kMsgTasBortFranMallar, kMsgTasBortFranMallar}));
    EXPECT_EQ(app.prompter.unscripted, 0);
}

} // namespace
} // namespace kv
