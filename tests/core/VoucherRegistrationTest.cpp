// "OK" of the voucher dialog: the questions in their order, the period test,
// and what registration and amendment do to the books.
#include "VoucherTestSupport.h"

#include "model/DocumentTexts.h"
#include "voucher/VoucherTexts.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::TypedLine;
using test::VoucherDesk;

const CKonto& account(const CTallvingeDoc& doc, std::int32_t number) {
    return *doc.state().m_allaKonton.at(test::accountIndex(doc.state(), number));
}

struct AnswerCase {
    const char* name;
    const char* credit; // 1000 balances the debit of 1000
    const char* text;
    std::vector<Answer> answers;
    std::vector<std::string> asked;
    bool registered;
};

TEST(VoucherOk, TheQuestionsAndTheirAnswers) {
    const std::string date = "5 - 3 - 2012";
    const std::string withText = std::string(kAskRegistrera) + date + kTailVerifikattext + "Hyra mars";
    const std::string withoutText = std::string(kAskRegistrera) + date + kTailTextSaknas;
    const std::string again = kAskDifferensIgen;
    const std::vector<AnswerCase> cases{
        {"balanced", "1000", "Hyra mars", {Answer::Ok, Answer::Ok}, {withText, kAskOkMedText}, true},
        {"balanced, no", "1000", "Hyra mars", {Answer::Cancel}, {withText}, false},
        {"balanced, then no",
         "1000",
         "Hyra mars",
         {Answer::Ok, Answer::Cancel},
         {withText, kAskOkMedText},
         false},
        {"no text", "1000", "", {Answer::Ok, Answer::Ok}, {withoutText, kAskOkUtanText}, true},
        {"difference, no then yes",
         "900",
         "Hyra mars",
         {Answer::Cancel, Answer::Ok},
         {kAskDifferens, again},
         true},
        {"difference, yes then no",
         "900",
         "Hyra mars",
         {Answer::Ok, Answer::Cancel},
         {kAskDifferens, again},
         false},
        // Refused twice: the sequence ends there, nothing registered (the
        // two OKs that follow are never asked for).
        {"difference, no twice",
         "900",
         "Hyra mars",
         {Answer::Cancel, Answer::Cancel, Answer::Ok, Answer::Ok},
         {kAskDifferens, again},
         false},
        {"difference without text",
         "900",
         "",
         {Answer::Cancel, Answer::Ok},
         {kAskDifferens, again + kTailVerifikattextSaknas},
         true},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        VoucherDesk desk;
        VoucherFormModel& form = desk.open();
        test::typeHead(form, "5", "3", "2012", c.text);
        ASSERT_TRUE(test::typeLine(form, 1, {"5010", "Hyra", "1000", ""}));
        ASSERT_TRUE(test::typeLine(form, 2, {"1930", "Hyra", "", c.credit}));
        for (const Answer answer : c.answers) {
            desk.prompter.answer(answer);
        }
        EXPECT_EQ(form.ok(), c.registered);
        EXPECT_EQ(desk.prompter.said, c.asked);
        EXPECT_EQ(desk.doc.state().m_verifikat.size(), c.registered ? 1U : 0U);
        EXPECT_EQ(desk.doc.isModified(), c.registered);
        EXPECT_EQ(desk.finished, c.registered);
        if (!c.registered) {
            EXPECT_EQ(form.differenceOre(), std::string(c.credit) == "900" ? -10000 : 0); // still shown
        }
    }
}

