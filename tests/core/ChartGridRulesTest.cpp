// The cell, row-leaving, Delete and clipboard rules of the chart grid.
#include "ChartTestSupport.h"
#include "ScriptedPrompter.h"

#include "chart/ChartEditorModel.h"
#include "chart/ChartTemplates.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::postVoucher;
using test::rowOf;
using test::ScriptedPrompter;
using test::ScrollRecorder;
using test::setUpCompany;
using test::TemplateFolder;
using test::typeInto;

class ChartGridRules : public ::testing::Test {
protected:
    void SetUp() override { setUpCompany(doc, kMallForening, folder.path()); }

    TemplateFolder folder;
    CTallvingeDoc doc;
    ScriptedPrompter prompter;
};

// A first empty row of the association template's income chart, far from the fixed rows.
constexpr std::int32_t kFreeIncomeRow = 50;
constexpr std::int32_t kFreeBalanceRow = 50;

TEST_F(ChartGridRules, CellsAreCheckedInTheirOrderAndARefusalEmptiesTheEdit) {
    ChartEditorModel editor(doc, prompter, ChartKind::Balance);
    editor.open();
    Grid& grid = editor.grid();
    ScrollRecorder scrolls;
    grid.setListener(&scrolls);

    struct Case {
        std::int32_t col;
        const char* text;
        const char* message; // nullptr: accepted
    };
    const Case cases[] = {
        {kColGrupp, "ab", kMsgEnSiffraEllerBokstav},
        {kColGrupp, " ", kMsgEnSiffraEllerBokstav},
        {kColGrupp, "å", nullptr},
        {kColKontonr, "12a", kMsgGeSiffervarde},
        {kColKontonr, ".", kMsgGeSiffervarde},
        {kColKontonr, "1 2", kMsgGeSiffervarde},
        {kColKontonr, "0", nullptr},                    // refused only by the approval
        {kColKontonr, "3000", kMsgKontonumretUpptaget}, // an income account
        {kColDelsumma, "a b", kMsgTaBortMellanslaget},
        {kColDelsumma, "gg", kMsgDubbelGrupp},
        {kColDelsumma, "gh", nullptr},
        {kColDelsumma, "gzy", "Gruppen (zy) existerar inte ovanför denna rad ! "},
        {kColTotalsumma, "a ", kMsgTaBortMellanslaget},
        {kColAnvands, "A b", kMsgTaBortMellanslaget},
        {kColNamn, "   ", kMsgTaBortMellanslaget},
        {kColNamn, "Kassa €", nullptr},
        {kColNamn, "Kassa ✓",
         "Tecknet \"✓\" kan inte sparas i företagets filer. Skriv texten utan det tecknet."},
        {kColGrupp, "✓", "Tecknet \"✓\" kan inte sparas i företagets filer. Skriv texten utan det tecknet."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        prompter.said.clear();
        scrolls.scrolls.clear();
        grid.cancelEdit();
        const bool accepted = typeInto(grid, kFreeBalanceRow, c.col, c.text);
        if (c.message == nullptr) {
            EXPECT_TRUE(accepted);
            EXPECT_TRUE(prompter.said.empty());
            EXPECT_EQ(grid.storedText(kFreeBalanceRow, c.col), c.text);
            grid.setText(kFreeBalanceRow, c.col, std::string());
        } else {
            EXPECT_FALSE(accepted);
            EXPECT_EQ(prompter.said, std::vector<std::string>{c.message});
            EXPECT_TRUE(grid.isEditing());
            EXPECT_EQ(grid.editText(), "");
            EXPECT_EQ(grid.currentCell(), (CellPos{kFreeBalanceRow, c.col}));
            ASSERT_FALSE(scrolls.scrolls.empty());
            EXPECT_EQ(scrolls.scrolls.back(), (CellPos{kFreeBalanceRow, c.col}));
        }
    }
    grid.setListener(nullptr);
}

TEST_F(ChartGridRules, DelsummaMayNameTheGroupOfItsOwnRowButNotOneBelow) {
    ChartEditorModel editor(doc, prompter, ChartKind::Income);
    editor.open();
    Grid& grid = editor.grid();
    ASSERT_TRUE(typeInto(grid, kFreeIncomeRow, kColGrupp, "q"));
    EXPECT_TRUE(typeInto(grid, kFreeIncomeRow, kColDelsumma, "qab"));
    grid.setText(kFreeIncomeRow + 2, kColGrupp, "r");
    EXPECT_FALSE(typeInto(grid, kFreeIncomeRow + 1, kColDelsumma, "r"));
    EXPECT_EQ(prompter.said.back(), "Gruppen (r) existerar inte ovanför denna rad ! ");
}

TEST_F(ChartGridRules, ResultRowMustNameALiabilityAccount) {
    ChartEditorModel editor(doc, prompter, ChartKind::Income);
    editor.open();
    Grid& grid = editor.grid();
    const std::int32_t resultRow = editor.endMarkerRow() - 1;
    for (const char* refused : {"1010", "", "abc", "0", "9999"}) {
        grid.cancelEdit();
        EXPECT_FALSE(typeInto(grid, resultRow, kColNamn, refused)) << refused;
        EXPECT_EQ(prompter.said.back(), kMsgFinnsInteIPassiva);
    }
    grid.cancelEdit();
    EXPECT_TRUE(typeInto(grid, resultRow, kColNamn, "2520"));
    EXPECT_TRUE(typeInto(grid, resultRow, kColNamn, "2040"));
    // The same text elsewhere is an ordinary name.
    EXPECT_TRUE(typeInto(grid, kFreeIncomeRow, kColNamn, "1010"));
}

TEST_F(ChartGridRules, ResultRowTakesAnyAccountBeforeTheBalanceChartIsApproved) {
    CTallvingeDoc fresh;
    fresh.chooseTemplate(kMallForening);
    ChartEditorModel editor(fresh, prompter, ChartKind::Income);
    editor.open();
    EXPECT_TRUE(typeInto(editor.grid(), editor.endMarkerRow() - 1, kColNamn, "1010"));
    editor.grid().cancelEdit();
    EXPECT_FALSE(typeInto(editor.grid(), editor.endMarkerRow() - 1, kColNamn, "x"));
}

TEST_F(ChartGridRules, AccountsInUseOrInAVatRuleKeepTheirNumbers) {
    postVoucher(doc, 3, 2, 2012, {{1010, 100, 0}, {3000, 0, 100}});
    std::vector<CAutomoms> rules = doc.state().m_momsregler;
    rules[5].m_dMomssats = 25;
    rules[5].m_nDebetkonto = 4000;
    rules[5].m_nDebetMomskonto = 1050;
    rules[6].m_dMomssats = 25;
    rules[6].m_nKreditkonto = 3000;
    rules[6].m_nKreditMomskonto = 2750;
    doc.setVatRules(rules);

    ChartEditorModel income(doc, prompter, ChartKind::Income);
    income.open();
    Grid& grid = income.grid();
    const std::int32_t used = rowOf(grid, "3000");
    const std::int32_t vat = rowOf(grid, "4000");
    const std::int32_t free = rowOf(grid, "6010");
    EXPECT_EQ(grid.storedText(used, kColAnvands), "A");
    EXPECT_EQ(grid.storedText(vat, kColAnvands), "Autom momsber");
    EXPECT_EQ(grid.storedText(free, kColAnvands), "");
    EXPECT_TRUE(grid.style(used, kColKontonr).readOnly);
    EXPECT_TRUE(grid.style(vat, kColKontonr).readOnly);
    EXPECT_FALSE(grid.style(free, kColKontonr).readOnly);
    EXPECT_FALSE(grid.style(used, kColNamn).readOnly);

    // Trying to type over a locked number says why; in use is told before the VAT rule.
    ASSERT_TRUE(grid.moveCurrentCell({used, kColKontonr}));
    EXPECT_FALSE(grid.beginEdit(std::string("3001")));
    EXPECT_EQ(prompter.said.back(), "Kontot  3000   är i användnig och går ej att ändra  eller ta bort.");
    ASSERT_TRUE(grid.moveCurrentCell({vat, kColKontonr}));
    EXPECT_FALSE(grid.beginEdit());
    EXPECT_EQ(prompter.said.back(), "Kontot  4000   används i den automatiska momsberäkningen. Gå först till "
                                    " 'Moms-Sätt moms'  och tag bort "
                                    "det därifrån om du vill ändra eller ta bort det.");
    EXPECT_FALSE(income.rules().startEditing(grid, used, kColKontonr));
    EXPECT_TRUE(income.rules().startEditing(grid, free, kColKontonr));
    EXPECT_TRUE(income.rules().startEditing(grid, used, kColNamn));

    // In the balance chart a VAT account is locked but gets no mark.
    ChartEditorModel balance(doc, prompter, ChartKind::Balance);
    balance.open();
    const std::int32_t kassa = rowOf(balance.grid(), "1010");
    const std::int32_t bank = rowOf(balance.grid(), "1050");
    EXPECT_EQ(balance.grid().storedText(kassa, kColAnvands), "A");
    EXPECT_EQ(balance.grid().storedText(bank, kColAnvands), "");
    EXPECT_TRUE(balance.grid().style(bank, kColKontonr).readOnly);
}

TEST_F(ChartGridRules, LeavingARowTellsWhatItLacks) {
    ChartEditorModel editor(doc, prompter, ChartKind::Income);
    editor.open();
    Grid& grid = editor.grid();
    const std::int32_t row = kFreeIncomeRow;
    ASSERT_TRUE(typeInto(grid, row, kColKontonr, "4100"));
    ASSERT_TRUE(grid.moveCurrentCell({row, kColNamn})); // within the row: nothing yet
    EXPECT_TRUE(prompter.said.empty());
    ASSERT_TRUE(grid.moveCurrentCell({row + 1, kColNamn}));
    EXPECT_EQ(prompter.said, std::vector<std::string>{"Kontonamn saknas !"});

    ASSERT_TRUE(typeInto(grid, row, kColNamn, "Material"));
    ASSERT_TRUE(grid.moveCurrentCell({row + 1, kColNamn}));
    EXPECT_EQ(prompter.said.back(), "Kontogrupp saknas");

    prompter.said.clear();
    ASSERT_TRUE(typeInto(grid, row + 2, kColGrupp, "b"));
    ASSERT_TRUE(grid.moveCurrentCell({row + 3, kColGrupp}));
    EXPECT_EQ(prompter.said, std::vector<std::string>{"Kontonr/Kontonamn saknas"});

    prompter.said.clear();
    ASSERT_TRUE(typeInto(grid, row + 3, kColDelsumma, "b"));
    ASSERT_TRUE(grid.moveCurrentCell({row + 4, kColDelsumma}));
    EXPECT_EQ(prompter.said, std::vector<std::string>{"Kontonr/Kontonamn/Rubrik saknas"});

    // Moves among the help lines below the chart check nothing.
    prompter.said.clear();
    const std::int32_t endMarker = editor.endMarkerRow();
    grid.setText(endMarker - 5, kColKontonr, "4200");
    ASSERT_TRUE(grid.moveCurrentCell({endMarker + 2, kColNamn}));
    ASSERT_TRUE(grid.moveCurrentCell({endMarker - 6, kColNamn}));
    EXPECT_TRUE(prompter.said.empty());
}

TEST_F(ChartGridRules, ANumberOfTheOtherChartIsEmptiedWhenTheCursorMoves) {
    ChartEditorModel editor(doc, prompter, ChartKind::Balance);
    editor.open();
    Grid& grid = editor.grid();
    grid.setText(kFreeBalanceRow, kColKontonr, "3001");
    ASSERT_TRUE(grid.moveCurrentCell({kFreeBalanceRow, kColKontonr}));
    ASSERT_TRUE(grid.moveCurrentCell({kFreeBalanceRow, kColNamn}));
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgFinnsRedan});
    EXPECT_EQ(grid.storedText(kFreeBalanceRow, kColKontonr), "");
}

