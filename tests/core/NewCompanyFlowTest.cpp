// A user's first weeks, from an empty company to a second company started
// from the first one's charts, files included.
#include "ChartTestSupport.h"
#include "ScriptedPrompter.h"

#include "app/SetupFlow.h"
#include "chart/ChartCommands.h"
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
#include "voucher/VoucherCommands.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::postVoucher;
using test::rowOf;
using test::ScriptedPrompter;
using test::TempDir;
using test::TemplateFolder;
using test::typeInto;

const CKonto* account(const CTallvingeDoc& doc, std::int32_t number) {
    const int index = doc.accountIndex(number);
    return index < 0 ? nullptr : doc.state().m_allaKonton[static_cast<std::size_t>(index)].get();
}

// The first period: the whole of year, OK.
bool choosePeriod(CTallvingeDoc& doc, ScriptedPrompter& prompter, const char* year) {
    prompter.on<PeriodDialogModel>([&prompter, year](PeriodDialogModel& dialog) {
        dialog.setStartMonth(1);
        dialog.setStartYearText(year);
        dialog.setEndMonth(12);
        dialog.setEndYearText(year);
        return dialog.accept(prompter) ? Answer::Ok : Answer::Cancel;
    });
    return runFirstPeriodPrompt(doc, prompter);
}

// Editors that the user approves as they stand, after an optional look and edit.
void approveEditors(ScriptedPrompter& prompter, const std::function<void(ChartEditorModel&)>& edit = {}) {
    prompter.on<ChartEditorModel>([edit](ChartEditorModel& editor) {
        if (edit) {
            edit(editor);
        }
        return editor.approve() ? Answer::Ok : Answer::Cancel;
    });
    prompter.on<VatRulesModel>(
        [](VatRulesModel& rules) { return rules.approve() ? Answer::Ok : Answer::Cancel; });
}

void chooseTemplate(ScriptedPrompter& prompter, const std::string& name) {
    prompter.on<TemplateChooserModel>([name](TemplateChooserModel& chooser) {
        EXPECT_TRUE(chooser.selectName(name));
        chooser.accept();
        return Answer::Ok;
    });
}

