#include "common/TextRows.h"

#include "grid/GridCellLook.h"

#include <QAbstractItemView>
#include <QStyledItemDelegate>

#include <algorithm>

namespace kv::ui {

namespace {

class TextRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(std::max(size.height(), textRowHeight(option.font)));
        return size;
    }
};

} // namespace

void fitRowsToFont(QAbstractItemView& view) {
    view.setItemDelegate(new TextRowDelegate(&view));
}

} // namespace kv::ui
