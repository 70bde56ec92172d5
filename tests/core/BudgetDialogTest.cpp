// The budget dialog's model and its grid: what the user types, deletes and
// pastes reaches the budget, the buttons and their questions, the save
// question on closing and "Ny budget från årets utfall".
#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include "budget/BudgetCommands.h"
#include "budget/BudgetDialogModel.h"
#include "storage/CompanyFiles.h"

#include <gtest/gtest.h>

namespace kv::test {

namespace {

constexpr std::int32_t kYear = BudgetEditorModel::kColYear + 1; // grid columns count from 1
constexpr std::int32_t kJanuary = BudgetEditorModel::kColFirstMonth + 1;
constexpr std::int32_t kFebruary = kJanuary + 1;
constexpr std::int32_t kDecember = kJanuary + 11;

LocalClock fixedClock() {
    return [] { return LocalTime{2013, 2, 1, 10, 0, 0}; };
}

// The grid row of an account.
std::int32_t rowOf(BudgetDialogModel& dialog, std::int32_t account) {
    for (std::int32_t row = 0; row < dialog.editor().rowCount(); ++row) {
        if (dialog.editor().row(row).account == account) {
            return row + 1;
        }
    }
    ADD_FAILURE() << "no row for " << account;
    return 1;
}

// Types text into a cell as the user does: the cell current, typed, Return.
bool type(Grid& grid, std::int32_t row, std::int32_t col, const std::string& text) {
    grid.moveCurrentCell({row, col});
    grid.beginEdit(text);
    return grid.endEdit();
}

// The small company with a sale in January and rent in March 2012, saved in folder.
void savedCompany(CTallvingeDoc& doc, const TempDir& folder) {
    buildSmallCompany(doc);
    postVoucher(doc, 15, 1, 2012, {{1930, 1200, 0}, {3000, 0, 1200}});
    postVoucher(doc, 20, 3, 2012, {{5010, 300, 0}, {1930, 0, 300}});
    ASSERT_TRUE(saveCompany(doc, folder.file("Bolaget.bok")).ok);
}

class BudgetDialogTest : public ::testing::Test {
protected:
    void SetUp() override { savedCompany(doc, dir); }

    std::optional<PeriodBudget> saved(std::int32_t period = 0) { return loadBudget(doc, period); }

    TempDir dir;
    CTallvingeDoc doc;
    ScriptedPrompter prompter;
};

} // namespace

TEST(BudgetTypedText, TheGridsOwnThousandsBlanksReadBack) {
    const std::pair<std::string, std::string> cases[] = {
        {"12 000.00", "12000.00"},
        {"-1 500,50", "-1500,50"},
        {"1 234 567.89", "1234567.89"},
        {"12  000", "12000"},
        {"- 200.00", "-200.00"},
        {" - 1 500", " -1500"},
        {" 5", " 5"},
        {"5 ", "5 "},
        {"12 a", "12 a"},
        {"", ""},
    };
    for (const auto& [typed, read] : cases) {
        EXPECT_EQ(typedBudgetText(typed), read) << typed;
    }
}

TEST_F(BudgetDialogTest, TypedCellsReachTheBudgetAndTheResultLine) {
    BudgetDialogModel dialog(doc, prompter, fixedClock());
    Grid& grid = dialog.grid();
    const std::int32_t sales = rowOf(dialog, 3000);
    const std::int32_t rent = rowOf(dialog, 5010);
    const std::int32_t result = dialog.budgetGrid().resultRow();

    // A year amount is spread over the months, the öre left over to the first.
    ASSERT_TRUE(type(grid, sales, kYear, "12000,10"));
    EXPECT_EQ(grid.storedText(sales, kYear), "12 000.10");
    EXPECT_EQ(grid.storedText(sales, kJanuary), "1 000.01");
    EXPECT_EQ(grid.storedText(sales, kDecember), "1 000.00");
    // A month typed makes the year its sum.
    ASSERT_TRUE(type(grid, sales, kFebruary, "2000"));
    EXPECT_EQ(grid.storedText(sales, kYear), "13 000.09");
    // A cost, and the budgeted result beneath.
    ASSERT_TRUE(type(grid, rent, kYear, "-3600"));
    EXPECT_EQ(grid.storedText(result, kYear), "9 400.09");
    EXPECT_EQ(grid.storedText(result, kFebruary), "1 700.00");
    EXPECT_EQ(grid.storedText(result, BudgetEditorModel::kColName + 1), kBudgetResultRow);

    // A cell opened and closed as it was reads back; nothing is refused.
    grid.moveCurrentCell({sales, kYear});
    ASSERT_TRUE(grid.beginEdit());
    EXPECT_TRUE(grid.endEdit());
    ASSERT_TRUE(type(grid, sales, kYear, "13 000.10")); // as the grid writes amounts
    EXPECT_TRUE(prompter.said.empty());
    EXPECT_EQ(grid.storedText(sales, kFebruary), "1 083.35"); // spread evenly again

    // A text that is no amount is refused and the cell keeps its amount.
    EXPECT_FALSE(type(grid, sales, kJanuary, "tolv"));
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.said.back(), kMsgBudgetGeEttSiffervarde);
    grid.cancelEdit();
    EXPECT_EQ(grid.storedText(sales, kJanuary), "1 083.35");

