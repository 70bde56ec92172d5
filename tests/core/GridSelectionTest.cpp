#include "grid/Grid.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

class SelectionListener : public GridListener {
public:
    void gridCellsChanged(const CellRange&) override {}
    void gridLayoutChanged() override {}
    void gridCurrentCellChanged() override {}
    void gridEditChanged() override { ++edits; }
    void gridScrollTo(CellPos cell) override { scrolledTo = cell; }
    void gridFocus() override {}
    void gridSelectionChanged() override { ++selections; }

    int selections = 0;
    int edits = 0;
    CellPos scrolledTo;
};

class RefusingHooks : public GridHooks {
public:
    bool validateCell(Grid& grid, std::int32_t row, std::int32_t col) override {
        return grid.text(row, col) != "fel";
    }
    void currentCellMoving(Grid&, CellPos, CellPos to) override { moves.push_back(to); }
    std::vector<CellPos> moves;
};

Grid& sized(Grid& grid, std::int32_t rows, std::int32_t cols) {
    grid.setRowCount(rows);
    grid.setColCount(cols);
    return grid;
}

TEST(GridSelection, AClickMakesACellCurrentWithoutSelectingIt) {
    Grid grid;
    RefusingHooks hooks;
    grid.setHooks(&hooks);
    sized(grid, 10, 5);
    grid.setSelection({CellRange{1, 1, 3, 3}});
    ASSERT_TRUE(grid.pressCell({4, 2}));
    grid.releasePointer();
    EXPECT_EQ(grid.currentCell(), (CellPos{4, 2}));
    EXPECT_TRUE(grid.selection().empty());
    EXPECT_EQ(grid.selectedRowCount(), 0);
    ASSERT_EQ(hooks.moves.size(), 1U);
    EXPECT_EQ(hooks.moves[0], (CellPos{4, 2}));
}

TEST(GridSelection, DraggingSelectsABlockAndBackOnTheCellSelectsNothing) {
    Grid grid;
    SelectionListener listener;
    grid.setListener(&listener);
    sized(grid, 10, 5);
    ASSERT_TRUE(grid.pressCell({2, 2}));
    grid.dragTo({4, 3});
    EXPECT_EQ(grid.selection(), (std::vector<CellRange>{{2, 2, 4, 3}}));
    EXPECT_EQ(listener.scrolledTo, (CellPos{4, 3}));
    grid.dragTo({1, 1}); // upwards and left: the block is normalised
    EXPECT_EQ(grid.selection(), (std::vector<CellRange>{{1, 1, 2, 2}}));
    grid.dragTo({2, 2});
    EXPECT_TRUE(grid.selection().empty());
    grid.dragTo({50, 50}); // beyond the grid: clamped to the last cell
    EXPECT_EQ(grid.selection(), (std::vector<CellRange>{{2, 2, 10, 5}}));
    grid.releasePointer();
    grid.dragTo({3, 3}); // no button held: nothing changes
    EXPECT_EQ(grid.selection(), (std::vector<CellRange>{{2, 2, 10, 5}}));
    EXPECT_EQ(grid.currentCell(), (CellPos{2, 2}));

    const int before = listener.selections;
    grid.setSelection(grid.selection()); // the same selection again is no news
    EXPECT_EQ(listener.selections, before);
}

TEST(GridSelection, ShiftAndControlClicksExtendAndAdd) {
    Grid grid;
    sized(grid, 10, 5);
    grid.pressCell({3, 3});
    grid.releasePointer();
    ASSERT_TRUE(grid.pressCell({5, 4}, true));
    grid.releasePointer();
    EXPECT_EQ(grid.currentCell(), (CellPos{3, 3}));
    EXPECT_EQ(grid.selection(), (std::vector<CellRange>{{3, 3, 5, 4}}));
    ASSERT_TRUE(grid.pressCell({8, 1}, false, true));
    grid.releasePointer();
    EXPECT_EQ(grid.selection(), (std::vector<CellRange>{{3, 3, 5, 4}, {8, 1, 8, 1}}));
    EXPECT_EQ(grid.currentCell(), (CellPos{8, 1}));
    EXPECT_TRUE(grid.isSelected(4, 4));
    EXPECT_FALSE(grid.isSelected(6, 4));
}

