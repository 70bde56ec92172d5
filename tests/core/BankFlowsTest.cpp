// "Läs in kontoutdrag..." as the user meets it: the file, the columns of an
// unknown CSV export, the bank's account in the books, the review and what
// is remembered in the company's database for the next statement.
#include "AppFakeHost.h"
#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include "app/AppController.h"
#include "app/NewCompany.h"
#include "bank/BankDialogs.h"
#include "bank/BankFlows.h"
#include "bank/BankReviewDialogModel.h"
#include "chart/ChartTemplates.h"
#include "periods/PeriodDialogModel.h"
#include "storage/CompanyFiles.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using C = CommandId;
using test::ScriptedPrompter;
using test::TempDir;

// Columns the reader knows by their names.
const std::string kKnownCsv = "Datum;Text;Belopp\n"
                              "2024-03-05;Hyra mars;-4500,00\n"
                              "2024-03-07;Medlemsavgift Kalle;250,00\n";
// Columns no reader can name: the user says which is which.
const std::string kUnknownCsv = "A;B;C;D\n"
                                "x;05.03.2024;Hyra mars;-4500,00\n"
                                "x;07.03.2024;Medlemsavgift Kalle;250,00\n";

struct App {
    TempDir templates;
    TempDir files;
    ScriptedPrompter prompter;
    AppController controller{prompter, templates.path()};
    test::FakeHost host{controller};

    App() {
        prompter.on<PeriodDialogModel>([](PeriodDialogModel&) { return Answer::Cancel; });
        controller.execute(C::NewCompany);
        EXPECT_TRUE(
            createDefaultCompany(controller.document(), {kMallBaskonto, 1, 2024, 12, 2024, templates.path()})
                .ok);
        EXPECT_TRUE(saveCompany(controller.document(), files.file("Bolaget.bok")).ok);
        prompter.said.clear();
        prompter.dialogs.clear();
    }
    CTallvingeDoc& doc() { return controller.document(); }
    std::string file(const std::string& name, const std::string& bytes) {
        const std::string path = files.file(name);
        test::writeFile(path, bytes);
        return path;
    }
    // The bank account taken as offered.
    void chooseAccount() {
        prompter.on<BankAccountChoiceModel>([](BankAccountChoiceModel& choice) {
            EXPECT_FALSE(choice.accept().has_value());
            return Answer::Ok;
        });
    }
    // The review: the rows it showed, closed without booking.
    std::shared_ptr<std::vector<BankReviewRow>> closeReview() {
        auto rows = std::make_shared<std::vector<BankReviewRow>>();
        prompter.on<BankReviewDialogModel>([rows](BankReviewDialogModel& review) {
            for (std::size_t i = 0; i < review.review().rowCount(); ++i) {
                rows->push_back(review.review().row(i));
            }
            return Answer::Cancel;
        });
        return rows;
    }
};

TEST(BankFlows, AKnownFileIsBookedThroughTheReview) {
    App app;
    app.prompter.chooseFile(app.file("mars.csv", kKnownCsv));
    std::string offered;
    app.prompter.on<BankAccountChoiceModel>([&offered](BankAccountChoiceModel& choice) {
        offered = choice.typed();
        EXPECT_FALSE(choice.accept().has_value());
        return Answer::Ok;
    });
    std::string outcome;
    app.prompter.on<BankReviewDialogModel>([&outcome](BankReviewDialogModel& review) {
        BankReviewModel& lines = review.review();
        EXPECT_EQ(lines.rowCount(), 2U);
        EXPECT_FALSE(lines.setAccount(0, "5010").has_value());
        EXPECT_FALSE(lines.setAccount(1, "3010").has_value());
        EXPECT_TRUE(lines.row(0).accepted);
        EXPECT_TRUE(review.toggle(1)); // Space: left out
        EXPECT_FALSE(lines.row(1).accepted);
        review.book();
        outcome = review.outcome();
        return Answer::Ok;
    });
    app.controller.execute(C::ImportBank);

    EXPECT_EQ(offered, "1930"); // the usual bank account, since the chart has it
    EXPECT_EQ(app.prompter.dialogs, (std::vector<std::string>{kBankAccountTitle, kBankReviewTitle}));
    EXPECT_EQ(outcome, "1 rad bokfördes. Verifikaten sparas med företaget nästa gång det sparas.");
    ASSERT_EQ(app.doc().state().m_verifikat.size(), 1U);
    EXPECT_EQ(app.doc().pendingRecords().bankLines.size(), 1U);
    EXPECT_TRUE(app.doc().isModified());
}

