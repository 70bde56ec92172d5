#include "budget/BudgetGrid.h"

#include <cctype>

namespace kv {

namespace {

// Widths in the program's layout units, as the chart editors give theirs.
constexpr std::int32_t kRowTitleWidth = 22;
constexpr std::int32_t kAccountWidth = 50;
constexpr std::int32_t kNameWidth = 190;
constexpr std::int32_t kYearWidth = 95;
constexpr std::int32_t kMonthWidth = 80;
constexpr Rgb kRemovedText = rgb(128, 128, 128);
constexpr Rgb kResultBackground = rgb(236, 236, 236);

} // namespace

BudgetGrid::BudgetGrid(BudgetEditorModel& model, Prompter& prompter) : m_model(model), m_prompter(prompter) {
    m_grid.setHooks(this);
    m_grid.setUndoStore(&m_noUndo);
    m_model.setListener([this] {
        refresh();
        if (m_listener) {
            m_listener();
        }
    });
    refresh();
    m_grid.placeCurrentCell({1, BudgetEditorModel::kColYear + 1});
}

BudgetGrid::~BudgetGrid() {
    m_model.setListener({});
    m_grid.setHooks(nullptr);
    m_grid.setUndoStore(nullptr);
}

std::int32_t BudgetGrid::modelRow(std::int32_t gridRow) const {
    return gridRow >= 1 && gridRow <= m_model.rowCount() ? gridRow - 1 : -1;
}

bool BudgetGrid::userEditable(std::int32_t gridRow, std::int32_t col) const {
    const std::int32_t row = modelRow(gridRow);
    return row >= 0 && m_model.isEditable(row, col - 1);
}

void BudgetGrid::layOut() {
    GridState& state = m_grid.state();
    const std::int32_t cols = m_model.columnCount();
    m_grid.setColCount(cols);
    m_grid.setRowCount(m_model.rowCount() + 1);
    const std::vector<std::string> titles = m_model.columnTitles();
    for (std::int32_t col = 1; col <= cols; ++col) {
        state.setText(0, col, titles[static_cast<std::size_t>(col - 1)]);
        const std::int32_t modelCol = col - 1;
        m_grid.setColumnWidth(col, modelCol == BudgetEditorModel::kColAccount ? kAccountWidth
                                   : modelCol == BudgetEditorModel::kColName  ? kNameWidth
                                   : modelCol == BudgetEditorModel::kColYear  ? kYearWidth
                                                                              : kMonthWidth);
        CellStyle title;
        title.align = modelCol >= BudgetEditorModel::kColYear ? HAlign::Right : HAlign::Left;
        state.setStyle(0, col, title);
    }
    m_grid.setColumnWidth(0, kRowTitleWidth);
}

void BudgetGrid::writeCells(std::int32_t gridRow) {
    GridState& state = m_grid.state();
    const std::int32_t row = modelRow(gridRow);
    const bool result = gridRow == resultRow();
    for (std::int32_t col = 1; col <= m_model.columnCount(); ++col) {
        const std::int32_t modelCol = col - 1;
        CellStyle style;
        style.readOnly = !userEditable(gridRow, col);
        style.align = modelCol >= BudgetEditorModel::kColYear ? HAlign::Right : HAlign::Left;
        std::string text;
        if (result) {
            style.bold = true;
            style.background = kResultBackground;
            if (modelCol == BudgetEditorModel::kColName) {
                text = kBudgetResultRow;
            } else if (modelCol >= BudgetEditorModel::kColYear) {
                text = formatOre(m_model.incomeResult(modelCol));
            }
        } else {
            text = m_model.cellText(row, modelCol);
            if (m_model.row(row).kind == BudgetRowKind::Removed) {
                style.textColor = kRemovedText;
            }
        }
        if (!m_pending.contains({gridRow, col})) {
            state.setText(gridRow, col, std::move(text));
        }
        state.setStyle(gridRow, col, style);
    }
}

void BudgetGrid::refresh() {
    if (m_grid.rowCount() != m_model.rowCount() + 1 || m_grid.colCount() != m_model.columnCount()) {
        layOut();
    }
    for (std::int32_t row = 1; row <= resultRow(); ++row) {
        writeCells(row);
    }
    m_grid.redraw();
}

bool BudgetGrid::validateCell(Grid& grid, std::int32_t row, std::int32_t col) {
    if (grid.text(row, col) == grid.storedText(row, col)) {
        return true; // opened and left as it was
    }
    const TypedBudgetAmount typed = readBudgetAmount(grid.text(row, col));
    if (!typed.amount) {
        m_prompter.message(typed.refusal);
        return false;
    }
    startBatch();
    return true;
}

void BudgetGrid::startBatch() {
    m_pending.clear();
    m_toldInBatch = false;
}

bool BudgetGrid::clearCells(Grid&) {
    startBatch();
    return true;
}

bool BudgetGrid::cut(Grid&) {
    startBatch();
    return true;
}

bool BudgetGrid::paste(Grid&) {
    startBatch();
    return true;
}

void BudgetGrid::cellChanged(Grid& grid, std::int32_t row, std::int32_t col) {
    // The first report of a change: every cell that differs from the model
    // now is one the grid changed and will report.
    if (m_pending.empty()) {
        for (std::int32_t r = 1; r <= m_model.rowCount(); ++r) {
            for (std::int32_t c = 1; c <= m_model.columnCount(); ++c) {
                if (userEditable(r, c) && grid.storedText(r, c) != m_model.cellText(r - 1, c - 1)) {
                    m_pending.insert({r, c});
                }
            }
        }
    }
    m_pending.erase({row, col});
    if (userEditable(row, col)) {
        const std::optional<std::string> refusal =
            m_model.typeCell(modelRow(row), col - 1, grid.storedText(row, col));
        if (!refusal) {
            return; // the model told its listener, and the grid shows it
        }
        if (!m_toldInBatch) {
            m_toldInBatch = true;
            m_prompter.message(*refusal);
        }
    }
    refresh(); // the cell shows the model's amount again
}

} // namespace kv
