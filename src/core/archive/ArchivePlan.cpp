#include "archive/ArchivePlan.h"

#include "KvistoranVersion.h"
#include "archive/ArchiveNames.h"
#include "attachments/Attachments.h"
#include "reports/ReportCommon.h"
#include "sie/SieWriter.h"
#include "storage/CompanyDatabase.h"

#include <array>
#include <cstdio>

namespace kv {

namespace {

std::string isoDate(std::int32_t year, std::int32_t month, std::int32_t day) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02d", static_cast<int>(year), static_cast<int>(month),
                  static_cast<int>(day));
    return text.data();
}

std::int32_t lastDayOf(std::int32_t year, std::int32_t month) {
    static constexpr std::array<std::int32_t, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) {
        return 29;
    }
    return month >= 1 && month <= 12 ? kDays[static_cast<std::size_t>(month - 1)] : 31;
}

std::string monthText(const YearMonth& month) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d", static_cast<int>(month.year),
                  static_cast<int>(month.month));
    return text.data();
}

PlannedReport planned(ReportKind kind, const std::string& description) {
    PlannedReport report;
    report.kind = kind;
    report.title = reportTitle(kind);
    report.path = reportEntryName(report.title);
    report.description = description;
    return report;
}

} // namespace

std::vector<VatRange> periodQuarters(const CTallvingeDoc& doc) {
    std::vector<VatRange> quarters;
    if (!doc.hasOpenPeriod()) {
        return quarters;
    }
    const YearMonth end = doc.periodEnd();
    for (YearMonth from = doc.periodStart(); from <= end; from = from.plusMonths(3)) {
        const YearMonth to = std::min(from.plusMonths(2), end);
        quarters.push_back({from, to, false});
    }
    return quarters;
}

std::vector<PlannedReport> plannedReports(const CTallvingeDoc& doc) {
    std::vector<PlannedReport> reports = {
        planned(ReportKind::Journal, "Grundbok: periodens alla verifikat"),
        planned(ReportKind::Ledger, "Huvudbok: alla konton med transaktioner"),
        planned(ReportKind::TrialBalance, "Råbalans: alla konton"),
        planned(ReportKind::Income, "Resultaträkning för perioden"),
        planned(ReportKind::Balance, "Balansräkning vid periodens slut"),
    };
    const std::vector<VatRange> quarters = periodQuarters(doc);
    for (std::size_t i = 0; i < quarters.size(); ++i) {
        const VatRange& quarter = quarters[i];
        PlannedReport report = planned(ReportKind::Vat, "");
        report.months = quarter;
        report.title = std::string(kVatReportTitle) + " " + vatRangeText(quarter);
        report.path = "rapporter/" + foldedName(kVatReportTitle) + "-" + std::to_string(i + 1) + "-" +
                      monthText(quarter.from) + "-" + monthText(quarter.to) + ".pdf";
        report.description =
            "Momsrapport för periodens kvartal " + std::to_string(i + 1) + " (" + vatRangeText(quarter) + ")";
        reports.push_back(std::move(report));
    }
    return reports;
}

ArchiveFile sieArchiveFile(const CTallvingeDoc& doc, std::time_t now) {
    std::tm local{};
    localtime_r(&now, &local);
    const SieDate today{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    ArchiveFile file;
    std::string name = foldedName(sieCompanyName(doc));
    file.path = "sie/" + (name.empty() ? std::string("bokforing") : name) + ".se";
    file.description = "Periodens bokföring som SIE-fil av typ 4E";
    file.bytes = writeSie(doc, today).bytes;
    return file;
}

ArchiveHeader archiveHeader(const CTallvingeDoc& doc, std::time_t now) {
    ArchiveHeader header;
    header.company = printedCompanyName(doc);
    const YearMonth from = doc.periodStart();
    const YearMonth to = doc.periodEnd();
    header.periodFrom = isoDate(from.year, from.month, 1);
    header.periodTo = isoDate(to.year, to.month, lastDayOf(to.year, to.month));
    header.programVersion = KVISTORAN_VERSION;
    std::tm utc{};
    gmtime_r(&now, &utc);
    std::array<char, 32> text{};
    std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%SZ", &utc);
    header.created = text.data();
    return header;
}

FileReport openArchiveBooks(CTallvingeDoc& doc, const std::string& path, std::optional<int> period) {
    FileReport opened = openCompany(doc, path);
    if (!opened.ok || !period) {
        return opened;
    }
    const auto count = static_cast<int>(doc.state().m_perioder.size());
    if (*period < 1 || *period > count) {
        FileReport refused;
        refused.fail("Företaget har ingen period " + std::to_string(*period) + " (det har " +
                     std::to_string(count) + (count == 1 ? " period)" : " perioder)"));
        return refused;
    }
    const int index = *period - 1;
    if (index == doc.state().m_nAktuellPeriod) {
        return opened;
    }
    PeriodFileContents read = loadPeriodFile(doc, index);
    if (!read.report.ok) {
        return read.report;
    }
    doc.closePeriod();
    doc.openPeriod(std::move(read.period));
    return opened;
}

std::vector<ArchiveAttachment> archiveAttachments(const CTallvingeDoc& doc) {
    std::vector<ArchiveAttachment> attachments;
    if (doc.neverSaved() || doc.pathName().empty()) {
        return attachments; // no store yet, so no receipts
    }
    try {
        for (const AttachmentRecord& record : periodAttachments(doc)) {
            attachments.push_back({record.voucher, record.fileName,
                                   attachmentStoredPath(doc.pathName(), record), record.sha256, record.size});
        }
    } catch (const DatabaseError& error) {
        throw YearArchiveError(std::string("Verifikatens underlag kan inte läsas: ") + error.what());
    } catch (const AttachmentError& error) {
        throw YearArchiveError(error.what());
    }
    return attachments;
}

std::optional<std::string> archiveRefusal(const CTallvingeDoc& doc) {
    if (!doc.hasOpenPeriod()) {
        return std::string("Företaget har ingen öppen period att arkivera.");
    }
    return std::nullopt;
}

} // namespace kv