// The columns the user gives are remembered for the account: the next file
// of the same bank is read without asking, and the account chosen is offered.
TEST(BankFlows, TheColumnsOfAnUnknownFileAndTheAccountAreRemembered) {
    App app;
    const std::string path = app.file("okänd.csv", kUnknownCsv);
    app.prompter.chooseFile(path);
    std::vector<std::string> refusals;
    app.prompter.on<CsvColumnsModel>([&refusals](CsvColumnsModel& columns) {
        EXPECT_EQ(columns.columnChoices(),
                  (std::vector<std::string>{kBankNoColumn, "1: Kolumn 1", "2: Kolumn 2", "3: Kolumn 3",
                                            "4: Kolumn 4"}));
        // No name the reader knows: the row of names is shown with the others.
        EXPECT_EQ(columns.previewRows().size(), 3U);
        EXPECT_EQ(columns.previewRows().front(), (std::vector<std::string>{"A", "B", "C", "D"}));
        columns.setChoice(CsvField::Date, 2);
        columns.setChoice(CsvField::Text, 3);
        columns.setChoice(CsvField::Amount, 0);
        columns.setChoice(CsvField::In, 0);
        columns.setChoice(CsvField::Out, 0);
        refusals.push_back(columns.accept().value_or(""));
        columns.setChoice(CsvField::Amount, 4);
        EXPECT_FALSE(columns.accept().has_value());
        return Answer::Ok;
    });
    app.prompter.on<BankAccountChoiceModel>([](BankAccountChoiceModel& choice) {
        choice.setTyped("1910");
        EXPECT_FALSE(choice.accept().has_value());
        return Answer::Ok;
    });
    const auto rows = app.closeReview();
    app.controller.execute(C::ImportBank);
    EXPECT_EQ(refusals, std::vector<std::string>{
                            "Ange kolumnen med belopp, eller både kolumnen för in och kolumnen för ut."});
    ASSERT_EQ(rows->size(), 2U);
    EXPECT_EQ(rows->at(0).cells[static_cast<std::size_t>(BankColumn::Date)], "2024-03-05");
    EXPECT_EQ(app.doc().state().m_verifikat.size(), 0U);

    // The same bank's next file: no column dialog, and 1910 offered.
    app.prompter.dialogs.clear();
    app.prompter.on<CsvColumnsModel>(nullptr);
    app.prompter.chooseFile(path);
    std::string offered;
    app.prompter.on<BankAccountChoiceModel>([&offered](BankAccountChoiceModel& choice) {
        offered = choice.typed();
        EXPECT_FALSE(choice.accept().has_value());
        return Answer::Ok;
    });
    const auto again = app.closeReview();
    app.controller.execute(C::ImportBank);
    EXPECT_EQ(app.prompter.dialogs, (std::vector<std::string>{kBankAccountTitle, kBankReviewTitle}));
    EXPECT_EQ(offered, "1910");
    EXPECT_EQ(again->size(), 2U);
    EXPECT_EQ(app.prompter.unscripted, 0);
}

// A statement that names its account remembers the book account under it.
TEST(BankFlows, TheBookAccountIsRememberedPerBankAccount) {
    App app;
    const std::string path =
        app.file("utdrag.csv", "Kontoutdrag\nKontonummer: 8327-9 123 456 789-0\n\n" + kKnownCsv);
    for (const auto& [typed, expectedOffer] :
         std::vector<std::pair<std::string, std::string>>{{"1910", "1930"}, {"", "1910"}}) {
        app.prompter.chooseFile(path);
        std::string offered;
        app.prompter.on<BankAccountChoiceModel>([&offered, typed](BankAccountChoiceModel& choice) {
            offered = choice.typed();
            if (!typed.empty()) {
                choice.setTyped(typed);
            }
            EXPECT_FALSE(choice.accept().has_value());
            return Answer::Ok;
        });
        app.closeReview();
        app.controller.execute(C::ImportBank);
        EXPECT_EQ(offered, expectedOffer) << typed;
    }
}

// Unreadable lines are listed; the rest is proposed only when the user takes it.
TEST(BankFlows, UnreadableLinesAreListedAndTheRestTakenOnlyWhenAsked) {
    const std::string damaged = kKnownCsv + "2024-02-30;Fel dag;10,00\n";
    for (const Answer answer : {Answer::Cancel, Answer::Ok}) {
        App app;
        app.prompter.chooseFile(app.file("trasig.csv", damaged));
        app.prompter.answer(answer);
        app.chooseAccount();
        const auto rows = app.closeReview();
        app.controller.execute(C::ImportBank);
        ASSERT_GE(app.prompter.said.size(), 2U);
        const std::string& question = app.prompter.said[1];
        EXPECT_NE(question.find("trasig.csv: 1 rad kunde inte läsas:\nrad 4: "), std::string::npos)
            << question;
        EXPECT_NE(question.find("Vill du gå vidare med de 2 rader som kunde läsas?"), std::string::npos);
        EXPECT_EQ(app.prompter.defaultOf[question], Answer::Cancel);
        EXPECT_EQ(rows->size(), answer == Answer::Ok ? 2U : 0U);
        EXPECT_EQ(app.prompter.unscripted, 0);
    }
}

TEST(BankFlows, AFileThatCannotBeReadIsToldAndNothingShown) {
    struct Case {
        const char* name;
        std::string bytes; // empty: no such file
    };
    for (const Case& c : {Case{"saknas.csv", ""}, Case{"tom.csv", "Datum;Text;Belopp\n"},
                          Case{"bara-fel.csv", "Datum;Text;Belopp\n2024-13-01;X;1,00\n"}}) {
        App app;
        const std::string path = c.bytes.empty() ? app.files.file(c.name) : app.file(c.name, c.bytes);
        app.prompter.chooseFile(path);
        app.controller.execute(C::ImportBank);
        ASSERT_EQ(app.prompter.said.size(), 2U) << c.name;
        EXPECT_EQ(app.prompter.said[1].rfind(std::string(kMsgBankKanEjLasas) + "\n" + path + "\n\n", 0), 0U)
            << app.prompter.said[1];
        EXPECT_TRUE(app.prompter.dialogs.empty()) << c.name;
        EXPECT_EQ(app.doc().state().m_verifikat.size(), 0U);
    }
}

TEST(BankFlows, TheCommandWaitsForBooksAndAClosedVoucherDialog) {
    App app;
    AppState state;
    state.companyOpen = true;
    state.incomeChartApproved = state.balanceChartApproved = true;
    state.periodOpen = true;
    const auto enabled = [&app](const AppState& s) {
        return app.controller.commands().state(C::ImportBank, s).enabled;
    };
    EXPECT_TRUE(enabled(state));
    state.voucherDialogOpen = true;
    EXPECT_FALSE(enabled(state));
    state.voucherDialogOpen = false;
    state.periodOpen = false;
    EXPECT_FALSE(enabled(state));
}

} // namespace
} // namespace kv
