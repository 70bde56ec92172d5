#include "grid/GridDelegate.h"

#include "grid/GridEditor.h"
#include "grid/GridModel.h"

#include <QAbstractItemView>
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
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!(current && m_grid.isEditing())) {
        const int pad = padding(m_grid.zoom());
        painter->setClipRect(rect);
        painter->setFont(index.data(Qt::FontRole).value<QFont>());
        painter->setPen(index.data(Qt::ForegroundRole).value<QBrush>().color());
        const auto align = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
        // A left-aligned text runs to the cell's edge, where an empty neighbour takes it on.
        const bool runsOn = (align & (Qt::AlignRight | Qt::AlignHCenter)) == 0;
        const QRect room = runsOn ? rect.adjusted(pad, 0, 0, 0) : rect.adjusted(pad, 0, -pad, 0);
        painter->drawText(room, static_cast<int>(align) | (runsOn ? Qt::TextDontClip : 0), text);
        painter->setClipping(false);
    }
    if (!m_grid.isPrintLike()) {
        painter->setPen(kGridLine);
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    }
    if (text.isEmpty() && !(current && m_grid.isEditing())) {
        paintOverflow(painter, option, index);
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

void GridDelegate::paintOverflow(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    // As in a spreadsheet: a left-aligned text longer than its cell goes on over the empty cells after it.
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (view == nullptr) {
        return;
    }
    const CellPos cell = GridModel::cellOf(index);
    for (std::int32_t col = cell.col - 1; col >= 1; --col) {
        const bool editing = m_grid.isEditing() && m_grid.currentCell() == CellPos{cell.row, col};
        const QModelIndex source = index.sibling(index.row(), col - 1);
        const QString text = source.data(Qt::DisplayRole).toString();
        if (text.isEmpty() && !editing) {
            continue;
        }
        const auto align = Qt::Alignment(source.data(Qt::TextAlignmentRole).toInt());
        if (editing || (align & (Qt::AlignRight | Qt::AlignHCenter)) != 0) {
            return;
        }
        const QFont font = source.data(Qt::FontRole).value<QFont>();
        const int left = view->visualRect(source).left() + padding(m_grid.zoom());
        if (left + QFontMetrics(font).horizontalAdvance(text) <= option.rect.left()) {
            return;
        }
        painter->save();
        painter->setClipRect(option.rect);
        painter->setFont(font);
        painter->setPen(source.data(Qt::ForegroundRole).value<QBrush>().color());
        const QRect line(left, option.rect.top(), option.rect.right() - left + 1, option.rect.height());
        painter->drawText(line, static_cast<int>(align), text);
        painter->restore();
        return;
    }
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
