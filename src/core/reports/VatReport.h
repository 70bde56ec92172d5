// "Momsrapport": the VAT of a run of months as the company's VAT rules see it.
// Per rule in use, the sales or purchase account's net amount and the VAT its
// rate implies; per VAT account, the VAT booked beside the VAT implied; the
// Swedish return by box when the rates are the Swedish ones; the check of the
// books against the return; and the closing voucher "Momsavräkning" that
// moves the VAT of the months to a settlement account.
#pragma once

#include "model/TallvingeDoc.h"
#include "reports/Listing.h"
#include "reports/PageLayout.h"
#include "reports/ReportForm.h"
#include "voucher/VoucherDate.h"

#include <optional>
#include <string>
#include <vector>

namespace kv {

inline constexpr const char* kVatReportTitle = "Momsrapport";
// A voucher whose text starts so is a settlement: the report leaves it out.
inline constexpr const char* kVatSettlementText = "Momsavräkning";
// The BAS chart's settlement account, "Redovisningskonto för moms".
inline constexpr std::int32_t kBasVatSettlementAccount = 2650;

// The months a VAT report covers; defaulted when the program chose them.
struct VatRange {
    YearMonth from;
    YearMonth to;
    bool defaulted = false;
};

// The calendar quarter of the latest voucher, within the open period (the
// period's first quarter when there are no vouchers); nothing without a period.
[[nodiscard]] std::optional<VatRange> defaultVatRange(const CTallvingeDoc& doc);
// The document's month range while one is chosen, else the default.
[[nodiscard]] std::optional<VatRange> vatRangeInForce(const CTallvingeDoc& doc);

enum class VatSide { Sales, Purchase };

// One rule in use: the net account of its side and the VAT its rate implies.
struct VatRuleLine {
    double rate = 0.0;
    std::int32_t account = 0;
    std::string accountName;
    Ore net = 0;     // sales: credit - debit; purchases: debit - credit
    Ore implied = 0; // net × rate, to the öre
};

// One VAT account with the rules that put their VAT on it.
struct VatAccountGroup {
    VatSide side = VatSide::Sales;
    std::int32_t account = 0;
    std::string accountName;
    std::vector<VatRuleLine> rules;
    Ore booked = 0; // output VAT: credit - debit; input VAT: debit - credit
    Ore implied = 0;
    [[nodiscard]] Ore difference() const { return booked - implied; }
    [[nodiscard]] bool oneRate() const;
};

// A box of the Swedish VAT return.
struct VatBox {
    std::string code; // "05", "10", ...
    std::string label;
    Ore exact = 0;
    std::int64_t kronor = 0; // whole kronor, the öre dropped
    // The label says "få tillbaka": the screen and the page show the amounts
    // without their minus sign, the data keeps it.
    bool refund = false;
};

struct VatReport {
    bool shown = false; // both charts and the VAT rules are there, and a period
    std::string periodLabel;
    VatRange range;
    std::vector<VatAccountGroup> groups; // sales first, then purchases
    Ore outputBooked = 0;
    Ore outputImplied = 0;
    Ore inputBooked = 0;
    Ore inputImplied = 0;
    bool swedish = false;      // every rate in use is 25, 12 or 6 %
    std::vector<VatBox> boxes; // 05, 10, 11, 12, 48, 49 when swedish
    std::vector<std::string> notes;
    std::vector<std::int32_t> settlements; // settlement vouchers left out

    [[nodiscard]] Ore toPay() const { return outputBooked - inputBooked; }
    [[nodiscard]] bool agrees() const { return outputBooked == outputImplied && inputBooked == inputImplied; }
};

// The report of the months of range; without one, of vatRangeInForce.
[[nodiscard]] VatReport buildVatReport(const CTallvingeDoc& doc,
                                       std::optional<VatRange> range = std::nullopt);
[[nodiscard]] ReportForm vatReportForm(const VatReport& report, const ScreenMeasures& screen);
[[nodiscard]] Listing vatReportListing(const VatReport& report, const CTallvingeDoc& doc,
                                       const PrintDevice& device);

// "3.2025 - 5.2025"
[[nodiscard]] std::string vatRangeText(const VatRange& range);
// Whole kronor of an amount in öre, toward zero: "1 234".
[[nodiscard]] std::string wholeKronorText(std::int64_t kronor);

// One line of the proposed settlement voucher.
struct VatSettlementLine {
    std::int32_t account = 0;
    Ore debit = 0;
    Ore credit = 0;
};

struct VatSettlement {
    std::string text;  // "Momsavräkning 1.2025 - 3.2025"
    CalendarDate date; // the last day of the range
    std::vector<VatSettlementLine> lines;
};

// The voucher that empties the VAT accounts of the report's months into the
// settlement account; nothing when there is no VAT to move.
[[nodiscard]] std::optional<VatSettlement> proposeVatSettlement(const VatReport& report,
                                                                std::int32_t settlementAccount);
// The lines as the voucher grid takes them from the clipboard: account, name,
// text, debit, credit, one line each.
[[nodiscard]] std::string settlementClipboardText(const VatSettlement& settlement, const CTallvingeDoc& doc);

} // namespace kv
