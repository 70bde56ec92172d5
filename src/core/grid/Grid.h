// The behaviour of a cell grid: current cell, selection, editing with the
// program's hooks, clipboard text, undo and redo, find and replace, zoom,
// read-only and print-like modes and formatting of the selection. The grid
// widget of the window program shows a Grid and forwards the user's events
// to it; tests drive it directly.
#pragma once

#include "grid/GridSnapshotUndoStore.h"
#include "grid/GridState.h"
#include "grid/GridUndoStore.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kv {

class Grid;

// The keys the program reacts to; everything else arrives as Other or as text.
enum class GridKeyCode {
    Other,
    Delete,
    Backspace,
    Enter,
    Escape,
    Tab,
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    PageUp,
    PageDown,
    Divide,
    Plus,
    Minus,
    Multiply,
    F2
};

struct GridKey {
    GridKeyCode code = GridKeyCode::Other;
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool keypad = false; // pressed on the numeric keypad
};

// What the program decides about the user's actions; every hook may refuse.
class GridHooks {
public:
    virtual ~GridHooks() = default;
    // An edit of (row, col) ends; grid.text(row, col) is the text being entered.
    // Refuse after telling the user why: the edit text is emptied, the cell stays current.
    virtual bool validateCell(Grid& grid, std::int32_t row, std::int32_t col);
    // The user starts editing the current cell.
    virtual bool startEditing(Grid& grid, std::int32_t row, std::int32_t col);
    // The current cell is about to move; informs only.
    virtual void currentCellMoving(Grid& grid, CellPos from, CellPos to);
    // Vouchers: the current cell may move from one cell to another (any open
    // edit has ended). Refuse after telling the user why; the program may
    // place the current cell elsewhere itself (Grid::placeCurrentCell).
    virtual bool mayMoveCurrentCell(Grid& grid, CellPos from, CellPos to);
    // The stored text of a cell changed through the user.
    virtual void cellChanged(Grid& grid, std::int32_t row, std::int32_t col);
    // A key pressed in the grid; return true to swallow it.
    virtual bool keyDown(Grid& grid, const GridKey& key);
    // The Delete command on the selection.
    virtual bool clearCells(Grid& grid);
    virtual bool cut(Grid& grid);
    virtual bool copy(Grid& grid);
    virtual bool paste(Grid& grid);
    // The user tried to edit a cell that the program made read-only; the
    // program may say why.
    virtual void readOnlyCellTouched(Grid& grid, std::int32_t row, std::int32_t col);
};

// The widget's side: told what to redraw and where to scroll.
class GridListener {
public:
    virtual ~GridListener() = default;
    virtual void gridCellsChanged(const CellRange& range) = 0;
    virtual void gridLayoutChanged() = 0; // counts, widths, zoom, modes
    virtual void gridCurrentCellChanged() = 0;
    virtual void gridEditChanged() = 0; // editing began or ended, or its text changed
    virtual void gridScrollTo(CellPos cell) = 0;
    virtual void gridFocus() = 0;
    virtual void gridSelectionChanged() {}
};

struct FindOptions {
    std::string text;
    bool matchCase = false;
    bool wholeCell = false;
};

// What a search or a replace came to, and what to tell the user about it.
struct FindOutcome {
    std::optional<CellPos> found;       // the match that became the current cell
    std::int32_t replaced = 0;          // cells whose text was replaced
    std::optional<std::string> message; // for the user; none: nothing to tell

    bool operator==(const FindOutcome&) const = default;
};

class Grid {
public:
    static constexpr std::int32_t kMinZoom = 40;
    static constexpr std::int32_t kMaxZoom = 300;
    static constexpr std::size_t kUndoDepth = GridSnapshotUndoStore::kDepth;

    Grid();
    Grid(const Grid&) = delete;
    Grid& operator=(const Grid&) = delete;
    ~Grid();

    // Works on a state that someone else owns (the document) instead of its own.
    void attach(GridState& state);
    [[nodiscard]] GridState& state() { return *m_state; }
    [[nodiscard]] const GridState& state() const { return *m_state; }
    void setHooks(GridHooks* hooks) { m_hooks = hooks; }
    void setListener(GridListener* listener) { m_listener = listener; }

