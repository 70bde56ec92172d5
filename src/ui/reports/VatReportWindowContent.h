// The window "Momsrapport": the VAT of the months it shows, per VAT rule and
// per VAT account, the check and the Swedish return's boxes. "Välj månader..."
// (or "Månadsbokslut..." while it is active) chooses its months;
// "Bokför momsavräkning" opens the voucher dialog with the settlement.
#pragma once

#include "reports/PanelWindowContent.h"
#include "reports/VatReportModel.h"

class QPushButton;

namespace kv::ui {

class VatReportWindowContent : public PanelWindowContent {
    Q_OBJECT
public:
    VatReportWindowContent(CTallvingeDoc& doc, AppController& controller, QWidget* parent = nullptr);

    void describe(ViewCapabilities& view) const override;
    bool perform(CommandId id) override;

    [[nodiscard]] VatReportModel& model() { return m_model; }
    void chooseMonths();
    void settle();

protected:
    [[nodiscard]] ReportForm buildForm(const CTallvingeDoc& doc, const ScreenMeasures& screen) const override;
    [[nodiscard]] Listing buildListing(const CTallvingeDoc& doc, const PrintDevice& device) const override;
    [[nodiscard]] ReportData buildData(const CTallvingeDoc& doc) const override;
    [[nodiscard]] bool scrollsToPreviewedPage() const override { return false; }

private:
    VatReportModel m_model;
    QPushButton* m_months;
    QPushButton* m_settle;
};

} // namespace kv::ui
