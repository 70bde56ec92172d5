// The VAT rules dialog "Automatisk momsberäkning": what it shows, the rules
// it approves at once for a new company, the cell checks and the approval.
#include "AppFakeHost.h"
#include "ChartTestSupport.h"
#include "ScriptedPrompter.h"

#include "app/AppController.h"
#include "chart/ChartTemplates.h"
#include "voucher/VatRulesModel.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

namespace kv {
namespace {

using test::ScriptedPrompter;
using test::setUpCompany;
using test::TemplateFolder;
using test::typeInto;

CAutomoms creditRule(double rate, std::int32_t account, std::int32_t vatAccount, std::string comment) {
    CAutomoms rule;
    rule.m_dMomssats = rate;
    rule.m_nKreditkonto = account;
    rule.m_nKreditMomskonto = vatAccount;
    rule.m_strKommentar = std::move(comment);
    return rule;
}

CAutomoms debitRule(double rate, std::int32_t account, std::int32_t vatAccount, std::string comment) {
    CAutomoms rule;
    rule.m_dMomssats = rate;
    rule.m_nDebetkonto = account;
    rule.m_nDebetMomskonto = vatAccount;
    rule.m_strKommentar = std::move(comment);
    return rule;
}

bool allZero(const std::vector<CAutomoms>& rules, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i <= to; ++i) {
        if (!(rules[i] == CAutomoms{})) {
            return false;
        }
    }
    return true;
}

class VatRules : public ::testing::Test {
protected:
    TemplateFolder folder;
    ScriptedPrompter prompter;
};

TEST_F(VatRules, ANewCompanyGetsTheDefaultsOfItsTemplateAtOnce) {
    CTallvingeDoc finnish;
    setUpCompany(finnish, kMallFinlandssvensk, folder.path());
    const auto& rules = finnish.state().m_momsregler;
    ASSERT_EQ(rules.size(), 54u);
    EXPECT_EQ(rules[0], creditRule(22, 3000, 2930, "Försäljning moms 22%"));
    EXPECT_EQ(rules[2], creditRule(8, 3065, 2932, "Försäljning moms 8%"));
    EXPECT_EQ(rules[4], debitRule(17, 4001, 1718, "Inköp moms 17%"));
    EXPECT_EQ(rules[6], debitRule(22, 6605, 1717, "Värme 22%"));
    EXPECT_EQ(rules[10], debitRule(22, 6850, 1717, "Kontorsmaterial 22%"));
    EXPECT_TRUE(allZero(rules, 11, 53));
    EXPECT_EQ(finnish.state().m_nValdMall, -2);
    EXPECT_EQ(finnish.state().m_strMallnamn, kIngenMall);

    CTallvingeDoc swedish;
    setUpCompany(swedish, kMallRikssvensk, folder.path());
    EXPECT_EQ(swedish.state().m_momsregler[1], creditRule(12, 3001, 2931, "Försäljning moms 12%"));
    EXPECT_EQ(swedish.state().m_momsregler[5], debitRule(6, 4065, 1719, "Inköp moms 6%"));
    EXPECT_EQ(swedish.state().m_momsregler[7], debitRule(25, 6607, 1717, "Vatten moms 25%"));
    EXPECT_EQ(swedish.state().m_momsregler[9], debitRule(25, 6800, 1717, "Telefon moms 25%"));

    CTallvingeDoc bas;
    setUpCompany(bas, kMallBaskonto, folder.path());
    for (const std::size_t first : {0u, 25u}) {
        EXPECT_EQ(bas.state().m_momsregler[first], creditRule(25, 3010, 2610, "Försäljning moms 25%"));
        EXPECT_EQ(bas.state().m_momsregler[first + 1], debitRule(25, 4010, 1650, "Inköp moms 25%"));
    }
    EXPECT_TRUE(allZero(bas.state().m_momsregler, 2, 24));
    EXPECT_TRUE(allZero(bas.state().m_momsregler, 27, 53));

    CTallvingeDoc association;
    setUpCompany(association, kMallForening, folder.path());
    CAutomoms marker;
    marker.m_strKommentar = "Föreningsmall";
    EXPECT_EQ(association.state().m_momsregler[1], marker);
    EXPECT_TRUE(allZero(association.state().m_momsregler, 2, 53));
    EXPECT_TRUE(allZero(association.state().m_momsregler, 0, 0));
}

TEST_F(VatRules, StoredRulesAreShownForEditing) {
    CTallvingeDoc doc;
    setUpCompany(doc, kMallRikssvensk, folder.path());
    std::vector<CAutomoms> rules = doc.state().m_momsregler;
    rules[12] = debitRule(12.5, 4444, 1717, "Borttaget konto");
    doc.setVatRules(rules);
    doc.savedInFull();
    VatRulesModel dialog(doc, prompter);
    EXPECT_FALSE(dialog.open());
    EXPECT_EQ(prompter.said, std::vector<std::string>{"Konto nr 4444 borttaget"});
    EXPECT_STREQ(dialog.title(), "Automatisk momsberäkning");
    EXPECT_FALSE(dialog.pink());
    const Grid& grid = dialog.grid();
    EXPECT_EQ(grid.rowCount(), 57);
    EXPECT_EQ(grid.colCount(), 8);
    EXPECT_EQ(grid.storedText(0, 1), "Moms %");
    EXPECT_EQ(grid.storedText(0, 8), "Kommentar");
    EXPECT_EQ(grid.storedText(1, 1), "25.00");
    EXPECT_EQ(grid.storedText(1, 2), "dras från");
    EXPECT_EQ(grid.storedText(1, 3), "");
    EXPECT_EQ(grid.storedText(1, 4), "3000");
    EXPECT_EQ(grid.storedText(1, 5), "till");
    EXPECT_EQ(grid.storedText(1, 7), "2930");
    EXPECT_EQ(grid.storedText(1, 8), "Försäljning moms 25%");
    EXPECT_EQ(grid.storedText(13, 1), "12.50");
    EXPECT_EQ(grid.storedText(13, 3), "");
    EXPECT_EQ(grid.storedText(13, 6), "1717");
    EXPECT_EQ(grid.storedText(30, 1), "");
    EXPECT_EQ(grid.storedText(54, 5), "till");
    EXPECT_TRUE(grid.style(30, 2).readOnly);
    EXPECT_TRUE(grid.style(30, 5).readOnly);
    EXPECT_FALSE(grid.style(30, 3).readOnly);
    EXPECT_EQ(grid.storedText(55, 1),
              "(3000 Försäljn, 2930 Momsskuld)    Exempel    (4000 Inköp, 1717 Momsfordran)");
    EXPECT_EQ(grid.style(55, 1).fontFace, "Times New Roman");
    EXPECT_EQ(grid.storedText(56, 1), "22,00");
    EXPECT_EQ(grid.storedText(56, 4), "3000");
    EXPECT_EQ(grid.storedText(56, 7), "2930");
    EXPECT_EQ(grid.storedText(57, 3), "4000");
    EXPECT_EQ(grid.storedText(57, 6), "1717");
    EXPECT_EQ(grid.storedText(57, 8), "Inköp moms 22%");
    EXPECT_TRUE(grid.style(57, 1).readOnly);
    EXPECT_FALSE(doc.isModified()); // opening changes nothing
}

TEST_F(VatRules, PinkWhileTheVoucherDialogIsOpen) {
    AppController controller(prompter, folder.path());
    test::FakeHost host(controller);
    test::newCompanyWithoutPeriod(controller, prompter);
    setUpCompany(controller.document(), kMallRikssvensk, folder.path());
    FormModel& voucher = test::openVoucherForm(controller);
    struct Seen {
        bool pink;
        std::string title;
        std::optional<Rgb> first;
        std::optional<Rgb> last;
    };
    std::vector<Seen> seen;
    prompter.on<VatRulesModel>([&seen](VatRulesModel& dialog) {
        seen.push_back(Seen{dialog.pink(), dialog.title(), dialog.grid().style(1, 1).background,
                            dialog.grid().style(57, 8).background});
        return Answer::Cancel;
    });
    controller.execute(CommandId::VatRules);
    ASSERT_TRUE(controller.closeFormByUser(voucher));
    controller.execute(CommandId::VatRules);
    ASSERT_EQ(seen.size(), 2U);
    EXPECT_TRUE(seen[0].pink);
    EXPECT_EQ(seen[0].title, "Verifikatdialogen öppen. Rosa rader kan ej ändras.");
    EXPECT_EQ(seen[0].first, rgb(255, 235, 240));
    EXPECT_EQ(seen[0].last, rgb(255, 235, 240));
    // Once the voucher dialog has closed the rules can be changed again.
    EXPECT_FALSE(seen[1].pink);
    EXPECT_EQ(seen[1].title, kVatDialogTitle);
    EXPECT_NE(seen[1].first, std::optional<Rgb>{rgb(255, 235, 240)});
}

TEST_F(VatRules, AUserTemplatesRulesAreApprovedAtOnce) {
    CTallvingeDoc doc;
    setUpCompany(doc, kMallRikssvensk, folder.path());
    test::loadEdited(doc, [](CompanyState& state) {
        // A user template's three rules, just taken by a new company.
        state.m_momsregler.resize(3);
        state.m_nValdMall = 0;
        state.m_strMallnamn = "Firma.bok";
    });
    VatRulesModel dialog(doc, prompter);
    EXPECT_TRUE(dialog.open());
    EXPECT_EQ(doc.state().m_momsregler.size(), 54u);
    EXPECT_EQ(doc.state().m_momsregler[0], creditRule(25, 3000, 2930, "Försäljning moms 25%"));
    EXPECT_EQ(doc.state().m_nValdMall, -2);
    EXPECT_EQ(doc.state().m_strMallnamn, kIngenMall);
}

TEST_F(VatRules, NothingIsApprovedBeforeBothCharts) {
    CTallvingeDoc doc;
    VatRulesModel dialog(doc, prompter);
    EXPECT_TRUE(dialog.open());
    EXPECT_EQ(prompter.said, std::vector<std::string>{kMsgBadaGodkanda});
    EXPECT_TRUE(doc.state().m_momsregler.empty());
    EXPECT_EQ(dialog.grid().storedText(1, 1), "");
}

class VatRuleCells : public VatRules {
protected:
    void SetUp() override {
        setUpCompany(doc, kMallRikssvensk, folder.path());
        ASSERT_FALSE(dialog.open());
        prompter.said.clear();
    }

