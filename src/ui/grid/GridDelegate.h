// Paints the cells (background, selection, text, grid lines, the current
// cell's frame) and makes the line editor of the cell being edited. Editing
// is opened and closed by the grid, never by the view on its own.
#pragma once

#include "grid/Grid.h"

#include <QPointer>
#include <QStyledItemDelegate>

namespace kv::ui {

class GridEditor;

class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    GridDelegate(Grid& grid, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    // The editor last made, while it lives.
    [[nodiscard]] GridEditor* editor() const { return m_editor; }

signals:
    void editorKeyHandled();

protected:
    // The grid decides when an edit ends: no commit on focus loss or keys here.
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    // The text of a filled cell to the left that runs on into this empty one.
    void paintOverflow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

    Grid& m_grid;
    mutable QPointer<GridEditor> m_editor;
};

} // namespace kv::ui
