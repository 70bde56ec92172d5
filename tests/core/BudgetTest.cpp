// The budget: its rules, its place in the company's database, the budget
// window's model and the report "Budget och utfall".
#include "BudgetTestCompany.h"

#include "budget/BudgetEditorModel.h"
#include "budget/BudgetReport.h"
#include "reports/PdfWriter.h"
#include "reports/ReportText.h"
#include "storage/CompanyDatabase.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace kv {
namespace {

using test::TempDir;

const LocalClock kClock = test::fixedBudgetTime;

TEST(Budget, EvenSpreadAddsUpToTheYearInWholeOre) {
    const struct {
        Ore year;
        std::int32_t months;
        std::vector<Ore> expected;
    } cases[] = {
        {100000, 12, {8334, 8334, 8334, 8334, 8333, 8333, 8333, 8333, 8333, 8333, 8333, 8333}},
        {-100, 3, {-34, -33, -33}},
        {5, 7, {1, 1, 1, 1, 1, 0, 0}},
        {1200000, 12, std::vector<Ore>(12, 100000)},
        {0, 2, {0, 0}},
        {99, 18, {6, 6, 6, 6, 6, 6, 6, 6, 6, 5, 5, 5, 5, 5, 5, 5, 5, 5}},
    };
    for (const auto& c : cases) {
        const std::vector<Ore> months = evenSpread(c.year, c.months);
        EXPECT_EQ(months, c.expected) << c.year << " / " << c.months;
        EXPECT_EQ((BudgetLine{0, {}, months}.year()), c.year);
    }
}

TEST(Budget, AmountsAreReadAsTheVoucherDialogReadsThem) {
    const struct {
        const char* typed;
        std::optional<Ore> amount;
        const char* refusal;
    } cases[] = {
        {"12000", 1200000, ""},
        {"-1500,50", -150050, ""},
        {" 2.5 ", 250, ""},
        {"", 0, ""},
        {"999999999", 99999999900, ""},
        {"1000000000", std::nullopt, kMsgBudgetStorstaTal},
        {"-1000000000", std::nullopt, kMsgBudgetStorstaTal},
        {"1 000", 100000, ""},    // as the budget shows it
        {"- 200.00", -20000, ""}, // likewise
        {"1 000 a", std::nullopt, kMsgBudgetGeEttSiffervarde},
        {"12kr", std::nullopt, kMsgBudgetGeEttSiffervarde},
        {"1,2,3", std::nullopt, kMsgBudgetGeEttSiffervarde},
    };
    for (const auto& c : cases) {
        const TypedBudgetAmount read = readBudgetAmount(c.typed);
        EXPECT_EQ(read.amount, c.amount) << c.typed;
        EXPECT_EQ(read.refusal, c.refusal) << c.typed;
    }
}

TEST(Budget, ChangedAmountsAreRoundedToWholeKronor) {
    const struct {
        Ore amount;
        double percent;
        Ore expected;
    } cases[] = {
        {300000, 3.0, 309000}, {123456, 0.0, 123500}, {-80000, 10.0, -88000}, {150, 0.0, 200},
        {-150, 0.0, -200},     {100000, -100.0, 0},   {33333, 2.5, 34200},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(changedToWholeKronor(c.amount, c.percent), c.expected) << c.amount << " " << c.percent;
    }
    EXPECT_EQ(readPercentChange("-2,5"), -2.5);
    EXPECT_EQ(readPercentChange("+3 %"), 3.0);
    EXPECT_EQ(readPercentChange(""), 0.0);
    EXPECT_FALSE(readPercentChange("-101"));
    EXPECT_FALSE(readPercentChange("tre"));
}

// The budget of 2013 the report tests use: sales of 3 600 and rent of 1 200
// spread evenly, purchases of 1 000.
PeriodBudget budget2013(const CTallvingeDoc& doc) {
    BudgetEditorModel editor(doc);
    EXPECT_FALSE(editor.loadMessage());
    const auto rowOf = [&editor](std::int32_t account) {
        for (std::int32_t r = 0; r < editor.rowCount(); ++r) {
            if (editor.row(r).account == account) {
                return r;
            }
        }
        ADD_FAILURE() << account;
        return 0;
    };
    EXPECT_FALSE(editor.typeCell(rowOf(3000), BudgetEditorModel::kColYear, "3600"));
    EXPECT_FALSE(editor.typeCell(rowOf(5010), BudgetEditorModel::kColYear, "-1200"));
    EXPECT_FALSE(editor.typeCell(rowOf(4000), BudgetEditorModel::kColYear, "-1000"));
    EXPECT_FALSE(editor.save(kClock));
    return editor.budget();
}

// The same as plain lines, without the window.
PeriodBudget budget2013Lines(const CTallvingeDoc& doc) {
    PeriodBudget budget = emptyBudget(doc, 1);
    budget.lines = {{3000, "Försäljning", evenSpread(360000, 12), true},
                    {4000, "Inköp", evenSpread(-100000, 12), true},
                    {5010, "Lokalhyra", evenSpread(-120000, 12), true}};
    return budget;
}

TEST(Budget, SavedStraightIntoTheDatabaseAndReadBackOnThePeriodsMonths) {
    TempDir dir;
    const std::string path = test::saveTwoYearCompany(dir);
    const std::string company = test::readFile(path);
    const std::string periodFile = test::readFile(periodFilePath(path, 1));
    CTallvingeDoc doc;
    ASSERT_TRUE(openCompany(doc, path).ok);
    const PeriodBudget saved = budget2013(doc);

    const std::optional<PeriodBudget> read = loadBudget(doc, 1);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->lines.size(), saved.lines.size());
    for (const BudgetLine& line : saved.lines) {
        EXPECT_EQ(*read->line(line.account), line) << line.account;
    }
    EXPECT_EQ(read->first, (YearMonth{2013, 1}));
    EXPECT_EQ(read->line(3000)->months, std::vector<Ore>(12, 30000));
    EXPECT_EQ(read->amount(4000, {2013, 1}, {2013, 3}), -25002); // 8334 + 8334 + 8334
    EXPECT_FALSE(loadBudget(doc, 0));
    // The written files stay as they were; the budget is not the books.
    EXPECT_EQ(test::readFile(path), company);
    EXPECT_EQ(test::readFile(periodFilePath(path, 1)), periodFile);
    EXPECT_FALSE(doc.isModified());
}