    // ---- the program's operations: no hooks, no undo ----
    [[nodiscard]] std::int32_t rowCount() const { return m_state->rowCount(); }
    [[nodiscard]] std::int32_t colCount() const { return m_state->colCount(); }
    void setRowCount(std::int32_t rows);
    void setColCount(std::int32_t cols);
    void insertRows(std::int32_t pos, std::int32_t count);
    void removeRows(std::int32_t first, std::int32_t last);
    void insertCols(std::int32_t pos, std::int32_t count);
    void removeCols(std::int32_t first, std::int32_t last);
    // The text of a cell; the text being entered while that cell is edited.
    [[nodiscard]] const std::string& text(std::int32_t row, std::int32_t col) const;
    [[nodiscard]] const std::string& storedText(std::int32_t row, std::int32_t col) const;
    void setText(std::int32_t row, std::int32_t col, std::string text);
    [[nodiscard]] const CellStyle& style(std::int32_t row, std::int32_t col) const;
    void setStyle(std::int32_t row, std::int32_t col, const CellStyle& style);
    template <typename Change> void changeStyle(const CellRange& range, Change change);
    void setColumnWidth(std::int32_t col, std::int32_t width);
    void scrollTo(CellPos cell);
    // Vouchers: makes a cell current without asking the hooks; an open edit is dropped.
    void placeCurrentCell(CellPos cell);
    void setFocus();
    void redraw();

    // ---- current cell and selection ----
    [[nodiscard]] CellPos currentCell() const { return m_current; }
    // Moves the current cell as the user does: an open edit ends first (and a
    // refused edit keeps the cell), the move hook is told. Returns false when
    // the cell stayed.
    bool moveCurrentCell(CellPos to);
    bool moveBy(std::int32_t rows, std::int32_t cols);
    [[nodiscard]] const std::vector<CellRange>& selection() const { return m_selection; }
    void setSelection(std::vector<CellRange> ranges);
    void selectRows(std::int32_t first, std::int32_t last);
    void selectCols(std::int32_t first, std::int32_t last);
    void selectAll();
    void clearSelection();
    [[nodiscard]] bool isSelected(std::int32_t row, std::int32_t col) const;
    // The first selected row and how many rows are selected (0 without a selection).
    [[nodiscard]] std::int32_t firstSelectedRow() const;
    [[nodiscard]] std::int32_t selectedRowCount() const;
    // The selection, or the current cell when nothing is selected.
    [[nodiscard]] CellRange effectiveRange() const;

    // ---- the user's mouse ----
    // A press on a cell makes it current without a selection; with extend it
    // selects from the current cell to the pressed one instead, and with add
    // it keeps the ranges selected so far. Returns false when the current
    // cell could not move (a refused edit).
    bool pressCell(CellPos cell, bool extend = false, bool add = false);
    // A press on a row or column title selects whole rows or columns.
    bool pressRowTitle(std::int32_t row, bool extend = false);
    bool pressColumnTitle(std::int32_t col, bool extend = false);
    // Dragging after a press selects from the pressed cell, row or column to
    // the one under the pointer; back on the pressed cell, nothing is selected.
    void dragTo(CellPos cell);
    void releasePointer();

    // ---- editing by the user ----
    [[nodiscard]] bool isEditable(std::int32_t row, std::int32_t col) const;
    bool beginEdit();
    bool beginEdit(std::string initialText); // typing over the cell
    [[nodiscard]] bool isEditing() const { return m_editing; }
    [[nodiscard]] const std::string& editText() const { return m_editText; }
    void setEditText(std::string text);
    // Ends the edit: validation, then the text is stored (undoable). Returns
    // false when the program refused; the cell then stays current and in edit
    // with an empty text.
    bool endEdit();
    void cancelEdit();
    // A key from the user: the program's hook first, then the grid's own handling.
    bool keyDown(const GridKey& key);

    // ---- commands on the selection ----
    bool clearSelectedCells();
    // Tab-separated text of the selected block, or nothing when refused.
    std::optional<std::string> copySelection();
    std::optional<std::string> cutSelection();
    // Pastes tab-separated text at the current cell, filling right and down.
    bool paste(const std::string& text);

