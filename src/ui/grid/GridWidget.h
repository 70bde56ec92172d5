// A cell grid on screen: shows a core Grid and forwards the user's events to
// it. The rules live in the Grid's hooks; this widget only shows.
#pragma once

#include "grid/Grid.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class QTableView;
class QPrinter;

namespace kv {
class Prompter;
}

namespace kv::ui {

class GridDelegate;
class GridFindDialog;
class GridModel;
class GridView;

// How a grid whose owner gave no prompter tells the user something: a message
// box over `over` (the grid, or its find window while that shows).
using GridMessageBox = std::function<void(QWidget* over, const std::string& text)>;

class GridWidget : public QWidget, private GridListener {
    Q_OBJECT
public:
    explicit GridWidget(QWidget* parent = nullptr);
    // Shows a grid that a presentation model owns; it must outlive the widget.
    explicit GridWidget(Grid& grid, QWidget* parent = nullptr);
    ~GridWidget() override;

    [[nodiscard]] Grid& grid();
    // The table inside, for tests and for placing the focus.
    [[nodiscard]] QTableView* view() const;

    // Who tells the user what a search or a replace came to: the owner's
    // prompter, which must outlive the widget or be taken back (nullptr);
    // without one, the program's message box (setMessageBox).
    void setPrompter(Prompter* prompter) { m_prompter = prompter; }
    // The message box of every grid without a prompter: the window program
    // sets its own at start; until then a plain warning box with "OK".
    static void setMessageBox(GridMessageBox show);

    // Lines printed at the top of every page (a report's title and period).
    void setPrintHeading(const QStringList& lines);

    // Column widths are kept in the grid as the program's layout gives them;
    // a dialog whose font is wider than that layout's shows them this much wider.
    void setWidthScale(double scale);
    // Wide enough for every column, the row titles and the scroll bar.
    [[nodiscard]] int naturalWidth() const;
    [[nodiscard]] const QStringList& printHeading() const { return m_printHeading; }

    // Enable and check state of the commands, for the menus.
    [[nodiscard]] bool canUndo() const;
    [[nodiscard]] bool canRedo() const;
    [[nodiscard]] bool hasSelection() const;
    [[nodiscard]] bool canZoomIn() const;
    [[nodiscard]] bool canZoomOut() const;
    [[nodiscard]] bool isReadOnly() const;
    [[nodiscard]] bool isPrintLike() const;

public slots:
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    void clearSelection(); // the Delete command
    void zoomIn();
    void zoomOut();
    void zoomNormal();
    void toggleReadOnly();
    void togglePrintLike();
    void insertRows();
    void removeRows();
    void insertColumns();
    void removeColumns();
    void alignLeft();
    void alignCenter();
    void alignRight();
    void toggleBold();
    void toggleItalic();
    void toggleUnderline();
    void formatCells(); // the cell-format dialog
    void find();        // the find dialog
    void replace();     // the replace dialog
    void findAgain();
    // Paints the whole grid, page by page (the print and preview commands).
    void print(QPrinter* printer);
    // The print dialog, then printing; and the print preview window.
    void printWithDialog();
    void printPreview();

signals:
    // The enable or check state of a command may have changed.
    void commandStateChanged();
    // The grid's cells, styles or layout changed.
    void gridChanged();

protected:
    void changeEvent(QEvent* event) override;

private:
    GridWidget(Grid* shown, QWidget* parent); // nullptr: a grid of its own

    // GridListener: the grid tells what to show again.
    void gridCellsChanged(const CellRange& range) override;
    void gridLayoutChanged() override;
    void gridCurrentCellChanged() override;
    void gridEditChanged() override;
    void gridScrollTo(CellPos cell) override;
    void gridFocus() override;
    void gridSelectionChanged() override;

    void applyLayout();
    void applyRowHeights();
    void applyTitleHeight();
    void scheduleRowHeights();
    void showCurrentCell();
    void closeEditor();
    void openFindDialog(bool replacing);
    void findNext(const FindOptions& options);
    void replaceOne(const FindOptions& options, const std::string& replacement);
    void replaceAll(const FindOptions& options, const std::string& replacement);
    void tell(const FindOutcome& outcome);

    // Declared in this order so that the view goes first and the grid last:
    // a view being torn down still asks its model, which asks the grid.
    std::unique_ptr<Grid> m_ownGrid;
    Grid& m_grid;
    std::unique_ptr<GridModel> m_model;
    std::unique_ptr<GridDelegate> m_delegate;
    std::unique_ptr<GridView> m_view;
    QPointer<GridFindDialog> m_findDialog;
    Prompter* m_prompter = nullptr;
    QPersistentModelIndex m_editorIndex;
    QStringList m_printHeading;
    std::vector<int> m_tallRows; // rows given more height for a large font
    double m_widthScale = 1.0;
    bool m_applyingLayout = false;
    bool m_rowHeightsPending = false;
};

} // namespace kv::ui
