// The two chart editors: what they show when they open, their row commands,
// the check box, the approval with its two checks, and Cancel.
#include "ChartTestSupport.h"
#include "ScriptedPrompter.h"

#include "chart/ChartEditorModel.h"
#include "chart/ChartTemplates.h"
#include "chart/TemplateChooserModel.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::buildSmallCompany;
using test::postVoucher;
using test::row;
using test::rowOf;
using test::ScriptedPrompter;
using test::ScrollRecorder;
using test::setUpCompany;
using test::TemplateFolder;
using test::typeInto;

// A new company that has chosen its template and approved nothing yet.
void chooseTemplate(CTallvingeDoc& doc, const char* name) {
    const TemplateStore noUserTemplates("");
    TemplateChooserModel chooser(doc, noUserTemplates);
    ASSERT_TRUE(chooser.selectName(name));
    chooser.accept();
}

class CountingView : public DocumentView {
public:
    void onDocumentUpdated() override { ++updates; }
    int updates = 0;
};

TEST(ChartEditor, IncomeEditorOfANewAssociation) {
    CTallvingeDoc doc;
    chooseTemplate(doc, kMallForening);
    doc.setOnlyUsedAccounts(true);
    ScriptedPrompter prompter;
    ChartEditorModel editor(doc, prompter, ChartKind::Income);
    editor.open();
    const Grid& grid = editor.grid();
    EXPECT_STREQ(editor.title(), "Konton i resultaträkningen");
    EXPECT_EQ(doc.state().m_nEndastAnvanda, 0);
    EXPECT_FALSE(editor.onlyUsedAccounts());
    EXPECT_EQ(grid.colCount(), 6);
    EXPECT_EQ(editor.endMarkerRow(), 236);
    EXPECT_EQ(grid.rowCount(), 247);
    EXPECT_EQ(grid.storedText(0, 2), "Kontonamn eller rubrik");
    EXPECT_EQ(grid.storedText(0, 6), "An-   vänds");
    EXPECT_EQ(grid.storedText(1, 2), "INTÄKTER");
    EXPECT_EQ(grid.storedText(26, 2), "RÄK PER VINST / FÖRLUST");
    EXPECT_EQ(grid.storedText(233, 2), "DEN HÄR periodens resultat");
    EXPECT_EQ(grid.storedText(234, 2), "sättes i passiva in på  :");
    EXPECT_EQ(grid.storedText(235, 2), "2090");
    EXPECT_EQ(grid.storedText(235, 6), "v");
    EXPECT_EQ(grid.storedText(236, 1), "Exempel");
    EXPECT_EQ(grid.storedText(237, 1), "Kontrollera :");
    EXPECT_EQ(grid.storedText(239, 1), "Grupp:  kontot måste tillhöra en grupp");
    EXPECT_EQ(grid.storedText(241, 1), "Delsumma :  resultatet för respektive grupp(er) räknas fram");
    EXPECT_EQ(grid.storedText(243, 1),
              "Totalsum : resultatet för alla konton ovanför   = - tecknet räknas ut");
    EXPECT_EQ(grid.storedText(246, 1), "Används : Visar vilka konton som är i användning");
    // The fixed rows are shaded and read-only; only the result account can be changed.
    for (const std::int32_t fixed : {233, 234, 236, 237, 246}) {
        for (std::int32_t col = 1; col <= 6; ++col) {
            EXPECT_TRUE(grid.style(fixed, col).readOnly) << fixed << "," << col;
            EXPECT_EQ(grid.style(fixed, col).background, kShadedRow);
        }
    }
    EXPECT_FALSE(grid.style(235, 2).readOnly);
    EXPECT_TRUE(grid.style(235, 6).readOnly);
    EXPECT_FALSE(grid.style(232, 2).readOnly);
    EXPECT_EQ(grid.style(233, 2).fontFace, "Times New Roman");
    EXPECT_TRUE(editor.accountListLines().empty());
}