void runSql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

TEST(Budget, RefusedWhereItCannotBeSavedAndNothingIsWritten) {
    CTallvingeDoc unsaved;
    test::buildSmallCompany(unsaved);
    BudgetEditorModel fresh(unsaved);
    EXPECT_EQ(fresh.save(kClock), kMsgBudgetEjSparatForetag);

    TempDir dir;
    const std::string path = test::saveTwoYearCompany(dir);
    CTallvingeDoc doc;
    ASSERT_TRUE(openCompany(doc, path).ok);
    const std::string database = companyDatabasePath(path);
    const std::string mark = "PRAGMA application_id = " + std::to_string(kDatabaseApplicationId) + ";";
    const struct {
        std::function<void()> make;
        const char* said;
    } cases[] = {
        {[&] { test::writeFile(database, std::string(4096, 'x')); }, kMsgDatabaseDamaged},
        {[&] { runSql(database, "CREATE TABLE t (x); " + mark + " PRAGMA user_version = 99;"); },
         "nyare version av Kvistoran (databasversion 99"},
        {[&] { runSql(database, "CREATE TABLE t (x);"); }, kMsgDatabaseForeign},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(database);
        c.make();
        const std::string before = test::readFile(database);
        BudgetEditorModel editor(doc);
        ASSERT_TRUE(editor.loadMessage());
        EXPECT_NE(editor.loadMessage()->find(c.said), std::string::npos) << *editor.loadMessage();
        EXPECT_FALSE(editor.isEditable(0, BudgetEditorModel::kColYear));
        EXPECT_EQ(editor.save(kClock), editor.loadMessage());
        EXPECT_THROW(saveBudget(doc, emptyBudget(doc, 1), kClock), DatabaseError);
        EXPECT_EQ(test::readFile(database), before) << c.said;
    }

    // A database of the first schema is brought up to date, its records kept.
    std::filesystem::remove(database);
    runSql(database,
           std::string(databaseMigrations().front().sql) + mark +
               " PRAGMA user_version = 1;"
               "INSERT INTO sie_import VALUES (1, 'gammal.si', 'abc', '2025-01-02 03:04:05', 1, 0);");
    saveBudget(doc, budget2013Lines(doc), kClock);
    EXPECT_EQ(databaseVersion(database), kDatabaseVersion);
    EXPECT_EQ(readSieImports(path, 1).size(), 1U);
    EXPECT_EQ(loadBudget(doc, 1), budget2013Lines(doc));
}