TEST(VoucherOk, TheTransactionMonthMustLieInTheOpenPeriod) {
    struct PeriodCase {
        const char* day;
        const char* month;
        const char* year;
        bool inside;
    };
    // The period runs from January to December 2012; the day plays no part.
    for (const PeriodCase& c : std::vector<PeriodCase>{{"1", "1", "2012", true},
                                                       {"31", "12", "2012", true},
                                                       {"1", "1", "2013", false},
                                                       {"31", "12", "2011", false}}) {
        VoucherDesk desk;
        VoucherFormModel& form = desk.open();
        test::typeHead(form, c.day, c.month, c.year, "x");
        ASSERT_TRUE(test::typeLine(form, 1, {"5010", "Hyra", "10", ""}));
        ASSERT_TRUE(test::typeLine(form, 2, {"1930", "Hyra", "", "10"}));
        if (c.inside) {
            desk.prompter.answer(Answer::Ok).answer(Answer::Ok);
        }
        EXPECT_EQ(form.ok(), c.inside) << c.day << "." << c.month << "." << c.year;
        if (!c.inside) {
            EXPECT_EQ(desk.prompter.said, std::vector<std::string>{kMsgEjInomPerioden});
            EXPECT_FALSE(form.valid());
        }
    }
}

TEST(VoucherOk, RegistrationPostsEveryLineAndTheNextVoucherStartsFromItsDate) {
    VoucherDesk desk;
    EXPECT_EQ(desk.registerRent(), 1);
    const CTallvingeDoc& doc = desk.doc;
    ASSERT_EQ(doc.state().m_verifikat.size(), 1U);
    const CEttVerifikat& voucher = doc.state().m_verifikat[0];
    EXPECT_EQ(voucher.m_nVernr, 1);
    EXPECT_EQ(voucher.m_strVertext, "Hyra mars");
    EXPECT_EQ((std::array{voucher.m_nBokfDag, voucher.m_nBokfManad, voucher.m_nBokfAr}),
              (std::array{5, 3, 2013}));
    EXPECT_EQ(voucher.m_nAntalRader, 2);
    EXPECT_EQ(voucher.m_dSumDebet, 1000.0);
    EXPECT_EQ(voucher.m_dDifferens, 0.0);
    ASSERT_EQ(voucher.m_rader.size(), 2U);
    EXPECT_EQ(voucher.m_rader[0], (CVerifikatrad{"Hyra", "Lokalhyra", 5010, 1000.0, 0.0, 0.0}));
    const CKonto& rent = account(doc, 5010);
    ASSERT_EQ(rent.m_rader.size(), 1U);
    EXPECT_EQ(rent.m_rader[0], (CKontorad{1, 5, 3, 2012, 1000.0, 0.0, 0.0, "Hyra", "Lokalhyra"}));
    EXPECT_EQ(rent.m_nAnvands, 1);
    EXPECT_EQ(account(doc, 1930).m_rader[0].m_dKredit, 1000.0);
    EXPECT_EQ(doc.state().m_nNastaVernr, 2);

    VoucherFormModel& next = desk.open();
    EXPECT_EQ(next.voucherNumber(), 2);
    EXPECT_EQ(next.fieldText(VoucherField::TransDay), "5");
    EXPECT_EQ(next.fieldText(VoucherField::TransMonth), "3");
    EXPECT_EQ(next.fieldText(VoucherField::TransYear), "2012");
    EXPECT_EQ(next.fieldText(VoucherField::BokfYear), "2013");
}

TEST(VoucherOk, AnEmptyRowBetweenLinesIsStoredAndPostsNothing) {
    VoucherDesk desk;
    VoucherFormModel& form = desk.open();
    test::typeHead(form, "6", "3", "2012", "Tre rader");
    ASSERT_TRUE(test::typeLine(form, 1, {"5010", "Hyra", "10", ""}));
    ASSERT_TRUE(test::typeLine(form, 2, {"4000", "Inköp", "5", ""}));
    ASSERT_TRUE(test::typeLine(form, 3, {"1930", "Bank", "", "15"}));
    // Row 2 emptied with Delete, which no check sees; no row move flags the gap.
    form.grid().setSelection({CellRange{2, 1, 2, kVoucherCols}});
    form.grid().clearSelectedCells();
    form.grid().setSelection({});
    ASSERT_TRUE(form.typeCell({3, kColKredit}, "10"));
    desk.prompter.answer(Answer::Ok).answer(Answer::Ok);
    ASSERT_TRUE(form.ok());
    const CEttVerifikat& voucher = desk.doc.state().m_verifikat.at(0);
    EXPECT_EQ(voucher.m_nAntalRader, 3);
    ASSERT_EQ(voucher.m_rader.size(), 3U);
    EXPECT_EQ(voucher.m_rader[1], CVerifikatrad{});
    EXPECT_TRUE(account(desk.doc, 4000).m_rader.empty());
}

