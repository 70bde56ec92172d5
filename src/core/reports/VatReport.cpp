#include "reports/VatReport.h"

#include "reports/PageLayout.h"
#include "reports/ReportCommon.h"
#include "reports/ReportText.h"
#include "reports/ReportTexts.h"
#include "voucher/VoucherDate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

namespace kv {

namespace {

bool sameRate(double a, double b) {
    return std::fabs(a - b) < 0.005;
}

bool isSwedishRate(double rate) {
    return sameRate(rate, 25.0) || sameRate(rate, 12.0) || sameRate(rate, 6.0);
}

std::string monthText(YearMonth month) {
    return std::to_string(month.month) + "." + std::to_string(month.year);
}

// net × rate / 100 in öre, halves away from zero.
Ore impliedVat(Ore net, double rate) {
    const long double exact = static_cast<long double>(net) * static_cast<long double>(rate) / 100.0L;
    return static_cast<Ore>(std::llround(static_cast<double>(exact)));
}

std::string accountName(const CTallvingeDoc& doc, std::int32_t number) {
    const int index = doc.accountIndex(number);
    if (index < 0) {
        return "(saknas i kontoplanen)";
    }
    return doc.state().m_allaKonton[static_cast<std::size_t>(index)]->m_strKolumn2;
}

// The voucher rows of the chosen months, settlements left out, per account.
class VatBooks {
public:
    VatBooks(const CTallvingeDoc& doc, const VatRange& range) : m_doc(doc), m_range(range) {
        for (const CEttVerifikat& voucher : doc.state().m_verifikat) {
            if (voucher.m_strVertext.starts_with(kVatSettlementText)) {
                m_settlements.insert(voucher.m_nVernr);
            }
        }
    }

    // The account's voucher rows of the months: their debits and credits,
    // and whether there is any.
    struct Sums {
        Ore debit = 0;
        Ore credit = 0;
        bool used = false;
    };

    // Debit minus credit over the account's voucher rows of the months; used
    // tells whether the account has any such row.
    Ore balance(std::int32_t number, bool& used) const {
        const Sums& found = sums(number);
        used = found.used;
        return found.debit - found.credit;
    }

    const Sums& sums(std::int32_t number) const {
        const auto known = m_known.find(number);
        if (known != m_known.end()) {
            return known->second;
        }
        return m_known.emplace(number, add(number)).first->second;
    }

    [[nodiscard]] std::vector<std::int32_t> settlementsMet() const {
        return {m_usedSettlements.begin(), m_usedSettlements.end()};
    }

private:
    Sums add(std::int32_t number) const {
        Sums out;
        const int index = m_doc.accountIndex(number);
        if (index < 0) {
            return out;
        }
        for (const CKontorad& rad : m_doc.state().m_allaKonton[static_cast<std::size_t>(index)]->m_rader) {
            const YearMonth when{rad.m_nAr, rad.m_nManad};
            if (rad.m_nVernr <= 0 || when < m_range.from || m_range.to < when) {
                continue;
            }
            if (m_settlements.contains(rad.m_nVernr)) {
                m_usedSettlements.insert(rad.m_nVernr);
                continue;
            }
            out.used = true;
            out.debit = addOre(out.debit, toOre(rad.m_dDebet));
            out.credit = addOre(out.credit, toOre(rad.m_dKredit));
        }
        return out;
    }