TEST(ChartEditor, BalanceEditorOfANewAssociation) {
    CTallvingeDoc doc;
    chooseTemplate(doc, kMallForening);
    ScriptedPrompter prompter;
    ChartEditorModel editor(doc, prompter, ChartKind::Balance);
    editor.open();
    const Grid& grid = editor.grid();
    EXPECT_STREQ(editor.title(), "Konton i balansräkningen");
    EXPECT_EQ(editor.endMarkerRow(), 138);
    EXPECT_EQ(grid.rowCount(), 148);
    EXPECT_EQ(grid.storedText(0, 4), "Del-    summa");
    EXPECT_EQ(grid.storedText(1, 2), "A K T I V A");
    EXPECT_EQ(editor.assetsTotalRow(), 27);
    EXPECT_EQ(editor.liabilitiesTotalRow(), 62);
    EXPECT_EQ(grid.storedText(29, 2), "FÖRRA periodens");
    EXPECT_EQ(grid.storedText(30, 2), "vinst/förlust är insatt på  :");
    EXPECT_EQ(grid.storedText(31, 2), "2040");
    EXPECT_EQ(grid.storedText(32, 2), "P A S S I V A");
    EXPECT_EQ(grid.storedText(138, 1), "Exempel");
    EXPECT_EQ(grid.storedText(145, 1), "Totalsum : Aktiva  /  Passiva  summeras");
    EXPECT_EQ(grid.storedText(147, 1), "Används : Visar vilka konton som är i användning");
    for (const std::int32_t fixed : {1, 27, 29, 30, 32, 62, 138}) {
        for (std::int32_t col = 1; col <= 6; ++col) {
            EXPECT_TRUE(grid.style(fixed, col).readOnly) << fixed << "," << col;
        }
    }
    EXPECT_FALSE(grid.style(31, 2).readOnly);
    EXPECT_FALSE(grid.style(28, 2).readOnly);
    // The carried-profit account is highlighted; the result account only once the income chart exists.
    EXPECT_EQ(grid.style(34, 1).background, kCarriedProfitHighlight);
    EXPECT_EQ(grid.style(34, 2).background, kCarriedProfitHighlight);
    EXPECT_FALSE(grid.style(35, 1).background.has_value());
    EXPECT_FALSE(grid.style(34, 3).background.has_value());
}

TEST(ChartEditor, BalanceEditorHighlightsTheResultAccountOfTheIncomeChart) {
    TemplateFolder folder;
    CTallvingeDoc doc;
    setUpCompany(doc, kMallRikssvensk, folder.path());
    ScriptedPrompter prompter;
    ChartEditorModel editor(doc, prompter, ChartKind::Balance);
    editor.open();
    EXPECT_EQ(editor.grid().style(rowOf(editor.grid(), "2040"), 1).background, kCarriedProfitHighlight);
    EXPECT_EQ(editor.grid().style(rowOf(editor.grid(), "2090"), 2).background, kResultAccountHighlight);
    // The stored chart comes back with its fixed rows, not the defaults.
    EXPECT_EQ(editor.grid().storedText(34, 2), "2040");
    EXPECT_EQ(editor.grid().storedText(1, 2), "A K T I V A");
}

TEST(ChartEditor, BasTemplateGetsTheAssetsHeading) {
    CTallvingeDoc doc;
    chooseTemplate(doc, kMallBaskonto);
    ScriptedPrompter prompter;
    ChartEditorModel editor(doc, prompter, ChartKind::Balance);
    editor.open();
    EXPECT_EQ(editor.grid().storedText(1, 2), "A K T I V A");
    EXPECT_EQ(editor.assetsTotalRow(), 51);
    EXPECT_EQ(editor.grid().storedText(55, 2), "2040");
    EXPECT_EQ(editor.grid().storedText(136, 2), "Sa PASSIVA");
}

TEST(ChartEditor, StoredChartLengthPlacesTheEndMarker) {
    struct Case {
        ChartKind kind;
        std::size_t stored;
        std::int32_t endMarker;
    };
    for (const Case& c : {Case{ChartKind::Income, 200, 200}, Case{ChartKind::Income, 120, 236},
                          Case{ChartKind::Balance, 150, 150}, Case{ChartKind::Balance, 60, 138}}) {
        CTallvingeDoc doc;
        std::vector<ChartRowTexts> rows(c.stored - 1, row("", ""));
        rows.push_back(row("Exempel", ""));
        if (c.kind == ChartKind::Income) {
            doc.approveIncomeChart(rows);
        } else {
            doc.approveBalanceChart(rows);
        }
        ScriptedPrompter prompter;
        ChartEditorModel editor(doc, prompter, c.kind);
        editor.open();
        EXPECT_EQ(editor.endMarkerRow(), c.endMarker) << c.stored;
        EXPECT_EQ(editor.grid().rowCount(), c.endMarker + (c.kind == ChartKind::Income ? 11 : 10));
    }
}

