#include "reports/JournalReport.h"

#include "attachments/Attachments.h"

#include "reports/ReportBooks.h"
#include "reports/ReportCommon.h"
#include "reports/ReportText.h"
#include "reports/ReportTexts.h"

#include <cmath>
#include <tuple>

namespace kv {

namespace {

FormCell panelText(std::string text, std::int32_t x, std::optional<Rgb> color = std::nullopt) {
    return {std::move(text), -1, x, TextAlign::Left, color, false};
}

// "05032012": day, month and year each at least two digits, run together.
std::string packedDate(std::int32_t day, std::int32_t month, std::int32_t year) {
    return zeroPadded(day, 2) + zeroPadded(month, 2) + zeroPadded(year, 2);
}

// The latest transaction date after 1 January 1996, or "--".
std::string latestTransactionDate(const CompanyState& company) {
    std::tuple<std::int32_t, std::int32_t, std::int32_t> latest{1996, 1, 1};
    bool found = false;
    for (const CEttVerifikat& ver : company.m_verifikat) {
        // Compared at 01:01:01: a voucher of 1 January 1996 is later than its midnight.
        const std::tuple<std::int32_t, std::int32_t, std::int32_t> when{ver.m_nTransAr, ver.m_nTransManad,
                                                                        ver.m_nTransDag};
        if (when >= latest && (found ? when > latest : true)) {
            latest = when;
            found = true;
        }
    }
    if (!found) {
        return "--";
    }
    return dashedDate(std::get<2>(latest), std::get<1>(latest), std::get<0>(latest));
}

} // namespace

VoucherSpan journalPrintRange(const CompanyState& company, const JournalPrintRange& chosen) {
    const auto count = static_cast<std::int32_t>(company.m_verifikat.size());
    if (chosen.from <= 0 || chosen.to <= 0) {
        return {1, count};
    }
    const std::int32_t to = std::min(chosen.to, count);
    return {std::min(chosen.from, std::max(to, 1)), to};
}

ReportForm journalForm(const CTallvingeDoc& doc, const ScreenMeasures& screen) {
    ReportForm form;
    const CompanyState& company = doc.state();
    if (!booksComplete(company)) {
        return form;
    }
    const double s = screen.width * 0.00125;
    const auto scaledX = [s](std::int32_t n) { return static_cast<std::int32_t>(std::ceil(n * s)); };
    form.lines.push_back({1,
                          {panelText(kJournalTitle, 1), panelText(kPeriodLead, scaledX(280), kReportOrange),
                           panelText(doc.periodLabel(), scaledX(350), kReportOrange)}});
    if (const auto range = subPeriodText(company)) {
        form.lines.push_back({13, {panelText(*range, scaledX(350), kReportOrange)}});
    }
    FormLine count{40, {panelText(kAntalVerifikat, scaledX(1))}};
    if (!company.m_verifikat.empty()) {
        count.cells.push_back(
            panelText(zeroPadded(static_cast<std::int32_t>(company.m_verifikat.size()), 2), 100));
        const CEttVerifikat& last = company.m_verifikat.back();
        form.lines.push_back(std::move(count));
        form.lines.push_back({60,
                              {panelText(kSenasteBokforingsdagPanel +
                                             dashedDate(last.m_nBokfDag, last.m_nBokfManad, last.m_nBokfAr),
                                         scaledX(1))}});
        form.lines.push_back(
            {80, {panelText(kSenasteTransaktionsdag + latestTransactionDate(company), scaledX(1))}});
    } else {
        form.lines.push_back(std::move(count));
    }
    form.lines.push_back({105, {panelText(kNyttVerifikatTangent, scaledX(1))}});
    form.lines.push_back({120, {panelText(kLetaVerifikatTangent, scaledX(1))}});
    form.height = 200;
    return form;
}

Listing journalListing(const CTallvingeDoc& doc, const JournalPrintRange& chosen, bool markAttachments) {
    const CompanyState& company = doc.state();
    Listing listing;
    listing.placement = ListingPlacement::FixedColumns;
    listing.firstLine = 8;
    listing.heading = {{kJournalTitle, 150, 0},          {printedCompanyName(doc), 150, 1},
                       {kHeadingRule, 150, 3},           {"Vernr", 150, 5},
                       {"Konto", 345, 5, true},          {"Bokfdag", 525, 5, true},
                       {"Transdag", 785, 5, true},       {"Radtext", 1015, 5, true},
                       {"Verifikattext", 1305, 5, true}, {"Debet", 1950, 5, true, true},
                       {"Kredit", 2305, 5, true, true},  {kHeadingRule, 150, 6}};
    if (const auto date = lastBookingDate(company)) {
        listing.heading.push_back({kSenasteBokforingsdag + *date, 150, 2});
    }
    const VoucherSpan span = journalPrintRange(company, chosen);
    if (span.empty()) {
        return listing;
    }
    const auto line = [] {
        CUtskriftsrad out;
        out.m_x[0] = 150;
        return out;
    };
    AttachmentMarks marks; // one question of the database for the whole listing
    for (std::int32_t number = span.from; number <= span.to; ++number) {
        const CEttVerifikat& ver = company.m_verifikat[static_cast<std::size_t>(number - 1)];
        CUtskriftsrad head = line();
        head.m_text[0] = zeroPadded(number, 5);
        if (markAttachments && marks.has(doc, ver.m_nVernr)) {
            head.m_text[1] = kAttachmentMark;
        }
        head.m_text[2] = packedDate(ver.m_nBokfDag, ver.m_nBokfManad, ver.m_nBokfAr);
        head.m_text[3] = packedDate(ver.m_nTransDag, ver.m_nTransManad, ver.m_nTransAr);
        head.m_text[5] = ver.m_strVertext;
        listing.lines.push_back(std::move(head));
        for (const CVerifikatrad& rad : ver.m_rader) {
            CUtskriftsrad row = line();
            row.m_text[1] = zeroPadded(rad.m_nKonto, 2);
            row.m_text[4] = firstCharacters(rad.m_strRadtext, 35);
            row.m_text[6] = FormatAmount(rad.m_dDebet);
            row.m_text[7] = FormatAmount(rad.m_dKredit);
            listing.lines.push_back(std::move(row));
        }
        CUtskriftsrad underline = line();
        underline.m_text[7] = std::string(24, '_');
        listing.lines.push_back(std::move(underline));
        CUtskriftsrad totals = line();
        totals.m_text[6] = FormatAmount(ver.m_dSumDebet);
        totals.m_text[7] = FormatAmount(ver.m_dSumKredit);
        listing.lines.push_back(std::move(totals));
        CUtskriftsrad separator = line();
        separator.m_text[5] = kHeadingRule;
        listing.lines.push_back(std::move(separator));
    }
    return listing;
}

ReportForm journalListingForm(const Listing& listing) {
    ReportForm form;
    form.columns = {"Vernr", "Konto", "Bokfdag", "Transdag", "Radtext", "Verifikattext", "Debet", "Kredit"};
    std::int32_t y = 0;
    FormLine titles{y, {}};
    for (std::size_t c = 0; c < form.columns.size(); ++c) {
        titles.cells.push_back({form.columns[c], static_cast<std::int32_t>(c), static_cast<std::int32_t>(c),
                                c >= 6 ? TextAlign::Right : TextAlign::Left, std::nullopt, false});
    }
    form.lines.push_back(std::move(titles));
    form.lines.reserve(listing.size() + 1);
    for (std::size_t i = 0; i < listing.size(); ++i) {
        const CUtskriftsrad line = listing.line(i);
        FormLine out{++y, {}};
        for (std::size_t c = 0; c < line.m_text.size(); ++c) {
            const std::string& text = line.m_text[c];
            if (!text.empty()) {
                const bool rule = text.find_first_not_of('_') == std::string::npos;
                out.cells.push_back({text, static_cast<std::int32_t>(c), static_cast<std::int32_t>(c),
                                     c >= 6 ? TextAlign::Right : TextAlign::Left, std::nullopt, rule});
            }
        }
        form.lines.push_back(std::move(out));
    }
    form.height = y;
    return form;
}

} // namespace kv
