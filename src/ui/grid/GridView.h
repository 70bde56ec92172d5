// The table view of a grid: hands the user's keys and mouse, on the cells and
// on the titles, to the core Grid, which decides what moves and what is
// selected. The view keeps no selection of its own.
#pragma once

#include "grid/Grid.h"

#include <QTableView>

class QHeaderView;

namespace kv::ui {

class GridView : public QTableView {
    Q_OBJECT
public:
    GridView(Grid& grid, QWidget* parent = nullptr);

    void selectAll() override;
    // Lays out the headers and scroll bars again (after the titles changed size).
    void relayout() { updateGeometries(); }

signals:
    // Something the user did may have changed what the commands can do.
    void userActed();
    void copyRequested();
    void cutRequested();
    void pasteRequested();
    void undoRequested();
    void redoRequested();
    void zoomRequested(bool in);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* object, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The cell under a point of the viewport; outside it, the nearest cell
    // one step beyond the visible ones, so that dragging scrolls.
    [[nodiscard]] CellPos cellNear(QPoint pos) const;
    [[nodiscard]] static int sectionNear(const QHeaderView& header, int pos);
    [[nodiscard]] bool onSectionEdge(const QHeaderView& header, QPoint pos) const;
    bool titleMouseEvent(QHeaderView& header, QEvent* event);
    bool standardCommand(QKeyEvent* event);

    Grid& m_grid;
    bool m_draggingCells = false;
    QHeaderView* m_draggingTitles = nullptr;
};

} // namespace kv::ui