// A company set up from one of the user's templates whose VAT rules are not
// approved yet still follows the template: an editor given the template
// shows its rows; one without it (adding a SIE file's accounts) the
// company's own, never an empty chart.
TEST(ChartEditor, FollowsTheUserTemplateOnlyWhenItIsAtHand) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    test::loadEdited(doc, [](CompanyState& state) {
        state.m_nValdMall = 0;
        state.m_strMallnamn = "Mall.bok";
    });
    CKontoplan mall;
    mall.m_strNamn = "Mall.bok";
    mall.m_nAntalRes = 1;
    mall.m_konton.push_back(std::make_unique<CKonto>());
    mall.m_konton.back()->m_nKontonr = 3000;
    mall.m_konton.back()->m_strKolumn2 = "Mallens försäljning";
    const std::string own = doc.state().m_resKonton.front()->m_strKolumn2;
    ASSERT_NE(own, "Mallens försäljning");
    for (const auto& [userTemplate, shown] :
         {std::pair<const CKontoplan*, std::string>{&mall, "Mallens försäljning"},
          std::pair<const CKontoplan*, std::string>{nullptr, own}}) {
        ScriptedPrompter prompter;
        ChartEditorModel editor(doc, prompter, ChartKind::Income, userTemplate);
        editor.open();
        EXPECT_EQ(editor.grid().storedText(1, kColNamn), shown);
    }
}

TEST(ChartEditor, AccountListShowsTheWholeChartFromAccount1000) {
    CTallvingeDoc doc;
    buildSmallCompany(doc);
    doc.approveIncomeChart({row("", "INTÄKTER"), row("999", "Småposter", "a"), row("1000", "Tusen", "a"),
                            row("3000", "Försäljning", "a"), row("", "Sa", "", "a"), row("Exempel", "")});
    ScriptedPrompter prompter;
    ChartEditorModel editor(doc, prompter, ChartKind::Income);
    editor.open();
    const std::vector<std::string> expected{"RESULTATRÄKNING",
                                            "",
                                            "1000  Tusen",
                                            "3000  Försäljning",
                                            "",
                                            "BALANS",
                                            "",
                                            "1910  Kassa",
                                            "1930  Bank",
                                            "2040  Fritt eget kapital",
                                            "2090  Räkenskapsperiodens resultat",
                                            "2440  Leverantörsskulder"};
    EXPECT_EQ(editor.accountListLines(), expected);
}

TEST(ChartEditor, CheckBoxIsWrittenAtOnceAndSurvivesCancel) {
    TemplateFolder folder;
    CTallvingeDoc doc;
    setUpCompany(doc, kMallForening, folder.path());
    doc.savedInFull();
    ScriptedPrompter prompter;
    const auto rowsOf = [](const KontoRefs& rows) {
        return std::vector<const CKonto*>(rows.begin(), rows.end());
    };
    const auto namesBefore = rowsOf(doc.state().m_resKonton);
    {
        ChartEditorModel editor(doc, prompter, ChartKind::Income);
        editor.open();
        editor.setOnlyUsedAccounts(true);
        EXPECT_EQ(doc.state().m_nEndastAnvanda, 1);
        EXPECT_TRUE(doc.isModified());
        ASSERT_TRUE(typeInto(editor.grid(), 3, kColNamn, "Ändrat namn"));
        editor.insertRow();
    } // Cancel
    EXPECT_EQ(doc.state().m_nEndastAnvanda, 1);
    EXPECT_EQ(rowsOf(doc.state().m_resKonton), namesBefore);
    EXPECT_EQ(doc.state().m_resKonton[2]->m_strKolumn2, "Medlemsavgifter");
    EXPECT_EQ(doc.state().m_resKonton.size(), 236u);
}

