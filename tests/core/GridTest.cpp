#include "grid/Grid.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

// Hooks that record what the grid asked and refuse what they are told to.
class RecordingHooks : public GridHooks {
public:
    bool validateCell(Grid& grid, std::int32_t row, std::int32_t col) override {
        seenWhileValidating = grid.text(row, col);
        otherCellWhileValidating = grid.text(1, 1);
        return !refuseText || seenWhileValidating != *refuseText;
    }
    bool startEditing(Grid&, std::int32_t, std::int32_t col) override { return col != lockedColumn; }
    void currentCellMoving(Grid&, CellPos from, CellPos to) override { moves.push_back({from, to}); }
    void cellChanged(Grid&, std::int32_t row, std::int32_t col) override { changed.push_back({row, col}); }
    bool keyDown(Grid&, const GridKey& key) override {
        return key.code == GridKeyCode::Delete && swallowDelete;
    }
    bool clearCells(Grid&) override { return !refuseClear; }
    bool paste(Grid&) override { return !refusePaste; }

    std::optional<std::string> refuseText;
    std::int32_t lockedColumn = -1;
    bool swallowDelete = false;
    bool refuseClear = false;
    bool refusePaste = false;
    std::string seenWhileValidating;
    std::string otherCellWhileValidating;
    std::vector<std::pair<CellPos, CellPos>> moves;
    std::vector<CellPos> changed;
};

Grid& sized(Grid& grid, std::int32_t rows, std::int32_t cols) {
    grid.setRowCount(rows);
    grid.setColCount(cols);
    return grid;
}

void type(Grid& grid, CellPos cell, const std::string& text) {
    grid.moveCurrentCell(cell);
    grid.beginEdit(text);
    grid.endEdit();
}

TEST(Grid, ReadOnlyCellsStopTheUserButNotTheProgram) {
    Grid grid;
    sized(grid, 5, 3);
    CellStyle locked;
    locked.readOnly = true;
    grid.setStyle(2, 2, locked);
    grid.setText(2, 2, "fast");
    EXPECT_EQ(grid.text(2, 2), "fast");
    grid.moveCurrentCell({2, 2});
    EXPECT_FALSE(grid.beginEdit());
    grid.setText(2, 2, "ändrad av programmet");
    EXPECT_EQ(grid.text(2, 2), "ändrad av programmet");

    grid.toggleReadOnly();
    grid.moveCurrentCell({1, 1});
    EXPECT_FALSE(grid.beginEdit());
    EXPECT_FALSE(grid.paste("x"));
    grid.toggleReadOnly();
    EXPECT_TRUE(grid.beginEdit());
}

TEST(Grid, HooksReadTheTextBeingEntered) {
    Grid grid;
    RecordingHooks hooks;
    grid.setHooks(&hooks);
    sized(grid, 5, 3);
    grid.setText(1, 1, "lagrad");
    grid.setText(2, 1, "gammal");
    grid.moveCurrentCell({2, 1});
    ASSERT_TRUE(grid.beginEdit("ny"));
    EXPECT_EQ(grid.text(2, 1), "ny");
    EXPECT_EQ(grid.storedText(2, 1), "gammal");
    ASSERT_TRUE(grid.endEdit());
    EXPECT_EQ(hooks.seenWhileValidating, "ny");
    EXPECT_EQ(hooks.otherCellWhileValidating, "lagrad");
    EXPECT_EQ(grid.text(2, 1), "ny");
    ASSERT_EQ(hooks.changed.size(), 1U);
    EXPECT_EQ(hooks.changed[0], (CellPos{2, 1}));
}

TEST(Grid, ARefusedEditKeepsTheCellCurrentWithAnEmptyEdit) {
    Grid grid;
    RecordingHooks hooks;
    hooks.refuseText = "fel";
    grid.setHooks(&hooks);
    sized(grid, 5, 3);
    grid.setText(3, 2, "rätt");
    grid.moveCurrentCell({3, 2});
    grid.beginEdit("fel");
    EXPECT_FALSE(grid.moveCurrentCell({4, 2}));
    EXPECT_EQ(grid.currentCell(), (CellPos{3, 2}));
    EXPECT_TRUE(grid.isEditing());
    EXPECT_EQ(grid.editText(), "");
    EXPECT_EQ(grid.storedText(3, 2), "rätt");
    EXPECT_TRUE(hooks.changed.empty());
    // Typing something acceptable lets the user go on.
    grid.setEditText("bra");
    EXPECT_TRUE(grid.moveCurrentCell({4, 2}));
    EXPECT_EQ(grid.storedText(3, 2), "bra");
}

