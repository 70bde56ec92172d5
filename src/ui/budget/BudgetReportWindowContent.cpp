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
        if (doc.hasOpenPeriod()) {
            try {
                m_previous->period = loadPreviousPeriod(doc);
            } catch (const BudgetRefusal& refusal) {
                m_previous->failure = std::string("Föregående period kunde inte läsas: ") + refusal.what();
            }
        }
    }
    return *m_previous;
}

BudgetReport BudgetReportWindowContent::report(const CTallvingeDoc& doc) const {
    std::optional<PeriodBudget> budget;
    std::optional<std::string> budgetFailure;
    if (doc.hasOpenPeriod()) {
        try {
            budget = loadBudget(doc, doc.state().m_nAktuellPeriod);
        } catch (const DatabaseError& error) {
            budgetFailure = error.what();
        } catch (const BudgetRefusal& refusal) {
            budgetFailure = refusal.what();
        }
    }
    const Previous& earlier = previous(doc);
    BudgetReport made = buildBudgetReport(doc, budget, earlier.period, earlier.failure);
    if (budgetFailure) {
        made.notes.push_back(*budgetFailure);
    }
    return made;
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