TEST(Budget, ARemovedAccountKeepsItsRowUntilTheBudgetIsSavedAgain) {
    TempDir dir;
    const std::string path = test::saveTwoYearCompany(dir);
    CTallvingeDoc doc;
    ASSERT_TRUE(openCompany(doc, path).ok);
    PeriodBudget budget = emptyBudget(doc, 1);
    budget.lines.push_back({4000, "Inköp", evenSpread(-120000, 12), true});
    saveBudget(doc, budget, kClock);
    BudgetEditorModel open(doc);
    // 4000 leaves the chart (it has no rows in 2013).
    test::loadEdited(doc, [](CompanyState& c) {
        for (auto& konto : c.m_allaKonton) {
            if (konto->m_nKontonr == 4000) {
                konto->m_nKontonr = 4010;
                konto->m_strKolumn2 = "Varuinköp";
            }
        }
    });

    open.chartsChanged();
    EXPECT_EQ(open.row(open.rowCount() - 1).kind, BudgetRowKind::Removed);
    BudgetEditorModel editor(doc);
    EXPECT_EQ(editor.rowCount(), open.rowCount());
    const std::int32_t last = editor.rowCount() - 1;
    ASSERT_EQ(editor.row(last).kind, BudgetRowKind::Removed);
    EXPECT_EQ(editor.cellText(last, BudgetEditorModel::kColName), "Inköp (borttaget konto)");
    EXPECT_EQ(editor.cellText(last, BudgetEditorModel::kColYear), "-1 200.00");
    EXPECT_FALSE(editor.isEditable(last, BudgetEditorModel::kColYear));
    EXPECT_EQ(editor.incomeResult(BudgetEditorModel::kColYear), 0);

    const BudgetReport report = buildBudgetReport(doc);
    ASSERT_EQ(report.removedAccounts.size(), 1U);
    EXPECT_EQ(report.removedAccounts[0].budget, -120000);
    EXPECT_EQ(report.rows.back().budget, 0); // outside the result

    ASSERT_FALSE(editor.save(kClock));
    EXPECT_EQ(editor.rowCount(), last);
    EXPECT_TRUE(loadBudget(doc, 1)->lines.empty());
}

