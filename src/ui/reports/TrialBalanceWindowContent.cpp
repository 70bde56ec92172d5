#include "reports/TrialBalanceWindowContent.h"

#include "app/AppController.h"
#include "reports/ReportData.h"
#include "reports/TrialBalanceReport.h"

namespace kv::ui {

TrialBalanceWindowContent::TrialBalanceWindowContent(CTallvingeDoc& doc, AppController& controller,
                                                     QWidget* parent)
    : PanelWindowContent(doc, controller, parent) {
    refresh();
}

ReportForm TrialBalanceWindowContent::buildForm(const CTallvingeDoc& doc,
                                                const ScreenMeasures& screen) const {
    return trialBalanceForm(buildTrialBalance(doc), screen);
}

Listing TrialBalanceWindowContent::buildListing(const CTallvingeDoc& doc, const PrintDevice&) const {
    return trialBalanceListing(buildTrialBalance(doc), doc);
}

ReportData TrialBalanceWindowContent::buildData(const CTallvingeDoc& doc) const {
    return trialBalanceData(doc);
}

} // namespace kv::ui
