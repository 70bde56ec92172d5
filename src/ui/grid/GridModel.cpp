#include "grid/GridModel.h"

#include "grid/GridCellLook.h"
#include "grid/GridPrintLayout.h"

#include <QBrush>

namespace kv::ui {

namespace {

const QColor kPaper(Qt::white);
const QColor kReadOnlyShade(0xF3, 0xF4, 0xF6);
const QColor kInk(0x1E, 0x1E, 0x1E);

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

GridModel::GridModel(Grid& grid, QObject* parent)
    : QAbstractTableModel(parent), m_grid(grid), m_rows(grid.rowCount()), m_cols(grid.colCount()) {}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_cols;
}

QModelIndex GridModel::indexOf(CellPos cell) const {
    return index(cell.row - 1, cell.col - 1);
}

CellPos GridModel::cellOf(const QModelIndex& index) {
    return {index.row() + 1, index.column() + 1};
}

void GridModel::setGridFont(const QFont& font) {
    m_font = font;
}

QString GridModel::columnLetters(int col) {
    QString letters;
    for (int n = col; n > 0; n = (n - 1) / 26) {
        letters.prepend(QChar('A' + (n - 1) % 26));
    }
    return letters;
}

QVariant GridModel::styleData(const CellStyle& style, CellPos cell, int role) const {
    switch (role) {
    case Qt::FontRole:
        return cellFont(m_font, style, m_grid.zoom());
    case Qt::ForegroundRole:
        return QBrush(style.textColor ? toQColor(*style.textColor) : kInk);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(toQtAlignment(displayAlign(style, cell.row, cell.col)) | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const CellPos cell = cellOf(index);
    const CellStyle& style = m_grid.style(cell.row, cell.col);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return qs(m_grid.storedText(cell.row, cell.col));
    case Qt::BackgroundRole:
        if (style.background) {
            return QBrush(toQColor(*style.background));
        }
        // Cells the user cannot change are shaded, except in the printed look.
        return QBrush(style.readOnly && !m_grid.isPrintLike() ? kReadOnlyShade : kPaper);
    default:
        return styleData(style, cell, role);
    }
}

QVariant GridModel::titleData(std::int32_t row, std::int32_t col, int role) const {
    const std::string& text = m_grid.storedText(row, col);
    const CellStyle& style = m_grid.style(row, col);
    switch (role) {
    case Qt::DisplayRole:
        if (!text.empty()) {
            return qs(text);
        }
        // Unwritten titles are numbers and letters on screen; paper shows none.
        if (m_grid.isPrintLike()) {
            return QString();
        }
        return row == 0 ? columnLetters(col) : QString::number(row);
    case Qt::BackgroundRole:
        return style.background ? QVariant(QBrush(toQColor(*style.background))) : QVariant();
    case Qt::ForegroundRole:
        return style.textColor ? QVariant(QBrush(toQColor(*style.textColor))) : QVariant();
    case Qt::TextAlignmentRole:
        if (row == 0) {
            // A column title longer than its column goes on over more lines (after a hyphen, say).
            return QVariant::fromValue(styleData(style, {row, col}, role).value<Qt::Alignment>() |
                                       Qt::TextWordWrap);
        }
        return styleData(style, {row, col}, role);
    case Qt::FontRole:
        return styleData(style, {row, col}, role);
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        return titleData(0, section + 1, role);
    }
    return titleData(section + 1, 0, role);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    const CellPos cell = cellOf(index);
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (m_grid.isEditable(cell.row, cell.col)) {
        result |= Qt::ItemIsEditable;
    }
    return result;
}

bool GridModel::refresh() {
    if (m_rows != m_grid.rowCount() || m_cols != m_grid.colCount()) {
        beginResetModel();
        m_rows = m_grid.rowCount();
        m_cols = m_grid.colCount();
        endResetModel();
        return true;
    }
    if (m_rows > 0 && m_cols > 0) {
        emit dataChanged(index(0, 0), index(m_rows - 1, m_cols - 1));
    }
    if (m_cols > 0) {
        emit headerDataChanged(Qt::Horizontal, 0, m_cols - 1);
    }
    if (m_rows > 0) {
        emit headerDataChanged(Qt::Vertical, 0, m_rows - 1);
    }
    return false;
}

void GridModel::cellsChanged(const CellRange& range) {
    const int firstCol = std::max(0, range.left - 1);
    const int lastCol = std::min(m_cols - 1, range.right - 1);
    if (range.top == 0 && firstCol <= lastCol) {
        emit headerDataChanged(Qt::Horizontal, firstCol, lastCol);
    }
    const int firstRow = std::max(0, range.top - 1);
    const int lastRow = std::min(m_rows - 1, range.bottom - 1);
    if (range.left == 0 && firstRow <= lastRow) {
        emit headerDataChanged(Qt::Vertical, firstRow, lastRow);
    }
    if (firstRow <= lastRow && firstCol <= lastCol) {
        emit dataChanged(index(firstRow, firstCol), index(lastRow, lastCol));
    }
}

} // namespace kv::ui
