// The editing aids of the voucher dialog: the VAT line, transaction
// templates, accounts from the list, and "Ångra".
#include "VoucherTestSupport.h"

#include "model/Amount.h"
#include "voucher/VoucherNumbers.h"
#include "voucher/VoucherTexts.h"
#include "voucher/VoucherUndoStore.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

using test::TypedLine;
using test::VoucherDesk;

struct VatCase {
    TypedLine line;
    std::int32_t amountCol;
    const char* net;
    const char* vat;
    const char* vatAccount;
};

TEST(VoucherVatLine, SplitsTheGrossIntoNetAndVatThatAddUpToIt) {
    const std::vector<VatCase> cases{
        {{"3000", "Sålt", "", "125"}, kColKredit, "100.00", "25.00", "2440"},
        {{"4000", "Köpt", "100", ""}, kColDebet, "89.29", "10.71", "1910"},
        {{"4000", "Köpt", "99,99", ""}, kColDebet, "89.28", "10.71", "1910"},
        {{"3000", "Sålt", "", "0.05"}, kColKredit, "0.04", "0.01", "2440"},
        {{"3000", "Sålt", "", "999999999"}, kColKredit, "799999999.20", "199999999.80", "2440"},
    };
    for (const VatCase& c : cases) {
        SCOPED_TRACE(c.line.debit + c.line.credit);
        VoucherDesk desk;
        VoucherFormModel& form = desk.open();
        ASSERT_TRUE(test::typeLine(form, 1, c.line));
        desk.prompter.said.clear();
        form.vatLine();
        EXPECT_TRUE(desk.prompter.said.empty());
        const Grid& grid = desk.grid();
        EXPECT_EQ(grid.storedText(1, c.amountCol), c.net);
        EXPECT_EQ(grid.storedText(2, c.amountCol), c.vat);
        EXPECT_EQ(grid.storedText(2, kColKonto), c.vatAccount);
        EXPECT_FALSE(grid.storedText(2, kColKontonamn).empty());
        EXPECT_EQ(toOre(numberValue(c.net)) + toOre(numberValue(c.vat)),
                  toOre(numberValue(c.line.debit + c.line.credit)));
        // The user types the VAT line's text next.
        EXPECT_EQ(grid.currentCell(), (CellPos{2, kColRadtext}));
    }
}

TEST(VoucherVatLine, RefusalsAndTheRoomBelow) {
    VoucherDesk desk;
    VoucherFormModel& form = desk.open();
    ASSERT_TRUE(test::typeLine(form, 1, {"1930", "Bank", "10", ""}));
    desk.prompter.said.clear();
    form.vatLine();
    EXPECT_EQ(desk.prompter.said, std::vector<std::string>{kMsgMomskolumnenEjIfylld});
    ASSERT_TRUE(test::typeLine(form, 2, {"4000", "Köpt", "", ""}));
    desk.prompter.said.clear();
    form.vatLine();
    EXPECT_EQ(desk.prompter.said, std::vector<std::string>{kMsgRadenEjKorrekt});

    // A line right below moves down to make room.
    ASSERT_TRUE(form.typeCell({2, kColDebet}, "112"));
    ASSERT_TRUE(test::typeLine(form, 3, {"1930", "Bank", "", "122"}));
    form.grid().placeCurrentCell({2, kColDebet});
    desk.prompter.said.clear();
    form.vatLine();
    EXPECT_TRUE(desk.prompter.said.empty());
    EXPECT_EQ(desk.grid().storedText(2, kColDebet), "100.00");
    EXPECT_EQ(desk.grid().storedText(3, kColDebet), "12.00");
    EXPECT_EQ(desk.grid().storedText(4, kColKonto), "1930");
    EXPECT_EQ(form.differenceText(), "0.00");
}

TEST(VoucherVatLine, RowSeventyFiveMustBeEmptyWhenTheLinesMoveDown) {
    VoucherDesk desk;
    VoucherFormModel& form = desk.open();
    Grid& grid = desk.grid();
    // Lines down to row 75, written as a paste would.
    for (std::int32_t row = 1; row <= kVoucherRows; ++row) {
        grid.setText(row, kColKonto, "1930");
        grid.setText(row, kColKontonamn, "Bank");
        grid.setText(row, kColDebet, "1");
    }
    grid.setText(74, kColKonto, "4000");
    grid.setText(74, kColMoms, "12.00");
    grid.placeCurrentCell({74, kColDebet});
    form.vatLine();
    EXPECT_EQ(desk.prompter.said, std::vector<std::string>{kMsgRad75});
    EXPECT_EQ(grid.storedText(74, kColDebet), "1");

    // With row 75 empty it takes the VAT itself.
    for (std::int32_t col = 1; col <= kVoucherCols; ++col) {
        grid.setText(75, col, "");
    }
    desk.prompter.said.clear();
    form.vatLine();
    EXPECT_TRUE(desk.prompter.said.empty());
    EXPECT_EQ(grid.storedText(75, kColDebet), "0.11");
    EXPECT_EQ(grid.storedText(75, kColKonto), "1910");
    EXPECT_EQ(grid.rowCount(), kVoucherRows);
}

// The grid's text in row 1, column 3 after each of `edits` edits ("1", "2", ...).
struct UndoCase {
    int edits;
    int presses;
    std::vector<std::string> restored; // after each press
    bool enabledAfter;
};

