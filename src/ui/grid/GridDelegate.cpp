#include "grid/GridDelegate.h"

#include "grid/GridEditor.h"
#include "grid/GridModel.h"

#include <QPainter>

namespace kv::ui {

namespace {

const QColor kGridLine(0xD5, 0xD8, 0xDC);
const QColor kSelectionTint(0x1A, 0x5F, 0xB4, 0x38);
const QColor kCurrentFrame(0x1A, 0x5F, 0xB4);
const QColor kCurrentFrameInactive(0x8A, 0x93, 0x9E);

int padding(int zoom) {
    return std::max(2, 4 * zoom / 100);
}

} // namespace

GridDelegate::GridDelegate(Grid& grid, QObject* parent) : QStyledItemDelegate(parent), m_grid(grid) {}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    const CellPos cell = GridModel::cellOf(index);
    const bool current = cell == m_grid.currentCell();
    const QRect rect = option.rect;
    painter->save();
    painter->fillRect(rect, index.data(Qt::BackgroundRole).value<QBrush>());
    if (m_grid.isSelected(cell.row, cell.col)) {
        painter->fillRect(rect, kSelectionTint);
    }
    if (!(current && m_grid.isEditing())) {
        const int pad = padding(m_grid.zoom());
        painter->setClipRect(rect);
        painter->setFont(index.data(Qt::FontRole).value<QFont>());
        painter->setPen(index.data(Qt::ForegroundRole).value<QBrush>().color());
        const auto align = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
        painter->drawText(rect.adjusted(pad, 0, -pad, 0), static_cast<int>(align),
                          index.data(Qt::DisplayRole).toString());
        painter->setClipping(false);
    }
    if (!m_grid.isPrintLike()) {
        painter->setPen(kGridLine);
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    }
    if (current) {
        const bool active = option.widget != nullptr && option.widget->hasFocus();
        QPen frame(active || m_grid.isEditing() ? kCurrentFrame : kCurrentFrameInactive);
        frame.setWidth(2);
        frame.setJoinStyle(Qt::MiterJoin);
        painter->setPen(frame);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRectF(rect).adjusted(1, 1, -1, -1));
    }
    painter->restore();
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const {
    auto* editor = new GridEditor(m_grid, parent); // owned by the view, which destroys it when the edit ends
    editor->setFont(index.data(Qt::FontRole).value<QFont>());
    editor->setAlignment(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()));
    QPalette palette = editor->palette();
    palette.setBrush(QPalette::Base, index.data(Qt::BackgroundRole).value<QBrush>());
    palette.setColor(QPalette::Text, index.data(Qt::ForegroundRole).value<QBrush>().color());
    editor->setPalette(palette);
    connect(editor, &GridEditor::keyHandled, this, &GridDelegate::editorKeyHandled);
    m_editor = editor;
    return editor;
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex&) const {
    if (auto* line = qobject_cast<GridEditor*>(editor)) {
        line->showEditText();
    }
}

void GridDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const {
    // The grid stores the text itself when the edit ends and passes validation.
}

void GridDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex&) const {
    // Inside the current cell's frame.
    editor->setGeometry(option.rect.adjusted(2, 2, -2, -2));
}

bool GridDelegate::eventFilter(QObject* object, QEvent* event) {
    return QObject::eventFilter(object, event);
}

} // namespace kv::ui