TEST(ChartEditor, InsertRowOnlyWhereTheChartAllowsIt) {
    CTallvingeDoc doc;
    chooseTemplate(doc, kMallForening);
    ScriptedPrompter prompter;
    ChartEditorModel income(doc, prompter, ChartKind::Income);
    income.open();
    Grid& grid = income.grid();
    ScrollRecorder scrolls;
    grid.setListener(&scrolls);

    // Without a marked row nothing is inserted, even with a current cell:
    // the user is asked to mark one, and the chart stays where it was.
    ASSERT_TRUE(grid.moveCurrentCell({5, 2}));
    scrolls.scrolls.clear();
    income.insertRow();
    EXPECT_EQ(grid.rowCount(), 247);
    EXPECT_TRUE(scrolls.scrolls.empty());
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgValjRad});
    prompter.said.clear();

    grid.selectRows(5, 6);
    income.insertRow();
    EXPECT_EQ(grid.rowCount(), 248);
    EXPECT_EQ(grid.storedText(5, 2), "");
    EXPECT_EQ(grid.storedText(6, 2), "Försäljning");
    EXPECT_EQ(income.endMarkerRow(), 237);
    EXPECT_EQ(scrolls.scrolls.back().row, 6);
    EXPECT_EQ(grid.storedText(234, 2), "DEN HÄR periodens resultat");

    grid.selectRows(234, 234); // the first fixed row: rows go in above it
    income.insertRow();
    EXPECT_EQ(income.endMarkerRow(), 238);
    grid.selectRows(236, 236); // within the fixed rows: nothing
    income.insertRow();
    EXPECT_EQ(income.endMarkerRow(), 238);

    // "Ångra" takes the insertions back one by one.
    EXPECT_TRUE(income.undo());
    EXPECT_EQ(income.endMarkerRow(), 237);
    EXPECT_TRUE(income.undo());
    EXPECT_EQ(income.endMarkerRow(), 236);
    EXPECT_EQ(grid.storedText(5, 2), "Försäljning");
    grid.setListener(nullptr);

    ChartEditorModel balance(doc, prompter, ChartKind::Balance);
    balance.open();
    Grid& sheet = balance.grid();
    for (const std::int32_t refused : {1, 29, 30, 31, 32}) {
        sheet.selectRows(refused, refused);
        balance.insertRow();
        EXPECT_EQ(balance.endMarkerRow(), 138) << refused;
    }
    sheet.selectRows(28, 28);
    balance.insertRow();
    EXPECT_EQ(balance.endMarkerRow(), 139);
    EXPECT_EQ(sheet.storedText(30, 2), "FÖRRA periodens");
    sheet.selectRows(139, 139); // the end-marker row itself
    balance.insertRow();
    EXPECT_EQ(balance.endMarkerRow(), 140);
    EXPECT_TRUE(prompter.said.empty());
}

TEST(ChartEditor, DeleteRowsNeedsEmptySelectedRows) {
    TemplateFolder folder;
    CTallvingeDoc doc;
    setUpCompany(doc, kMallRikssvensk, folder.path());
    ScriptedPrompter prompter;
    ChartEditorModel income(doc, prompter, ChartKind::Income);
    income.open();
    Grid& grid = income.grid();

    income.deleteRows();
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgValjRad});

    prompter.said.clear();
    const std::int32_t vat = rowOf(grid, "3000"); // in a default VAT rule
    grid.selectRows(vat, vat);
    income.deleteRows();
    EXPECT_EQ(prompter.said, (std::vector<std::string>{kMsgRadernaMasteVaraTomma, kMsgMomsLasning}));

    prompter.said.clear();
    grid.selectRows(8, 8); // empty row between two groups
    income.deleteRows();
    EXPECT_TRUE(prompter.said.empty());
    EXPECT_EQ(income.endMarkerRow(), 235);
    EXPECT_EQ(grid.storedText(8, 2), "MATERIAL O TJÄNSTER");
    EXPECT_TRUE(grid.selection().empty());

    // Rows close to the end marker stay.
    grid.selectRows(230, 231);
    income.deleteRows();
    EXPECT_EQ(income.endMarkerRow(), 235);
    EXPECT_TRUE(prompter.said.empty());

    EXPECT_TRUE(income.undo());
    EXPECT_EQ(income.endMarkerRow(), 236);
    EXPECT_EQ(grid.storedText(9, 2), "MATERIAL O TJÄNSTER");
}