TEST_F(ChartGridRules, DeleteKeyAndClearingHonourTheLocks) {
    postVoucher(doc, 3, 2, 2012, {{1010, 100, 0}, {3000, 0, 100}});
    std::vector<CAutomoms> rules = doc.state().m_momsregler;
    rules[5].m_dMomssats = 25;
    rules[5].m_nDebetkonto = 4000;
    rules[5].m_nDebetMomskonto = 1050;
    doc.setVatRules(rules);
    ChartEditorModel editor(doc, prompter, ChartKind::Income);
    editor.open();
    Grid& grid = editor.grid();
    const std::int32_t used = rowOf(grid, "3000");
    const std::int32_t vat = rowOf(grid, "4000");
    const std::int32_t free = rowOf(grid, "6010");

    ASSERT_TRUE(grid.moveCurrentCell({used, kColKontonr}));
    EXPECT_TRUE(grid.keyDown({GridKeyCode::Delete}));
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgKanEjTasBort});
    ASSERT_TRUE(grid.moveCurrentCell({vat, kColKontonr}));
    EXPECT_TRUE(grid.keyDown({GridKeyCode::Delete}));
    EXPECT_EQ(prompter.said.back(), kMsgMomsLasning);
    EXPECT_EQ(grid.storedText(vat, kColKontonr), "4000");

    // The name of an account in use cannot be cleared either; a free row can.
    prompter.said.clear();
    grid.selectRows(used, used);
    EXPECT_FALSE(grid.clearSelectedCells());
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgKanEjTasBort});
    EXPECT_EQ(grid.storedText(used, kColNamn), "Medlemsavgifter");
    grid.clearSelection();
    ASSERT_TRUE(grid.moveCurrentCell({free, kColKontonr}));
    EXPECT_TRUE(grid.keyDown({GridKeyCode::Delete}));
    EXPECT_EQ(grid.storedText(free, kColKontonr), "");
    EXPECT_EQ(prompter.said.size(), 1u);
}

