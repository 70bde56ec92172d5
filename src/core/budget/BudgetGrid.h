// The budget window's grid: the cells of a BudgetEditorModel in a Grid, so
// that the program's grid widget shows them and the user types, moves,
// deletes and pastes as in the other grids. Every typed amount goes to the
// model; the grid only ever shows the model's texts.
#pragma once

#include "budget/BudgetEditorModel.h"
#include "grid/Grid.h"
#include "interaction/Prompter.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <utility>

namespace kv {

// The name of the grid's last line: the budgeted result of the income chart.
inline constexpr const char* kBudgetResultRow = "Budgeterat resultat";

class BudgetGrid : private GridHooks {
public:
    // The model outlives the grid; refusals of typed cells go to prompter.
    BudgetGrid(BudgetEditorModel& model, Prompter& prompter);
    ~BudgetGrid() override;
    BudgetGrid(const BudgetGrid&) = delete;
    BudgetGrid& operator=(const BudgetGrid&) = delete;

    [[nodiscard]] Grid& grid() { return m_grid; }
    [[nodiscard]] const Grid& grid() const { return m_grid; }

    // The model's row of a grid row, or -1 for the title row and the result row.
    [[nodiscard]] std::int32_t modelRow(std::int32_t gridRow) const;
    // The grid row of the result line, the last.
    [[nodiscard]] std::int32_t resultRow() const { return m_model.rowCount() + 1; }

    // Told after every change of the model's rows or amounts, once the grid shows it.
    void setListener(std::function<void()> listener) { m_listener = std::move(listener); }

    // Writes every cell again from the model.
    void refresh();

private:
    // GridHooks
    bool validateCell(Grid& grid, std::int32_t row, std::int32_t col) override;
    void cellChanged(Grid& grid, std::int32_t row, std::int32_t col) override;
    bool clearCells(Grid& grid) override;
    bool cut(Grid& grid) override;
    bool paste(Grid& grid) override;

    void startBatch();
    void layOut();
    void writeCells(std::int32_t gridRow);
    [[nodiscard]] bool userEditable(std::int32_t gridRow, std::int32_t col) const;

    // Undo would put back texts that the model no longer holds: the budget keeps none.
    class NoUndo : public GridUndoStore {
    public:
        void remember(const GridState&, CellPos, RememberCause) override {}
        [[nodiscard]] bool canUndo() const override { return false; }
        [[nodiscard]] bool canRedo() const override { return false; }
        bool undo(GridState&, CellPos&) override { return false; }
        bool redo(GridState&, CellPos&) override { return false; }
        void clear() override {}
    };

    BudgetEditorModel& m_model;
    Prompter& m_prompter;
    NoUndo m_noUndo;
    Grid m_grid;
    std::function<void()> m_listener;
    // Cells the grid changed that the model has not taken yet: a paste or a
    // Delete changes many cells first and reports them one by one after.
    std::set<std::pair<std::int32_t, std::int32_t>> m_pending;
    bool m_toldInBatch = false;
};

} // namespace kv
