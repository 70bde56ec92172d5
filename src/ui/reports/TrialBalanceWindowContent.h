// The trial-balance window "  Alla konton / Råbalans": every account's
// balance and "Saldo råbalans". It hosts the chart editors and the VAT rules
// dialog: as it opens it runs those that the commands asked for.
#pragma once

#include "reports/PanelWindowContent.h"

namespace kv::ui {

class TrialBalanceWindowContent : public PanelWindowContent {
    Q_OBJECT
public:
    TrialBalanceWindowContent(CTallvingeDoc& doc, AppController& controller, QWidget* parent = nullptr);

protected:
    [[nodiscard]] ReportForm buildForm(const CTallvingeDoc& doc, const ScreenMeasures& screen) const override;
    [[nodiscard]] Listing buildListing(const CTallvingeDoc& doc, const PrintDevice& device) const override;
    [[nodiscard]] ReportData buildData(const CTallvingeDoc& doc) const override;
};

} // namespace kv::ui