TEST(ChartEditor, DeletingKeepsTheEndMarkerAboveItsFloor) {
    CTallvingeDoc doc;
    chooseTemplate(doc, kMallForening);
    ScriptedPrompter prompter;
    ChartEditorModel balance(doc, prompter, ChartKind::Balance);
    balance.open();
    balance.grid().selectRows(45, 47);
    balance.deleteRows();
    EXPECT_EQ(balance.endMarkerRow(), 136);
    EXPECT_EQ(balance.grid().storedText(59, 2), "Sa PASSIVA");
    EXPECT_TRUE(balance.undo());
    EXPECT_EQ(balance.endMarkerRow(), 138);

    ChartEditorModel income(doc, prompter, ChartKind::Income);
    income.open();
    income.grid().selectRows(27, 132);
    income.deleteRows();
    EXPECT_EQ(income.endMarkerRow(), 137);
    EXPECT_EQ(income.grid().storedText(26, 2), "RÄK PER VINST / FÖRLUST");
    EXPECT_EQ(income.grid().storedText(136, 2), "2090");
    EXPECT_TRUE(prompter.said.empty());
}

class ChartApproval : public ::testing::Test {
protected:
    void SetUp() override { setUpCompany(doc, kMallForening, folder.path()); }

    // Approves and returns what the user was told; the grid's scrolls land in scrolls.
    std::vector<std::string> approveIncome(const std::function<void(Grid&)>& edit) {
        prompter.said.clear();
        scrolls.scrolls.clear();
        ChartEditorModel editor(doc, prompter, ChartKind::Income);
        editor.open();
        editor.grid().setListener(&scrolls);
        edit(editor.grid());
        approved = editor.approve();
        editor.grid().setListener(nullptr);
        return prompter.said;
    }

    TemplateFolder folder;
    CTallvingeDoc doc;
    ScriptedPrompter prompter;
    ScrollRecorder scrolls;
    bool approved = false;
};

