#include "archive/ArchiveRendering.h"

#include "grid/Grid.h"
#include "grid/GridPrinting.h"
#include "reports/JournalReport.h"
#include "reports/LedgerReport.h"
#include "reports/ListingPrinting.h"
#include "reports/ReportCommon.h"
#include "reports/StatementReport.h"
#include "reports/TrialBalanceReport.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

namespace kv::ui {

namespace {

void printStatement(QPrinter& printer, const CTallvingeDoc& doc, Statement which) {
    const StatementReport report =
        which == Statement::Income ? buildIncomeStatement(doc) : buildBalanceSheet(doc);
    if (report.refusal) {
        throw DocumentRefusal(*report.refusal);
    }
    // The statement's grid with the formats the user gave, as its window shows it.
    const GridState* stored = doc.statementGrid(which);
    GridState state = stored != nullptr ? *stored : GridState{};
    Grid grid;
    grid.attach(state);
    writeStatementGrid(report, grid);
    // The grid window prints in its widgets' font.
    const QFont font = QApplication::font();
    paintGridPages(printer, gridPages(printer, state, font, {QString::fromStdString(report.heading)}), font);
}

void printReport(QPrinter& printer, const CTallvingeDoc& doc, const PlannedReport& report) {
    const PrintDevice device = printDeviceOf(printer);
    // The lines per page a report window settles on when it first prints.
    const int lines = linesWhenPrinting(PageLines{}, device).lines;
    switch (report.kind) {
    case ReportKind::Journal:
        printListing(printer, journalListing(doc, JournalPrintRange{}), lines);
        return;
    case ReportKind::Ledger:
        // Every account with rows; an account without any has nothing to show.
        printListing(printer, ledgerListing(doc, device, LedgerAccounts::WithRows), lines);
        return;
    case ReportKind::TrialBalance:
        printListing(printer, trialBalanceListing(buildTrialBalance(doc), doc), lines);
        return;
    case ReportKind::Vat:
        printListing(printer, vatReportListing(buildVatReport(doc, report.months), doc, device), lines);
        return;
    case ReportKind::Income:
        printStatement(printer, doc, Statement::Income);
        return;
    case ReportKind::Balance:
        printStatement(printer, doc, Statement::Balance);
        return;
    }
}

} // namespace

std::string reportPdf(const CTallvingeDoc& doc, const PlannedReport& report) {
    // QPrinter writes only to a named file: a private one, read back whole.
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        throw YearArchiveError("Kan ej skapa en tillfällig mapp för utskriften: " +
                               folder.errorString().toStdString());
    }
    const QString name = folder.filePath(QStringLiteral("rapport.pdf"));
    {
        QPrinter pdf(QPrinter::HighResolution);
        setUpPdfPrinter(pdf, name, QString::fromStdString(report.title + " - " + printedCompanyName(doc)));
        printReport(pdf, doc, report);
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0) {
        throw YearArchiveError("Kan ej skriva utskriften " + report.title + " som PDF");
    }
    const QByteArray bytes = file.readAll();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

std::vector<ArchiveFile> archiveFiles(const CTallvingeDoc& doc,
                                      const std::vector<ArchiveAttachment>& attachments, std::time_t now) {
    if (const auto refusal = archiveRefusal(doc)) {
        throw DocumentRefusal(*refusal);
    }
    std::vector<ArchiveFile> files;
    for (const PlannedReport& report : plannedReports(doc)) {
        files.push_back({report.path, report.description, reportPdf(doc, report), {}, {}, 0});
    }
    files.push_back(sieArchiveFile(doc, now));
    for (ArchiveFile& attachment : attachmentFiles(attachments)) {
        files.push_back(std::move(attachment));
    }
    return files;
}

void writeArchiveOf(const CTallvingeDoc& doc, const std::string& path,
                    const std::vector<ArchiveAttachment>& attachments) {
    const std::time_t now = std::time(nullptr);
    const std::vector<ArchiveFile> files = archiveFiles(doc, attachments, now);
    writeYearArchive(path, archiveHeader(doc, now), files);
}

} // namespace kv::ui
