#include "chart/TemplateChooserDialog.h"

#include "chart/TemplateChooserModel.h"
#include "common/DialogLayout.h"
#include "interaction/DialogButtons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

constexpr int kWidthUnits = 364;
constexpr int kHeightUnits = 206;

} // namespace

TemplateChooserDialog::TemplateChooserDialog(TemplateChooserModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_list(new QListWidget(this)),
      m_ok(new QPushButton(uiText(kButtonOk), this)) {
    setWindowTitle(uiText(kTemplateChooserTitle));
    fitTitle(*this);
    auto* label = new QLabel(uiText(kTemplateChooserLabel), this);
    label->setBuddy(m_list);
    for (const std::string& entry : model.entries()) {
        m_list->addItem(QString::fromStdString(entry));
    }
    m_list->setCurrentRow(model.selected());
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) { m_model.select(row); });
    connect(m_list, &QListWidget::itemActivated, this, &TemplateChooserDialog::choose);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &TemplateChooserDialog::choose);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(dialogUnits(*this, kWidthUnits, kHeightUnits));
    m_list->setFocus();
}

void TemplateChooserDialog::choose() {
    m_model.accept();
    accept();
}

} // namespace kv::ui
