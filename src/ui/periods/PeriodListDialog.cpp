#include "periods/PeriodListDialog.h"

#include "common/DialogLayout.h"
#include "interaction/DialogButtons.h"
#include "periods/PeriodListModel.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

constexpr int kWidthUnits = 190;
constexpr int kHeightUnits = 150;

} // namespace

PeriodListDialog::PeriodListDialog(PeriodListModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_list(new QListWidget(this)),
      m_ok(new QPushButton(uiText(kButtonOk), this)), m_cancel(new QPushButton(uiText(kButtonCancel), this)) {
    setWindowTitle(uiText(model.title()));
    fitTitle(*this);
    auto* label = new QLabel(uiText(model.label()), this);
    label->setBuddy(m_list);
    // The entries line up in columns, as they are laid out with blanks.
    m_list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (const std::string& entry : model.entries()) {
        m_list->addItem(QString::fromStdString(entry));
    }
    m_list->setCurrentRow(model.selected());
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) { m_model.select(row); });
    connect(m_list, &QListWidget::itemActivated, this, &PeriodListDialog::confirm);
    m_ok->setDefault(true);
    m_ok->setEnabled(model.selected() >= 0);
    connect(m_ok, &QPushButton::clicked, this, &PeriodListDialog::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(dialogUnits(*this, kWidthUnits, kHeightUnits));
    m_list->setFocus();
    if (m_list->currentItem() != nullptr) {
        m_list->scrollToItem(m_list->currentItem());
    }
}

void PeriodListDialog::confirm() {
    if (m_model.accept()) {
        accept();
    }
}

} // namespace kv::ui
