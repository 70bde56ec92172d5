#include "grid/GridView.h"

#include "grid/GridKeys.h"
#include "grid/GridModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QWheelEvent>

namespace kv::ui {

GridView::GridView(Grid& grid, QWidget* parent) : QTableView(parent), m_grid(grid) {
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::NoFrame);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setMinimumSectionSize(8);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(6);
    horizontalHeader()->viewport()->installEventFilter(this);
    verticalHeader()->viewport()->installEventFilter(this);
}

void GridView::selectAll() {
    m_grid.selectAll();
    emit userActed();
}

bool GridView::event(QEvent* event) {
    // The grid's own clipboard, undo and Delete win over a window's shortcut
    // for the same key, so that a grid in a dialog and one in a report window
    // behave alike.
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Cut) ||
            key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Undo) ||
            key->matches(QKeySequence::Redo) || key->matches(QKeySequence::SelectAll) ||
            key->key() == Qt::Key_Delete) {
            event->accept();
            return true;
        }
    }
    return QTableView::event(event);
}

bool GridView::standardCommand(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        emit copyRequested();
    } else if (event->matches(QKeySequence::Cut)) {
        emit cutRequested();
    } else if (event->matches(QKeySequence::Paste)) {
        emit pasteRequested();
    } else if (event->matches(QKeySequence::Undo)) {
        emit undoRequested();
    } else if (event->matches(QKeySequence::Redo)) {
        emit redoRequested();
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else {
        return false;
    }
    return true;
}

void GridView::keyPressEvent(QKeyEvent* event) {
    if (m_grid.keyDown(toGridKey(*event))) {
        emit userActed();
        return;
    }
    if (standardCommand(event)) {
        return;
    }
    // Typing starts an edit that replaces the cell's text.
    const QString text = event->text();
    const bool command =
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
    if (!command && !text.isEmpty() && text.at(0).isPrint()) {
        m_grid.beginEdit(text.toStdString());
        emit userActed();
        return;
    }
    event->ignore();
}

CellPos GridView::cellNear(QPoint pos) const {
    int row = rowAt(pos.y());
    if (row < 0) {
        const int lastVisible = rowAt(viewport()->height() - 1);
        row = pos.y() < 0 ? rowAt(0) - 1 : (lastVisible >= 0 ? lastVisible + 1 : model()->rowCount() - 1);
    }
    int col = columnAt(pos.x());
    if (col < 0) {
        const int lastVisible = columnAt(viewport()->width() - 1);
        col =
            pos.x() < 0 ? columnAt(0) - 1 : (lastVisible >= 0 ? lastVisible + 1 : model()->columnCount() - 1);
    }
    return {row + 1, col + 1}; // the grid clamps to its cells
}

void GridView::mousePressEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!m_grid.isEditing()) {
        setFocus(Qt::MouseFocusReason);
    }
    if (!index.isValid()) {
        return;
    }
    const CellPos cell = GridModel::cellOf(index);
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if (event->button() == Qt::LeftButton) {
        m_draggingCells = m_grid.pressCell(cell, modifiers.testFlag(Qt::ShiftModifier),
                                           modifiers.testFlag(Qt::ControlModifier));
    } else if (!m_grid.isSelected(cell.row, cell.col)) {
        // Another button on a cell outside the selection makes that cell current.
        m_grid.pressCell(cell);
        m_grid.releasePointer();
    }
    emit userActed();
}

void GridView::mouseMoveEvent(QMouseEvent* event) {
    if (m_draggingCells && event->buttons().testFlag(Qt::LeftButton)) {
        m_grid.dragTo(cellNear(event->position().toPoint()));
    }
}

void GridView::mouseReleaseEvent(QMouseEvent* event) {
    if (m_draggingCells && event->button() == Qt::LeftButton) {
        m_grid.releasePointer();
        m_draggingCells = false;
        emit userActed();
    }
}

void GridView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() &&
        GridModel::cellOf(index) == m_grid.currentCell()) {
        m_grid.beginEdit();
        emit userActed();
    }
}

void GridView::wheelEvent(QWheelEvent* event) {
    if (event->modifiers().testFlag(Qt::ControlModifier) && event->angleDelta().y() != 0) {
        emit zoomRequested(event->angleDelta().y() > 0);
        return;
    }
    QTableView::wheelEvent(event);
}

void GridView::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    viewport()->update(); // the current cell's frame shows the focus
}

void GridView::focusOutEvent(QFocusEvent* event) {
    QTableView::focusOutEvent(event);
    viewport()->update();
}

// ---- titles ----

int GridView::sectionNear(const QHeaderView& header, int pos) {
    const int section = header.logicalIndexAt(pos);
    if (section >= 0) {
        return section;
    }
    return pos < 0 ? std::max(0, header.logicalIndexAt(0) - 1) : header.count() - 1;
}

bool GridView::onSectionEdge(const QHeaderView& header, QPoint pos) const {
    if (header.orientation() != Qt::Horizontal || header.sectionResizeMode(0) == QHeaderView::Fixed) {
        return false;
    }
    const int margin = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, &header);
    const int section = sectionNear(header, pos.x());
    if (section < 0) {
        return false;
    }
    const int left = header.sectionViewportPosition(section);
    const int right = left + header.sectionSize(section);
    return std::abs(pos.x() - right) <= margin || (section > 0 && std::abs(pos.x() - left) <= margin);
}

bool GridView::titleMouseEvent(QHeaderView& header, QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint pos = mouse->position().toPoint();
    const bool columns = header.orientation() == Qt::Horizontal;
    const int along = columns ? pos.x() : pos.y();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        if (onSectionEdge(header, pos)) {
            return false; // the header resizes the column
        }
        if (mouse->button() != Qt::LeftButton || header.count() == 0) {
            return true;
        }
        if (!m_grid.isEditing()) {
            setFocus(Qt::MouseFocusReason);
        }
        const int title = sectionNear(header, along) + 1;
        const bool extend = mouse->modifiers().testFlag(Qt::ShiftModifier);
        const bool pressed =
            columns ? m_grid.pressColumnTitle(title, extend) : m_grid.pressRowTitle(title, extend);
        m_draggingTitles = pressed ? &header : nullptr;
        emit userActed();
        return true;
    }
    case QEvent::MouseMove:
        if (m_draggingTitles != &header) {
            return false;
        }
        if (mouse->buttons().testFlag(Qt::LeftButton)) {
            const int title = sectionNear(header, along) + 1;
            const CellPos current = m_grid.currentCell();
            m_grid.dragTo(columns ? CellPos{current.row, title} : CellPos{title, current.col});
        }
        return true;
    case QEvent::MouseButtonRelease:
        if (m_draggingTitles != &header) {
            return false;
        }
        m_grid.releasePointer();
        m_draggingTitles = nullptr;
        emit userActed();
        return true;
    case QEvent::MouseButtonDblClick:
        return !onSectionEdge(header, pos);
    default:
        return false;
    }
}

bool GridView::eventFilter(QObject* object, QEvent* event) {
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        if (object == header->viewport()) {
            switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseMove:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
                return titleMouseEvent(*header, event);
            default:
                return QTableView::eventFilter(object, event);
            }
        }
    }
    return QTableView::eventFilter(object, event);
}

} // namespace kv::ui
