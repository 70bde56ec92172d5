#include "voucher/VatRulesDialog.h"

#include "common/DialogLayout.h"
#include "common/TextRows.h"
#include "grid/GridWidget.h"
#include "interaction/DialogButtons.h"
#include "interaction/UnapprovedEdits.h"
#include "voucher/VatRulesModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

VatRulesDialog::VatRulesDialog(VatRulesModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_grid(new GridWidget(model.grid(), this)),
      m_accounts(new QListWidget(this)), m_approve(new QPushButton(uiText(kButtonGodkannMoms), this)),
      m_cancel(new QPushButton(uiText(kButtonCancel), this)) {
    setWindowTitle(uiText(model.title()));
    fitTitle(*this);
    setSizeGripEnabled(true);
    auto* caption = new QLabel(uiText(kVatCaption), this);
    caption->setTextFormat(Qt::PlainText);
    m_grid->setWidthScale(layoutScale(font()));
    connect(m_grid, &GridWidget::commandStateChanged, this, &VatRulesDialog::followCursor);

    for (const std::string& line : model.accountListLines()) {
        m_accounts->addItem(QString::fromStdString(line));
    }
    m_accounts->setFocusPolicy(Qt::ClickFocus);
    fitRowsToFont(*m_accounts);
    auto* example = new QLabel(uiText(kVatExampleNote), this);

    m_approve->setDefault(true);
    m_cancel->setAutoDefault(false);
    connect(m_approve, &QPushButton::clicked, this, &VatRulesDialog::approve);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        reject();
    });

    auto* side = new QVBoxLayout;
    side->addWidget(example);
    side->addStretch(1);
    side->addWidget(m_approve);
    side->addWidget(m_cancel);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_accounts, 1);
    bottom->addLayout(side);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(m_grid, 3);
    layout->addLayout(bottom, 1);
    resize(QSize(m_grid->naturalWidth() + 2 * layout->contentsMargins().left(), 700));
    m_grid->setFocus();
    m_edits = std::make_unique<UnapprovedEdits>(model.grid());
}

VatRulesDialog::~VatRulesDialog() = default;

void VatRulesDialog::reject() {
    if (!m_cancelled && !m_edits->mayDiscard(m_prompter)) {
        return;
    }
    m_cancelled = false;
    QDialog::reject();
}

void VatRulesDialog::followCursor() {
    if (const auto line = m_model.selectedAccountLine();
        line && static_cast<int>(*line) < m_accounts->count()) {
        const int row = static_cast<int>(*line);
        if (m_accounts->currentRow() != row) {
            m_accounts->setCurrentRow(row);
            m_accounts->scrollToItem(m_accounts->item(row));
        }
    }
}

void VatRulesDialog::approve() {
    // The model ends an open edit first; a badly filled row keeps the dialog open.
    if (m_model.approve()) {
        accept();
    }
}

} // namespace kv::ui
