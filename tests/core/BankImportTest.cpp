// A bank statement read into the books: lines booked before are found again
// (after a save too), the opening balance is compared with the books, a line
// that cannot be booked stays behind with its reason while the others are
// booked, and the bank records go to the company's database with the files,
// both or neither.
#include "BackupTestSupport.h"
#include "BankTestSupport.h"

#include "bank/BankImport.h"
#include "bank/BankReviewModel.h"
#include "storage/CompanyDatabase.h"
#include "storage/CompanyFiles.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace kv {
namespace {

using test::bankLine;
using test::bankStatement;
using test::snapshot;

const LocalClock kClock = [] { return LocalTime{2024, 4, 2, 9, 30, 0}; };

// The bank company saved as Firma.bok, with a rule for the bank's charges.
struct SavedBank : test::BankCompany {
    test::TempDir dir;
    std::string path = dir.file("Firma.bok");
    std::string database = dir.file("Firma.kvdb");

    SavedBank() {
        EXPECT_TRUE(saveCompany(doc, path, kClock).ok);
        writeBankRules(
            path, {BankRule{"bankavgift", BankTextMatch::Contains, BankAmountSign::Out, {}, {}, 6570, 0}});
    }
};

void runSql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

BankStatement march() {
    return bankStatement({bankLine(3, 4, -2500, "Banken", "", "Bankavgift mars"),
                          bankLine(3, 8, 50000, "Kund AB", "4711"), bankLine(3, 8, 50000, "Kund AB", "4711"),
                          bankLine(3, 9, -9900, "Okänd")});
}

std::vector<ProposalStatus> statuses(const BankImportPlan& plan) {
    std::vector<ProposalStatus> out;
    for (const BankProposal& proposal : plan.proposals) {
        out.push_back(proposal.status);
    }
    return out;
}

TEST(BankImport, AStatementReadAgainBooksNothingTwice) {
    SavedBank company;
    const BankImportOptions options{1930, 3010}; // the unmatched on 3010
    BankReviewModel first(company.doc, march(), options);
    using S = ProposalStatus;
    EXPECT_EQ(statuses(first.plan()), (std::vector<S>{S::Proposed, S::Proposed, S::Proposed, S::Proposed}));
    const BankBookingResult booked = first.book(kClock);
    EXPECT_EQ(booked.booked, 4U);
    EXPECT_EQ(company.doc.pendingRecords().bankLines.size(), 4U);

    // Read again before the save: the pending records know the lines.
    const BankReviewModel unsaved(company.doc, march(), options);
    EXPECT_EQ(statuses(unsaved.plan()), (std::vector<S>(4, S::AlreadyBooked)));
    EXPECT_EQ(unsaved.plan().proposals[2].voucher, 3);

    ASSERT_TRUE(saveCompany(company.doc, company.path, kClock).ok);
    EXPECT_TRUE(company.doc.pendingRecords().empty());
    CTallvingeDoc reopened;
    ASSERT_TRUE(openCompany(reopened, company.path).ok);
    BankImportPlan again = planBankImport(reopened, march(), options, readBankRules(company.path),
                                          importedBankLines(reopened, bankAccountKey(march(), 1930)));
    EXPECT_EQ(statuses(again), (std::vector<S>(4, S::AlreadyBooked)));
    EXPECT_EQ(again.proposals[1].reason, "bokförd som verifikat 2 (inläst 2024-04-02 09:30)");
    EXPECT_EQ(bookBankImport(reopened, again, kClock).booked, 0U);
    EXPECT_FALSE(reopened.isModified());
    EXPECT_EQ(reopened.state().m_verifikat.size(), 4U);

    // A statement that overlaps the one read: only its new line is proposed,
    // in its day's place among the others.
    BankStatement longer = march();
    longer.lines.push_back(bankLine(3, 8, 50000, "Kund AB", "4711")); // a third payment that day
    BankImportPlan overlap = planBankImport(reopened, longer, options, {},
                                            importedBankLines(reopened, bankAccountKey(longer, 1930)));
    EXPECT_EQ(statuses(overlap), (std::vector<S>{S::AlreadyBooked, S::AlreadyBooked, S::AlreadyBooked,
                                                 S::Proposed, S::AlreadyBooked}));
}

TEST(BankImport, TheOpeningBalanceIsComparedWithTheBooksTheDayBefore) {
    struct Case {
        const char* what;
        BankStatement statement;
        std::optional<Ore> statementBalance;
        Ore books;
        BankDate dayBefore;
    };
    BankLine withBalance = bankLine(3, 1, -700, "Banken");
    withBalance.balance = 113000 - 3000 - 700;
    const std::vector<Case> cases = {
        {"the statement's opening balance",
         bankStatement({bankLine(1, 10, 500, "Kund")}, 100000),
         100000,
         100000 + 10000,
         {2024, 1, 9}},
        {"the first line by date, whatever the file's order",
         bankStatement({bankLine(2, 1, 500, "Kund"), bankLine(1, 5, 500, "Kund")}, 0),
         0,
         100000,
         {2024, 1, 4}},
        {"no balance in the file",
         bankStatement({bankLine(2, 1, 500, "Kund")}),
         std::nullopt,
         113000 - 3000,
         {2024, 1, 31}},
        {"the balance after the first line",
         bankStatement({withBalance}),
         113000 - 3000,
         113000 - 3000,
         {2024, 2, 29}},
    };
    test::BankCompany company;
    company.doc.addOpeningBalances({{1930, 100000}, {2091, -100000}});
    company.book(5, 1, "Insättning", {{1930, 10000}, {3010, -10000}});
    company.book(10, 1, "Samma dag som första raden", {{1930, 3000}, {3010, -3000}});
    company.book(31, 1, "Uttag", {{1930, -3000}, {6570, 3000}});
    company.book(1, 3, "Efter", {{1930, -50}, {6570, 50}});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const BankImportPlan plan = planBankImport(company.doc, c.statement, {1930, {}}, {}, {});
        EXPECT_EQ(plan.balance.statement, c.statementBalance);
        EXPECT_EQ(plan.balance.books, c.books);
        EXPECT_EQ(plan.balance.dayBefore, c.dayBefore);
        EXPECT_EQ(plan.balance.difference(),
                  c.statementBalance ? std::optional<Ore>(*c.statementBalance - c.books) : std::nullopt);
    }
    const BankImportPlan differs = planBankImport(
        company.doc, bankStatement({bankLine(1, 10, 500, "Kund")}, 100000), {1930, {}}, {}, {});
    EXPECT_EQ(balanceComparisonText(differs),
              "Ingående saldo enligt kontoutdraget 1 000.00, i bokföringen (konto "
              "1930) 1 100.00 den 2024-01-09: skillnad -100.00.");
}

