#include "backup/BackupListDialog.h"

#include "backup/BackupListModel.h"
#include "common/DialogLayout.h"

#include <QBrush>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

constexpr int kWidthUnits = 470;
constexpr int kHeightUnits = 230;

} // namespace

BackupListDialog::BackupListDialog(BackupListModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_list(new QTreeWidget(this)),
      m_open(new QPushButton(uiText(kBackupOpenButton), this)),
      m_close(new QPushButton(uiText(kBackupCloseButton), this)) {
    setWindowTitle(QString::fromStdString(model.title()));
    fitTitle(*this);
    auto* hint = new QLabel(uiText(kBackupListHint), this);
    hint->setWordWrap(true);

    QStringList titles;
    for (const std::string& title : BackupListModel::columnTitles()) {
        titles << QString::fromStdString(title);
    }
    m_list->setHeaderLabels(titles);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    for (std::size_t row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (const std::string& cell : model.cells(row)) {
            cells << QString::fromStdString(cell);
        }
        auto* item = new QTreeWidgetItem(m_list, cells);
        for (int column = 0; column < cells.size(); ++column) {
            item->setToolTip(column, cells[column]); // a long note is cut off in its column
        }
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        if (model.damaged(row)) {
            for (int column = 0; column < m_list->columnCount(); ++column) {
                item->setForeground(column, QBrush(QColor(0xA0, 0x10, 0x10)));
            }
        }
    }
    for (int column = 0; column + 1 < m_list->columnCount(); ++column) {
        m_list->resizeColumnToContents(column);
    }
    if (model.selected() >= 0) {
        m_list->setCurrentItem(m_list->topLevelItem(model.selected()));
    }
    connect(m_list, &QTreeWidget::currentItemChanged, this, &BackupListDialog::selectionMoved);
    connect(m_list, &QTreeWidget::itemActivated, this, &BackupListDialog::openSelected);
    m_open->setDefault(true);
    m_open->setEnabled(model.canOpen());
    connect(m_open, &QPushButton::clicked, this, &BackupListDialog::openSelected);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_open);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(dialogUnits(*this, kWidthUnits, kHeightUnits));
    m_list->setFocus();
}

void BackupListDialog::selectionMoved() {
    m_model.select(m_list->currentItem() == nullptr ? -1
                                                    : m_list->indexOfTopLevelItem(m_list->currentItem()));
    m_open->setEnabled(m_model.canOpen());
}

void BackupListDialog::openSelected() {
    if (m_model.accept()) {
        accept();
    }
}

} // namespace kv::ui
