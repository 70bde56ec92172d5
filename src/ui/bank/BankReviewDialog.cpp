#include "bank/BankReviewDialog.h"

#include "common/DialogLayout.h"
#include "common/TextRows.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

constexpr int kWidthUnits = 560;
constexpr int kHeightUnits = 300;
constexpr int kStatusWidthUnits = 130;
const QColor kGreyed(0x80, 0x80, 0x80);
const QColor kFailed(0xA0, 0x10, 0x10);

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// mnemonic: the letter that Alt takes the button with, as the other dialogs' buttons have one.
QPushButton* button(const char* text, const QString& mnemonic, QWidget* parent) {
    QString shown = uiText(text);
    const auto at = shown.indexOf(mnemonic);
    if (at >= 0) {
        shown.insert(at, QLatin1Char('&'));
    }
    auto* made = new QPushButton(shown, parent);
    made->setAutoDefault(false); // Return in the grid never books
    return made;
}

} // namespace

BankReviewDialog::BankReviewDialog(BankReviewDialogModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_model(model), m_prompter(prompter) {
    setWindowTitle(qs(model.dialogTitle()));
    fitTitle(*this);
    auto* layout = new QVBoxLayout(this);
    m_balance = new QLabel(this);
    m_balance->setWordWrap(true);
    layout->addWidget(m_balance);

    m_grid = new QTableWidget(0, kFirstModelColumn + static_cast<int>(kBankColumnTitles.size()), this);
    QStringList titles{QString()};
    for (const char* title : kBankColumnTitles) {
        titles << uiText(title);
    }
    m_grid->setHorizontalHeaderLabels(titles);
    m_grid->verticalHeader()->hide();
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                            QAbstractItemView::EditKeyPressed);
    m_grid->setTabKeyNavigation(false);
    m_grid->setWordWrap(false); // a long status ends in "…"; its tooltip holds all of it
    m_grid->installEventFilter(this);
    fitRowsToFont(*m_grid);
    QHeaderView* header = m_grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(gridColumn(BankColumn::Text), QHeaderView::Stretch);
    header->setSectionResizeMode(gridColumn(BankColumn::Status), QHeaderView::Interactive);
    header->resizeSection(gridColumn(BankColumn::Status), dialogUnits(*this, kStatusWidthUnits, 0).width());
    connect(m_grid, &QTableWidget::itemChanged, this, &BankReviewDialog::accountEdited);
    connect(m_grid, &QTableWidget::itemDoubleClicked, this,
            [this](QTableWidgetItem* item) { activate(item->row(), false); });
    connect(m_grid, &QTableWidget::currentCellChanged, this, &BankReviewDialog::showStatus);

    m_accounts = new QListWidget(this);
    fitRowsToFont(*m_accounts);
    m_accounts->setUniformItemSizes(true);
    m_accounts->setFixedWidth(dialogUnits(*this, 118, 0).width());
    m_accounts->setToolTip(QStringLiteral("Dubbelklicka eller tryck Retur för att sätta kontot på raden"));
    for (const std::string& line : model.accountLines()) {
        m_accounts->addItem(qs(line));
    }
    connect(m_accounts, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { takeListedAccount(m_accounts->row(item)); });

    auto* middle = new QHBoxLayout;
    middle->addWidget(m_grid, 1);
    middle->addWidget(m_accounts);
    layout->addLayout(middle, 1);
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_status);

    m_summary = new QLabel(this);
    m_summary->setWordWrap(true);
    layout->addWidget(m_summary);
    auto* keys = new QLabel(uiText(kBankReviewKeys), this);
    keys->setWordWrap(true);
    layout->addWidget(keys);
    m_outcome = new QLabel(this);
    m_outcome->setWordWrap(true);
    QFont bold = m_outcome->font();
    bold.setBold(true);
    m_outcome->setFont(bold);
    layout->addWidget(m_outcome);

    auto* buttons = new QHBoxLayout;
    m_rule = button(kBankButtonSparaRegel, QStringLiteral("regel"), this);
    m_book = button(kBankButtonBokfor, QStringLiteral("B"), this);
    m_undo = button(kBankButtonAngra, QStringLiteral("n"), this);
    m_close = button(kBankButtonStang, QStringLiteral("S"), this);
    connect(m_rule, &QPushButton::clicked, this, &BankReviewDialog::saveRule);
    connect(m_book, &QPushButton::clicked, this, &BankReviewDialog::book);
    connect(m_undo, &QPushButton::clicked, this, &BankReviewDialog::undo);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(m_rule);
    buttons->addStretch(1);
    buttons->addWidget(m_book);
    buttons->addWidget(m_undo);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);

    refresh();
    if (m_grid->rowCount() > 0) {
        m_grid->setCurrentCell(0, gridColumn(BankColumn::Account));
    }
    m_grid->setFocus();
    resize(dialogUnits(*this, kWidthUnits, kHeightUnits));
}

void BankReviewDialog::refresh() {
    m_filling = true;
    const BankReviewModel& review = m_model.review();
    m_grid->setRowCount(static_cast<int>(review.rowCount()));
    for (int row = 0; row < m_grid->rowCount(); ++row) {
        showRow(row);
    }
    m_filling = false;
    m_balance->setText(qs(review.balanceText()));
    m_summary->setText(qs(review.summaryText()));
    m_outcome->setText(qs(m_model.outcome()));
    m_outcome->setVisible(!m_model.outcome().empty());
    m_book->setEnabled(review.canBook());
    m_undo->setEnabled(m_model.canUndo());
    showStatus();
}

