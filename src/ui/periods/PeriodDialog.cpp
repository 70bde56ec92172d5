#include "periods/PeriodDialog.h"

#include "common/DialogLayout.h"
#include "interaction/DialogButtons.h"
#include "periods/PeriodDialogModel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace kv::ui {

namespace {

QComboBox* monthBox(QWidget* parent, std::int32_t month) {
    auto* box = new QComboBox(parent);
    for (const char* name : kMonthNames) {
        box->addItem(uiText(name));
    }
    box->setCurrentIndex(month - 1);
    return box;
}

QGroupBox* monthAndYear(const char* title, QComboBox* month, QLineEdit* year, QWidget* parent) {
    auto* group = new QGroupBox(uiText(title), parent);
    auto* form = new QFormLayout(group);
    form->addRow(month);
    form->addRow(uiText(kYearFieldLabel), year);
    return group;
}

} // namespace

PeriodDialog::PeriodDialog(PeriodDialogModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_model(model), m_prompter(prompter), m_startMonth(monthBox(this, model.startMonth())),
      m_startYear(new QLineEdit(QString::fromStdString(model.startYearText()), this)),
      m_endMonth(monthBox(this, model.endMonth())),
      m_endYear(new QLineEdit(QString::fromStdString(model.endYearText()), this)),
      m_periods(new QListWidget(this)), m_ok(new QPushButton(uiText(kButtonOk), this)),
      m_cancel(new QPushButton(uiText(kButtonCancel), this)) {
    setWindowTitle(uiText(model.title()));
    fitTitle(*this);
    m_startMonth->setEnabled(model.startEnabled());
    m_startYear->setEnabled(model.startEnabled());
    connect(m_startMonth, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_model.setStartMonth(index + 1); });
    connect(m_endMonth, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_model.setEndMonth(index + 1); });
    connect(m_startYear, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_model.setStartYearText(text.toStdString()); });
    connect(m_endYear, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_model.setEndYearText(text.toStdString()); });

    auto* fields = new QHBoxLayout;
    fields->addWidget(monthAndYear(kPeriodStartLabel, m_startMonth, m_startYear, this));
    fields->addWidget(monthAndYear(kPeriodEndLabel, m_endMonth, m_endYear, this));

    // The first period has no periods before it to list.
    auto* periodsLabel = new QLabel(uiText(kLastPeriodsLabel), this);
    for (const std::string& line : model.periodLines()) {
        m_periods->addItem(QString::fromStdString(line));
    }
    const bool listed = !model.periodLines().empty();
    periodsLabel->setVisible(listed);
    m_periods->setVisible(listed);
    m_periods->setFocusPolicy(Qt::NoFocus);
    m_periods->setSelectionMode(QAbstractItemView::NoSelection);
    m_periods->setFixedHeight(m_periods->sizeHintForRow(0) * 2 + 2 * m_periods->frameWidth() + 6);

    m_ok->setDefault(true);
    m_cancel->setAutoDefault(false);
    m_cancel->setEnabled(model.cancelEnabled());
    setWindowFlag(Qt::WindowCloseButtonHint, model.cancelEnabled());
    connect(m_ok, &QPushButton::clicked, this, &PeriodDialog::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &PeriodDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(periodsLabel);
    layout->addWidget(m_periods);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setMinimumWidth(std::max(minimumWidth(), dialogUnits(*this, 250, 0).width()));
    (model.startEnabled() ? static_cast<QWidget*>(m_startYear) : m_endMonth)->setFocus();
}

void PeriodDialog::confirm() {
    // The checks, questions and messages are the model's; a refusal keeps the dialog open.
    if (m_model.accept(m_prompter)) {
        accept();
    }
}

void PeriodDialog::reject() {
    if (m_cancel->isEnabled()) {
        QDialog::reject();
    }
}

} // namespace kv::ui