    // Account, name and the result line are not typed into.
    for (const CellPos cell : {CellPos{sales, 1}, CellPos{sales, 2}, CellPos{result, kYear}}) {
        grid.moveCurrentCell(cell);
        EXPECT_FALSE(grid.beginEdit("5")) << cell.row << "," << cell.col;
    }
    EXPECT_TRUE(dialog.editor().isModified());
}

TEST_F(BudgetDialogTest, PasteAndDeleteReachEveryCellTheyChange) {
    BudgetDialogModel dialog(doc, prompter, fixedClock());
    Grid& grid = dialog.grid();
    const std::int32_t sales = rowOf(dialog, 3000);
    const std::int32_t fees = rowOf(dialog, 3010);

    // Two rows of three months from a spreadsheet: every month arrives.
    grid.moveCurrentCell({sales, kJanuary});
    ASSERT_TRUE(grid.paste("100\t200\t300\n1 000\t2 000\t3 000"));
    EXPECT_EQ(grid.storedText(sales, kYear), "600.00");
    EXPECT_EQ(grid.storedText(fees, kYear), "6 000.00");
    EXPECT_EQ(dialog.editor().row(fees - 1).months[2], 300000);

    // A pasted block with texts that are no amounts: told once, the rest taken.
    grid.moveCurrentCell({sales, kJanuary});
    ASSERT_TRUE(grid.paste("x\t250\ty"));
    EXPECT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(grid.storedText(sales, kJanuary), "100.00");
    EXPECT_EQ(grid.storedText(sales, kFebruary), "250.00");
    EXPECT_EQ(grid.storedText(sales, kYear), "650.00");

    // Delete over the year and the first months of a row clears them all.
    grid.moveCurrentCell({fees, kYear});
    grid.setSelection({CellRange{fees, kYear, fees, kFebruary}});
    ASSERT_TRUE(grid.clearSelectedCells());
    EXPECT_EQ(grid.storedText(fees, kYear), "0.00");
    EXPECT_EQ(grid.storedText(fees, kDecember), "0.00");

    // Undo would take the grid's texts away from the budget: there is none.
    EXPECT_FALSE(grid.canUndo());
}

TEST_F(BudgetDialogTest, ClosingAsksToSaveWhatWasChanged) {
    struct Case {
        const char* what;
        bool edit;
        bool typing; // left in the cell, not ended
        std::optional<Answer> answer;
        bool closes;
        bool saves;
    };
    const Case cases[] = {
        {"nothing changed", false, false, std::nullopt, true, false},
        {"saved", true, false, Answer::Yes, true, true},
        {"thrown away", true, false, Answer::No, true, false},
        {"kept open", true, false, Answer::Cancel, false, false},
        {"a cell being typed is saved", true, true, Answer::Yes, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir folder;
        CTallvingeDoc company;
        savedCompany(company, folder);
        ScriptedPrompter asked;
        BudgetDialogModel dialog(company, asked, fixedClock());
        const std::int32_t sales = rowOf(dialog, 3000);
        if (c.edit) {
            dialog.grid().moveCurrentCell({sales, kYear});
            dialog.grid().beginEdit("2400");
            if (!c.typing) {
                ASSERT_TRUE(dialog.grid().endEdit());
            }
        }
        if (c.answer) {
            asked.answer(*c.answer);
        }
        EXPECT_EQ(dialog.mayClose(), c.closes);
        EXPECT_EQ(asked.said,
                  c.answer ? std::vector<std::string>{kAskSparaBudget} : std::vector<std::string>{});
        const std::optional<PeriodBudget> budget = loadBudget(company, 0);
        EXPECT_EQ(budget.has_value(), c.saves);
        if (budget) {
            EXPECT_EQ(budget->amount(3000, {2012, 1}, {2012, 12}), 240000);
            // Reopened, the dialog shows it.
            BudgetDialogModel again(company, asked, fixedClock());
            EXPECT_EQ(again.grid().storedText(sales, kYear), "2 400.00");
            EXPECT_FALSE(again.isModified());
        }
    }
}

TEST_F(BudgetDialogTest, ASaveThatFailsKeepsTheDialogAndItsEdits) {
    CTallvingeDoc fresh;
    buildSmallCompany(fresh); // never saved: no database to write to
    prompter.answer(Answer::Yes);
    BudgetDialogModel dialog(fresh, prompter, fixedClock());
    ASSERT_TRUE(type(dialog.grid(), rowOf(dialog, 3000), kYear, "100"));
    EXPECT_FALSE(dialog.mayClose());
    EXPECT_EQ(prompter.said, (std::vector<std::string>{kAskSparaBudget, kMsgBudgetEjSparatForetag}));
    EXPECT_EQ(prompter.kindOf[kMsgBudgetEjSparatForetag], MessageKind::Failure);
    EXPECT_TRUE(dialog.isModified());

    // The menu command says it before anything is typed, and shows no dialog.
    ScriptedPrompter menu;
    EXPECT_FALSE(runBudgetDialog(fresh, menu, fixedClock()));
    EXPECT_EQ(menu.said, std::vector<std::string>{kMsgBudgetEjSparatForetag});
    EXPECT_TRUE(menu.dialogs.empty());
}

TEST_F(BudgetDialogTest, ADatabaseThatCannotBeReadIsToldAndNeverOverwritten) {
    writeFile(dir.file("Bolaget.kvdb"), std::string(4096, 'x'));
    BudgetDialogModel dialog(doc, prompter, fixedClock());
    ASSERT_TRUE(dialog.editor().loadMessage().has_value());
    dialog.opened();
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.said.front(), *dialog.editor().loadMessage());
    EXPECT_EQ(prompter.kindOf[prompter.said.front()], MessageKind::Failure);
    // Nothing can be typed, and "Spara" says why instead of writing.
    dialog.grid().moveCurrentCell({rowOf(dialog, 3000), kYear});
    EXPECT_FALSE(dialog.grid().beginEdit("100"));
    EXPECT_FALSE(dialog.save());
    EXPECT_EQ(readFile(dir.file("Bolaget.kvdb")), std::string(4096, 'x'));
    EXPECT_TRUE(dialog.mayClose());
}

