#include "periods/RenameDialog.h"

#include "common/DialogLayout.h"
#include "interaction/DialogButtons.h"
#include "periods/RenameDialogModel.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

constexpr int kWidthUnits = 230;

} // namespace

RenameDialog::RenameDialog(RenameDialogModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_model(model), m_prompter(prompter),
      m_current(new QLineEdit(QString::fromStdString(model.currentName()), this)),
      m_new(new QLineEdit(QString::fromStdString(model.newName()), this)),
      m_ok(new QPushButton(uiText(kButtonOk), this)), m_cancel(new QPushButton(uiText(kButtonCancel), this)) {
    setWindowTitle(uiText(model.title()));
    fitTitle(*this);
    m_current->setReadOnly(true);
    m_current->setFocusPolicy(Qt::NoFocus);
    connect(m_new, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_model.setNewName(text.toStdString()); });
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &RenameDialog::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* fields = new QFormLayout;
    fields->addRow(uiText(model.currentNameLabel()), m_current);
    fields->addRow(uiText(model.newNameLabel()), m_new);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setMinimumWidth(dialogUnits(*this, kWidthUnits, 0).width());
    m_new->setFocus();
}

void RenameDialog::confirm() {
    // The checks and their messages are the model's: a name taken closes the dialog as cancelled.
    switch (m_model.accept(m_prompter)) {
    case RenameCheck::Accepted:
        accept();
        break;
    case RenameCheck::Taken:
        reject();
        break;
    case RenameCheck::StayOpen:
        m_new->setFocus();
        break;
    }
}

} // namespace kv::ui