TEST(Budget, CopiesThePreviousYearsOutcomeAndBudgetWithAChange) {
    TempDir dir;
    const std::string path = test::saveTwoYearCompany(dir);
    CTallvingeDoc doc;
    ASSERT_TRUE(openCompany(doc, path).ok);
    BudgetEditorModel editor(doc);
    EXPECT_EQ(editor.copyPreviousBudget("5"), kMsgBudgetIngenForegaendeBudget);
    EXPECT_EQ(editor.copyPreviousOutcome("tio"), kMsgBudgetProcent);
    ASSERT_FALSE(editor.copyPreviousOutcome("10"));
    const PeriodBudget& copied = editor.budget();
    std::vector<Ore> sales(12, 0);
    sales[2] = 330000; // March 2012: 3 000 + 10 %
    EXPECT_EQ(copied.line(3000)->months, sales);
    EXPECT_EQ(copied.line(5010)->year(), -132000);
    EXPECT_EQ(copied.line(4000)->months[5], -88000);
    EXPECT_EQ(copied.line(3010)->year(), 0);

    // "Ny budget från årets utfall": 2014 from 2013, the months kept.
    const PeriodBudget next = nextBudgetFromOutcome(doc, 0);
    EXPECT_EQ(next.period, 2);
    EXPECT_EQ(next.first, (YearMonth{2014, 1}));
    EXPECT_EQ(next.line(3000)->months[2], 400000);
    EXPECT_EQ(next.line(3010)->months[0], 60000);
    EXPECT_EQ(next.line(5010)->months[3], -150000);
    saveBudget(doc, next, kClock);
    EXPECT_EQ(loadBudget(doc, 2), next);
}

// The rows of the report as text: number or name, then the five figures.
std::vector<std::string> reportTable(const BudgetReport& report) {
    std::vector<std::string> out;
    const auto figure = [](const std::optional<Ore>& amount) { return amount ? formatOre(*amount) : "-"; };
    for (const BudgetReportRow& row : report.rows) {
        if (!row.outcome) {
            continue;
        }
        const std::optional<double> percent = row.deviationPercent();
        out.push_back((row.number.empty() ? row.name : row.number) + " | " + figure(row.outcome) + " | " +
                      figure(row.budget) + " | " + figure(row.deviation()) + " | " +
                      (percent ? percentText(*percent) : "-") + " | " + figure(row.previous));
    }
    return out;
}

TEST(BudgetReport, ColumnsOfTheMonthsChosenBesideTheBudgetAndThePreviousYear) {
    TempDir dir;
    const std::string path = test::saveTwoYearCompany(dir);
    CTallvingeDoc doc;
    ASSERT_TRUE(openCompany(doc, path).ok);
    const BudgetReport none = buildBudgetReport(doc);
    EXPECT_FALSE(none.hasBudget);
    EXPECT_EQ(none.notes, std::vector<std::string>{kMsgIngenBudget});
    EXPECT_NE(formAsText(budgetReportForm(none)).find(kMsgIngenBudget), std::string::npos);
    EXPECT_EQ(none.rows[1].budget, std::nullopt);

    budget2013(doc);
    const std::vector<std::string> whole = {
        "3000 | 4 000.00 | 3 600.00 | 400.00 | 11.1 | 3 000.00",
        "3010 | 600.00 | 0.00 | 600.00 | - | 0.00",
        "Sa intäkter | 4 600.00 | 3 600.00 | 1 000.00 | 27.8 | 3 000.00",
        "4000 | 0.00 | -1 000.00 | 1 000.00 | 100.0 | - 800.00",
        "5010 | -1 500.00 | -1 200.00 | - 300.00 | -25.0 | -1 200.00",
        "Sa kostnader | -1 500.00 | -2 200.00 | 700.00 | 31.8 | -2 000.00",
        "RESULTAT | 3 100.00 | 1 400.00 | 1 700.00 | 121.4 | 1 000.00",
    };
    const BudgetReport year = buildBudgetReport(doc);
    EXPECT_TRUE(year.notes.empty());
    EXPECT_EQ(year.previousMonths, "Föregående år: 1.2012 - 12.2012");
    EXPECT_EQ(reportTable(year), whole);

    // "Månadsbokslut" January to March: the same months a year earlier.
    auto change = doc.beginChange();
    doc.setMonthRange(MonthRange{{2013, 1}, {2013, 3}});
    change.commit();
    const std::vector<std::string> quarter = {
        "3000 | 4 000.00 | 900.00 | 3 100.00 | 344.4 | 3 000.00",
        "3010 | 600.00 | 0.00 | 600.00 | - | 0.00",
        "Sa intäkter | 4 600.00 | 900.00 | 3 700.00 | 411.1 | 3 000.00",
        "4000 | 0.00 | - 250.02 | 250.02 | 100.0 | 0.00",
        "5010 | 0.00 | - 300.00 | 300.00 | 100.0 | 0.00",
        "Sa kostnader | 0.00 | - 550.02 | 550.02 | 100.0 | 0.00",
        "RESULTAT | 4 600.00 | 349.98 | 4 250.02 | 1214.4 | 3 000.00",
    };
    const BudgetReport months = buildBudgetReport(doc);
    EXPECT_EQ(months.months, "Månader: 1.2013 - 3.2013");
    EXPECT_EQ(months.previousMonths, "Föregående år: 1.2012 - 3.2012");
    EXPECT_EQ(reportTable(months), quarter);
}

