// Typing a voucher: the checks of a cell, of the dates, of a row the cursor
// leaves and of all lines before registration.
#include "VoucherTestSupport.h"

#include "model/DocumentTexts.h"
#include "voucher/VoucherNumbers.h"
#include "voucher/VoucherRules.h"
#include "voucher/VoucherTexts.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::TypedLine;
using test::VoucherDesk;

struct CellCase {
    const char* name;
    TypedLine before; // what row 1 holds before the typing (written by the program)
    std::int32_t col;
    const char* typed;
    const char* message; // empty: the text is stored
    const char* stored;  // what the cell holds afterwards
};

TEST(VoucherCellCheck, EachCheckRefusesWithItsMessageInItsOrder) {
    const std::vector<CellCase> cases{
        {"letters in the account", {}, kColKonto, "19a0", kMsgGeEttHeltal, ""},
        {"an account no chart has", {}, kColKonto, "9999", kMsgKontotFinnsInte, ""},
        {"0 names headings only", {}, kColKonto, "0", kMsgKontotFinnsInte, ""},
        {"an account erased", {"1930"}, kColKonto, "", "", ""},
        {"the profit account", {}, kColKonto, "2090", kMsgVinstkontoCell, ""},
        {"debit beside a credit", {"1930", "x", "", "5"}, kColDebet, "5", kMsgKreditkontotIfyllt, ""},
        {"two separators", {"1930", "x"}, kColDebet, "1.2.3", kMsgGeEttSiffervarde, ""},
        {"a point alone", {"1930", "x"}, kColKredit, ".", kMsgGeEttSiffervarde, ""},
        {"a comma becomes a point", {"1930", "x"}, kColDebet, "12,5", "", "12.5"},
        {"debit before the line text", {"1930"}, kColDebet, "10", kMsgFyllForst, ""},
        {"credit beside a debit", {"1930", "x", "5"}, kColKredit, "5", kMsgDebetkontotIfyllt, ""},
        {"line text without an account", {}, kColRadtext, "Hyra", kMsgKontonummerSaknas, ""},
        {"name without an account", {}, kColKontonamn, "Bank", kMsgKontonummerSaknas, ""},
        {"the largest amount", {"1930", "x"}, kColDebet, "999999999", "", "999999999"},
        {"above the largest amount", {"1930", "x"}, kColKredit, "999999999.01", kMsgStorstaTal, ""},
    };
    for (const CellCase& c : cases) {
        SCOPED_TRACE(c.name);
        VoucherDesk desk;
        VoucherFormModel& form = desk.open();
        const std::array<std::string, 5> before{c.before.account, "", c.before.text, c.before.debit,
                                                c.before.credit};
        for (std::int32_t col = 1; col <= 5; ++col) {
            desk.grid().setText(1, col, before[static_cast<std::size_t>(col - 1)]);
        }
        if (!c.before.account.empty()) {
            desk.grid().setText(1, kColKontonamn, "Namn");
        }
        const bool stored = form.typeCell({1, c.col}, c.typed);
        EXPECT_EQ(stored, std::string(c.message).empty());
        EXPECT_EQ(form.cellOk(), stored);
        if (stored) {
            EXPECT_TRUE(desk.prompter.said.empty());
            EXPECT_EQ(desk.grid().storedText(1, c.col), c.stored);
        } else {
            EXPECT_EQ(desk.prompter.said, std::vector<std::string>{c.message});
            // The cell stays open for a new text.
            EXPECT_TRUE(desk.grid().isEditing());
            EXPECT_EQ(desk.grid().currentCell(), (CellPos{1, c.col}));
        }
    }
}

TEST(VoucherCellCheck, AccountNameVatRateAndUnusualSidesFollowTheAccount) {
    VoucherDesk desk;
    VoucherFormModel& form = desk.open();
    ASSERT_TRUE(test::typeLine(form, 1, {"3000", "Sålt", "125", ""}));
    EXPECT_EQ(desk.grid().storedText(1, kColKontonamn), "Försäljning");
    EXPECT_EQ(desk.grid().storedText(1, kColMoms), "25.00");
    // A sales account debited, a purchase account credited: told, and kept.
    EXPECT_EQ(desk.prompter.said, std::vector<std::string>{kMsgOvanligDebet});
    desk.prompter.said.clear();
    ASSERT_TRUE(test::typeLine(form, 2, {"4000", "Retur", "", "125"}));
    EXPECT_EQ(desk.prompter.said, std::vector<std::string>{kMsgOvanligKredit});
    EXPECT_EQ(desk.grid().storedText(2, kColKredit), "125");
    // An account without a rule has an empty VAT column; an erased account takes its rate with it.
    desk.prompter.said.clear();
    ASSERT_TRUE(form.typeCell({2, kColKonto}, "1930"));
    EXPECT_EQ(desk.grid().storedText(2, kColMoms), "");
    ASSERT_TRUE(form.typeCell({1, kColKonto}, ""));
    EXPECT_EQ(desk.grid().storedText(1, kColMoms), "");
}