TEST_F(BudgetDialogTest, ButtonsSayWhatStopsThem) {
    BudgetDialogModel dialog(doc, prompter, fixedClock());
    const std::int32_t sales = rowOf(dialog, 3000);

    // The first period has no year before it.
    EXPECT_FALSE(dialog.copyPreviousOutcome());
    EXPECT_EQ(prompter.said.back(), kMsgBudgetIngenForegaende);
    // A percentage that is none.
    dialog.setPercentText("tio");
    EXPECT_FALSE(dialog.copyPreviousBudget());
    EXPECT_EQ(prompter.said.back(), kMsgBudgetProcent);
    EXPECT_FALSE(dialog.newBudgetFromOutcome());
    EXPECT_EQ(prompter.said.back(), kMsgBudgetProcent);
    // "Fördela jämnt" needs an account's row.
    dialog.grid().moveCurrentCell({dialog.budgetGrid().resultRow(), kYear});
    EXPECT_FALSE(dialog.spreadCurrentRow());
    EXPECT_EQ(prompter.said.back(), kMsgValjKontorad);

    // On a row, the months typed are spread evenly again.
    ASSERT_TRUE(type(dialog.grid(), sales, kJanuary, "1200"));
    dialog.grid().moveCurrentCell({sales, kFebruary});
    EXPECT_TRUE(dialog.spreadCurrentRow());
    EXPECT_EQ(dialog.grid().storedText(sales, kDecember), "100.00");

    // Replacing typed amounts asks first, Cancel by default, and Cancel keeps them.
    dialog.setPercentText("");
    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(dialog.copyPreviousBudget());
    EXPECT_EQ(prompter.said.back(), kAskErsattBelopp);
    EXPECT_EQ(prompter.defaultOf[kAskErsattBelopp], Answer::Cancel);
    EXPECT_EQ(dialog.grid().storedText(sales, kYear), "1 200.00");
}

TEST_F(BudgetDialogTest, NextYearsBudgetFromThisYearsOutcome) {
    BudgetDialogModel dialog(doc, prompter, fixedClock());
    dialog.setPercentText("10");
    ASSERT_TRUE(dialog.newBudgetFromOutcome());
    ASSERT_EQ(prompter.said.size(), 1u);
    EXPECT_EQ(prompter.said.front(),
              "Budgeten för 1.2013 - 12.2013 är sparad, gjord av årets utfall, ändrat med "
              "+10 %.\n\nDen visas här och i rapporten Budget och utfall när perioden är "
              "öppen.");
    EXPECT_TRUE(dialog.savedAny());
    EXPECT_FALSE(saved(0).has_value()); // the open year's budget is untouched
    const std::optional<PeriodBudget> next = saved(1);
    ASSERT_TRUE(next.has_value());
    EXPECT_EQ(next->amount(3000, {2013, 1}, {2013, 1}), 132000);
    EXPECT_EQ(next->amount(5010, {2013, 3}, {2013, 3}), -33000);
    EXPECT_EQ(next->amount(3000, {2013, 2}, {2013, 12}), 0);

    // Once more: it asks before the saved one is replaced, and Cancel keeps it.
    dialog.setPercentText("0");
    prompter.answer(Answer::Cancel);
    EXPECT_FALSE(dialog.newBudgetFromOutcome());
    EXPECT_EQ(
        prompter.said.back(),
        "Det finns redan en sparad budget för 1.2013 - 12.2013.\n\nVill du ersätta den med en budget av "
        "årets utfall?");
    EXPECT_EQ(saved(1)->amount(3000, {2013, 1}, {2013, 1}), 132000);
    prompter.answer(Answer::Ok);
    EXPECT_TRUE(dialog.newBudgetFromOutcome());
    EXPECT_EQ(saved(1)->amount(3000, {2013, 1}, {2013, 1}), 120000);
}

} // namespace kv::test
