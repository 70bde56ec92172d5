#include "bank/BankAccountDialog.h"

#include "common/DialogLayout.h"
#include "common/TextRows.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

constexpr int kWidthUnits = 260;
constexpr int kHeightUnits = 220;

} // namespace

BankAccountDialog::BankAccountDialog(BankAccountChoiceModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_model(model), m_prompter(prompter) {
    setWindowTitle(QString::fromStdString(model.dialogTitle()));
    fitTitle(*this);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QString::fromStdString(model.intro()), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_number = new QLineEdit(QString::fromStdString(model.typed()), this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Konto:"), m_number);
    layout->addLayout(form);

    m_list = new QListWidget(this);
    fitRowsToFont(*m_list);
    m_list->setUniformItemSizes(true);
    for (const std::string& line : model.accountLines()) {
        m_list->addItem(QString::fromStdString(line));
    }
    layout->addWidget(m_list, 1);
    connect(m_number, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.setTyped(text.toStdString());
        showSelected();
    });
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && m_list->hasFocus()) {
            m_model.select(static_cast<std::size_t>(row));
            m_number->setText(QString::fromStdString(m_model.typed()));
        }
    });
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        m_model.select(static_cast<std::size_t>(m_list->row(item)));
        m_number->setText(QString::fromStdString(m_model.typed()));
        ok();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &BankAccountDialog::ok);
    auto* cancel = new QPushButton(QStringLiteral("Avbryt"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    showSelected();
    m_number->selectAll();
    m_number->setFocus();
    resize(dialogUnits(*this, kWidthUnits, kHeightUnits));
}

void BankAccountDialog::showSelected() {
    const QSignalBlocker quiet(m_list);
    if (const auto line = m_model.selected()) {
        m_list->setCurrentRow(static_cast<int>(*line));
        m_list->scrollToItem(m_list->currentItem());
    } else {
        m_list->clearSelection();
    }
}

void BankAccountDialog::ok() {
    m_model.setTyped(m_number->text().toStdString());
    if (const auto refusal = m_model.accept()) {
        m_prompter.message(*refusal);
        m_number->setFocus();
        return;
    }
    accept();
}

} // namespace kv::ui