TEST(VoucherCellCheck, TheResultRowsAccountIsRefusedLikeTheProfitAccount) {
    VoucherDesk desk;
    // A chart whose result row names 2440.
    test::loadEdited(desk.doc, [](CompanyState& company) {
        company.m_resKonton[company.m_resKonton.size() - 2]->m_strKolumn2 = "2440";
    });
    VoucherFormModel& form = desk.open();
    EXPECT_FALSE(form.typeCell({1, kColKonto}, "2440"));
    EXPECT_EQ(desk.prompter.said, std::vector<std::string>{kMsgVinstkontoCell});
    // The document refuses such a line too, and changes nothing.
    CVerifikatrad line;
    line.m_nKonto = 2440;
    line.m_dDebet = 10.0;
    EXPECT_THROW(desk.doc.registerVoucher(makeVoucher(1, 2, 2012, "x", {line})), DocumentRefusal);
    EXPECT_TRUE(desk.doc.state().m_verifikat.empty());
}

TEST(VoucherNumbers, TheNumberRule) {
    for (const char* number : {"", "12", "12.5", "12,50", ".5", "5."}) {
        EXPECT_TRUE(isNumberText(number)) << number;
    }
    for (const char* text : {".", ",", "1.2.3", "1,2.3", "-5", "1 000", "12a"}) {
        EXPECT_FALSE(isNumberText(text)) << text;
    }
    EXPECT_DOUBLE_EQ(numberValue("12,50"), 12.5);
    EXPECT_DOUBLE_EQ(numberValue("abc"), 0.0);
}

TEST(VoucherDates, TheRulesInTheirOrder) {
    struct DateCase {
        DateTexts transaction;
        DateTexts booking;
        const char* message; // empty: valid
    };
    const DateTexts fine{"1", "1", "2012"};
    const std::vector<DateCase> cases{
        {{"29", "2", "2012"}, fine, ""},
        {{"29", "2", "2013"}, fine, kMsgFelaktigTransdag},
        {{"29", "2", "2100"}, fine, kMsgFelaktigtTransar}, // every fourth year has 29 days
        {{"31", "4", "2012"}, fine, kMsgFelaktigTransdag},
        {{"30", "4", "2012"}, fine, ""},
        {{"", "4", "2012"}, fine, kMsgFelaktigTransdag},
        {{"5", "13", "2012"}, fine, kMsgFelaktigTransmanad},
        {{"5", "3", "2099"}, fine, kMsgFelaktigtTransar},
        {{"5", "3", "2000"}, fine, kMsgFelaktigtTransar},
        {fine, {"32", "1", "2013"}, kMsgFelaktigBokfdag},
        {fine, {"1", "0", "2013"}, kMsgFelaktigBokfmanad},
        {fine, {"1", "1", "13"}, kMsgFelaktigtBokfar},
        {{"31", "2", "2012"}, {"32", "1", "2013"}, kMsgFelaktigTransdag}, // the first failure only
    };
    for (const DateCase& c : cases) {
        const auto failure = checkDates(c.transaction, c.booking);
        EXPECT_EQ(failure ? std::string(failure->message) : std::string(), c.message)
            << c.transaction.day << "." << c.transaction.month << "." << c.transaction.year;
    }
}

TEST(VoucherDates, AWrongDateStopsOkAndTakesTheFocus) {
    VoucherDesk desk;
    VoucherFormModel& form = desk.open();
    EXPECT_EQ(form.takeFocusRequest(), VoucherField::TransDay);
    test::typeHead(form, "5", "13", "2012", "x");
    ASSERT_TRUE(test::typeLine(form, 1, {"5010", "Hyra", "10", ""}));
    // The cell changes tell the wrong date once, not after every cell.
    EXPECT_EQ(desk.prompter.said, std::vector<std::string>{kMsgFelaktigTransmanad});
    ASSERT_TRUE(test::typeLine(form, 2, {"1930", "Hyra", "", "10"}));
    EXPECT_EQ(desk.prompter.said.size(), 1U);
    EXPECT_FALSE(form.ok());
    EXPECT_EQ(desk.prompter.said.back(), kMsgFelaktigTransmanad);
    EXPECT_FALSE(form.valid());
    EXPECT_EQ(form.takeFocusRequest(), VoucherField::TransMonth);
    EXPECT_TRUE(desk.doc.state().m_verifikat.empty());
}

