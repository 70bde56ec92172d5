#include "chart/DeleteTemplateDialog.h"

#include "chart/UserTemplates.h"
#include "common/DialogLayout.h"
#include "interaction/DialogButtons.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

constexpr int kWidthUnits = 349;
constexpr int kHeightUnits = 225;

} // namespace

DeleteTemplateDialog::DeleteTemplateDialog(DeleteTemplateModel& model, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_model(model), m_prompter(prompter), m_list(new QListWidget(this)),
      m_ok(new QPushButton(uiText(kButtonOk), this)), m_cancel(new QPushButton(uiText(kButtonCancel), this)) {
    setWindowTitle(uiText(kDeleteTemplateTitle));
    fitTitle(*this);
    for (const std::string& entry : model.entries()) {
        m_list->addItem(QString::fromStdString(entry));
    }
    m_list->setCurrentRow(model.selected());
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) { m_model.select(row); });
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &DeleteTemplateDialog::deleteSelected);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(dialogUnits(*this, kWidthUnits, kHeightUnits));
    m_list->setFocus();
}

void DeleteTemplateDialog::deleteSelected() {
    m_model.accept(m_prompter);
    accept();
}

} // namespace kv::ui