TEST(BankImport, ALineThatCannotBeBookedStaysWithItsReasonAndTheOthersAreBooked) {
    test::BankCompany company;
    struct CountingView : DocumentView {
        void onDocumentUpdated() override { ++updates; }
        int updates = 0;
    } view;
    const ViewSubscription subscription = company.doc.subscribe(view);
    const BankStatement statement =
        bankStatement({bankLine(3, 4, -2500, "Banken"), bankLine(3, 5, -100, "Avslutat konto"),
                       bankLine(3, 6, -300, "Banken"), bankLine(3, 6, -400, "Fel datum")});
    BankImportPlan plan = planBankImport(company.doc, statement, {1930, 6570}, {}, {});
    plan.proposals[1].account = 6999; // no account of the chart (taken out since the plan)
    plan.proposals[3].line.bookingDate = {2025, 1, 2};
    const BankBookingResult result = bookBankImport(company.doc, plan, kClock);
    EXPECT_EQ(result.booked, 2U);
    EXPECT_EQ(result.failed, 2U);
    using S = ProposalStatus;
    EXPECT_EQ(statuses(plan), (std::vector<S>{S::Booked, S::Failed, S::Booked, S::Failed}));
    EXPECT_EQ(plan.proposals[1].reason, "Konto 6999 finns inte i kontoplanen.");
    EXPECT_EQ(plan.proposals[3].reason, "Transaktionsdatumet är ej inom perioden! (1.2024 - 12.2024)");
    EXPECT_EQ(plan.proposals[0].voucher, 1);
    EXPECT_EQ(plan.proposals[2].voucher, 2);
    EXPECT_EQ(company.doc.state().m_verifikat.size(), 2U);
    const CEttVerifikat& second = company.doc.state().m_verifikat[1];
    EXPECT_EQ(std::tie(second.m_nTransAr, second.m_nTransManad, second.m_nTransDag), std::tuple(2024, 3, 6));
    EXPECT_EQ(std::tie(second.m_nBokfAr, second.m_nBokfManad, second.m_nBokfDag), std::tuple(2024, 4, 2));
    EXPECT_EQ(view.updates, 1); // one change
    ASSERT_EQ(company.doc.pendingRecords().bankLines.size(), 2U);
    EXPECT_EQ(company.doc.pendingRecords().bankLines[1],
              (BankLineRecord{"SE4550000000058398257466", "2024-03-06", -300, "Banken|", 2, 0,
                              "2024-04-02 09:30:00", 1930, 6570, 0, "banken", "användaren"}));

    // Nothing is booked while the voucher dialog shows the next number.
    EXPECT_EQ(planBankImport(company.doc, statement, {1930, 6570, true}, {}, {}).refusals,
              std::vector<std::string>{"Verifikatdialogen är öppen. Stäng den!"});

    // A locked period takes no line at all, and says so before anything changes.
    test::loadEdited(company.doc, [](CompanyState& state) {
        state.m_perioder.resize(3);
        state.m_nAktuellPeriod = 0;
    });
    BankImportPlan locked = planBankImport(company.doc, statement, {1930, 6570}, {}, {});
    ASSERT_EQ(locked.refusals.size(), 1U);
    EXPECT_EQ(locked.refusals[0], "Perioden är låst: Endast de 2 sista perioderna kan ändras.");
    const std::size_t vouchers = company.doc.state().m_verifikat.size();
    EXPECT_THROW(bookBankImport(company.doc, locked, kClock), DocumentRefusal);
    EXPECT_EQ(company.doc.state().m_verifikat.size(), vouchers);
}