TEST_F(ChartApproval, RowCheckStopsAtTheFirstFaultyRow) {
    using Edit = std::function<void(Grid&)>;
    struct Case {
        Edit edit;
        std::int32_t row;
        const char* message;
    };
    const Case cases[] = {
        {[](Grid& g) { g.setText(50, 1, "0"); }, 50, "Felaktigt kontonr."},
        {[](Grid& g) { g.setText(50, 1, "000"); }, 50, "Felaktigt kontonr."},
        {[](Grid& g) { g.setText(50, 1, "4100"), g.setText(50, 2, "Material"); }, 50,
         "Kontonr / Kontonamn / Grupp saknas"},
        {[](Grid& g) { g.setText(50, 3, "b"); }, 50, "Kontonr / Kontonamn / Grupp saknas"},
        {[](Grid& g) { g.setText(50, 1, "4100"), g.setText(50, 2, "M"), g.setText(50, 3, "bb"); }, 50,
         "Endast 1 tecken / grupp. Ej mellanslag."},
        {[](Grid& g) { g.setText(50, 2, "Sa"), g.setText(50, 4, "z"); }, 50, "Grupp i delsumma existerar ej"},
        {[](Grid& g) { g.setText(24, 1, "4999"); }, 24, "Kontonr / Kontonamn / Grupp saknas"},
        {[](Grid& g) { g.setText(50, 4, "b"); }, 50, "Delsumma skall ha rubrik"},
        {[](Grid& g) { g.setText(50, 5, "="); }, 50, "Totalsumma skall ha rubrik"},
        {[](Grid& g) { g.setText(235, 2, "1010"); }, 235,
         "Vinst / Förlust skall in på korrekt konto i passiva"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const auto said = approveIncome(c.edit);
        EXPECT_FALSE(approved);
        EXPECT_EQ(said,
                  (std::vector<std::string>{c.message, "Rad " + std::to_string(c.row) + ".är ej korrekt"}));
        ASSERT_FALSE(scrolls.scrolls.empty());
        // Far enough down to show the rows under the faulty one, as far as there are rows.
        EXPECT_EQ(scrolls.scrolls.back(), (CellPos{std::min(c.row + 15, 247), 1}));
    }
    EXPECT_EQ(doc.state().m_resKonton[49]->m_strKolumn2, ""); // nothing reached the document
}

TEST_F(ChartApproval, OnlyTheLastTwoPeriodsMayChangeTheirChart) {
    test::loadEdited(doc, [](CompanyState& state) { state.m_perioder.resize(3); });
    const auto said = approveIncome([](Grid&) {});
    EXPECT_FALSE(approved);
    EXPECT_EQ(said,
              (std::vector<std::string>{"Endast de 2 sista perioderna kan ändras", "Rad 1.är ej korrekt"}));
    test::loadEdited(doc, [](CompanyState& state) { state.m_nAktuellPeriod = 1; });
    approveIncome([](Grid&) {});
    EXPECT_TRUE(approved);
}

TEST_F(ChartApproval, GroupCheckFindsGroupsWithoutSubtotals) {
    // Group b only below its last subtotal passes the row check but not the group check.
    auto said = approveIncome(
        [](Grid& g) { g.setText(30, 1, "7700"), g.setText(30, 2, "Övrigt"), g.setText(30, 3, "b"); });
    EXPECT_FALSE(approved);
    EXPECT_EQ(said, (std::vector<std::string>{"Grupp b på rad 30 tillhör ej någon delsumma !",
                                              "Delsumma saknas för grupp / Grupp saknas / Fel kontonr"}));
    EXPECT_EQ(scrolls.scrolls.back(), (CellPos{30, 1}));

    said = approveIncome([](Grid& g) { g.setText(20, 1, "2520"); });
    EXPECT_EQ(said,
              (std::vector<std::string>{"Dubbel förekomst av kontonummer på rad 20  ! Kontot kan finnas i "
                                        "balansräkningen.",
                                        "Delsumma saknas för grupp / Grupp saknas / Fel kontonr"}));
    EXPECT_EQ(scrolls.scrolls.back(), (CellPos{20, 4}));

    // One number on two rows of the same chart would make an account that nothing can reach.
    said = approveIncome([](Grid& g) { g.setText(20, 1, "3000"); });
    EXPECT_EQ(said.front(), "Dubbel förekomst av kontonummer på rad 20  !");
    EXPECT_FALSE(approved);
}

TEST_F(ChartApproval, BalanceGroupCheckNamesTheIncomeChart) {
    prompter.said.clear();
    ChartEditorModel editor(doc, prompter, ChartKind::Balance);
    editor.open();
    editor.grid().setText(6, 1, "3000");
    EXPECT_FALSE(editor.approve());
    EXPECT_EQ(prompter.said.front(),
              "Dubbel förekomst av kontonummer på rad 6  ! Kontot kan finnas i resultaträkningen");
}

TEST_F(ChartApproval, ApprovalKeepsPostedRowsAndTellsTheViews) {
    postVoucher(doc, 3, 2, 2012, {{1010, 100, 0}, {3000, 0, 100}});
    doc.savedInFull();
    CountingView view;
    ViewSubscription subscription = doc.subscribe(view);
    const CKonto* before = doc.state().m_resKonton[2];
    const auto said = approveIncome([](Grid& g) {
        g.setText(3, 2, "Medlemsavg.");
        g.setText(2, 1, "3004"), g.setText(2, 2, "Gåvor"), g.setText(2, 3, "a");
    });
    subscription.reset();
    ASSERT_TRUE(approved) << (said.empty() ? "" : said.front());
    EXPECT_TRUE(said.empty());
    EXPECT_TRUE(doc.isModified());
    EXPECT_GE(view.updates, 1);
    EXPECT_EQ(doc.state().m_resKonton[2], before);
    EXPECT_EQ(before->m_strKolumn2, "Medlemsavg.");
    EXPECT_EQ(before->m_rader.size(), 1u);
    EXPECT_EQ(doc.state().m_resKonton[1]->m_nKontonr, 3004);
    EXPECT_TRUE(doc.inResNummer(3004));
    EXPECT_EQ(doc.state().m_resKonton.size(), 236u);
    EXPECT_EQ(doc.state().m_resKonton[2]->m_strKolumn6, "A");
}

} // namespace
} // namespace kv