TEST(BudgetReport, TheFirstPeriodHasNoPreviousYearAndAnUnreadableOneIsTold) {
    TempDir dir;
    const std::string path = test::saveTwoYearCompany(dir);
    CTallvingeDoc doc;
    ASSERT_TRUE(openCompany(doc, path).ok);
    test::writeFile(periodFilePath(path, 0), "trasig");
    const BudgetReport broken = buildBudgetReport(doc);
    EXPECT_FALSE(broken.hasPrevious);
    ASSERT_EQ(broken.notes.size(), 2U);
    EXPECT_NE(broken.notes[1].find("Föregående period kunde inte läsas"), std::string::npos);
    EXPECT_EQ(broken.rows[1].previous, std::nullopt);

    CTallvingeDoc first;
    test::buildSmallCompany(first);
    const BudgetReport alone = buildBudgetReport(first);
    EXPECT_EQ(alone.notes, (std::vector<std::string>{kMsgIngenBudget, kMsgIngenForegaendePeriod}));
}

TEST(BudgetReport, PrintedPagesShowTheLargestAmountsWhole) {
    TempDir dir;
    const std::string path = test::saveTwoYearCompany(dir);
    CTallvingeDoc doc;
    ASSERT_TRUE(openCompany(doc, path).ok);
    PeriodBudget budget = emptyBudget(doc, 1);
    budget.lines = {{3000, "Försäljning", evenSpread(-99999999900, 12), true},
                    {5010, "Lokalhyra", evenSpread(99999999900, 12), true}};
    const BudgetReport report = buildBudgetReport(doc, budget, std::nullopt);
    const PrintDevice device = a4PdfDevice();
    const Listing listing = budgetReportListing(report, doc, device);
    const ListingPage page =
        layoutListingPage(listing, device, HelveticaMeasurer{}, linesPerPageOn(device), 1);
    std::vector<std::string> texts;
    for (const PagePlacement& placed : page.texts) {
        texts.push_back(placed.text);
    }
    const auto shows = [&texts](const std::string& text) {
        return std::count(texts.begin(), texts.end(), text);
    };
    EXPECT_EQ(shows(kBudgetReportTitle), 1);
    EXPECT_EQ(shows(kMsgIngenForegaendePeriod), 1);
    EXPECT_EQ(shows("Hela perioden"), 1);
    // The budgets of 3000 and 5010 and of their groups, and the deviations beside them.
    EXPECT_EQ(shows("-999 999 999.00"), 2) << ::testing::PrintToString(texts);
    EXPECT_EQ(shows("999 999 999.00"), 2);
    EXPECT_EQ(shows("-1000 001 499.00"), 2);
    EXPECT_EQ(shows("1000 003 999.00"), 1); // the deviation beside a sale of 4 000
    EXPECT_EQ(shows("4 000.00"), 1);
    EXPECT_EQ(shows("100.0"), 2);
    EXPECT_EQ(shows("Försäljning"), 1);
}

} // namespace
} // namespace kv