TEST(Grid, StartEditingAndKeysCanBeRefusedByTheProgram) {
    Grid grid;
    RecordingHooks hooks;
    hooks.lockedColumn = 1;
    hooks.swallowDelete = true;
    grid.setHooks(&hooks);
    sized(grid, 5, 3);
    grid.setText(1, 1, "1930");
    grid.moveCurrentCell({1, 1});
    EXPECT_FALSE(grid.beginEdit());
    EXPECT_TRUE(grid.keyDown({GridKeyCode::Delete}));
    EXPECT_EQ(grid.text(1, 1), "1930");
    hooks.swallowDelete = false;
    hooks.refuseClear = true;
    grid.keyDown({GridKeyCode::Delete});
    EXPECT_EQ(grid.text(1, 1), "1930");
    hooks.refuseClear = false;
    grid.keyDown({GridKeyCode::Delete});
    EXPECT_EQ(grid.text(1, 1), "");
}

TEST(Grid, EveryMoveIsAnnouncedWithItsOldAndNewCell) {
    Grid grid;
    RecordingHooks hooks;
    grid.setHooks(&hooks);
    sized(grid, 5, 3);
    grid.moveCurrentCell({1, 2});
    grid.keyDown({GridKeyCode::Down});
    grid.keyDown({GridKeyCode::Down});
    grid.moveCurrentCell({3, 2});   // no move, no announcement
    grid.moveCurrentCell({99, 99}); // clamped to the last cell
    ASSERT_EQ(hooks.moves.size(), 4U);
    EXPECT_EQ(hooks.moves[0].first, (CellPos{1, 1}));
    EXPECT_EQ(hooks.moves[1].second, (CellPos{2, 2}));
    EXPECT_EQ(hooks.moves[3].second, (CellPos{5, 3}));
}

TEST(Grid, InsertingAndRemovingRowsMovesTheRowsBelow) {
    Grid grid;
    sized(grid, 5, 2);
    for (std::int32_t r = 1; r <= 5; ++r) {
        grid.setText(r, 1, "rad " + std::to_string(r));
    }
    grid.insertRows(3, 1);
    EXPECT_EQ(grid.rowCount(), 6);
    EXPECT_EQ(grid.text(3, 1), "");
    EXPECT_EQ(grid.text(4, 1), "rad 3");
    EXPECT_EQ(grid.text(6, 1), "rad 5");
    grid.removeRows(1, 2);
    EXPECT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(grid.text(1, 1), "");
    EXPECT_EQ(grid.text(2, 1), "rad 3");
    grid.insertCols(1, 1);
    EXPECT_EQ(grid.colCount(), 3);
    EXPECT_EQ(grid.text(2, 2), "rad 3");
    grid.removeCols(1, 1);
    EXPECT_EQ(grid.text(2, 1), "rad 3");
}

TEST(Grid, ABlockCopiedPastesBackAsTheSameCells) {
    Grid grid;
    sized(grid, 10, 4);
    grid.setText(1, 1, "3000");
    grid.setText(1, 2, "Försäljning\tmed tab");
    grid.setText(2, 1, "");
    grid.setText(2, 2, "två\nrader");
    grid.setText(2, 3, "\"citat\"");
    grid.setSelection({CellRange{1, 1, 2, 3}});
    const auto copied = grid.copySelection();
    ASSERT_TRUE(copied.has_value());

    grid.clearSelection();
    grid.moveCurrentCell({5, 2});
    ASSERT_TRUE(grid.paste(*copied));
    EXPECT_EQ(grid.text(5, 2), "3000");
    EXPECT_EQ(grid.text(5, 3), "Försäljning\tmed tab");
    EXPECT_EQ(grid.text(6, 3), "två\nrader");
    EXPECT_EQ(grid.text(6, 4), "\"citat\"");
    EXPECT_EQ(fromClipboardText(*copied),
              (std::vector<std::vector<std::string>>{{"3000", "Försäljning\tmed tab", ""},
                                                     {"", "två\nrader", "\"citat\""}}));
}

TEST(Grid, PasteReadsPlainTextFromOtherProgramsAndStaysInside) {
    Grid grid;
    sized(grid, 3, 2);
    grid.moveCurrentCell({2, 2});
    ASSERT_TRUE(grid.paste("a\tb\tc\r\nd\te\r\nf\n"));
    EXPECT_EQ(grid.text(2, 2), "a");
    EXPECT_EQ(grid.text(3, 2), "d");
    EXPECT_EQ(grid.rowCount(), 3); // nothing beyond the grid is created
    EXPECT_EQ(fromClipboardText("x\ty"), (std::vector<std::vector<std::string>>{{"x", "y"}}));
}

