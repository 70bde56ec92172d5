#include "sie/SieImportSummaryDialog.h"

#include "app/DialogLayout.h"
#include "sie/SieImportSummary.h"

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

// A titled list of lines, as tall as a few of them.
void addList(QVBoxLayout& layout, QWidget* parent, const char* title, const std::vector<std::string>& lines) {
    if (lines.empty()) {
        return;
    }
    auto* label = new QLabel(uiText(title), parent);
    auto* list = new QListWidget(parent);
    for (const std::string& line : lines) {
        list->addItem(qs(line));
    }
    label->setBuddy(list);
    layout.addWidget(label);
    layout.addWidget(list, 1);
}

} // namespace

SieImportSummaryDialog::SieImportSummaryDialog(const SieImportSummary& summary, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(uiText(kSieImportTitle));
    fitTitle(*this);
    auto* layout = new QVBoxLayout(this);

    auto* figures = new QFormLayout;
    for (const SieSummaryRow& row : summary.rows()) {
        auto* value = new QLabel(qs(row.value), this);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        figures->addRow(qs(row.label + ":"), value);
    }
    layout->addLayout(figures);
    addList(*layout, this, "Konton som läggs till i kontoplanen:", summary.addedLines());
    addList(*layout, this, "Saldon i filen som inte stämmer:", summary.mismatchLines());
    for (const std::string& note : summary.notes) {
        auto* label = new QLabel(qs(note), this);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    auto* conclusion = new QLabel(qs(summary.conclusion()), this);
    conclusion->setWordWrap(true);
    QFont bold = conclusion->font();
    bold.setBold(true);
    conclusion->setFont(bold);
    layout->addWidget(conclusion);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    if (summary.canImport()) {
        m_create = new QPushButton(uiText(kSieButtonSkapa), this);
        m_create->setDefault(true);
        connect(m_create, &QPushButton::clicked, this, &QDialog::accept);
        buttons->addWidget(m_create);
    }
    auto* close = new QPushButton(uiText(summary.canImport() ? kSieButtonAvbryt : kSieButtonStang), this);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(dialogUnits(*this, kWidthUnits, kHeightUnits));
}

} // namespace kv::ui
