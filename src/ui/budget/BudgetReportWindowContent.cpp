#include "budget/BudgetReportWindowContent.h"

#include "app/AppController.h"
#include "budget/BudgetDialogModel.h"
#include "common/DialogLayout.h"
#include "reports/ReportFormView.h"
#include "storage/CompanyDatabase.h"

#include <QPushButton>

namespace kv::ui {

namespace {

const QRect kBudgetButtonPlace(QPoint(620, 5), QPoint(800, 25));

} // namespace

BudgetReportWindowContent::BudgetReportWindowContent(CTallvingeDoc& doc, AppController& controller,
                                                     QWidget* parent)
    : PanelWindowContent(doc, controller, parent),
      m_budget(new QPushButton(uiText(kBudgetMenuText), formView())) {
    m_budget->setGeometry(kBudgetButtonPlace);
    m_budget->setFocusPolicy(Qt::TabFocus);
    connect(m_budget, &QPushButton::clicked, this,
            [this] { later([this] { this->controller().execute(CommandId::Budget); }); });
    refresh();
}

const BudgetReportWindowContent::Previous&
BudgetReportWindowContent::previous(const CTallvingeDoc& doc) const {
    const std::pair<std::string, std::int32_t> open{doc.pathName(), doc.state().m_nAktuellPeriod};
    if (!m_previous || m_previous->openPeriod != open) {
        m_previous = Previous{open, std::nullopt, std::nullopt};
        m_previous->failure = readPreviousPeriod(doc, m_previous->period);
    }
    return *m_previous;
}

BudgetReport BudgetReportWindowContent::report(const CTallvingeDoc& doc) const {
    const Previous& earlier = previous(doc);
    return buildOpenBudgetReport(doc, earlier.period, earlier.failure);
}

ReportForm BudgetReportWindowContent::buildForm(const CTallvingeDoc& doc, const ScreenMeasures&) const {
    BudgetReport shown = report(doc);
    if (!shown.hasBudget && !shown.refusal) {
        shown.notes.insert(shown.notes.begin() + 1, kMsgGorEnBudget);
    }
    return budgetReportForm(shown);
}

Listing BudgetReportWindowContent::buildListing(const CTallvingeDoc& doc, const PrintDevice& device) const {
    return budgetReportListing(report(doc), doc, device);
}

ReportData BudgetReportWindowContent::buildData(const CTallvingeDoc& doc) const {
    return budgetReportData(doc, report(doc));
}

} // namespace kv::ui
