// The ledger window "  Huvudbok (konton)": one account at a time, chosen in
// "Välj ett konto" (or the next and previous one, by button or
// Ctrl+PageDown and Ctrl+PageUp); printed, every account.
#pragma once

#include "reports/PanelWindowContent.h"

class QPushButton;

namespace kv::ui {

class LedgerWindowContent : public PanelWindowContent {
    Q_OBJECT
public:
    LedgerWindowContent(CTallvingeDoc& doc, AppController& controller, QWidget* parent = nullptr);

    void firstUpdate() override;

    [[nodiscard]] std::int32_t account() const { return m_account; }
    void showAccount(std::int32_t number);
    void chooseAccount();
    void stepAccount(int step);

protected:
    [[nodiscard]] ReportForm buildForm(const CTallvingeDoc& doc, const ScreenMeasures& screen) const override;
    [[nodiscard]] Listing buildListing(const CTallvingeDoc& doc, const PrintDevice& device) const override;
    [[nodiscard]] ReportData buildData(const CTallvingeDoc& doc) const override;
    [[nodiscard]] bool scrollsToPreviewedPage() const override { return false; }
    // The account's rows are made as they scroll into view.
    void rebuild(ReportFormView& view, const CTallvingeDoc& doc) override;

private:
    std::int32_t m_account = 0;
    QPushButton* m_several;
    QPushButton* m_choose;
    QPushButton* m_previous;
    QPushButton* m_next;
};

} // namespace kv::ui