    // The message of a refused text, or "" when the cell took it.
    std::string typed(std::int32_t row, std::int32_t col, const std::string& text) {
        prompter.said.clear();
        dialog.grid().cancelEdit();
        if (typeInto(dialog.grid(), row, col, text)) {
            EXPECT_TRUE(prompter.said.empty());
            return {};
        }
        EXPECT_EQ(dialog.grid().editText(), "");
        return prompter.said.empty() ? std::string("<tyst>") : prompter.said.back();
    }

    CTallvingeDoc doc;
    VatRulesModel dialog{doc, prompter};
};

TEST_F(VatRuleCells, AccountCellsTakeExistingWholeNumbersOnly) {
    for (const std::int32_t col : {3, 4, 6, 7}) {
        EXPECT_EQ(typed(20, col, "19a0"), "Ge ett heltal") << col;
        EXPECT_EQ(typed(20, col, " 1900"), "Ge ett heltal") << col;
        EXPECT_EQ(typed(20, col, "4444"), "Kontot finns inte") << col;
    }
    EXPECT_EQ(typed(20, 3, "4000"), "Kontot finns redan i debetkolumnen");
    EXPECT_EQ(typed(4, 3, "4000"), ""); // its own row
    EXPECT_EQ(typed(20, 4, "3001"), "Kontot finns redan i kreditkolumnen");
    EXPECT_EQ(typed(20, 6, "1717"), ""); // a VAT account may serve many rules
    EXPECT_EQ(typed(20, 3, "1717"), "Samma konto");
    EXPECT_EQ(typed(20, 3, "6000"), "");
    EXPECT_EQ(typed(20, 3, ""), "");
}

// "2090" is refused wherever it is typed, and the chart's own result
// account too when it is another: no VAT moves to or from the result.
TEST(VatRuleResultAccount, TheWrittenAndTheChartsResultAccountAreRefused) {
    CTallvingeDoc doc;
    doc.approveIncomeChart({test::row("3000", "Försäljning", "a"), test::row("", "Sa intäkter", "", "a"),
                            test::row("", "RESULTAT", "", "", "="), test::row("", "2099", "", "", "", "v"),
                            test::row("Exempel", "")});
    doc.approveBalanceChart({test::row("1930", "Bank", "c"), test::row("", "Sa AKTIVA", "", "", "a"),
                             test::row("2090", "Gammalt resultatkonto", "d"),
                             test::row("2099", "Årets resultat", "d"),
                             test::row("", "Sa PASSIVA", "", "", "p"), test::row("Exempel", "")});
    ScriptedPrompter prompter;
    VatRulesModel dialog(doc, prompter);
    dialog.open();
    const std::string refused = "Resultatkontot kan ej användas";
    const std::vector<std::tuple<std::int32_t, std::string, std::string>> cases = {
        {3, "2099", refused}, {7, "2099", refused}, {3, "2090", refused},
        {6, "2090", refused}, {8, "2090", refused}, {3, "1930", ""},
    };
    for (const auto& [col, text, message] : cases) {
        prompter.said.clear();
        dialog.grid().cancelEdit();
        const bool taken = typeInto(dialog.grid(), 20, col, text);
        EXPECT_EQ(taken, message.empty()) << col << " " << text;
        EXPECT_EQ(prompter.said,
                  message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message})
            << col << " " << text;
    }
}

