#include "voucher/VoucherLookupDialog.h"

#include "common/DialogLayout.h"
#include "voucher/VoucherLookupModel.h"
#include "voucher/VoucherTexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

VoucherLookupDialog::VoucherLookupDialog(VoucherLookupModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_model(model), m_prompter(prompter), m_number(new QLineEdit(this)),
      m_find(new QPushButton(uiText(kLookupAccept), this)) {
    setWindowTitle(uiText(kLookupTitle));
    fitTitle(*this);
    auto* leave = new QPushButton(uiText(kLookupLeave), this);
    m_number->setMaxLength(10);
    m_number->setMinimumWidth(QFontMetrics(m_number->font()).horizontalAdvance(QStringLiteral("0000000000")) +
                              12);
    m_number->setText(QString::fromStdString(model.numberText()));
    m_find->setDefault(true);
    connect(m_find, &QPushButton::clicked, this, &VoucherLookupDialog::find);
    connect(leave, &QPushButton::clicked, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(uiText(kLookupLabel), this));
    row->addWidget(m_number, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_find);
    buttons->addWidget(leave);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    m_number->setFocus();
}

void VoucherLookupDialog::find() {
    m_model.setNumberText(m_number->text().toStdString());
    if (m_model.accept(m_prompter)) {
        accept();
        return;
    }
    // The field keeps the focus for another number.
    m_number->setFocus();
    m_number->selectAll();
}

} // namespace kv::ui