TEST(GridSelection, TitlesSelectWholeRowsAndColumns) {
    Grid grid;
    sized(grid, 10, 5);
    grid.pressCell({2, 3});
    grid.releasePointer();
    ASSERT_TRUE(grid.pressRowTitle(4));
    grid.dragTo({6, 1});
    grid.releasePointer();
    EXPECT_EQ(grid.firstSelectedRow(), 4);
    EXPECT_EQ(grid.selectedRowCount(), 3);
    EXPECT_EQ(grid.selection(), (std::vector<CellRange>{{4, 1, 6, 5}}));
    EXPECT_EQ(grid.currentCell(), (CellPos{4, 3}));
    ASSERT_TRUE(grid.pressRowTitle(2, true)); // from the current row up to row 2
    grid.releasePointer();
    EXPECT_EQ(grid.selection(), (std::vector<CellRange>{{2, 1, 4, 5}}));

    ASSERT_TRUE(grid.pressColumnTitle(2));
    grid.releasePointer();
    EXPECT_EQ(grid.selection(), (std::vector<CellRange>{{1, 2, 10, 2}}));
    grid.removeSelectedCols();
    EXPECT_EQ(grid.colCount(), 4);
    EXPECT_TRUE(grid.selection().empty());
    grid.selectAll();
    EXPECT_EQ(grid.selection(), (std::vector<CellRange>{{1, 1, 10, 4}}));
    grid.selectCols(3, 4);
    EXPECT_EQ(grid.selection(), (std::vector<CellRange>{{1, 3, 10, 4}}));
}

TEST(GridSelection, ARefusedEditStopsAPressAndKeepsTheEditor) {
    Grid grid;
    RefusingHooks hooks;
    grid.setHooks(&hooks);
    sized(grid, 10, 5);
    grid.pressCell({2, 2});
    grid.releasePointer();
    ASSERT_TRUE(grid.beginEdit("fel"));
    EXPECT_FALSE(grid.pressCell({5, 5}));
    grid.setEditText("fel");
    EXPECT_FALSE(grid.pressRowTitle(5));
    grid.setEditText("fel");
    EXPECT_FALSE(grid.pressColumnTitle(5, true));
    grid.dragTo({6, 6});
    EXPECT_TRUE(grid.selection().empty());
    EXPECT_EQ(grid.currentCell(), (CellPos{2, 2}));
    EXPECT_TRUE(grid.isEditing());
    EXPECT_EQ(grid.editText(), "");
    EXPECT_EQ(hooks.moves.size(), 1U);
}

TEST(GridSelection, ShiftWithMovementKeysStretchesAndPlainKeysDropTheSelection) {
    Grid grid;
    sized(grid, 30, 5);
    grid.pressCell({3, 2});
    grid.releasePointer();
    grid.keyDown({GridKeyCode::Down, true});
    grid.keyDown({GridKeyCode::Down, true});
    grid.keyDown({GridKeyCode::Right, true});
    EXPECT_EQ(grid.selection(), (std::vector<CellRange>{{3, 2, 5, 3}}));
    EXPECT_EQ(grid.currentCell(), (CellPos{3, 2}));
    grid.keyDown({GridKeyCode::Up, true});
    grid.keyDown({GridKeyCode::Up, true});
    grid.keyDown({GridKeyCode::Left, true});
    EXPECT_TRUE(grid.selection().empty()); // back where it started
    grid.keyDown({GridKeyCode::End, true, true});
    EXPECT_EQ(grid.selection(), (std::vector<CellRange>{{3, 2, 30, 5}}));
    grid.keyDown({GridKeyCode::Down});
    EXPECT_TRUE(grid.selection().empty());
    EXPECT_EQ(grid.currentCell(), (CellPos{4, 2}));

    // While editing, shift with left and right belongs to the editor.
    ASSERT_TRUE(grid.beginEdit("abc"));
    EXPECT_FALSE(grid.keyDown({GridKeyCode::Left, true}));
    EXPECT_TRUE(grid.selection().empty());
    // Escape drops the edit; without one it is left to the window (a dialog closes).
    EXPECT_TRUE(grid.keyDown({GridKeyCode::Escape}));
    EXPECT_FALSE(grid.isEditing());
    EXPECT_FALSE(grid.keyDown({GridKeyCode::Escape}));
}

TEST(GridSelection, AttachingToAnotherStateEndsTheEditAndTheSelection) {
    Grid grid;
    SelectionListener listener;
    grid.setListener(&listener);
    sized(grid, 5, 5);
    grid.selectRows(1, 2);
    ASSERT_TRUE(grid.beginEdit("halvfärdig"));
    const int edits = listener.edits;
    GridState other;
    other.setRowCount(2);
    other.setColCount(2);
    grid.attach(other);
    EXPECT_FALSE(grid.isEditing());
    EXPECT_GT(listener.edits, edits); // the widget closes its editor
    EXPECT_TRUE(grid.selection().empty());
    EXPECT_EQ(other.text(1, 1), "");
}

} // namespace
} // namespace kv