TEST(NewCompanyFlow, FromAnEmptyCompanyToASecondCompanyFromItsTemplate) {
    TemplateFolder folder;
    TemplateStore templates(folder.path());
    TempDir dir;
    const std::string firma = dir.file("Firma.bok");
    ScriptedPrompter prompter;

    // ---- A new company: its first period, then the first-run button. ----
    CTallvingeDoc doc;
    ASSERT_TRUE(choosePeriod(doc, prompter, "2012"));
    ASSERT_TRUE(needsChartGuidance(doc));
    approveEditors(prompter, [&](ChartEditorModel& editor) {
        if (editor.kind() == ChartKind::Balance) {
            EXPECT_EQ(editor.grid().storedText(1, kColNamn), "A K T I V A");
            EXPECT_EQ(editor.grid().storedText(34, kColNamn), "2040");
        }
    });
    prompter.on<TemplateChooserModel>([](TemplateChooserModel& chooser) {
        EXPECT_EQ(chooser.entries().size(), 4u);
        EXPECT_TRUE(chooser.selectName(kMallRikssvensk));
        chooser.accept();
        return Answer::Ok;
    });
    // A new company's first rules are approved without the dialog being shown.
    prompter.on<VatRulesModel>(nullptr);
    runChartGuidance(doc, prompter, templates, [] {});
    EXPECT_EQ(prompter.dialogs, (std::vector<std::string>{kFirstPeriodTitle, kTemplateChooserTitle,
                                                          kTitleBalansplan, kTitleResultatplan}));
    EXPECT_EQ(prompter.said,
              (std::vector<std::string>{kMsgBestamForstaPerioden, templateFileMessage(folder.path())}));
    ASSERT_TRUE(doc.bothChartsApproved());
    EXPECT_FALSE(needsChartGuidance(doc));
    EXPECT_EQ(doc.state().m_momsregler.size(), 54u);

    // ---- Save, close, reopen. ----
    ASSERT_TRUE(saveCompany(doc, firma).ok);
    EXPECT_TRUE(fileExists(dir.file("Firma_perioder/Firma0.per")));
    doc.startAfresh();
    ASSERT_TRUE(openCompany(doc, firma).ok);
    ASSERT_TRUE(doc.bothChartsApproved());
    EXPECT_EQ(account(doc, 1717)->m_strKolumn2, "Momsfordran 25%");

    // ---- Some bookkeeping, then the charts again under the locks. ----
    postVoucher(doc, 5, 3, 2012, {{1900, 1250, 0}, {3000, 0, 1000}, {2930, 0, 250}});
    prompter.said.clear();
    approveEditors(prompter, [&](ChartEditorModel& editor) {
        Grid& grid = editor.grid();
        const std::int32_t sales = rowOf(grid, "3000");
        const std::int32_t purchases = rowOf(grid, "4000");
        EXPECT_EQ(grid.storedText(sales, kColAnvands), "A");
        EXPECT_EQ(grid.storedText(purchases, kColAnvands), "Autom momsber");
        ASSERT_TRUE(grid.moveCurrentCell({sales, kColKontonr}));
        EXPECT_FALSE(grid.beginEdit(std::string("3009")));
        ASSERT_TRUE(grid.moveCurrentCell({purchases, kColKontonr}));
        EXPECT_TRUE(grid.keyDown({GridKeyCode::Delete}));
        EXPECT_EQ(grid.storedText(purchases, kColKontonr), "4000");
        // A new account in the empty row under the sales accounts' subtotal.
        EXPECT_TRUE(typeInto(grid, 8, kColKontonr, "3002"));
        EXPECT_TRUE(typeInto(grid, 8, kColNamn, "Tjänster"));
        EXPECT_TRUE(typeInto(grid, 8, kColGrupp, "b"));
    });
    runChartEditor(doc, prompter, ChartKind::Income, templates);
    EXPECT_EQ(prompter.said, (std::vector<std::string>{inUseEditMessage(3000), kMsgMomsLasning}));
    ASSERT_NE(account(doc, 3002), nullptr);
    EXPECT_EQ(account(doc, 3000)->m_rader.size(), 1u);

    approveEditors(prompter, [](ChartEditorModel& editor) {
        const std::int32_t kassa = rowOf(editor.grid(), "1900");
        EXPECT_EQ(editor.grid().storedText(kassa, kColAnvands), "A");
        EXPECT_TRUE(typeInto(editor.grid(), kassa, kColNamn, "Kassa och växel"));
    });
    runChartEditor(doc, prompter, ChartKind::Balance, templates);
    EXPECT_EQ(account(doc, 1900)->m_strKolumn2, "Kassa och växel");
    EXPECT_EQ(account(doc, 1900)->m_rader.size(), 1u);

    ASSERT_TRUE(vatRulesMayOpen(doc, prompter));
    prompter.on<VatRulesModel>([](VatRulesModel& rules) {
        EXPECT_EQ(rules.grid().storedText(1, 1), "25.00");
        EXPECT_TRUE(typeInto(rules.grid(), 12, 1, "25"));
        EXPECT_TRUE(typeInto(rules.grid(), 12, 4, "3002"));
        EXPECT_TRUE(typeInto(rules.grid(), 12, 7, "2930"));
        EXPECT_TRUE(typeInto(rules.grid(), 12, 8, "Tjänster moms 25%"));
        return rules.approve() ? Answer::Ok : Answer::Cancel;
    });
    runVatRulesEditor(doc, prompter);
    EXPECT_EQ(prompter.dialogs.back(), kVatDialogTitle);
    EXPECT_EQ(doc.state().m_momsregler[11].m_nKreditkonto, 3002);
    ASSERT_TRUE(saveCompany(doc, firma).ok);

    // ---- Reopened, everything is there; then the charts become a template. ----
    doc.startAfresh();
    ASSERT_TRUE(openCompany(doc, firma).ok);
    ASSERT_NE(account(doc, 3002), nullptr);
    EXPECT_EQ(account(doc, 3000)->m_nAnvands, 1);
    EXPECT_EQ(doc.state().m_momsregler[11].m_strKommentar, "Tjänster moms 25%");
    prompter.said.clear();
    prompter.answer(Answer::Ok);
    saveChartAsTemplate(doc, prompter, templates);
    EXPECT_EQ(prompter.said,
              (std::vector<std::string>{kMsgSparasSomMall, templateFileMessage(folder.path())}));
    EXPECT_TRUE(fileExists(folder.path() + "/mallalternativ.mal"));

    // ---- The next company starts from that template. ----
    CTallvingeDoc next;
    prompter.said.clear();
    prompter.dialogs.clear();
    ASSERT_TRUE(choosePeriod(next, prompter, "2013"));
    approveEditors(prompter, [](ChartEditorModel& editor) {
        const Grid& grid = editor.grid();
        if (editor.kind() == ChartKind::Income) {
            EXPECT_EQ(grid.storedText(rowOf(grid, "3000"), kColAnvands), ""); // nothing is in use yet
            EXPECT_EQ(grid.storedText(8, kColNamn), "Tjänster");
            EXPECT_EQ(grid.storedText(235, kColNamn), "2090");
        } else {
            EXPECT_EQ(grid.storedText(rowOf(grid, "1900"), kColNamn), "Kassa och växel");
        }
    });
    prompter.on<TemplateChooserModel>([](TemplateChooserModel& chooser) {
        EXPECT_EQ(chooser.entries().back(), "Firma.bok");
        EXPECT_TRUE(chooser.selectName("Firma.bok"));
        chooser.accept();
        return Answer::Ok;
    });
    // The template's rules are approved at once: no rules dialog either.
    prompter.on<VatRulesModel>(nullptr);
    runChartGuidance(next, prompter, templates, [] {});
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgBestamForstaPerioden});
    EXPECT_EQ(prompter.dialogs, (std::vector<std::string>{kFirstPeriodTitle, kTemplateChooserTitle,
                                                          kTitleBalansplan, kTitleResultatplan}));
    ASSERT_TRUE(next.bothChartsApproved());
    EXPECT_EQ(next.state().m_allaKonton.size(), doc.state().m_allaKonton.size());
    for (const auto& konto : next.state().m_allaKonton) {
        EXPECT_TRUE(konto->m_rader.empty());
        EXPECT_EQ(konto->m_nAnvands, 0);
    }
    EXPECT_EQ(next.state().m_momsregler, doc.state().m_momsregler);
    EXPECT_EQ(next.state().m_nValdMall, -2);
    EXPECT_EQ(next.state().m_strMallnamn, kIngenMall);
    ASSERT_TRUE(saveCompany(next, dir.file("Nästa.bok")).ok);
    CTallvingeDoc reopened;
    ASSERT_TRUE(openCompany(reopened, dir.file("Nästa.bok")).ok);
    EXPECT_EQ(reopened.state().m_perioder.front().m_nFranAr, 2013);
    ASSERT_NE(account(reopened, 3002), nullptr);
    EXPECT_EQ(account(reopened, 1900)->m_strKolumn2, "Kassa och växel");
    EXPECT_EQ(prompter.unscripted, 0);
}

TEST(NewCompanyFlow, CancelledEditorsLeaveTheCompanyWithoutCharts) {
    TemplateFolder folder;
    TemplateStore templates(folder.path());
    ScriptedPrompter prompter;
    CTallvingeDoc doc;
    ASSERT_TRUE(choosePeriod(doc, prompter, "2012"));
    chooseTemplate(prompter, kMallRikssvensk);
    prompter.on<ChartEditorModel>([](ChartEditorModel&) { return Answer::Cancel; });
    runChartGuidance(doc, prompter, templates, [] {});
    EXPECT_FALSE(doc.incomeChartApproved());
    EXPECT_FALSE(doc.balanceChartApproved());
    EXPECT_TRUE(needsChartGuidance(doc));
    EXPECT_EQ(prompter.said.back(), kMsgBadaGodkanda);
    EXPECT_TRUE(doc.state().m_momsregler.empty());
    EXPECT_EQ(doc.state().m_strMallnamn, kMallRikssvensk); // kept for the next try
}

} // namespace
} // namespace kv