TEST_F(VatRuleCells, RatesAreNumbersWithCommaOrPoint) {
    EXPECT_EQ(typed(20, 1, "12,5"), "");
    EXPECT_EQ(typed(20, 1, "12.5"), "");
    EXPECT_EQ(typed(20, 1, "25"), "");
    EXPECT_EQ(typed(20, 1, ""), "");
    for (const char* bad : {".", ",", "1.2.3", "12,5,0", "abc", "-5", "1 2"}) {
        EXPECT_EQ(typed(20, 1, bad), "Felaktig momssats") << bad;
    }
    EXPECT_EQ(typed(20, 8, "Moms ✓"),
              "Tecknet \"✓\" kan inte sparas i företagets filer. Skriv texten utan det tecknet.");
}

TEST_F(VatRuleCells, ChecksNeedApprovedCharts) {
    CTallvingeDoc bare;
    test::loadEdited(bare, [](CompanyState& state) {
        state.m_momsregler.resize(54);
        state.m_allaKonton.push_back(std::make_unique<CKonto>());
        state.m_allaKonton.back()->m_nKontonr = 3000;
    });
    VatRulesModel other(bare, prompter);
    ASSERT_FALSE(other.open());
    prompter.said.clear();
    EXPECT_FALSE(typeInto(other.grid(), 1, 4, "3000"));
    EXPECT_EQ(prompter.said.back(),
              "Resultaträknigen är ej ännu godkännd. Gå till Kontoplan-Resultaträkning");
    test::loadEdited(
        bare, [](CompanyState& state) { state.m_resKonton.push_back(state.m_allaKonton.front().get()); });
    other.grid().cancelEdit();
    EXPECT_FALSE(typeInto(other.grid(), 1, 4, "3000"));
    EXPECT_EQ(prompter.said.back(), "Balansräkningen är ej ännu godkännd. Gå till Kontoplan-Balansräkning");
}