    // Undo and redo are the undo store's: the grid's own snapshots unless a
    // form plugged in a store of its own, which must outlive the grid or be
    // unplugged (nullptr brings back the grid's own, emptied).
    void setUndoStore(GridUndoStore* store);
    [[nodiscard]] bool canUndo() const { return m_undo->canUndo(); }
    [[nodiscard]] bool canRedo() const { return m_undo->canRedo(); }
    bool undo();
    bool redo();
    // A change that the program makes for a command of the user (a dialog's
    // row command) becomes undoable: the store is handed the state before it.
    void rememberForUndo();

    // Searches from the cell after the current one, row by row, wrapping
    // around, and makes the match current. Tells that nothing was found,
    // unless the current cell could not be left (the program refused the
    // open edit and has said why).
    FindOutcome find(const FindOptions& options);
    // Repeats the last search; without one, finds and tells nothing.
    FindOutcome findAgain();
    // The search that findAgain repeats, if there was one.
    [[nodiscard]] const std::optional<FindOptions>& lastFind() const { return m_lastFind; }
    // Replaces in the current cell when it matches, then finds the next.
    FindOutcome replace(const FindOptions& options, const std::string& replacement);
    // Replaces in every cell the user may edit and tells how many changed.
    FindOutcome replaceAll(const FindOptions& options, const std::string& replacement);

    [[nodiscard]] std::int32_t zoom() const { return m_state->settings().zoom; }
    [[nodiscard]] bool canZoomIn() const { return zoom() < kMaxZoom; }
    [[nodiscard]] bool canZoomOut() const { return zoom() > kMinZoom; }
    void zoomIn();
    void zoomOut();
    void zoomNormal();
    [[nodiscard]] bool isReadOnly() const { return m_state->settings().readOnly; }
    void toggleReadOnly();
    [[nodiscard]] bool isPrintLike() const { return m_state->settings().printLike; }
    void togglePrintLike();

    // Formatting and structure commands of the user, on the selection (undoable).
    void alignSelection(HAlign align);
    void toggleBoldSelection();
    void toggleItalicSelection();
    void toggleUnderlineSelection();
    void applyStyleToSelection(const CellStyle& style);
    void insertRowsAtSelection();
    void removeSelectedRows();
    void insertColsAtSelection();
    void removeSelectedCols();

private:
    void remember(RememberCause cause = RememberCause::GridChange);
    void showRestored();
    void notifyCells(const CellRange& range);
    void notifyLayout();
    void notifyCurrent();
    void notifyEdit();
    void clampCurrent();
    void notifySelection();
    void applySelection(std::vector<CellRange> ranges);
    bool navigate(CellPos to);
    void extendSelection(const GridKey& key);
    [[nodiscard]] CellPos clamped(CellPos cell) const;
    bool matches(const std::string& cellText, const FindOptions& options) const;
    [[nodiscard]] bool anyCellMatches(const FindOptions& options) const;
    template <typename Change> void changeSelectionStyle(Change change);
    [[nodiscard]] bool selectionAll(bool CellStyle::*flag) const;

    std::unique_ptr<GridState> m_own;
    GridState* m_state;
    GridHooks* m_hooks = nullptr;
    GridListener* m_listener = nullptr;
    CellPos m_current{1, 1};
    std::vector<CellRange> m_selection;
    // Where a selection made by the keyboard or the mouse ends; the current
    // cell is its other corner.
    std::optional<CellPos> m_selectionEnd;
    enum class Drag { None, Cells, Rows, Cols };
    Drag m_drag = Drag::None;
    CellPos m_dragAnchor;
    std::vector<CellRange> m_keptRanges; // ranges selected before an adding press
    bool m_editing = false;
    std::string m_editText;
    GridSnapshotUndoStore m_ownUndo;
    GridUndoStore* m_undo = &m_ownUndo;
    std::optional<FindOptions> m_lastFind;
};

template <typename Change> void Grid::changeStyle(const CellRange& range, Change change) {
    m_state->changeStyle(range, change);
    notifyCells(range);
}

// Tab-separated clipboard text. A cell holding a tab, a line break or a quote
// is quoted, with its quotes doubled, so that any block pastes back as the
// same cells.
std::string toClipboardText(const std::vector<std::vector<std::string>>& cells);
std::vector<std::vector<std::string>> fromClipboardText(const std::string& text);

} // namespace kv