void BankReviewDialog::showStatus() {
    const int line = currentLine();
    m_status->setText(line >= 0 ? qs(m_model.review().statusLine(static_cast<std::size_t>(line)))
                                : QString());
}

void BankReviewDialog::showRow(int row) {
    const auto line = static_cast<std::size_t>(row);
    const BankReviewRow shown = m_model.review().row(line);
    const bool failed = m_model.review().plan().proposals[line].status == ProposalStatus::Failed;
    auto* taken = new QTableWidgetItem(shown.accepted ? QStringLiteral("✓") : QString());
    taken->setTextAlignment(Qt::AlignCenter);
    m_grid->setItem(row, kTakenColumn, taken);
    for (std::size_t column = 0; column < shown.cells.size(); ++column) {
        auto* item = new QTableWidgetItem(qs(shown.cells[column]));
        const auto kind = static_cast<BankColumn>(column);
        if (kind == BankColumn::Amount) {
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        if (kind == BankColumn::Status) {
            item->setToolTip(item->text()); // a reason runs past its column
        }
        m_grid->setItem(row, gridColumn(kind), item);
    }
    for (int column = 0; column < m_grid->columnCount(); ++column) {
        QTableWidgetItem* item = m_grid->item(row, column);
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (shown.editable &&
            (column == gridColumn(BankColumn::Account) || column == gridColumn(BankColumn::Vat) ||
             column == gridColumn(BankColumn::Text))) {
            flags |= Qt::ItemIsEditable;
        }
        item->setFlags(flags);
        QFont font = m_grid->font();
        font.setBold(shown.accepted);
        item->setFont(font);
        if (!shown.editable || (!shown.accepted && !failed)) {
            item->setForeground(kGreyed);
        }
        if (failed && column == gridColumn(BankColumn::Status)) {
            item->setForeground(kFailed);
        }
    }
}

int BankReviewDialog::currentLine() const {
    return m_grid->currentRow();
}

bool BankReviewDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            toggleCurrent();
            return true;
        }
        // (An open editor takes its own Return: it ends the edit.)
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            activate(currentLine(), true);
            return true;
        }
        // A number typed anywhere on a line goes to its account (the text is
        // changed with F2 or a double-click, or by typing a letter on it).
        const QString text = key->text();
        if (text.size() == 1 && text[0].isDigit() && currentLine() >= 0 &&
            m_grid->currentColumn() != gridColumn(BankColumn::Account) &&
            m_grid->currentColumn() != gridColumn(BankColumn::Vat)) {
            m_grid->setCurrentCell(currentLine(), gridColumn(BankColumn::Account));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void BankReviewDialog::toggleCurrent() {
    const int line = currentLine();
    if (line < 0) {
        return;
    }
    m_model.toggle(static_cast<std::size_t>(line));
    refresh();
}

void BankReviewDialog::accountEdited(QTableWidgetItem* item) {
    const int column = item->column();
    if (m_filling || (column != gridColumn(BankColumn::Account) && column != gridColumn(BankColumn::Vat) &&
                      column != gridColumn(BankColumn::Text))) {
        return;
    }
    const auto line = static_cast<std::size_t>(item->row());
    const std::string typed = item->text().trimmed().toStdString();
    // The edit ends first; the grid is filled anew and any refusal told after.
    QTimer::singleShot(0, this, [this, line, typed, column] {
        BankReviewModel& review = m_model.review();
        const auto refusal = column == gridColumn(BankColumn::Account) ? review.setAccount(line, typed)
                             : column == gridColumn(BankColumn::Vat)   ? review.setVatRule(line, typed)
                                                                       : review.setText(line, typed);
        refresh();
        if (refusal) {
            m_prompter.message(*refusal);
        }
    });
}

void BankReviewDialog::takeListedAccount(int listed) {
    const int line = currentLine();
    if (line < 0 || listed < 0) {
        return;
    }
    const std::int32_t number = m_model.accountNumber(static_cast<std::size_t>(listed));
    const auto refusal = m_model.review().setAccount(static_cast<std::size_t>(line), std::to_string(number));
    refresh();
    m_grid->setFocus();
    if (refusal) {
        m_prompter.message(*refusal);
    }
}

void BankReviewDialog::saveRule() {
    const int line = currentLine();
    if (line < 0) {
        return;
    }
    if (std::optional<BankRuleModel> rule = m_model.ruleDialog(static_cast<std::size_t>(line))) {
        m_prompter.show(*rule);
    } else {
        m_prompter.message(m_model.refusal());
    }
    refresh();
    m_grid->setFocus();
}

void BankReviewDialog::undo() {
    m_model.undo();
    refresh();
    m_grid->setFocus();
}

void BankReviewDialog::activate(int row, bool moveOn) {
    if (row < 0) {
        return;
    }
    if (const auto voucher = m_model.review().voucherOf(static_cast<std::size_t>(row))) {
        m_prompter.information(m_model.dialogTitle(), *voucher);
    } else if (moveOn && row + 1 < m_grid->rowCount()) {
        m_grid->setCurrentCell(row + 1, m_grid->currentColumn());
    }
}

void BankReviewDialog::book() {
    m_model.book();
    refresh();
    m_grid->setFocus();
}

} // namespace kv::ui
