#include "bank/BankColumnsDialog.h"

#include "common/DialogLayout.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

constexpr int kWidthUnits = 400;
constexpr int kHeightUnits = 280;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

BankColumnsDialog::BankColumnsDialog(CsvColumnsModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_model(model), m_prompter(prompter) {
    setWindowTitle(qs(model.dialogTitle()));
    fitTitle(*this);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(qs(model.intro()), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    // The file's first rows as they stand, the columns numbered from 1.
    const auto& rows = model.previewRows();
    m_preview = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(model.columnCount()), this);
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->setFocusPolicy(Qt::NoFocus);
    m_preview->verticalHeader()->hide();
    for (int row = 0; row < m_preview->rowCount(); ++row) {
        const auto& cells = rows[static_cast<std::size_t>(row)];
        for (int column = 0; column < m_preview->columnCount(); ++column) {
            m_preview->setItem(row, column,
                               new QTableWidgetItem(qs(cells[static_cast<std::size_t>(column)])));
        }
    }
    m_preview->resizeColumnsToContents();
    layout->addWidget(m_preview, 1);

    QStringList choices;
    for (const std::string& choice : model.columnChoices()) {
        choices << qs(choice);
    }
    auto* form = new QFormLayout;
    for (const CsvField field : kBankMappedFields) {
        auto* box = new QComboBox(this);
        box->addItems(choices);
        box->setCurrentIndex(static_cast<int>(model.choice(field)));
        connect(box, &QComboBox::currentIndexChanged, this,
                [this, field](int index) { m_model.setChoice(field, static_cast<std::size_t>(index)); });
        auto* label = new QLabel(qs(bankFieldLabel(field) + ":"), this);
        label->setBuddy(box);
        form->addRow(label, box);
        m_boxes[field] = box;
    }
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &BankColumnsDialog::ok);
    auto* cancel = new QPushButton(QStringLiteral("Avbryt"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    resize(dialogUnits(*this, kWidthUnits, kHeightUnits));
}

void BankColumnsDialog::ok() {
    if (const auto refusal = m_model.accept()) {
        m_prompter.message(*refusal);
        return;
    }
    accept();
}

} // namespace kv::ui