TEST(BankDatabase, AVersionTwoDatabaseIsBroughtUpToDateByTheFirstSettingWritten) {
    SavedBank company;
    std::filesystem::remove(company.database);
    std::string sql;
    for (const DatabaseMigration& step : databaseMigrations()) {
        if (step.version <= 2) {
            sql += step.sql;
        }
    }
    runSql(company.database,
           sql + "PRAGMA application_id = " + std::to_string(kDatabaseApplicationId) +
               "; PRAGMA user_version = 2;"
               "INSERT INTO sie_import VALUES (1, 'lön.si', 'abc', '2024-01-02 03:04:05', 0, 0);");
    const auto before = snapshot(company.dir.path());
    // Reading an older database changes nothing.
    EXPECT_TRUE(readBankRules(company.path).empty());
    EXPECT_TRUE(readBankLines(company.path, "SE45").empty());
    EXPECT_EQ(snapshot(company.dir.path()), before);

    const std::vector<BankRule> rules = {
        {"Telia", BankTextMatch::Equals, BankAmountSign::Out, 100, 99900, 6211, 27},
        {"kund", BankTextMatch::Contains, BankAmountSign::In, {}, {}, 3010, 0},
    };
    writeBankRules(company.path, rules);
    writeBankAccount(company.path, {"SE45", 1930, "datum=1,text=2,belopp=3"});
    writeBankAccount(company.path, {"SE45", 1940, "datum=2,text=3,belopp=4"});
    EXPECT_EQ(databaseVersion(company.database), kDatabaseVersion);
    EXPECT_EQ(readBankRules(company.path), rules);
    EXPECT_EQ(readBankAccounts(company.path),
              (std::vector<BankAccountSetting>{{"SE45", 1940, "datum=2,text=3,belopp=4"}}));
    ASSERT_EQ(readSieImports(company.path, 0).size(), 1U);
    EXPECT_EQ(readSieImports(company.path, 0)[0].fileName, "lön.si");
}