TEST_F(ChartGridRules, ClipboardRules) {
    postVoucher(doc, 3, 2, 2012, {{1010, 100, 0}, {3000, 0, 100}});
    ChartEditorModel editor(doc, prompter, ChartKind::Income);
    editor.open();
    Grid& grid = editor.grid();
    const std::int32_t endMarker = editor.endMarkerRow();

    ASSERT_TRUE(grid.moveCurrentCell({kFreeIncomeRow, kColNamn}));
    EXPECT_FALSE(grid.paste("1234\tNytt konto\n"));
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgKlistraInEj});

    prompter.said.clear();
    EXPECT_TRUE(grid.copySelection().has_value());
    EXPECT_TRUE(prompter.said.empty());
    grid.selectRows(endMarker + 1, endMarker + 3);
    EXPECT_TRUE(grid.copySelection().has_value()); // copied anyway, with a warning
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgKopiaVarning});

    prompter.said.clear();
    grid.selectRows(3, 4);
    EXPECT_FALSE(grid.cutSelection().has_value());
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgEnRadKlippas});

    prompter.said.clear();
    const std::int32_t used = rowOf(grid, "3000");
    grid.selectRows(used, used);
    EXPECT_FALSE(grid.cutSelection().has_value());
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgKanEjKlippas});

    prompter.said.clear();
    const std::int32_t free = rowOf(grid, "6010");
    grid.selectRows(free, free);
    const auto cut = grid.cutSelection();
    ASSERT_TRUE(cut.has_value());
    EXPECT_EQ(*cut, "6010\tLokalhyra\tb\t\t\t\n");
    EXPECT_EQ(grid.storedText(free, kColNamn), "");
    EXPECT_TRUE(prompter.said.empty());

    grid.selectRows(endMarker, endMarker);
    EXPECT_TRUE(grid.cutSelection().has_value());
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgKopiaVarning});
    EXPECT_EQ(grid.storedText(endMarker, kColKontonr), "Exempel");
}

} // namespace
} // namespace kv
