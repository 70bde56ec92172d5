#include "reports/ReportDialogs.h"

#include "common/DialogLayout.h"
#include "common/TextRows.h"
#include "interaction/DialogButtons.h"
#include "reports/AccountChoiceModel.h"
#include "reports/MonthRangeModel.h"
#include "reports/ReportTexts.h"
#include "reports/VoucherRangeModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace kv::ui {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QDialogButtonBox* okCancel(QDialog* dialog, const char* okText = kButtonOk,
                           const char* cancelText = kButtonCancel) {
    auto* buttons = new QDialogButtonBox(dialog);
    QPushButton* ok = buttons->addButton(uiText(okText), QDialogButtonBox::AcceptRole);
    buttons->addButton(uiText(cancelText), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void fill(QComboBox* box, const std::vector<std::string>& entries) {
    box->clear();
    for (const std::string& entry : entries) {
        box->addItem(qs(entry));
    }
}

} // namespace

// ---- Månadsbokslut ----

MonthRangeDialog::MonthRangeDialog(MonthRangeModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_model(model), m_prompter(prompter), m_first(new QComboBox(this)),
      m_last(new QComboBox(this)), m_from(new QLineEdit(this)), m_to(new QLineEdit(this)),
      m_whole(new QCheckBox(uiText(kVisaHelaPerioden), this)) {
    setWindowTitle(qs(model.title()));
    fitTitle(*this);
    m_from->setReadOnly(true);
    m_to->setReadOnly(true);
    m_from->setEnabled(false);
    m_to->setEnabled(false);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(uiText(kBorjaMedManad), this), 0, 0);
    grid->addWidget(new QLabel(uiText(kSlutaMedManad), this), 0, 2);
    grid->addWidget(m_first, 1, 0);
    grid->addWidget(m_last, 1, 2);
    grid->addWidget(new QLabel(uiText(kPeriodCaption), this), 2, 0);
    grid->addWidget(m_from, 3, 0);
    grid->addWidget(new QLabel(uiText(kTom), this), 3, 1, Qt::AlignCenter);
    grid->addWidget(m_to, 3, 2);
    grid->addWidget(m_whole, 4, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    QDialogButtonBox* buttons = okCancel(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &MonthRangeDialog::tryAccept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    fill(m_first, model.firstMonths());
    connect(m_first, &QComboBox::activated, this, [this](int index) {
        m_model.chooseFirstMonth(index);
        showModel();
    });
    connect(m_last, &QComboBox::activated, this, [this](int index) {
        m_model.chooseLastMonth(index);
        showModel();
    });
    connect(m_whole, &QCheckBox::toggled, this, [this](bool whole) {
        if (!m_showing) {
            m_model.setWholePeriod(whole);
            showModel();
        }
    });
    showModel();
    m_first->setCurrentIndex(-1);
    setMinimumWidth(std::max(minimumWidth(), dialogUnits(*this, 260, 10).width()));
}

void MonthRangeDialog::showModel() {
    m_showing = true;
    m_from->setText(qs(m_model.fromText()));
    m_to->setText(qs(m_model.toText()));
    m_last->setEnabled(m_model.lastMonthsEnabled());
    if (m_last->count() != static_cast<int>(m_model.lastMonths().size()) ||
        (m_last->count() > 0 && m_last->itemText(0) != qs(m_model.lastMonths().front()))) {
        fill(m_last, m_model.lastMonths());
    }
    m_last->setCurrentIndex(m_model.lastChoice());
    m_whole->setChecked(m_model.wholePeriod());
    m_showing = false;
}

void MonthRangeDialog::tryAccept() {
    if (m_model.accept(m_prompter)) {
        accept();
    }
}

// ---- Ta fram verifikat ----

VoucherRangeDialog::VoucherRangeDialog(VoucherRangeModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_model(model), m_prompter(prompter),
      m_from(new QLineEdit(qs(model.fromText()), this)), m_to(new QLineEdit(qs(model.toText()), this)) {
    setWindowTitle(uiText(kTaFramVerifikat));
    fitTitle(*this);
    auto* form = new QFormLayout;
    form->addRow(new QLabel(uiText(kVisaFoljandeVerifikat), this));
    form->addRow(uiText(kFromVerifikatNr), m_from);
    form->addRow(uiText(kTomVerifikatNr), m_to);
    QDialogButtonBox* buttons = okCancel(this);
    connect(buttons, &QDialogButtonBox::accepted, this, &VoucherRangeDialog::tryAccept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_from->selectAll();
    m_from->setFocus();
}

void VoucherRangeDialog::tryAccept() {
    m_model.setFromText(m_from->text().toStdString());
    m_model.setToText(m_to->text().toStdString());
    if (m_model.accept(m_prompter)) {
        accept();
        return;
    }
    QLineEdit* fault = m_model.fieldInFault() == VoucherRangeModel::Field::From ? m_from : m_to;
    fault->setFocus();
    fault->selectAll();
}

// ---- Välj ett konto ----

AccountChoiceDialog::AccountChoiceDialog(AccountChoiceModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_list(new QListWidget(this)), m_typed(new QLineEdit(this)) {
    setWindowTitle(qs(model.title()));
    fitTitle(*this);
    for (const std::string& entry : model.entries()) {
        m_list->addItem(qs(entry));
    }
    fitRowsToFont(*m_list);
    m_list->setCurrentRow(model.selected());
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) { m_model.select(row); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    m_typed->setPlaceholderText(QStringLiteral("Skriv kontonummer"));
    m_typed->setValidator(new QIntValidator(0, 999999999, m_typed));
    connect(m_typed, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (m_model.selectTyped(text.toStdString())) {
            m_list->setCurrentRow(m_model.selected());
        }
    });
    connect(m_typed, &QLineEdit::returnPressed, this, &QDialog::accept);
    QDialogButtonBox* buttons = okCancel(this, kTaFramKonto, kTillHuvudbok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_typed);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(dialogUnits(*this, 200, 220));
    m_typed->setFocus();
}

void AccountChoiceDialog::keyPressEvent(QKeyEvent* event) {
    // Up and down move in the list while the number is typed.
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down || event->key() == Qt::Key_PageUp ||
        event->key() == Qt::Key_PageDown) {
        QKeyEvent copy(event->type(), event->key(), event->modifiers());
        QCoreApplication::sendEvent(m_list, &copy);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace kv::ui
