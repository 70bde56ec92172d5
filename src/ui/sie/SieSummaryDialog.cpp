#include "sie/SieSummaryDialog.h"

#include "common/DialogLayout.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

namespace {

constexpr int kWidthUnits = 330;
constexpr int kHeightUnits = 300;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

SieSummaryDialog::SieSummaryDialog(const SieSummaryView& view, bool* option, QWidget* parent)
    : QDialog(parent), m_view(view), m_taken(option) {
    setWindowTitle(qs(view.title));
    fitTitle(*this);
    auto* layout = new QVBoxLayout(this);

    auto* figures = new QFormLayout;
    for (const SieSummaryRow& row : view.rows) {
        auto* value = new QLabel(qs(row.value), this);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        figures->addRow(qs(row.label + ":"), value);
    }
    layout->addLayout(figures);
    // Each titled list, as tall as a few of its lines.
    for (const SieSummaryList& shown : view.lists) {
        if (shown.lines.empty()) {
            continue;
        }
        auto* label = new QLabel(qs(shown.title), this);
        auto* list = new QListWidget(this);
        for (const std::string& line : shown.lines) {
            list->addItem(qs(line));
        }
        label->setBuddy(list);
        layout->addWidget(label);
        layout->addWidget(list, 1);
    }
    for (const std::string& note : view.notes) {
        auto* label = new QLabel(qs(note), this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    if (!view.optionText.empty() && option != nullptr) {
        m_option = new QCheckBox(qs(view.optionText), this);
        m_option->setChecked(*option);
        connect(m_option, &QCheckBox::toggled, this, &SieSummaryDialog::showOption);
        layout->addWidget(m_option);
    }
    m_conclusion = new QLabel(this);
    m_conclusion->setWordWrap(true);
    QFont bold = m_conclusion->font();
    bold.setBold(true);
    m_conclusion->setFont(bold);
    layout->addWidget(m_conclusion);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    if (!view.acceptText.empty()) {
        m_accept = new QPushButton(qs(view.acceptText), this);
        m_accept->setDefault(true);
        connect(m_accept, &QPushButton::clicked, this, &QDialog::accept);
        buttons->addWidget(m_accept);
    }
    auto* close = new QPushButton(qs(view.closeText), this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    showOption(m_option != nullptr && m_option->isChecked());
    resize(dialogUnits(*this, kWidthUnits, kHeightUnits));
}

void SieSummaryDialog::showOption(bool ticked) {
    const bool offered = m_option != nullptr;
    if (m_taken != nullptr && offered) {
        *m_taken = ticked;
    }
    m_conclusion->setText(qs(offered && ticked ? m_view.optionConclusion : m_view.conclusion));
    if (m_accept != nullptr) {
        // Where a check box is offered, the books are taken only once it is ticked.
        m_accept->setEnabled(!offered || ticked);
    }
}

} // namespace kv::ui
