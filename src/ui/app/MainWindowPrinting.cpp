// Printing the active window: "Skriv ut...", "Förhandsgranska", "Skrivarinställningar..."
// and "Spara som PDF...", on the main window's one printer; and "Exportera rapport...",
// the active report window as data; "Skapa årsarkiv...", the open period's
// reports drawn by the same print code into one zip.
#include "app/MainWindow.h"

#include "app/AppTexts.h"
#include "app/FileDialogs.h"
#include "archive/ArchiveFlow.h"
#include "archive/ArchiveRendering.h"
#include "common/WindowContent.h"
#include "interaction/Prompter.h" // Reports
#include "reports/ListingPrinting.h"
#include "reports/ReportDataFiles.h"
#include "reports/ReportTexts.h"
#include "storage/FileIo.h"
#include "storage/OutputPaths.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include <cstdio>

namespace kv::ui {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void MainWindow::print(bool preview) {
    WindowContent* content = activeContent();
    if (content == nullptr) {
        return;
    }
    if (preview) {
        QPrintPreviewDialog dialog(m_printer.get(), this);
        dialog.setWindowTitle(QString::fromUtf8(kPrintPreviewTitle));
        connect(&dialog, &QPrintPreviewDialog::paintRequested, content, &WindowContent::print);
        dialog.resize(size() * 9 / 10);
        dialog.exec();
        // Reports: the window shows where the preview was.
        const auto* previewed = dialog.findChild<QPrintPreviewWidget*>();
        const QPointer<WindowContent> shown(content);
        if (previewed != nullptr && shown) {
            shown->previewEnded(previewed->currentPage());
        }
        return;
    }
    QPrintDialog dialog(m_printer.get(), this);
    dialog.setWindowTitle(QString::fromUtf8(kPrintTitle));
    // The listing goes to a printer; "Spara som PDF..." writes files.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    if (const int pages = content->pageCount(m_printer.get()); pages > 0) {
        dialog.setMinMax(1, pages);
    }
    if (dialog.exec() == QDialog::Accepted) {
        content->print(m_printer.get());
    }
}

// Reports: the printed form of the active window as a PDF file. It is
// written beside the chosen name first and takes its place only when whole.
void MainWindow::saveAsPdf() {
    WindowContent* content = activeContent();
    if (content == nullptr) {
        return;
    }
    QString name =
        chooseFile(this, {QString::fromUtf8(kSparaSomPdf).chopped(3), QStringLiteral("PDF-fil (*.pdf)"),
                          QDir::homePath(), QString(), QStringLiteral("pdf"), true});
    if (name.isEmpty()) {
        return;
    }
    if (!name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        name += QStringLiteral(".pdf");
    }
    if (const auto refused = outputRefusal(name.toStdString(), OutputKind::Pdf)) {
        m_controller.prompter().message(*refused);
        return;
    }
    const QString temporary = name + QStringLiteral(".tmp");
    QPrinter pdf(QPrinter::HighResolution);
    QString title;
    if (const auto active = m_controller.windows().active(); active && m_controller.company() != nullptr) {
        title = qs(printedDocumentTitle(*active, m_controller.company()->title()));
    }
    setUpPdfPrinter(pdf, temporary, title);
    content->print(&pdf);
    // The rename replaces an old file at once, or leaves it as it was.
    const bool written = QFile(temporary).size() > 0 && std::rename(QFile::encodeName(temporary).constData(),
                                                                    QFile::encodeName(name).constData()) == 0;
    if (!written) {
        QFile::remove(temporary);
        m_controller.prompter().message("Kan ej skriva till filen " + name.toStdString());
    }
}

// Reports: the active report window's table as a CSV file (semicolons and
// decimal commas, as a Swedish spreadsheet reads it) or an Excel workbook,
// written whole over the chosen name or not at all.
void MainWindow::exportReport() {
    const WindowContent* content = activeContent();
    const std::optional<ReportData> report = content != nullptr ? content->reportData() : std::nullopt;
    if (!report) {
        return;
    }
    const QString csv = QStringLiteral("CSV-fil (*.csv)");
    const QString excel = QStringLiteral("Excel-arbetsbok (*.xlsx)");
    QString filter;
    QString suggested = qs(report->title).replace(QLatin1Char('/'), QLatin1Char('-'));
    QString name =
        chooseFile(this, {QString::fromUtf8(kExporteraRapport).chopped(3), csv + QStringLiteral(";;") + excel,
                          QDir::homePath(), suggested, QString(), true, true, &filter});
    if (name.isEmpty()) {
        return;
    }
    const bool asExcel = name.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive) ||
                         (!name.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) && filter == excel);
    const QString suffix = asExcel ? QStringLiteral(".xlsx") : QStringLiteral(".csv");
    if (!name.endsWith(suffix, Qt::CaseInsensitive)) {
        name += suffix;
    }
    if (const auto refused =
            outputRefusal(name.toStdString(), asExcel ? OutputKind::Zip : OutputKind::Text)) {
        m_controller.prompter().message(*refused);
        return;
    }
    try {
        const std::string bytes = asExcel ? reportXlsx(*report) : reportCsv(*report, kCsvSwedish);
        AtomicFileWriter file(name.toStdString());
        file.write(bytes.data(), bytes.size());
        file.commit();
    } catch (const ReportDataError& error) {
        m_controller.prompter().message(error.what());
    } catch (const FileError& error) {
        m_controller.prompter().message("Kan ej skriva till filen " + name.toStdString() + ": " +
                                        error.reason());
    }
}

void MainWindow::printerSetup() {
    QPageSetupDialog dialog(m_printer.get(), this);
    dialog.setWindowTitle(QString::fromUtf8(kPrintSetupTitle));
    dialog.exec();
}

// The year's archive: the questions and messages are the core's; the
// reports are drawn here, under a wait cursor, in this process.
void MainWindow::yearArchive() {
    runYearArchive(m_controller, [](const CTallvingeDoc& doc, const std::string& path,
                                    const std::vector<ArchiveAttachment>& attachments) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        struct Restore {
            Restore() = default;
            Restore(const Restore&) = delete;
            Restore& operator=(const Restore&) = delete;
            ~Restore() { QApplication::restoreOverrideCursor(); }
        } restore;
        writeArchiveOf(doc, path, attachments);
    });
}

} // namespace kv::ui