TEST(VoucherAmendment, PinkRowsStayAndOnlyTheNewLineIsPosted) {
    VoucherDesk desk;
    desk.registerRent();
    desk.registerRent();
    const std::size_t rentRows = account(desk.doc, 5010).m_rader.size();

    VoucherFormModel& form = desk.open(0);
    EXPECT_EQ(form.title(), kVoucherTitleRegistered);
    EXPECT_EQ(form.pinkRows(), 2);
    EXPECT_EQ(form.voucherNumber(), 1);
    EXPECT_FALSE(form.isFieldEditable(VoucherField::Vertext));
    EXPECT_EQ(form.grid().style(2, kColDebet).background, kPinkRow);
    EXPECT_TRUE(form.grid().style(2, kColDebet).readOnly);
    EXPECT_EQ(form.grid().storedText(1, kColDebet), "1000.00");
    EXPECT_EQ(form.grid().storedText(2, kColDebet), "");
    // A pink row takes nothing.
    form.grid().placeCurrentCell({1, kColRadtext});
    EXPECT_FALSE(form.grid().beginEdit("x"));
    EXPECT_EQ(desk.prompter.said, std::vector<std::string>{kMsgRosaRaderKanEjAndras});
    desk.prompter.said.clear();

    ASSERT_TRUE(test::typeLine(form, 3, {"5010", "Städning", "50", ""}));
    EXPECT_EQ(form.grid().storedText(3, kColRadtext), "Ändrat 5.3, Städning");
    ASSERT_TRUE(test::typeLine(form, 4, {"1930", "Städning", "", "50"}));
    EXPECT_EQ(form.grid().storedText(4, kColRadtext), "Ändrat 5.3, Städning");
    desk.prompter.answer(Answer::Ok);
    ASSERT_TRUE(form.ok());
    EXPECT_EQ(desk.prompter.said, std::vector<std::string>{std::string(kAskSparaAndringar) + "5 - 3 - 2012" +
                                                           kTailVerifikattext + "Hyra mars"});

    const CompanyState& company = desk.doc.state();
    EXPECT_EQ(company.m_nNastaVernr, 3);
    ASSERT_EQ(company.m_verifikat.size(), 2U);
    const CEttVerifikat& amended = company.m_verifikat[0];
    EXPECT_EQ(amended.m_nVernr, 1);
    EXPECT_EQ(amended.m_nAntalRader, 4);
    EXPECT_EQ(amended.m_rader.size(), 4U);
    EXPECT_EQ(amended.m_rader[2].m_strRadtext, "Ändrat 5.3, Städning");
    EXPECT_EQ(amended.m_dSumDebet, 1050.0);
    EXPECT_EQ(account(desk.doc, 5010).m_rader.size(), rentRows + 1);
    EXPECT_EQ(account(desk.doc, 5010).m_rader.back().m_nVernr, 1);

    // Opened again, all four lines are pink and a later amendment posts nothing twice.
    EXPECT_EQ(desk.open(0).pinkRows(), 4);
}

