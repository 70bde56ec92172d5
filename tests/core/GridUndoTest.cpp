#include "grid/Grid.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

void type(Grid& grid, CellPos cell, const std::string& text) {
    grid.moveCurrentCell(cell);
    grid.beginEdit(text);
    grid.endEdit();
}

// A form's store with rules of its own: undo is on from the start, restores
// one cell only, and there is no redo.
class CountingStore : public GridUndoStore {
public:
    void remember(const GridState&, CellPos, RememberCause cause) override { causes.push_back(cause); }
    [[nodiscard]] bool canUndo() const override { return undoable; }
    [[nodiscard]] bool canRedo() const override { return false; }
    bool undo(GridState& state, CellPos&) override {
        ++undos;
        state.setText(1, 1, "från lagret");
        undoable = false;
        return true;
    }
    bool redo(GridState&, CellPos&) override {
        ++redos;
        return false;
    }
    void clear() override { ++clears; }

    bool undoable = true;
    std::vector<RememberCause> causes;
    int undos = 0;
    int redos = 0;
    int clears = 0;
};

TEST(GridUndo, APluggedStoreIsTheOneAsked) {
    Grid grid;
    grid.setRowCount(3);
    grid.setColCount(2);
    CountingStore store;
    grid.setUndoStore(&store);
    EXPECT_TRUE(grid.canUndo()); // the store's word, before any change

    type(grid, {2, 1}, "ett");
    grid.rememberForUndo();
    EXPECT_EQ(store.causes, (std::vector{RememberCause::GridChange, RememberCause::Requested}));

    ASSERT_TRUE(grid.undo());
    EXPECT_EQ(store.undos, 1);
    EXPECT_EQ(grid.text(1, 1), "från lagret");
    EXPECT_EQ(grid.text(2, 1), "ett"); // what the store does not restore stays
    EXPECT_FALSE(grid.canUndo());
    EXPECT_FALSE(grid.canRedo());
    EXPECT_FALSE(grid.redo());
    EXPECT_EQ(store.redos, 1);

    // Unplugged, the grid's own store takes over with an empty history.
    grid.setUndoStore(nullptr);
    EXPECT_FALSE(grid.canUndo());
    type(grid, {3, 2}, "två");
    ASSERT_TRUE(grid.undo());
    EXPECT_EQ(grid.text(3, 2), "");
    EXPECT_EQ(store.undos, 1);
    EXPECT_EQ(store.causes.size(), 2U);
}

TEST(GridUndo, TheGridsOwnStoreKeepsTheLastHundredChanges) {
    Grid grid;
    grid.setRowCount(2);
    grid.setColCount(1);
    const auto changes = static_cast<int>(Grid::kUndoDepth) + 5;
    for (int i = 1; i <= changes; ++i) {
        type(grid, {1, 1}, std::to_string(i));
    }
    int undone = 0;
    while (grid.undo()) {
        ++undone;
    }
    EXPECT_EQ(undone, static_cast<int>(Grid::kUndoDepth));
    EXPECT_EQ(grid.text(1, 1), "5"); // the state before the oldest change kept
    EXPECT_TRUE(grid.canRedo());
    ASSERT_TRUE(grid.redo());
    EXPECT_EQ(grid.text(1, 1), "6");
}

} // namespace
} // namespace kv