    const CTallvingeDoc& m_doc;
    VatRange m_range;
    std::set<std::int32_t> m_settlements;
    mutable std::set<std::int32_t> m_usedSettlements;
    mutable std::map<std::int32_t, Sums> m_known;
};

// The rules as the voucher dialog applies them: for an account named by
// several rules on one side, the last one counts.
struct SideRule {
    VatSide side;
    double rate;
    std::int32_t account;
    std::int32_t vatAccount;
};

std::vector<SideRule> effectiveRules(const CompanyState& company) {
    std::vector<SideRule> rules;
    const auto put = [&rules](SideRule rule) {
        const auto same = std::find_if(rules.begin(), rules.end(), [&rule](const SideRule& other) {
            return other.side == rule.side && other.account == rule.account;
        });
        if (same != rules.end()) {
            *same = rule; // the last rule's rate and VAT account, in the first one's place
            return;
        }
        rules.push_back(rule);
    };
    for (const CAutomoms& rule : company.m_momsregler) {
        if (!(rule.m_dMomssats > 0.0)) {
            continue;
        }
        if (rule.m_nKreditkonto > 0 && rule.m_nKreditMomskonto > 0) {
            put({VatSide::Sales, rule.m_dMomssats, rule.m_nKreditkonto, rule.m_nKreditMomskonto});
        }
        if (rule.m_nDebetkonto > 0 && rule.m_nDebetMomskonto > 0) {
            put({VatSide::Purchase, rule.m_dMomssats, rule.m_nDebetkonto, rule.m_nDebetMomskonto});
        }
    }
    // Sales first, each side in the order of the rules.
    std::stable_partition(rules.begin(), rules.end(),
                          [](const SideRule& rule) { return rule.side == VatSide::Sales; });
    return rules;
}

VatBox box(const char* code, const char* label, Ore exact) {
    return {code, label, exact, exact / 100, false};
}

// The VAT to pay or to get back: a refund is said in words, not with a minus.
const char* toPayLabel(Ore toPay) {
    return toPay < 0 ? "Moms att få tillbaka" : "Moms att betala";
}
Ore shownToPay(Ore toPay) {
    return toPay < 0 ? -toPay : toPay;
}
std::int64_t shownKronor(const VatBox& box) {
    return box.refund ? -box.kronor : box.kronor;
}
Ore shownExact(const VatBox& box) {
    return box.refund ? -box.exact : box.exact;
}

void addSwedishBoxes(VatReport& report) {
    Ore sales = 0;
    std::map<int, Ore> output; // by rate, 25, 12, 6
    for (const VatAccountGroup& group : report.groups) {
        if (group.side != VatSide::Sales) {
            continue;
        }
        double highest = 0.0;
        for (const VatRuleLine& rule : group.rules) {
            sales = addOre(sales, rule.net);
            highest = std::max(highest, rule.rate);
        }
        if (group.oneRate()) {
            output[static_cast<int>(std::lround(highest))] += group.booked;
            continue;
        }
        // Several rates on one account: the booked VAT goes by the implied
        // VAT of each rate, the difference to the highest rate.
        for (const VatRuleLine& rule : group.rules) {
            output[static_cast<int>(std::lround(rule.rate))] += rule.implied;
        }
        output[static_cast<int>(std::lround(highest))] += group.difference();
        report.notes.push_back("Momskontot " + std::to_string(group.account) +
                               " har flera momssatser: den bokförda momsen är fördelad efter den beräknade.");
    }
    report.boxes.push_back(box("05", "Momspliktig försäljning", sales));
    report.boxes.push_back(box("10", "Utgående moms 25 %", output[25]));
    report.boxes.push_back(box("11", "Utgående moms 12 %", output[12]));
    report.boxes.push_back(box("12", "Utgående moms 6 %", output[6]));
    report.boxes.push_back(box("48", "Ingående moms att dra av", report.inputBooked));
    VatBox toPay = box("49", toPayLabel(report.toPay()), report.toPay());
    toPay.refund = report.toPay() < 0;
    // The return adds its boxes as whole kronor.
    toPay.kronor =
        report.boxes[1].kronor + report.boxes[2].kronor + report.boxes[3].kronor - report.boxes[4].kronor;
    report.boxes.push_back(toPay);
}

FormCell cell(std::string text, std::int32_t column, std::int32_t x, TextAlign align = TextAlign::Left,
              std::optional<Rgb> color = std::nullopt) {
    return {std::move(text), column, x, align, color, false};
}

FormCell note(std::string text, std::int32_t x = 1, std::optional<Rgb> color = std::nullopt) {
    return {std::move(text), -1, x, TextAlign::Left, color, false};
}

constexpr const char* kVatAgrees = "Bokförd moms stämmer med momssatserna.";
constexpr const char* kVatDisagrees = "Bokförd moms stämmer inte med momssatserna: se skillnaderna.";

std::string sideHeading(VatSide side) {
    return side == VatSide::Sales ? "Försäljning och utgående moms" : "Inköp och ingående moms";
}

} // namespace

bool VatAccountGroup::oneRate() const {
    return std::all_of(rules.begin(), rules.end(),
                       [this](const VatRuleLine& rule) { return sameRate(rule.rate, rules.front().rate); });
}

std::optional<VatRange> defaultVatRange(const CTallvingeDoc& doc) {
    if (!doc.hasOpenPeriod()) {
        return std::nullopt;
    }
    const YearMonth start = doc.periodStart();
    const YearMonth end = doc.periodEnd();
    std::optional<YearMonth> latest;
    for (const CEttVerifikat& voucher : doc.state().m_verifikat) {
        const YearMonth when{voucher.m_nTransAr, voucher.m_nTransManad};
        if (when < start || end < when) {
            continue;
        }
        if (!latest || *latest < when) {
            latest = when;
        }
    }
    const YearMonth month = latest.value_or(start);
    YearMonth from{month.year, (month.month - 1) / 3 * 3 + 1};
    YearMonth to = from.plusMonths(2);
    from = std::max(from, start);
    to = std::min(to, end);
    return VatRange{from, to, true};
}

std::optional<VatRange> vatRangeInForce(const CTallvingeDoc& doc) {
    const CompanyState& company = doc.state();
    if (company.m_nDelperiod == 1 && doc.hasOpenPeriod()) {
        return VatRange{{company.m_nDelFranAr, company.m_nDelFranManad},
                        {company.m_nDelTillAr, company.m_nDelTillManad},
                        false};
    }
    return defaultVatRange(doc);
}

std::string vatRangeText(const VatRange& range) {
    return monthText(range.from) + " - " + monthText(range.to);
}

std::string wholeKronorText(std::int64_t kronor) {
    const std::string text = formatOre(addOre(kronor * 100, 0));
    return text.substr(0, text.size() - 3);
}

VatReport buildVatReport(const CTallvingeDoc& doc, std::optional<VatRange> range) {
    VatReport report;
    report.periodLabel = doc.periodLabel();
    if (!range) {
        range = vatRangeInForce(doc);
    }
    if (!range || !booksComplete(doc.state())) {
        return report;
    }
    report.shown = true;
    report.range = *range;
    const VatBooks books(doc, *range);
    std::map<std::pair<VatSide, std::int32_t>, std::size_t> groupOf;
    const std::vector<SideRule> rules = effectiveRules(doc.state());
    // A rule is in use when its account has rows in the months; a VAT
    // account with rows shows even when none of its rules is in use.
    const auto inUse = [&books, &rules](const SideRule& rule) {
        bool used = false;
        static_cast<void>(books.balance(rule.account, used));
        if (used) {
            return true;
        }
        static_cast<void>(books.balance(rule.vatAccount, used));
        return used && std::none_of(rules.begin(), rules.end(), [&books, &rule](const SideRule& other) {
                   bool otherUsed = false;
                   static_cast<void>(books.balance(other.account, otherUsed));
                   return otherUsed && other.side == rule.side && other.vatAccount == rule.vatAccount;
               });
    };
    for (const SideRule& rule : rules) {
        if (!inUse(rule)) {
            continue;
        }
        bool netUsed = false;
        const Ore balance = books.balance(rule.account, netUsed);
        const auto key = std::make_pair(rule.side, rule.vatAccount);
        auto found = groupOf.find(key);
        if (found == groupOf.end()) {
            VatAccountGroup group;
            group.side = rule.side;
            group.account = rule.vatAccount;
            group.accountName = accountName(doc, rule.vatAccount);
            const VatBooks::Sums& sums = books.sums(rule.vatAccount);
            const bool bothSides = std::any_of(rules.begin(), rules.end(), [&rule](const SideRule& other) {
                return other.side != rule.side && other.vatAccount == rule.vatAccount;
            });
            if (bothSides) {
                // One account for output and input VAT: its credits are the
                // output VAT, its debits the input VAT.
                group.booked = rule.side == VatSide::Sales ? sums.credit : sums.debit;
                std::string text = "Momskontot " + std::to_string(rule.vatAccount) +
                                   " tar både utgående och ingående moms: krediterna räknas som utgående, "
                                   "debiteringarna som ingående moms.";
                if (std::find(report.notes.begin(), report.notes.end(), text) == report.notes.end()) {
                    report.notes.push_back(std::move(text));
                }
            } else {
                group.booked =
                    rule.side == VatSide::Sales ? sums.credit - sums.debit : sums.debit - sums.credit;
            }
            found = groupOf.emplace(key, report.groups.size()).first;
            report.groups.push_back(std::move(group));
        }
        VatAccountGroup& group = report.groups[found->second];
        VatRuleLine line;
        line.rate = rule.rate;
        line.account = rule.account;
        line.accountName = accountName(doc, rule.account);
        line.net = rule.side == VatSide::Sales ? -balance : balance;
        line.implied = impliedVat(line.net, rule.rate);
        group.implied = addOre(group.implied, line.implied);
        group.rules.push_back(std::move(line));
    }
    for (const VatAccountGroup& group : report.groups) {
        Ore& booked = group.side == VatSide::Sales ? report.outputBooked : report.inputBooked;
        Ore& implied = group.side == VatSide::Sales ? report.outputImplied : report.inputImplied;
        booked = addOre(booked, group.booked);
        implied = addOre(implied, group.implied);
    }
    report.swedish = !report.groups.empty();
    for (const VatAccountGroup& group : report.groups) {
        for (const VatRuleLine& rule : group.rules) {
            report.swedish = report.swedish && isSwedishRate(rule.rate);
        }
    }
    if (report.swedish) {
        addSwedishBoxes(report);
    }
    report.settlements = books.settlementsMet();
    for (const std::int32_t number : report.settlements) {
        report.notes.push_back("Verifikat " + std::to_string(number) + " (" + kVatSettlementText +
                               ") är inte medräknat.");
    }
    return report;
}

ReportForm vatReportForm(const VatReport& report, const ScreenMeasures& screen) {
    ReportForm form;
    form.columns = {"MOMSSATS", "KONTO", "NAMN", "NETTO", "BOKFÖRD MOMS", "BERÄKNAD MOMS", "SKILLNAD"};
    form.lines.push_back(
        {1, {note(kPeriodLead, 1, kReportOrange), note(report.periodLabel, 71, kReportOrange)}});
    if (!report.shown) {
        form.lines.push_back({screenY(20, screen), {note(kListsNotApproved)}});
        form.height = screenY(40, screen);
        return form;
    }
    const std::int32_t lh = screenY(17, screen);
    std::int32_t y = 1 + lh;
    form.lines.push_back({y,
                          {note("Månader :  " + vatRangeText(report.range) +
                                    (report.range.defaulted ? "   (senaste kvartalet med verifikat)" : ""),
                                1, kReportOrange)}});
    // Below the window's two buttons.
    y = std::max(y + lh + lh / 2, screenY(55, screen));
    // The columns: rate, account, name, net, booked, implied, difference.
    constexpr std::int32_t xRate = 1;
    constexpr std::int32_t xAccount = 85;
    constexpr std::int32_t xName = 140;
    constexpr std::int32_t xNet = 410;
    constexpr std::int32_t xBooked = 540;
    constexpr std::int32_t xImplied = 675;
    constexpr std::int32_t xDiff = 780;
    form.lines.push_back(
        {y,
         {cell("MOMSSATS", 0, xRate), cell("KONTO", 1, xAccount), cell("NAMN", 2, xName),
          cell("NETTO", 3, xNet, TextAlign::Right), cell("BOKFÖRD MOMS", 4, xBooked, TextAlign::Right),
          cell("BERÄKNAD MOMS", 5, xImplied, TextAlign::Right),
          cell("SKILLNAD", 6, xDiff, TextAlign::Right)}});
    y += lh;
    std::optional<VatSide> side;
    for (const VatAccountGroup& group : report.groups) {
        if (side != group.side) {
            side = group.side;
            y += lh / 2;
            form.lines.push_back({y, {note(sideHeading(group.side), 1, kReportOrange)}});
            y += lh;
        }
        for (const VatRuleLine& rule : group.rules) {
            form.lines.push_back(
                {y,
                 {cell(rateText(rule.rate) + " %", 0, xRate), cell(std::to_string(rule.account), 1, xAccount),
                  cell(firstCharacters(rule.accountName, 26), 2, xName),
                  cell(formatOre(rule.net), 3, xNet, TextAlign::Right),
                  cell(formatOre(rule.implied), 5, xImplied, TextAlign::Right)}});
            y += lh;
        }
        const std::optional<Rgb> mark =
            group.difference() != 0 ? std::optional<Rgb>(kReportRed) : std::optional<Rgb>();
        form.lines.push_back({y,
                              {cell(std::to_string(group.account), 1, xAccount),
                               cell(firstCharacters(group.accountName, 26), 2, xName),
                               cell(formatOre(group.booked), 4, xBooked, TextAlign::Right),
                               cell(formatOre(group.implied), 5, xImplied, TextAlign::Right),
                               cell(formatOre(group.difference()), 6, xDiff, TextAlign::Right, mark)}});
        y += lh;
    }
    if (report.groups.empty()) {
        form.lines.push_back({y, {note("Ingen momsregel har rader under månaderna.")}});
        y += lh;
    }
    // The check of the books against the rates.
    y += lh / 2;
    form.lines.push_back({y, {note("Kontroll", 1, kReportOrange)}});
    y += lh;
    const auto checkLine = [&](const char* label, Ore booked, Ore implied) {
        const Ore difference = booked - implied;
        form.lines.push_back(
            {y,
             {cell(label, 2, xName), cell(formatOre(booked), 4, xBooked, TextAlign::Right),
              cell(formatOre(implied), 5, xImplied, TextAlign::Right),
              cell(formatOre(difference), 6, xDiff, TextAlign::Right,
                   difference != 0 ? std::optional<Rgb>(kReportRed) : std::optional<Rgb>())}});
        y += lh;
    };
    checkLine("Utgående moms", report.outputBooked, report.outputImplied);
    checkLine("Ingående moms", report.inputBooked, report.inputImplied);
    checkLine("Moms att betala (utg. - ing.)", report.toPay(), report.outputImplied - report.inputImplied);
    form.lines.push_back({y,
                          {note(report.agrees() ? kVatAgrees : kVatDisagrees, xName,
                                report.agrees() ? std::nullopt : std::optional<Rgb>(kReportRed))}});
    y += lh;
    // The return.
    y += lh / 2;
    if (report.swedish) {
        form.lines.push_back(
            {y,
             {note("Momsdeklaration", 1, kReportOrange), note("hela kronor", xBooked - 80, kReportOrange),
              note("exakt", xImplied - 40, kReportOrange)}});
        y += lh;
        for (const VatBox& box : report.boxes) {
            form.lines.push_back({y,
                                  {cell("Ruta " + box.code, 1, xAccount), cell(box.label, 2, xName),
                                   cell(wholeKronorText(shownKronor(box)), 4, xBooked, TextAlign::Right),
                                   cell(formatOre(shownExact(box)), 5, xImplied, TextAlign::Right)}});
            y += lh;
        }
    } else {
        form.lines.push_back(
            {y,
             {note(report.groups.empty() ? "Summa" : "Summa (momssatserna är inte de svenska 25, 12 och 6 %)",
                   1, kReportOrange)}});
        y += lh;
        const auto total = [&](const char* label, Ore amount) {
            form.lines.push_back(
                {y, {cell(label, 2, xName), cell(formatOre(amount), 4, xBooked, TextAlign::Right)}});
            y += lh;
        };
        total("Utgående moms", report.outputBooked);
        total("Ingående moms", report.inputBooked);
        total(toPayLabel(report.toPay()), shownToPay(report.toPay()));
    }
    for (const std::string& text : report.notes) {
        form.lines.push_back({y, {note(text)}});
        y += lh;
    }
    form.height = y + lh;
    return form;
}

Listing vatReportListing(const VatReport& report, const CTallvingeDoc& doc, const PrintDevice& device) {
    Listing listing;
    listing.placement = ListingPlacement::OwnPositions;
    listing.firstLine = 7;
    listing.heading = {{kVatReportTitle, 150, 0},
                       {printedCompanyName(doc), 150, 1},
                       {kPeriodLead + report.periodLabel, 150, 2},
                       {kHeadingRule, 150, 3},
                       {"Sats", 150, 5},
                       {"Konto", 330, 5, true},
                       {"Namn", 480, 5, true},
                       {"Netto / Bokfört", 1550, 5, true, true},
                       {"Beräknat", 1950, 5, true, true},
                       {"Skillnad", 2320, 5, true, true},
                       {kHeadingRule, 150, 6}};
    if (!report.shown) {
        return listing;
    }
    listing.heading.push_back({"Månader: " + vatRangeText(report.range), 1200, 2, true});
    // The columns of the heading, on the device.
    const std::array<std::int32_t, 8> x{
        fixedX(150, device),   columnX(330, device),  columnX(480, device), 0, 0,
        columnX(1550, device), columnX(1950, device), columnX(2320, device)};
    const auto line = [&](std::array<std::string, 8> texts) {
        CUtskriftsrad out;
        out.m_text = std::move(texts);
        out.m_x = x;
        listing.lines.push_back(std::move(out));
    };
    std::optional<VatSide> side;
    for (const VatAccountGroup& group : report.groups) {
        if (side != group.side) {
            side = group.side;
            line({sideHeading(group.side), "", "", "", "", "", "", ""});
        }
        for (const VatRuleLine& rule : group.rules) {
            line({rateText(rule.rate) + " %", std::to_string(rule.account),
                  firstCharacters(rule.accountName, 28), "", "", formatOre(rule.net), formatOre(rule.implied),
                  ""});
        }
        line({"", std::to_string(group.account), firstCharacters(group.accountName, 28), "", "",
              formatOre(group.booked), formatOre(group.implied), formatOre(group.difference())});
        line({});
    }
    line({"Kontroll", "", "", "", "", "", "", ""});
    line({"", "", "Utgående moms", "", "", formatOre(report.outputBooked), formatOre(report.outputImplied),
          formatOre(report.outputBooked - report.outputImplied)});
    line({"", "", "Ingående moms", "", "", formatOre(report.inputBooked), formatOre(report.inputImplied),
          formatOre(report.inputBooked - report.inputImplied)});
    line({"", "", "Moms att betala (utg. - ing.)", "", "", formatOre(report.toPay()),
          formatOre(report.outputImplied - report.inputImplied),
          formatOre(report.toPay() - (report.outputImplied - report.inputImplied))});
    line({"", "", report.agrees() ? kVatAgrees : kVatDisagrees, "", "", "", "", ""});
    line({});
    if (report.swedish) {
        line({"Momsdeklaration, ruta", "", "", "", "", "", "hela kronor", "exakt"});
        for (const VatBox& box : report.boxes) {
            line({"", box.code, box.label, "", "", "", wholeKronorText(shownKronor(box)),
                  formatOre(shownExact(box))});
        }
    } else {
        line({"Summa", "", "", "", "", "", "", ""});
        line({"", "", "Utgående moms", "", "", "", "", formatOre(report.outputBooked)});
        line({"", "", "Ingående moms", "", "", "", "", formatOre(report.inputBooked)});
        line({"", "", toPayLabel(report.toPay()), "", "", "", "", formatOre(shownToPay(report.toPay()))});
    }
    for (const std::string& text : report.notes) {
        line({text, "", "", "", "", "", "", ""});
    }
    return listing;
}

std::optional<VatSettlement> proposeVatSettlement(const VatReport& report, std::int32_t settlementAccount) {
    if (!report.shown) {
        return std::nullopt;
    }
    VatSettlement settlement;
    settlement.text = std::string(kVatSettlementText) + " " + vatRangeText(report.range);
    settlement.date = {monthLength(report.range.to.month, report.range.to.year), report.range.to.month,
                       report.range.to.year};
    for (const VatAccountGroup& group : report.groups) {
        if (group.booked == 0) {
            continue;
        }
        // Output VAT stands on the credit side and is debited away; input VAT the other way.
        const bool debitAway = (group.side == VatSide::Sales) == (group.booked > 0);
        const Ore amount = group.booked < 0 ? -group.booked : group.booked;
        settlement.lines.push_back({group.account, debitAway ? amount : 0, debitAway ? 0 : amount});
    }
    if (settlement.lines.empty()) {
        return std::nullopt;
    }
    const Ore toPay = report.toPay();
    if (toPay != 0) {
        settlement.lines.push_back({settlementAccount, toPay < 0 ? -toPay : 0, toPay > 0 ? toPay : 0});
    }
    return settlement;
}

std::string settlementClipboardText(const VatSettlement& settlement, const CTallvingeDoc& doc) {
    std::string text;
    for (const VatSettlementLine& line : settlement.lines) {
        const int index = doc.accountIndex(line.account);
        const std::string name =
            index < 0 ? std::string()
                      : doc.state().m_allaKonton[static_cast<std::size_t>(index)]->m_strKolumn2;
        text += std::to_string(line.account) + "\t" + name + "\t" + settlement.text + "\t" +
                (line.debit != 0 ? formatPlainOre(line.debit) : std::string()) + "\t" +
                (line.credit != 0 ? formatPlainOre(line.credit) : std::string()) + "\n";
    }
    return text;
}

} // namespace kv