TEST(VoucherRowChange, GapsAndUnfinishedRowsKeepTheCursor) {
    VoucherDesk desk;
    VoucherFormModel& form = desk.open();
    // No account anywhere: both messages, and the cursor goes to row 1.
    EXPECT_FALSE(form.grid().moveCurrentCell({4, kColRadtext}));
    EXPECT_EQ(desk.prompter.said, (std::vector<std::string>{kMsgMellanrum, kMsgBorjaForstaRaden}));
    EXPECT_EQ(form.grid().currentCell(), (CellPos{1, kColKonto}));

    ASSERT_TRUE(test::typeLine(form, 1, {"5010", "Hyra", "10", ""}));
    desk.prompter.said.clear();
    EXPECT_FALSE(form.grid().moveCurrentCell({5, kColKonto}));
    EXPECT_EQ(desk.prompter.said, std::vector<std::string>{kMsgMellanrum});
    EXPECT_EQ(form.grid().currentCell(), (CellPos{2, kColKonto}));

    // A row left with an account but no amount.
    desk.prompter.said.clear();
    ASSERT_TRUE(form.typeCell({2, kColKonto}, "1930"));
    EXPECT_FALSE(form.grid().moveCurrentCell({3, kColKonto}));
    EXPECT_EQ(desk.prompter.said, std::vector<std::string>{kMsgDebetKreditEjIfyllt});
    EXPECT_EQ(form.grid().currentCell(), (CellPos{2, kColKonto}));
    // Within the row the cursor moves freely.
    EXPECT_TRUE(form.grid().moveCurrentCell({2, kColRadtext}));
}

TEST(VoucherRowChange, TheRowLeftIsJudgedByWhatItHolds) {
    struct RowCase {
        TypedLine row; // column 2 is given as the name
        const char* name;
        const char* vat;
        const char* message;
    };
    const std::vector<RowCase> cases{
        {{"1930", "", "5", ""}, "", "", kMsgLineKontonamnSaknas},
        {{"1930", "x", "", ""}, "Bank", "", kMsgDebetKreditEjIfyllt},
        {{"", "x", "", ""}, "", "", kMsgLineKontonrKontonamnSaknas},
        {{"", "", "5", ""}, "", "", kMsgLineKontonrKontonamnSaknas},
        {{"", "", "5", ""}, "Bank", "", kMsgKontonrSaknas},
        {{"", "", "", ""}, "Bank", "", kMsgKontonrSaknas},
        {{"", "", "", ""}, "", "25.00", kMsgKontonrSaknas},
        {{"1930", "x", "", "5"}, "Bank", "", ""},
    };
    CTallvingeDoc doc;
    test::buildVoucherCompany(doc);
    const VoucherRules rules(doc);
    for (const RowCase& c : cases) {
        Grid grid;
        grid.setRowCount(kVoucherRows);
        grid.setColCount(kVoucherCols);
        grid.setText(1, kColKonto, "5010");
        const std::array<std::string, 6> cells{c.row.account, c.name,       c.row.text,
                                               c.row.debit,   c.row.credit, c.vat};
        for (std::int32_t col = 1; col <= kVoucherCols; ++col) {
            grid.setText(2, col, cells[static_cast<std::size_t>(col - 1)]);
        }
        // Row 2 was changed last; the cursor leaves it for row 1.
        bool gap = false;
        const auto refusal = rules.moveFailure(grid, 1, 2, gap);
        const std::vector<std::string> told = refusal ? refusal->messages : std::vector<std::string>{};
        EXPECT_EQ(told, std::string(c.message).empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{c.message})
            << c.name << "/" << c.row.text;
        // Back on the row last changed, nothing is judged.
        EXPECT_FALSE(rules.moveFailure(grid, 2, 2, gap).has_value());
    }
}

struct FinalCase {
    const char* name;
    std::vector<std::array<const char*, 6>> rows;
    bool gap;
    const char* message;
};

