#include "chart/ChartEditorDialog.h"

#include "chart/ChartEditorModel.h"
#include "chart/ChartLayout.h"
#include "common/DialogLayout.h"
#include "common/TextRows.h"
#include "grid/GridWidget.h"
#include "interaction/UnapprovedEdits.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

// The dialog's size in dialog units, as its layout gives it.
constexpr int kWidthUnits = 418;
constexpr int kHeightUnits = 294;
// The list beside the grid: a little wider than the layout's 98 units, for the long names.
constexpr int kListWidthUnits = 130;

} // namespace

ChartEditorDialog::ChartEditorDialog(ChartEditorModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_grid(new GridWidget(model.grid(), this)),
      m_accounts(new QListWidget(this)), m_onlyUsed(new QCheckBox(this)),
      m_approve(makeButton(kButtonGodkannKontoplan)), m_cancel(makeButton(kButtonCancel)),
      m_insert(makeButton(kButtonSattInRad)), m_delete(makeButton(kButtonTaBortRad)),
      m_undo(makeButton(kButtonAngra)) {
    setWindowTitle(uiText(model.title()));
    fitTitle(*this);
    setSizeGripEnabled(true);
    m_grid->setWidthScale(layoutScale(font()));

    for (const std::string& line : model.accountListLines()) {
        m_accounts->addItem(QString::fromStdString(line));
    }
    m_accounts->setMinimumWidth(dialogUnits(*this, kListWidthUnits, 0).width());
    m_accounts->setFocusPolicy(Qt::ClickFocus);
    fitRowsToFont(*m_accounts);

    m_onlyUsed->setText(uiText(kLabelEndastAnvanda1) + QLatin1Char('\n') + uiText(kLabelEndastAnvanda2));
    m_onlyUsed->setChecked(model.onlyUsedAccounts());
    connect(m_onlyUsed, &QCheckBox::toggled, this, [this](bool on) { m_model.setOnlyUsedAccounts(on); });

    m_approve->setDefault(true);
    connect(m_approve, &QPushButton::clicked, this, &ChartEditorDialog::approve);
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        reject();
    });
    connect(m_insert, &QPushButton::clicked, this, [this] { gridCommand(&ChartEditorModel::insertRow); });
    connect(m_delete, &QPushButton::clicked, this, [this] { gridCommand(&ChartEditorModel::deleteRows); });
    connect(m_undo, &QPushButton::clicked, this, [this] {
        m_model.undo();
        m_grid->setFocus();
    });

    // The grid at least as wide as its columns; a wider dialog widens the
    // grid's name column, and the list beside it keeps its width.
    m_grid->setMinimumWidth(m_grid->naturalWidth());
    m_grid->view()->horizontalHeader()->setSectionResizeMode(kColNamn - 1, QHeaderView::Stretch);
    auto* top = new QHBoxLayout;
    top->addWidget(m_grid, 1);
    top->addWidget(m_accounts, 0);

    auto* rowButtons = new QHBoxLayout;
    rowButtons->addWidget(m_delete);
    rowButtons->addWidget(m_insert);
    rowButtons->addWidget(m_undo);
    rowButtons->addSpacing(dialogUnits(*this, 20, 0).width());
    rowButtons->addWidget(m_onlyUsed);
    rowButtons->addStretch(1);
    auto* closing = new QVBoxLayout;
    closing->addWidget(m_cancel, 0, Qt::AlignRight);
    closing->addWidget(m_approve);
    rowButtons->addLayout(closing);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(rowButtons);

    const int listWidth = dialogUnits(*this, kListWidthUnits, 0).width();
    resize(dialogUnits(*this, kWidthUnits, kHeightUnits)
               .expandedTo(QSize(m_grid->naturalWidth() + listWidth + 40, 650)));
    m_grid->setFocus();
    m_edits = std::make_unique<UnapprovedEdits>(model.grid());
}

ChartEditorDialog::~ChartEditorDialog() = default;

void ChartEditorDialog::reject() {
    if (!m_cancelled && !m_edits->mayDiscard(m_prompter)) {
        return;
    }
    m_cancelled = false;
    QDialog::reject();
}

QPushButton* ChartEditorDialog::makeButton(const char* text) {
    auto* button = new QPushButton(uiText(text), this);
    button->setAutoDefault(false);
    return button;
}

void ChartEditorDialog::gridCommand(void (ChartEditorModel::*command)()) {
    (m_model.*command)();
    m_grid->setFocus();
}

void ChartEditorDialog::approve() {
    // The model ends an open edit first; a refused cell or chart keeps the dialog open.
    if (m_model.approve()) {
        accept();
    }
}

} // namespace kv::ui