TEST(VoucherAmendment, AStoredVoucherLongerThanTheGridKeepsEveryLine) {
    VoucherDesk desk;
    std::vector<CVerifikatrad> lines(80, CVerifikatrad{"Rad", "Kassa", 1910, 1.0, 0.0, 0.0});
    lines.push_back(CVerifikatrad{"Rad", "Bank", 1930, 0.0, 80.0, 0.0});
    desk.doc.registerVoucher(makeVoucher(2, 2, 2012, "Lång", lines));
    VoucherFormModel& form = desk.open(0);
    EXPECT_EQ(form.pinkRows(), kVoucherRows);
    // Shown, never amended: the dialog cannot hold its lines.
    EXPECT_FALSE(form.ok());
    EXPECT_EQ(desk.prompter.said, std::vector<std::string>{tooManyLinesMessage(81)});
    EXPECT_EQ(desk.doc.state().m_verifikat[0].m_rader, lines);
    EXPECT_EQ(desk.doc.state().m_verifikat[0].m_nAntalRader, 81);
    // The ledger too: the lines beyond the grid were posted once, at registration.
    EXPECT_EQ(account(desk.doc, 1910).m_rader.size(), 80U);
    ASSERT_EQ(account(desk.doc, 1930).m_rader.size(), 1U);
    EXPECT_EQ(account(desk.doc, 1930).m_rader[0].m_dKredit, 80.0);
}

// A cell refused and left open, emptied, is no answer: "OK" says the refusal
// again and registers nothing until the cell has a text that passes.
TEST(VoucherRegistration, ARefusedCellBlocksOkUntilItPasses) {
    struct Refusal {
        CellPos cell;
        std::string typed;
        std::string mended;
    };
    const std::vector<Refusal> refusals = {
        {{2, kColRadtext}, "Hyra \u2603", "Hyra mars"}, // a character the files cannot hold
        {{2, kColKredit}, "1.2.3", "1000"},             // not a number
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.typed);
        VoucherDesk desk;
        VoucherFormModel& form = desk.open();
        ASSERT_TRUE(test::typeLine(form, 1, {"5010", "Hyra", "1000", ""}));
        ASSERT_TRUE(test::typeLine(form, 2, {"1930", "Hyra", "", "1000"}));
        EXPECT_FALSE(form.typeCell(refusal.cell, refusal.typed));
        ASSERT_EQ(desk.prompter.said.size(), 1U);
        const std::string told = desk.prompter.said[0];
        EXPECT_FALSE(form.cellOk());

        EXPECT_FALSE(form.ok());
        EXPECT_EQ(desk.prompter.said, (std::vector<std::string>{told, told}));
        EXPECT_TRUE(desk.doc.state().m_verifikat.empty());
        EXPECT_TRUE(form.grid().isEditing());

        ASSERT_TRUE(form.grid().beginEdit(refusal.mended));
        desk.prompter.answer(Answer::Ok).answer(Answer::Ok);
        EXPECT_TRUE(form.ok());
        ASSERT_EQ(desk.doc.state().m_verifikat.size(), 1U);
        EXPECT_EQ(form.grid().storedText(refusal.cell.row, refusal.cell.col), refusal.mended);
    }
}

TEST(VoucherCancel, NothingIsRegisteredAndTheDialogHandsOver) {
    VoucherDesk desk;
    int handedOver = 0;
    VoucherFormSetup setup;
    setup.today = test::kToday;
    setup.handOver = [&handedOver] { ++handedOver; };
    VoucherFormModel form(desk.doc, desk.prompter, setup);
    bool finished = false;
    form.setCloser([&finished] { finished = true; });
    test::typeHead(form, "1", "2", "2012", "");
    ASSERT_TRUE(test::typeLine(form, 1, {"5010", "Hyra", "10", ""}));
    // "Avbryt" asks before typed lines go; OK lets them go.
    desk.prompter.answer(Answer::Ok);
    form.cancel();
    EXPECT_EQ(handedOver, 1);
    EXPECT_TRUE(finished);
    EXPECT_TRUE(desk.doc.state().m_verifikat.empty());
    EXPECT_FALSE(desk.doc.isModified());
}

} // namespace
} // namespace kv
