#include "reports/LedgerWindowContent.h"

#include "app/AppController.h"
#include "common/DialogLayout.h"
#include "reports/LedgerReport.h"
#include "reports/ReportActions.h"
#include "reports/ReportData.h"
#include "reports/ReportFormView.h"
#include "reports/ReportTexts.h"

#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>

namespace kv::ui {

namespace {

const QRect kSeveralButtonPlace(QPoint(200, 5), QPoint(400, 25));
const QRect kChooseButtonPlace(QPoint(200, 27), QPoint(400, 47));
const QRect kPreviousButtonPlace(QPoint(405, 27), QPoint(434, 47));
const QRect kNextButtonPlace(QPoint(437, 27), QPoint(466, 47));

} // namespace

LedgerWindowContent::LedgerWindowContent(CTallvingeDoc& doc, AppController& controller, QWidget* parent)
    : PanelWindowContent(doc, controller, parent),
      m_several(new QPushButton(uiText(kSeFleraKonton), formView())),
      m_choose(new QPushButton(uiText(kTaFramEttKonto), formView())),
      m_previous(new QPushButton(QStringLiteral("◀"), formView())),
      m_next(new QPushButton(QStringLiteral("▶"), formView())) {
    m_several->setGeometry(kSeveralButtonPlace);
    m_choose->setGeometry(kChooseButtonPlace);
    m_previous->setGeometry(kPreviousButtonPlace);
    m_next->setGeometry(kNextButtonPlace);
    m_previous->setToolTip(QStringLiteral("Föregående konto (Ctrl+Page Up)"));
    m_next->setToolTip(QStringLiteral("Nästa konto (Ctrl+Page Down)"));
    for (QPushButton* button : {m_several, m_choose, m_previous, m_next}) {
        button->setFocusPolicy(Qt::TabFocus);
    }
    connect(m_several, &QPushButton::clicked, this,
            [this] { later([this] { this->controller().execute(CommandId::PrintPreview); }); });
    connect(m_choose, &QPushButton::clicked, this, [this] { later([this] { chooseAccount(); }); });
    connect(m_previous, &QPushButton::clicked, this, [this] { stepAccount(-1); });
    connect(m_next, &QPushButton::clicked, this, [this] { stepAccount(1); });
    auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), this);
    previous->setContext(Qt::WidgetWithChildrenShortcut);
    connect(previous, &QShortcut::activated, this, [this] { stepAccount(-1); });
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), this);
    next->setContext(Qt::WidgetWithChildrenShortcut);
    connect(next, &QShortcut::activated, this, [this] { stepAccount(1); });
    auto* choose = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_K), this);
    choose->setContext(Qt::WidgetWithChildrenShortcut);
    connect(choose, &QShortcut::activated, this, &LedgerWindowContent::chooseAccount);
    refresh();
}

void LedgerWindowContent::firstUpdate() {
    // The account is asked for as the window opens, when there are accounts.
    if (document() != nullptr && !ledgerAccounts(document()->state()).empty()) {
        chooseAccount();
    }
}

void LedgerWindowContent::chooseAccount() {
    if (document() == nullptr) {
        return;
    }
    if (const auto chosen = chooseLedgerAccount(*document(), controller().prompter())) {
        showAccount(*chosen);
    }
}

void LedgerWindowContent::stepAccount(int step) {
    if (document() == nullptr) {
        return;
    }
    if (const auto neighbour = neighbourAccount(document()->state(), m_account, step)) {
        showAccount(*neighbour);
    }
}

void LedgerWindowContent::showAccount(std::int32_t number) {
    m_account = number;
    refresh();
    scrollArea()->verticalScrollBar()->setValue(0);
}

void LedgerWindowContent::rebuild(ReportFormView& view, const CTallvingeDoc& doc) {
    auto form = std::make_shared<const LedgerScreenForm>(doc, m_account, view.screenMeasures());
    view.setForm(form->fixedLines(),
                 [form](std::int32_t top, std::int32_t bottom) { return form->rowLines(top, bottom); });
}

ReportForm LedgerWindowContent::buildForm(const CTallvingeDoc& doc, const ScreenMeasures& screen) const {
    return ledgerForm(doc, m_account, screen);
}

Listing LedgerWindowContent::buildListing(const CTallvingeDoc& doc, const PrintDevice& device) const {
    return ledgerListing(doc, device);
}

ReportData LedgerWindowContent::buildData(const CTallvingeDoc& doc) const {
    // The account shown; every account before one is chosen.
    return m_account > 0 ? ledgerData(doc, m_account) : ledgerData(doc);
}

} // namespace kv::ui
