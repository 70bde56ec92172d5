// The window "Momsrapport": the months it shows and its closing voucher.
// The window shows the months chosen in it (the whole period too), else the
// month range of "Månadsbokslut", else the last quarter with vouchers.
// "Bokför momsavräkning" opens the voucher dialog with the settlement's lines
// typed in; the user registers it there, or not.
#pragma once

#include "reports/VatReport.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv {

class AppServices;
class Prompter;

inline constexpr const char* kVatSettlementAccountTitle = "Välj konto för momsavräkningen";

class VatReportModel {
public:
    // The months shown; nothing without an open period.
    [[nodiscard]] std::optional<VatRange> range(const CTallvingeDoc& doc) const;
    [[nodiscard]] VatReport report(const CTallvingeDoc& doc) const;
    [[nodiscard]] bool monthsChosen() const { return m_chosen.has_value(); }
    // "Månadsbokslut..." in this window: the dialog, then its months for this
    // window only. False on Cancel.
    bool chooseMonths(const CTallvingeDoc& doc, Prompter& prompter);
    void setMonths(std::optional<VatRange> months) { m_chosen = months; }

private:
    std::optional<VatRange> m_chosen;
};

// "Bokför momsavräkning" for the months of range: the checks of "Nytt
// verifikat", a question when the months already have a settlement, the
// settlement account (2650 when the chart has it, else the user's choice),
// then the voucher dialog with the proposed lines. Tells the user when there
// is no VAT to move.
void startVatSettlement(AppServices& app, const VatRange& range);
// The question before a second settlement of the same months, naming the
// settlement vouchers already booked.
[[nodiscard]] std::string settledAlreadyQuestion(const VatRange& range,
                                                 const std::vector<std::int32_t>& settlements);

} // namespace kv
