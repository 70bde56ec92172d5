#include "bank/BankRuleDialogs.h"

#include "common/DialogLayout.h"
#include "common/TextRows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

constexpr int kRuleWidthUnits = 230;
constexpr int kRulesWidthUnits = 420;
constexpr int kRulesHeightUnits = 220;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// The directions in the order the list offers them.
constexpr BankAmountSign kSigns[] = {BankAmountSign::Any, BankAmountSign::In, BankAmountSign::Out};

} // namespace

BankRuleDialog::BankRuleDialog(BankRuleModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_model(model), m_prompter(prompter) {
    setWindowTitle(qs(model.dialogTitle()));
    fitTitle(*this);
    const BankRuleFields& fields = model.fieldValues();
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Bankrader vars text innehåller orden nedan föreslås på kontot. "
                                            "Reglerna prövas i ordning; den första som passar gäller."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* form = new QFormLayout;
    m_pattern = new QLineEdit(qs(fields.pattern), this);
    m_equals = new QCheckBox(QStringLiteral("&Hela texten ska vara lika med detta"), this);
    m_equals->setChecked(fields.equals);
    m_account = new QLineEdit(qs(fields.account), this);
    m_vat = new QLineEdit(qs(fields.vatRule), this);
    m_vat->setToolTip(QStringLiteral("Momsregelns nummer (se Moms - Sätt moms); tom för ingen moms"));
    m_sign = new QComboBox(this);
    m_sign->addItems({QStringLiteral("Alla rader"), QStringLiteral("Insättningar"), QStringLiteral("Uttag")});
    for (int i = 0; i < 3; ++i) {
        if (kSigns[i] == fields.sign) {
            m_sign->setCurrentIndex(i);
        }
    }
    m_min = new QLineEdit(qs(fields.minAmount), this);
    m_max = new QLineEdit(qs(fields.maxAmount), this);
    form->addRow(QStringLiteral("&Text:"), m_pattern);
    form->addRow(QString(), m_equals);
    form->addRow(QStringLiteral("&Konto:"), m_account);
    form->addRow(QStringLiteral("&Momsregel:"), m_vat);
    form->addRow(QStringLiteral("&Rader:"), m_sign);
    form->addRow(QStringLiteral("Belopp &från:"), m_min);
    form->addRow(QStringLiteral("Belopp t&ill:"), m_max);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &BankRuleDialog::ok);
    auto* cancel = new QPushButton(QStringLiteral("Avbryt"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    m_pattern->selectAll();
    m_pattern->setFocus();
    resize(dialogUnits(*this, kRuleWidthUnits, 0).width(), sizeHint().height());
}

void BankRuleDialog::ok() {
    BankRuleFields fields;
    fields.pattern = m_pattern->text().trimmed().toStdString();
    fields.equals = m_equals->isChecked();
    fields.account = m_account->text().trimmed().toStdString();
    fields.vatRule = m_vat->text().trimmed().toStdString();
    fields.sign = kSigns[std::max(0, m_sign->currentIndex())];
    fields.minAmount = m_min->text().trimmed().toStdString();
    fields.maxAmount = m_max->text().trimmed().toStdString();
    m_model.setFields(fields);
    if (const auto refusal = m_model.accept()) {
        m_prompter.message(*refusal);
        return;
    }
    accept();
}

BankRulesDialog::BankRulesDialog(BankRulesModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_model(model), m_prompter(prompter) {
    setWindowTitle(qs(model.dialogTitle()));
    fitTitle(*this);
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Reglerna föreslår konto för bankens rader, i denna ordning. "
                                            "Rader: hur många bankrader regeln har tagit."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_grid = new QTableWidget(0, static_cast<int>(kBankRuleColumnTitles.size()), this);
    QStringList titles;
    for (const char* title : kBankRuleColumnTitles) {
        titles << uiText(title);
    }
    m_grid->setHorizontalHeaderLabels(titles);
    m_grid->verticalHeader()->hide();
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setTabKeyNavigation(false);
    fitRowsToFont(*m_grid);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_grid->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(m_grid, &QTableWidget::itemActivated, this, [this] { edit(true); });
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row) {
        const bool chosen = row >= 0;
        m_edit->setEnabled(chosen);
        m_remove->setEnabled(chosen);
        m_up->setEnabled(chosen && row > 0);
        m_down->setEnabled(chosen && row + 1 < m_grid->rowCount());
    });

    auto* side = new QVBoxLayout;
    const auto add = [this, side](const char* text, auto slot) {
        auto* made = new QPushButton(QString::fromUtf8(text), this);
        made->setAutoDefault(false);
        connect(made, &QPushButton::clicked, this, slot);
        side->addWidget(made);
        return made;
    };
    m_new = add("&Ny...", [this] { edit(false); });
    m_edit = add("Ä&ndra...", [this] { edit(true); });
    m_up = add("Flytta &upp", [this] { move(-1); });
    m_down = add("Flytta n&ed", [this] { move(1); });
    m_remove = add("&Ta bort", [this] { remove(); });
    side->addStretch(1);
    add("&Stäng", [this] { accept(); });
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_grid, 1);
    middle->addLayout(side);
    layout->addLayout(middle, 1);

    refresh(0);
    m_grid->setFocus();
    resize(dialogUnits(*this, kRulesWidthUnits, kRulesHeightUnits));
}

void BankRulesDialog::refresh(int current) {
    m_grid->setRowCount(static_cast<int>(m_model.rowCount()));
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        const auto cells = m_model.row(static_cast<std::size_t>(row));
        for (std::size_t column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(qs(cells[column]));
            if (column == cells.size() - 1) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            m_grid->setItem(row, static_cast<int>(column), item);
        }
    }
    const int row = std::min(current, m_grid->rowCount() - 1);
    m_grid->setCurrentCell(row, row >= 0 ? 0 : -1);
    m_edit->setEnabled(row >= 0);
    m_remove->setEnabled(row >= 0);
    m_up->setEnabled(row > 0);
    m_down->setEnabled(row >= 0 && row + 1 < m_grid->rowCount());
}

void BankRulesDialog::edit(bool existing) {
    const int row = m_grid->currentRow();
    if (existing && row < 0) {
        return;
    }
    const std::optional<std::size_t> index =
        existing ? std::optional<std::size_t>(static_cast<std::size_t>(row)) : std::nullopt;
    BankRuleModel rule(m_model.fields(index));
    rule.onAccept([this, index](const BankRuleFields& fields) { return m_model.store(index, fields); });
    if (m_prompter.show(rule) == Answer::Ok) {
        refresh(existing ? row : static_cast<int>(m_model.rowCount()) - 1);
    }
    m_grid->setFocus();
}

void BankRulesDialog::move(int step) {
    const int row = m_grid->currentRow();
    if (row < 0) {
        return;
    }
    const auto refusal = m_model.move(static_cast<std::size_t>(row), step);
    refresh(refusal ? row : std::clamp(row + step, 0, m_grid->rowCount() - 1));
    told(refusal);
}

void BankRulesDialog::remove() {
    const int row = m_grid->currentRow();
    if (row < 0) {
        return;
    }
    const std::string question =
        "Ta bort regeln \"" + m_model.rules()[static_cast<std::size_t>(row)].pattern + "\"?";
    if (m_prompter.askYesNo(question) != Answer::Yes) {
        return;
    }
    const auto refusal = m_model.remove(static_cast<std::size_t>(row));
    refresh(row);
    told(refusal);
}

void BankRulesDialog::told(const std::optional<std::string>& refusal) {
    if (refusal) {
        m_prompter.message(*refusal);
    }
    m_grid->setFocus();
}

} // namespace kv::ui
