// The item model over a core Grid: the data rows and columns of the grid are
// the model's rows and columns, row 0 (column titles) is the horizontal
// header and column 0 (row titles) the vertical header.
#pragma once

#include "grid/Grid.h"

#include <QAbstractTableModel>
#include <QFont>

namespace kv::ui {

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    GridModel(Grid& grid, QObject* parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex& parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation,
                                      int role = Qt::DisplayRole) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex& index) const override;

    [[nodiscard]] QModelIndex indexOf(CellPos cell) const;
    [[nodiscard]] static CellPos cellOf(const QModelIndex& index);

    [[nodiscard]] const QFont& gridFont() const { return m_font; }
    void setGridFont(const QFont& font);

    // Follows the grid after it changed: a reset when the counts changed,
    // otherwise a repaint of every cell and title.
    // Returns true when the model was reset.
    bool refresh();
    void cellsChanged(const CellRange& range);

    [[nodiscard]] static QString columnLetters(int col);

private:
    [[nodiscard]] QVariant titleData(std::int32_t row, std::int32_t col, int role) const;
    [[nodiscard]] QVariant styleData(const CellStyle& style, CellPos cell, int role) const;

    Grid& m_grid;
    QFont m_font;
    int m_rows = 0;
    int m_cols = 0;
};

} // namespace kv::ui