TEST(VoucherUndo, TenStatesInARing) {
    const std::vector<UndoCase> cases{
        {5, 6, {"4", "3", "2", "1", "", ""}, false},
        {11, 10, {"10", "9", "8", "7", "6", "5", "4", "3", "2", "2"}, false},
        {3, 2, {"2", "1"}, true},
        {0, 1, {""}, false},
    };
    for (const UndoCase& c : cases) {
        SCOPED_TRACE(c.edits);
        GridState state;
        state.setRowCount(kVoucherRows);
        state.setColCount(kVoucherCols);
        VoucherUndoStore store(0);
        CellPos current{1, 1};
        for (int edit = 1; edit <= c.edits; ++edit) {
            store.remember(state, current, RememberCause::GridChange);
            state.setText(1, kColRadtext, std::to_string(edit));
        }
        std::vector<std::string> restored;
        for (int press = 0; press < c.presses; ++press) {
            EXPECT_TRUE(store.canUndo());
            store.undo(state, current);
            restored.push_back(state.text(1, kColRadtext));
        }
        EXPECT_EQ(restored, c.restored);
        EXPECT_EQ(store.canUndo(), c.enabledAfter);
    }
}

TEST(VoucherUndo, PinkRowsKeepTheirTextsAndSumsFollow) {
    VoucherDesk desk;
    desk.registerRent();
    VoucherFormModel& form = desk.open(0);
    EXPECT_TRUE(form.canUndo()); // enabled as the dialog opens
    ASSERT_TRUE(test::typeLine(form, 3, {"5010", "Extra", "50", ""}));
    EXPECT_EQ(form.debitSumText(), "1 050.00");
    form.undo(); // the debit
    EXPECT_EQ(form.debitSumText(), "1 000.00");
    EXPECT_EQ(desk.grid().storedText(3, kColKonto), "5010");
    form.undo();
    form.undo();
    form.undo(); // back at the emptied store: rows below the pink ones empty, "Ångra" off
    EXPECT_FALSE(form.canUndo());
    EXPECT_EQ(desk.grid().storedText(3, kColKonto), "");
    EXPECT_EQ(desk.grid().storedText(1, kColKonto), "5010");
    EXPECT_EQ(desk.grid().storedText(2, kColKredit), "1000.00");
}

TEST(VoucherTemplates, CopiedLinesPasteAtTheFirstFreeRow) {
    VoucherDesk desk;
    VoucherFormModel& source = desk.open();
    ASSERT_TRUE(test::typeLine(source, 1, {"5010", "Hyra", "1000", ""}));
    ASSERT_TRUE(test::typeLine(source, 2, {"1930", "Hyra", "", "1000"}));
    source.grid().setSelection({CellRange{1, 1, 2, 5}});
    const auto copied = source.grid().copySelection();
    ASSERT_TRUE(copied.has_value());

    VoucherFormModel& form = desk.open();
    ASSERT_TRUE(test::typeLine(form, 1, {"4000", "Inköp", "10", ""}));
    ASSERT_TRUE(test::typeLine(form, 2, {"1930", "Bank", "", "10"}));
    // A row with an account but no amount counts as free.
    ASSERT_TRUE(form.typeCell({3, kColKonto}, "1910"));
    form.pasteTemplate(*copied);
    const Grid& grid = desk.grid();
    EXPECT_EQ(grid.storedText(3, kColKonto), "5010");
    EXPECT_EQ(grid.storedText(3, kColKontonamn), "Lokalhyra");
    EXPECT_EQ(grid.storedText(4, kColKredit), "1000");
    EXPECT_EQ(form.debitSumText(), "1 010.00");
    EXPECT_EQ(grid.currentCell(), (CellPos{3, kColKonto}));
    // One "Ångra" takes the whole template back.
    form.undo();
    EXPECT_EQ(grid.storedText(3, kColKonto), "1910");
    EXPECT_EQ(grid.storedText(4, kColKonto), "");
}

TEST(VoucherTemplates, PinkRowsAreNeitherCopiedNorPastedInto) {
    VoucherDesk desk;
    desk.registerRent();
    VoucherFormModel& form = desk.open(0);
    form.grid().setSelection({CellRange{2, 1, 3, 5}});
    EXPECT_FALSE(form.grid().copySelection().has_value());
    form.grid().setSelection({});
    form.grid().placeCurrentCell({2, kColRadtext});
    form.pasteTemplate("1910\tKassa\tx\t5\n");
    EXPECT_EQ(desk.prompter.said, (std::vector<std::string>{kMsgRosaRaderKopieras, kMsgGaNedanforRosa}));
    EXPECT_EQ(desk.grid().storedText(3, kColKonto), "");
}

TEST(VoucherTemplates, AnAccountFromTheListGoesToTheFirstFreeRow) {
    VoucherDesk desk;
    VoucherFormModel& form = desk.open();
    const auto& lines = form.accountListLines();
    const auto kassa = std::find(lines.begin(), lines.end(), "1910  Kassa");
    ASSERT_NE(kassa, lines.end());
    EXPECT_EQ(lines.front(), "3000  Försäljning");
    form.insertAccount(static_cast<std::size_t>(kassa - lines.begin()));
    EXPECT_EQ(desk.grid().storedText(1, kColKonto), "1910");
    EXPECT_EQ(desk.grid().storedText(1, kColKontonamn), "Kassa");
    EXPECT_TRUE(desk.prompter.said.empty());
}

} // namespace
} // namespace kv