TEST(Grid, TheProgramCanRefuseClipboardOperations) {
    Grid grid;
    RecordingHooks hooks;
    hooks.refusePaste = true;
    grid.setHooks(&hooks);
    sized(grid, 3, 2);
    EXPECT_FALSE(grid.paste("x"));
    EXPECT_EQ(grid.text(1, 1), "");
}

TEST(Grid, UndoAndRedoTheUsersChanges) {
    Grid grid;
    sized(grid, 5, 2);
    grid.setText(1, 1, "programmet"); // the program's writes are not undone
    EXPECT_FALSE(grid.canUndo());
    type(grid, {2, 1}, "ett");
    type(grid, {3, 1}, "två");
    grid.setSelection({CellRange{2, 1, 3, 1}});
    grid.clearSelectedCells();
    EXPECT_EQ(grid.text(2, 1), "");
    ASSERT_TRUE(grid.undo());
    EXPECT_EQ(grid.text(2, 1), "ett");
    EXPECT_EQ(grid.text(3, 1), "två");
    ASSERT_TRUE(grid.undo());
    EXPECT_EQ(grid.text(3, 1), "");
    EXPECT_TRUE(grid.canRedo());
    ASSERT_TRUE(grid.redo());
    EXPECT_EQ(grid.text(3, 1), "två");
    type(grid, {4, 1}, "tre");
    EXPECT_FALSE(grid.canRedo());
    EXPECT_EQ(grid.text(1, 1), "programmet");
}

TEST(Grid, ZoomStepsStayWithinTheirBounds) {
    Grid grid;
    EXPECT_EQ(grid.zoom(), 100);
    grid.zoomIn();
    EXPECT_EQ(grid.zoom(), 110);
    for (int i = 0; i < 50; ++i) {
        grid.zoomIn();
    }
    EXPECT_GE(grid.zoom(), Grid::kMaxZoom);
    EXPECT_FALSE(grid.canZoomIn());
    grid.zoomNormal();
    grid.zoomOut();
    EXPECT_EQ(grid.zoom(), 90);
    for (int i = 0; i < 50; ++i) {
        grid.zoomOut();
    }
    EXPECT_LE(grid.zoom(), Grid::kMinZoom);
    EXPECT_GT(grid.zoom(), 0);
}

TEST(Grid, FormattingTheSelectionTogglesAndKeepsProtection) {
    Grid grid;
    sized(grid, 3, 3);
    CellStyle locked;
    locked.readOnly = true;
    grid.setStyle(1, 1, locked);
    grid.setSelection({CellRange{1, 1, 2, 2}});
    grid.toggleBoldSelection();
    EXPECT_TRUE(grid.style(1, 1).bold);
    EXPECT_TRUE(grid.style(2, 2).bold);
    EXPECT_FALSE(grid.style(3, 3).bold);
    grid.toggleBoldSelection();
    EXPECT_FALSE(grid.style(2, 2).bold);
    grid.alignSelection(HAlign::Right);
    EXPECT_EQ(grid.style(2, 1).align, HAlign::Right);
    CellStyle look;
    look.background = rgb(255, 235, 240);
    grid.applyStyleToSelection(look);
    EXPECT_TRUE(grid.style(1, 1).readOnly);
    EXPECT_EQ(grid.style(1, 1).background, rgb(255, 235, 240));
    ASSERT_TRUE(grid.undo());
    EXPECT_FALSE(grid.style(1, 1).background.has_value());
}

TEST(Grid, WorksOnAStateOwnedBySomeoneElse) {
    GridState owned;
    owned.setRowCount(4);
    owned.setColCount(2);
    owned.setText(1, 1, "dokumentets");
    {
        Grid grid;
        grid.attach(owned);
        EXPECT_EQ(grid.text(1, 1), "dokumentets");
        type(grid, {2, 2}, "ändrat i fönstret");
    }
    EXPECT_EQ(owned.text(2, 2), "ändrat i fönstret");
}

TEST(Grid, SelectionGivesTheFirstRowAndTheRowCount) {
    Grid grid;
    sized(grid, 10, 3);
    EXPECT_EQ(grid.selectedRowCount(), 0);
    grid.setSelection({CellRange{7, 1, 5, 3}, CellRange{6, 2, 8, 2}});
    EXPECT_EQ(grid.firstSelectedRow(), 5);
    EXPECT_EQ(grid.selectedRowCount(), 4);
    grid.selectRows(2, 2);
    EXPECT_EQ(grid.firstSelectedRow(), 2);
    EXPECT_EQ(grid.selectedRowCount(), 1);
}

} // namespace
} // namespace kv