TEST(VoucherFinalCheck, TheFirstFailureOfAllLines) {
    const std::vector<FinalCase> cases{
        {"no lines", {}, false, kMsgEjIfyllt},
        {"balanced",
         {{"5010", "Lokalhyra", "x", "5", "", ""}, {"1930", "Bank", "x", "", "5", ""}},
         false,
         ""},
        {"no name", {{"5010", "", "x", "5", "", ""}}, false, kMsgLineKontonamnSaknas},
        {"no amount", {{"5010", "Lokalhyra", "x", "", "", ""}}, false, kMsgDebetKreditEjIfyllt},
        {"debit 0", {{"5010", "Lokalhyra", "x", "0.00", "", ""}}, false, kMsgDebetNoll},
        {"credit 0", {{"5010", "Lokalhyra", "x", "", "0", ""}}, false, kMsgKreditNoll},
        {"pasted letters", {{"5010", "Lokalhyra", "x", "tio", "", ""}}, false, kMsgGeEttSiffervarde},
        {"pasted too large", {{"5010", "Lokalhyra", "x", "1000000000", "", ""}}, false, kMsgStorstaTal},
        {"no such account", {{"5011", "Lokalhyra", "x", "5", "", ""}}, false, kMsgFelaktigtKontonummer},
        {"a heading's 0", {{"0", "INTÄKTER", "x", "5", "", ""}}, false, kMsgFelaktigtKontonummer},
        {"profit account", {{"2090", "Resultat", "x", "5", "", ""}}, false, kMsgVinstkontotFinal},
        {"gap flagged",
         {{"5010", "Lokalhyra", "x", "5", "", ""}, {}, {"1930", "Bank", "x", "", "5", ""}},
         true,
         kMsgMellanrum},
        {"text without account", {{"", "", "x", "", "", ""}}, false, kMsgLineKontonrKontonamnSaknas},
        {"amount without name", {{"", "", "", "5", "", ""}}, false, kMsgLineKontonrKontonamnSaknas},
        {"name without account", {{"", "Bank", "", "5", "", ""}}, false, kMsgKontonrSaknas},
        {"only a VAT rate",
         {{"5010", "Lokalhyra", "x", "5", "", ""}, {"", "", "", "", "", "25.00"}},
         false,
         kMsgKontonrSaknasMoms},
    };
    CTallvingeDoc doc;
    test::buildVoucherCompany(doc);
    const VoucherRules rules(doc);
    for (const FinalCase& c : cases) {
        SCOPED_TRACE(c.name);
        Grid grid;
        grid.setRowCount(kVoucherRows);
        grid.setColCount(kVoucherCols);
        for (std::size_t r = 0; r < c.rows.size(); ++r) {
            for (std::int32_t col = 1; col <= kVoucherCols; ++col) {
                const char* text = c.rows[r][static_cast<std::size_t>(col - 1)];
                grid.setText(static_cast<std::int32_t>(r + 1), col, text != nullptr ? text : "");
            }
        }
        const auto failure = rules.finalCheck(grid, c.gap);
        EXPECT_EQ(failure ? failure->message : std::string(), c.message);
        EXPECT_EQ(failure && failure->vatCellEmptied, std::string(c.message) == kMsgKontonrSaknasMoms);
    }
}

TEST(VoucherFinalCheck, OnlyTheLastTwoPeriodsTakeVouchersAndTheLastPeriodKnowsTheAccount) {
    CTallvingeDoc doc;
    test::buildVoucherCompany(doc);
    // Three periods, the first open: it is locked.
    test::loadEdited(doc, [](CompanyState& company) {
        for (int year : {2013, 2014}) {
            CPeriod period;
            period.m_nFranManad = 1;
            period.m_nFranAr = year;
            period.m_nTillManad = 12;
            period.m_nTillAr = year;
            company.m_perioder.push_back(std::move(period));
        }
    });
    Grid grid;
    grid.setRowCount(kVoucherRows);
    grid.setColCount(kVoucherCols);
    for (const auto& [col, text] : std::vector<std::pair<std::int32_t, const char*>>{
             {kColKonto, "1930"}, {kColKontonamn, "Bank"}, {kColRadtext, "x"}, {kColDebet, "5"}}) {
        grid.setText(1, col, text);
    }
    const VoucherRules rules(doc);
    EXPECT_EQ(rules.finalCheck(grid, false)->message, kMsgEndast2SistaPerioderna);
    // The second-to-last period: a balance account must also be in the last one.
    test::loadEdited(doc, [](CompanyState& company) { company.m_nAktuellPeriod = 1; });
    EXPECT_EQ(rules.finalCheck(grid, false)->message,
              "Konto 1930 finns inte i sista bokföringsperioden. Öppna sista perioden och lägg in det i "
              "kontoplanen.");
    EXPECT_EQ(rules.lastPeriodText(), "1 . 2014   -   12 . 2014");
    test::loadEdited(doc, [](CompanyState& company) {
        auto carried = std::make_unique<CKonto>();
        carried->m_nKontonr = 1930;
        company.m_perioder.back().m_ingaende.push_back(std::move(carried));
    });
    EXPECT_FALSE(rules.finalCheck(grid, false).has_value());
}

} // namespace
} // namespace kv
