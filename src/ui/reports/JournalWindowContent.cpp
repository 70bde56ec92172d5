#include "reports/JournalWindowContent.h"

#include "app/AppController.h"
#include "app/SetupFlow.h"
#include "common/DialogLayout.h"
#include "reports/JournalReport.h"
#include "reports/ReportActions.h"
#include "reports/ReportData.h"
#include "reports/ReportFormView.h"
#include "reports/ReportTexts.h"

#include <QPushButton>

namespace kv::ui {

namespace {

// Where the buttons stand in the panel, in pixels.
const QRect kGuidanceButtonPlace(QPoint(1, 1), QPoint(550, 130));
const QRect kSeveralButtonPlace(QPoint(1, 150), QPoint(210, 170));
const QRect kFindButtonPlace(QPoint(1, 172), QPoint(210, 191));
const QRect kFirstVoucherPlace(QPoint(1, 210), QPoint(550, 275));

} // namespace

JournalWindowContent::JournalWindowContent(CTallvingeDoc& doc, AppController& controller,
                                           std::function<void()> runGuidance, QWidget* parent)
    : PanelWindowContent(doc, controller, parent),
      m_guidance(new QPushButton(uiText(kGuidanceButtonText), formView())),
      m_several(new QPushButton(uiText(kSeFleraVerifikat), formView())),
      m_find(new QPushButton(uiText(kTaFramEttVerifikat), formView())),
      m_firstVoucher(new QPushButton(uiText(kFirstVoucherText), formView())) {
    m_guidance->setGeometry(kGuidanceButtonPlace);
    m_guidance->setDefault(true);
    m_guidance->hide();
    m_several->setGeometry(kSeveralButtonPlace);
    m_find->setGeometry(kFindButtonPlace);
    m_firstVoucher->setGeometry(kFirstVoucherPlace);
    m_firstVoucher->setStyleSheet(
        QStringLiteral("QPushButton { background-color: #fff4c2; border: 2px solid "
                       "#d9a400; border-radius: 4px; font-weight: bold; padding: 4px; }"));
    m_firstVoucher->hide();
    connect(m_firstVoucher, &QPushButton::clicked, this, [this] {
        later([this] {
            if (document() != nullptr) {
                this->controller().execute(CommandId::NewVoucher);
            }
        });
    });
    connect(m_guidance, &QPushButton::clicked, this, [this, run = std::move(runGuidance)] {
        later([this, run] {
            if (document() != nullptr) {
                run();
            }
        });
    });
    connect(m_several, &QPushButton::clicked, this, [this] { later([this] { showSeveralVouchers(); }); });
    connect(m_find, &QPushButton::clicked, this, [this] { later([this] { findVoucher(); }); });
    onDocumentUpdated();
}

void JournalWindowContent::firstUpdate() {
    onDocumentUpdated();
}

void JournalWindowContent::onDocumentUpdated() {
    refresh();
    if (document() != nullptr) {
        const bool guidance = needsChartGuidance(*document());
        m_guidance->setVisible(guidance);
        m_several->setVisible(!guidance);
        m_find->setVisible(!guidance);
        const bool first = needsFirstVoucherHint(*document());
        m_firstVoucher->setVisible(first);
        formView()->setMinimumHeight(first ? kFirstVoucherPlace.bottom() + 10 : 0);
    }
}

ReportForm JournalWindowContent::buildForm(const CTallvingeDoc& doc, const ScreenMeasures& screen) const {
    return journalForm(doc, screen);
}

Listing JournalWindowContent::buildListing(const CTallvingeDoc& doc, const PrintDevice&) const {
    return journalListing(doc, controller().reportSettings().journalRange,
                          true); // "[U]" by a voucher with receipts
}

bool JournalWindowContent::offersMonthRange() const {
    return PanelWindowContent::offersMonthRange() && !document()->state().m_resKonton.empty();
}

void JournalWindowContent::showSeveralVouchers() {
    if (document() != nullptr && chooseJournalRange(*document(), controller().prompter(),
                                                    controller().reportSettings().journalRange)) {
        controller().execute(CommandId::PrintPreview);
    }
}

void JournalWindowContent::findVoucher() {
    if (document() != nullptr && mayOpenVoucherList(*document(), controller().prompter())) {
        controller().openWindow(WindowKind::VoucherList);
    }
}

ReportData JournalWindowContent::buildData(const CTallvingeDoc& doc) const {
    return journalData(doc, controller().reportSettings().journalRange);
}

} // namespace kv::ui
