#include "budget/BudgetDialog.h"

#include "budget/BudgetDialogModel.h"
#include "common/DialogLayout.h"
#include "grid/GridWidget.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace kv::ui {

namespace {

// The percentage field: wide enough for "-12,5".
constexpr int kPercentWidthUnits = 30;

} // namespace

BudgetDialog::BudgetDialog(BudgetDialogModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_grid(new GridWidget(model.grid(), this)),
      m_balance(new QCheckBox(uiText(kLabelVisaBalanskonton), this)), m_percent(new QLineEdit(this)),
      m_copyOutcome(makeButton(kButtonKopieraUtfall)), m_copyBudget(makeButton(kButtonKopieraBudget)),
      m_spread(makeButton(kButtonFordelaJamnt)), m_nextBudget(makeButton(kButtonNyBudgetFranUtfall)),
      m_save(makeButton(kButtonSpara)), m_close(makeButton(kButtonStang)) {
    setSizeGripEnabled(true);
    m_grid->setWidthScale(layoutScale(font()));

    auto* help = new QLabel(uiText(kLabelBudgetHjalp), this);
    help->setWordWrap(true);

    m_balance->setChecked(model.editor().showsBalanceAccounts());
    connect(m_balance, &QCheckBox::toggled, this, [this](bool on) {
        m_model.setShowBalanceAccounts(on);
        m_grid->setFocus();
    });
    m_percent->setMaximumWidth(dialogUnits(*this, kPercentWidthUnits, 0).width());
    m_percent->setText(QString::fromStdString(model.percentText()));
    connect(m_percent, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_model.setPercentText(text.toStdString()); });
    auto* percentLabel = new QLabel(uiText(kLabelProcent), this);
    percentLabel->setBuddy(m_percent);

    connect(m_copyOutcome, &QPushButton::clicked, this,
            [this] { run(&BudgetDialogModel::copyPreviousOutcome); });
    connect(m_copyBudget, &QPushButton::clicked, this,
            [this] { run(&BudgetDialogModel::copyPreviousBudget); });
    connect(m_spread, &QPushButton::clicked, this, [this] { run(&BudgetDialogModel::spreadCurrentRow); });
    connect(m_nextBudget, &QPushButton::clicked, this,
            [this] { run(&BudgetDialogModel::newBudgetFromOutcome); });
    connect(m_save, &QPushButton::clicked, this, [this] { run(&BudgetDialogModel::save); });
    connect(m_close, &QPushButton::clicked, this, &BudgetDialog::reject);

    auto* rowTools = new QHBoxLayout;
    rowTools->addWidget(m_balance);
    rowTools->addWidget(m_spread);
    rowTools->addStretch(1);

    auto* copying = new QHBoxLayout;
    copying->addWidget(percentLabel);
    copying->addWidget(m_percent);
    copying->addWidget(m_copyOutcome);
    copying->addWidget(m_copyBudget);
    copying->addWidget(m_nextBudget);
    copying->addStretch(1);
    copying->addWidget(m_save);
    copying->addWidget(m_close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addWidget(m_grid, 1);
    layout->addLayout(rowTools);
    layout->addLayout(copying);

    model.setListener([this] { showState(); });
    showState();

    // As wide as the grid's columns where the screen allows.
    QSize size(m_grid->naturalWidth() + 30, 620);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableSize() * 9 / 10);
    }
    resize(size.expandedTo(QSize(sizeHint().width(), 400)));
    m_grid->setFocus();
    // A saved budget that could not be read is told once the dialog shows.
    QMetaObject::invokeMethod(
        this, [this] { m_model.opened(); }, Qt::QueuedConnection);
}

BudgetDialog::~BudgetDialog() {
    m_model.setListener({});
}

QPushButton* BudgetDialog::makeButton(const char* text) {
    auto* button = new QPushButton(uiText(text), this);
    // Return belongs to the grid and the fields: no button is pressed by it.
    button->setAutoDefault(false);
    return button;
}

void BudgetDialog::run(bool (BudgetDialogModel::*action)()) {
    (m_model.*action)();
    showState();
    m_grid->setFocus();
}

void BudgetDialog::showState() {
    setWindowTitle(QString::fromStdString(m_model.dialogTitle()) + QStringLiteral("[*]"));
    setWindowModified(m_model.editor().isModified());
    const QSignalBlocker quiet(m_balance);
    m_balance->setChecked(m_model.editor().showsBalanceAccounts());
}

void BudgetDialog::reject() {
    if (m_model.mayClose()) {
        QDialog::reject();
    }
}

} // namespace kv::ui
