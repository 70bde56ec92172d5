#include "reports/VatReportWindowContent.h"

#include "app/AppController.h"
#include "reports/ReportData.h"
#include "reports/ReportFormView.h"

#include <QPushButton>

namespace kv::ui {

namespace {

const QRect kMonthsButtonPlace(QPoint(600, 5), QPoint(780, 25));
const QRect kSettleButtonPlace(QPoint(600, 27), QPoint(780, 47));

} // namespace

VatReportWindowContent::VatReportWindowContent(CTallvingeDoc& doc, AppController& controller, QWidget* parent)
    : PanelWindowContent(doc, controller, parent),
      m_months(new QPushButton(QStringLiteral("Välj månader..."), formView())),
      m_settle(new QPushButton(QStringLiteral("Bokför momsavräkning"), formView())) {
    m_months->setGeometry(kMonthsButtonPlace);
    m_settle->setGeometry(kSettleButtonPlace);
    for (QPushButton* button : {m_months, m_settle}) {
        button->setFocusPolicy(Qt::TabFocus);
    }
    connect(m_months, &QPushButton::clicked, this, [this] { later([this] { chooseMonths(); }); });
    connect(m_settle, &QPushButton::clicked, this, [this] { later([this] { settle(); }); });
    refresh();
}

void VatReportWindowContent::describe(ViewCapabilities& view) const {
    PanelWindowContent::describe(view);
    view.monthRangeActive = view.monthRangeActive || m_model.monthsChosen();
}

bool VatReportWindowContent::perform(CommandId id) {
    if (id == CommandId::MonthRange) {
        chooseMonths();
        return true;
    }
    if (id == CommandId::VatSettlement) {
        settle();
        return true;
    }
    return PanelWindowContent::perform(id);
}

void VatReportWindowContent::chooseMonths() {
    if (document() != nullptr && m_model.chooseMonths(*document(), controller().prompter())) {
        refresh();
        emit commandStateChanged();
    }
}

void VatReportWindowContent::settle() {
    if (document() == nullptr) {
        return;
    }
    if (const auto range = m_model.range(*document())) {
        startVatSettlement(controller(), *range);
    }
}

ReportForm VatReportWindowContent::buildForm(const CTallvingeDoc& doc, const ScreenMeasures& screen) const {
    return vatReportForm(m_model.report(doc), screen);
}

Listing VatReportWindowContent::buildListing(const CTallvingeDoc& doc, const PrintDevice& device) const {
    return vatReportListing(m_model.report(doc), doc, device);
}

ReportData VatReportWindowContent::buildData(const CTallvingeDoc& doc) const {
    return vatReportData(doc, m_model.report(doc)); // the window's own months
}

} // namespace kv::ui