TEST_F(VatRuleCells, PasteIsRefusedAndTheAccountListFollowsTheCursor) {
    ASSERT_TRUE(dialog.grid().moveCurrentCell({20, 1}));
    EXPECT_FALSE(dialog.grid().paste("25\tdras från\t4000\n"));
    EXPECT_EQ(prompter.said, std::vector<std::string>{"Går ej att klistra in"});

    const auto& lines = dialog.accountListLines();
    EXPECT_FALSE(dialog.selectedAccountLine().has_value());
    ASSERT_TRUE(dialog.grid().moveCurrentCell({4, 6})); // 1717
    ASSERT_TRUE(dialog.selectedAccountLine().has_value());
    EXPECT_EQ(lines[*dialog.selectedAccountLine()], "1717  Momsfordran 25%");
    ASSERT_TRUE(dialog.grid().moveCurrentCell({1, 4})); // 3000
    EXPECT_EQ(lines[*dialog.selectedAccountLine()], "3000  Försäljning moms 25%");
    ASSERT_TRUE(dialog.grid().moveCurrentCell({1, 8})); // a comment: the list stays
    EXPECT_EQ(lines[*dialog.selectedAccountLine()], "3000  Försäljning moms 25%");
    EXPECT_EQ(lines.size(), 77u);
}

TEST_F(VatRuleCells, ApprovalNeedsWellFilledRowsAndMakes54Rules) {
    Grid& grid = dialog.grid();
    grid.setText(3, 3, "4000"); // row 3 now has both sides
    grid.setText(30, 1, "25");  // a rate alone
    prompter.said.clear();
    const auto before = doc.state().m_momsregler;
    EXPECT_FALSE(dialog.approve());
    EXPECT_EQ(prompter.said,
              (std::vector<std::string>{"Rad 3 är felaktigt ifylld", "Rad 30 är felaktigt ifylld"}));
    EXPECT_EQ(doc.state().m_momsregler, before);

    grid.setText(3, 3, "");
    ASSERT_TRUE(typeInto(grid, 30, 1, "12,5"));
    ASSERT_TRUE(typeInto(grid, 30, 3, "6000"));
    ASSERT_TRUE(typeInto(grid, 30, 6, "1718"));
    ASSERT_TRUE(typeInto(grid, 30, 8, "Löner?"));
    doc.savedInFull();
    EXPECT_TRUE(dialog.approve());
    ASSERT_EQ(doc.state().m_momsregler.size(), 54u);
    EXPECT_EQ(doc.state().m_momsregler[29], debitRule(12.5, 6000, 1718, "Löner?"));
    EXPECT_EQ(doc.state().m_momsregler[2], creditRule(6, 3065, 2932, "Försäljning moms 6%"));
    EXPECT_EQ(doc.state().m_momsregler[40], CAutomoms{});
    EXPECT_TRUE(doc.isModified());
}

} // namespace
} // namespace kv