TEST(BankDatabase, AWriteThatFailsMidwayLeavesFilesAndDatabaseAsTheyWere) {
    SavedBank company;
    // The database takes one bank line and refuses the next, as a full disk would midway.
    runSql(company.database,
           "CREATE TRIGGER full BEFORE INSERT ON bank_line WHEN (SELECT count(*) FROM bank_line) "
           ">= 1 BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
    BankImportPlan plan = planBankImport(company.doc, march(), {1930, 3010}, readBankRules(company.path), {});
    ASSERT_EQ(bookBankImport(company.doc, plan, kClock).booked, 4U);
    const auto before = snapshot(company.dir.path());
    const FileReport saved = saveCompany(company.doc, company.path, kClock);
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(snapshot(company.dir.path()), before);
    EXPECT_TRUE(company.doc.isModified());
    EXPECT_EQ(company.doc.pendingRecords().bankLines.size(), 4U);
    EXPECT_TRUE(readBankLines(company.path, plan.bankAccount).empty());

    // A setting refused midway leaves the rules as they were too.
    runSql(company.database,
           "CREATE TRIGGER one BEFORE INSERT ON bank_rule WHEN (SELECT count(*) FROM bank_rule) "
           ">= 1 BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
    const std::vector<BankRule> rules = readBankRules(company.path);
    EXPECT_THROW(writeBankRules(company.path, {rules[0], rules[0]}), DatabaseError);
    EXPECT_EQ(readBankRules(company.path), rules);

    // Without the fault the next save writes files and lines together.
    runSql(company.database, "DROP TRIGGER full;");
    ASSERT_TRUE(saveCompany(company.doc, company.path, kClock).ok);
    EXPECT_EQ(readBankLines(company.path, plan.bankAccount).size(), 4U);
}

TEST(BankDatabase, TheFirstSettingMakesTheDatabaseAndAFailedOneLeavesNone) {
    test::TempDir dir;
    test::BankCompany company;
    const std::string path = dir.file("Ny.bok");
    ASSERT_TRUE(saveCompany(company.doc, path, kClock).ok);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Ny.kvdb")));
    writeBankAccount(path, {"konto 1930", 1930, ""});
    EXPECT_EQ(databaseVersion(dir.file("Ny.kvdb")), kDatabaseVersion);

    // Another program's database in the way is refused and left as it was.
    test::TempDir other;
    const std::string otherPath = other.file("Annan.bok");
    runSql(other.file("Annan.kvdb"), "CREATE TABLE t (x);");
    const auto before = snapshot(other.path());
    EXPECT_THROW(writeBankRules(otherPath, {}), DatabaseError);
    EXPECT_EQ(snapshot(other.path()), before);
}

// A payment already typed by hand is not booked again: a voucher on the book
// account with the amount, a few days from the line, is what the line seems
// to be, once; and a line read before from another file of the same account
// (CSV once, camt now) is known by its day and amount.
TEST(BankImport, AVoucherTypedByHandOrALineOfAnotherFileIsNotBookedAgain) {
    test::BankCompany company;
    company.book(10, 3, "Kaffe till styrelsen", {{5460, 45000}, {1930, -45000}});
    const BankStatement statement =
        bankStatement({bankLine(3, 4, -2500, "Banken"), bankLine(3, 12, -45000, "Kaffebaren"),
                       bankLine(3, 13, -45000, "Kaffebaren"), bankLine(3, 20, -45000, "Kaffebaren")});
    const std::vector<BankLineRecord> csvBefore = {{"KONTO 1930", "2024-03-04", -2500, "|Bankavgift", 7, 0,
                                                    "2024-03-31 10:00:00", 1930, 6570, 0, "bankavgift",
                                                    "historik"}};
    BankReviewModel review(company.doc, statement, {1930, 6570});
    using S = ProposalStatus;
    const BankImportPlan plan = planBankImport(company.doc, statement, {1930, 6570}, {}, csvBefore);
    EXPECT_EQ(statuses(plan),
              (std::vector<S>{S::AlreadyBooked, S::PossiblyBooked, S::Proposed, S::Proposed}));
    EXPECT_EQ(proposalStatusText(plan.proposals[1]),
              "troligen redan verifikat 1; bokförs bara om du tar med raden");
    // The user takes it all the same.
    EXPECT_EQ(statuses(review.plan())[1], S::PossiblyBooked);
    EXPECT_FALSE(review.row(1).accepted);
    EXPECT_TRUE(review.setAccepted(1, true));
    EXPECT_EQ(statuses(review.plan())[1], S::Proposed);
    EXPECT_EQ(review.summaryText(), "4 förslag, 0 utan konto, 0 redan bokförda");
}

// The second month books itself: what the first month's lines were booked
// on, saved with the company, is proposed for the next period's lines of the
// same counterparts, from a text-only export too.
TEST(BankImport, TheNextPeriodLearnsFromTheLinesBookedBefore) {
    SavedBank company;
    const auto textOnly = [](int month, int day, Ore amount, std::string text) {
        return bankLine(month, day, amount, "", "", std::move(text));
    };
    BankReviewModel first(company.doc,
                          bankStatement({textOnly(3, 2, -38000, "ICA MAXI 2/3"),
                                         textOnly(3, 5, 20000, "Swish från Lars Nilsson")}),
                          {1930, {}});
    ASSERT_EQ(first.setAccount(0, "4010"), std::nullopt);
    ASSERT_EQ(first.setAccount(1, "3010"), std::nullopt);
    ASSERT_EQ(first.book(kClock).booked, 2U);
    ASSERT_TRUE(saveCompany(company.doc, company.path, kClock).ok);
    // As in a new year: none of March's vouchers in the books, only the bank lines in the database.
    test::loadEdited(company.doc, [](CompanyState& state) {
        state.m_verifikat.clear();
        state.m_nNastaVernr = 1;
    });
    const BankReviewModel next(company.doc,
                               bankStatement({textOnly(4, 2, -41000, "ICA MAXI 2/4"),
                                              textOnly(4, 5, 20000, "Swish från Lars Nilsson")}),
                               {1930, {}});
    ASSERT_EQ(next.rowCount(), 2U);
    EXPECT_EQ(next.row(0).cells[static_cast<std::size_t>(BankColumn::Account)], "4010");
    EXPECT_EQ(next.row(1).cells[static_cast<std::size_t>(BankColumn::Account)], "3010");
    EXPECT_EQ(next.row(1).cells[static_cast<std::size_t>(BankColumn::Status)],
              "förslag som tidigare rader (1 av 1 tidigare, senast verifikat 2, 2024-03-05)");
}

} // namespace
} // namespace kv
