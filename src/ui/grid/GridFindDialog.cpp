#include "grid/GridFindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

GridFindDialog::GridFindDialog(QWidget* parent) : QDialog(parent) {
    // Widgets below are owned by this dialog through their Qt parents.
    setObjectName(QStringLiteral("gridFindDialog"));
    m_findText = new QLineEdit(this);
    m_findText->setObjectName(QStringLiteral("findText"));
    m_findText->setMinimumWidth(240);
    m_replaceText = new QLineEdit(this);
    m_replaceText->setObjectName(QStringLiteral("replaceText"));
    auto* findLabel = new QLabel(QStringLiteral("Sök efter:"), this);
    findLabel->setBuddy(m_findText);
    m_replaceLabel = new QLabel(QStringLiteral("Ersätt med:"), this);
    m_replaceLabel->setBuddy(m_replaceText);
    m_matchCase = new QCheckBox(QStringLiteral("Matcha gemener/VERSALER"), this);
    m_matchCase->setObjectName(QStringLiteral("matchCase"));
    m_wholeCell = new QCheckBox(QStringLiteral("Hela cellen"), this);
    m_wholeCell->setObjectName(QStringLiteral("wholeCell"));

    auto* fields = new QGridLayout;
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(m_findText, 0, 1);
    fields->addWidget(m_replaceLabel, 1, 0);
    fields->addWidget(m_replaceText, 1, 1);
    fields->addWidget(m_matchCase, 2, 1);
    fields->addWidget(m_wholeCell, 3, 1);
    fields->setRowStretch(4, 1);

    m_findNext = new QPushButton(QStringLiteral("Sök nästa"), this);
    m_findNext->setObjectName(QStringLiteral("findNext"));
    m_findNext->setDefault(true);
    m_replace = new QPushButton(QStringLiteral("Ersätt"), this);
    m_replace->setObjectName(QStringLiteral("replace"));
    m_replaceAll = new QPushButton(QStringLiteral("Ersätt alla"), this);
    m_replaceAll->setObjectName(QStringLiteral("replaceAll"));
    auto* close = new QPushButton(QStringLiteral("Stäng"), this);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    buttons->addWidget(m_replace);
    buttons->addWidget(m_replaceAll);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(m_findNext, &QPushButton::clicked, this, &GridFindDialog::findNextRequested);
    connect(m_replace, &QPushButton::clicked, this, &GridFindDialog::replaceRequested);
    connect(m_replaceAll, &QPushButton::clicked, this, &GridFindDialog::replaceAllRequested);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(m_findText, &QLineEdit::textChanged, this, &GridFindDialog::updateButtons);
    setReplacing(false);
}

void GridFindDialog::setReplacing(bool replacing) {
    m_replacing = replacing;
    setWindowTitle(replacing ? QStringLiteral("Ersätt") : QStringLiteral("Sök"));
    m_replaceLabel->setVisible(replacing);
    m_replaceText->setVisible(replacing);
    m_replace->setVisible(replacing);
    m_replaceAll->setVisible(replacing);
    updateButtons();
    adjustSize();
}

FindOptions GridFindDialog::options() const {
    return {m_findText->text().toStdString(), m_matchCase->isChecked(), m_wholeCell->isChecked()};
}

void GridFindDialog::setOptions(const FindOptions& options) {
    m_findText->setText(QString::fromStdString(options.text));
    m_matchCase->setChecked(options.matchCase);
    m_wholeCell->setChecked(options.wholeCell);
}

std::string GridFindDialog::replacement() const {
    return m_replaceText->text().toStdString();
}

void GridFindDialog::updateButtons() {
    const bool any = !m_findText->text().isEmpty();
    m_findNext->setEnabled(any);
    m_replace->setEnabled(any);
    m_replaceAll->setEnabled(any);
}

} // namespace kv::ui
