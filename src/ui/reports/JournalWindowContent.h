// The journal window "Grundbok (verifikat)": the summary panel with its two
// buttons, and the printed journal of the chosen vouchers. While the company
// has no chart it shows the guidance button that sets the charts up; once the
// charts are there and no voucher is, a button that starts the first one.
#pragma once

#include "reports/PanelWindowContent.h"

#include <functional>

class QPushButton;

namespace kv::ui {

class JournalWindowContent : public PanelWindowContent {
    Q_OBJECT
public:
    // runGuidance: what the guidance button starts.
    JournalWindowContent(CTallvingeDoc& doc, AppController& controller, std::function<void()> runGuidance,
                         QWidget* parent = nullptr);

    void firstUpdate() override;

    [[nodiscard]] QPushButton* guidanceButton() const { return m_guidance; }
    [[nodiscard]] QPushButton* severalButton() const { return m_several; }
    [[nodiscard]] QPushButton* findButton() const { return m_find; }
    // Shown while the charts are approved and no voucher is entered yet.
    [[nodiscard]] QPushButton* firstVoucherButton() const { return m_firstVoucher; }

protected:
    [[nodiscard]] ReportForm buildForm(const CTallvingeDoc& doc, const ScreenMeasures& screen) const override;
    [[nodiscard]] Listing buildListing(const CTallvingeDoc& doc, const PrintDevice& device) const override;
    [[nodiscard]] ReportData buildData(const CTallvingeDoc& doc) const override;
    [[nodiscard]] bool offersMonthRange() const override;

private:
    void onDocumentUpdated() override;
    void showSeveralVouchers();
    void findVoucher();

    QPushButton* m_guidance;
    QPushButton* m_several;
    QPushButton* m_find;
    QPushButton* m_firstVoucher;
};

} // namespace kv::ui
