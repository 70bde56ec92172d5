// Printing from the window program: the print dialog offers the listing's
// pages and no file, and "Spara som PDF..." fills the PDF's pages (the
// start-up 20 lines only stand in for a printer nobody could ask) and titles
// the file with the report and the company; "Exportera rapport..." writes the
// active report's table as CSV or Excel, by the name's ending or the filter.
#include "../core/ReportTestCompany.h"
#include "ModalDriver.h"
#include "ShellTestSupport.h"

#include "app/ChildWindow.h"
#include "reports/PanelWindowContent.h"
#include "storage/CompanyFiles.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>

namespace kv::test {

namespace {

// How many pages a PDF file that Qt wrote has.
int pdfPages(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") +
                            pdf.count("/Type /Page/") + pdf.count("/Type /Page>"));
}

} // namespace

class PrintingTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Shell> m_shell;
    QTemporaryDir m_dir;

    ui::PanelWindowContent* journal() {
        ui::ChildWindow* window = m_shell->window->window(WindowKind::Journal);
        return window == nullptr ? nullptr : qobject_cast<ui::PanelWindowContent*>(window->content());
    }

private slots:
    void init() {
        m_shell = std::make_unique<Shell>();
        m_shell->controller.setLinesPerPage(PageLines{}); // no printer could be asked
        CTallvingeDoc doc;
        buildReportCompany(doc, m_dir.path().toStdString());
        const std::string path = m_dir.filePath(QStringLiteral("Föreningen.bok")).toStdString();
        QVERIFY(saveCompany(doc, path).ok);
        QVERIFY(m_shell->controller.openAtStartUp(path));
    }
    void cleanup() { m_shell.reset(); }

    void thePrintDialogOffersTheListingsPagesAndNoFile() {
        QVERIFY(journal() != nullptr);
        ModalDriver driver;
        int offeredPages = -1;
        bool toFile = true;
        driver.expect<QPrintDialog>([&](QPrintDialog& dialog) {
            offeredPages = dialog.maxPage();
            toFile = dialog.testOption(QAbstractPrintDialog::PrintToFile);
            dialog.reject();
        });
        QVERIFY(driver.run([&] { m_shell->controller.execute(CommandId::Print); }));
        QVERIFY(!toFile);
        QPrinter sameAsTheProgramsPrinter(QPrinter::HighResolution);
        QCOMPARE(offeredPages, journal()->pageCount(&sameAsTheProgramsPrinter));
        QVERIFY(offeredPages >= 1);
    }

    void aPdfFillsItsPagesAndIsTitledWithTheReportAndTheCompany() {
        QVERIFY(journal() != nullptr);
        const QString file = m_dir.filePath(QStringLiteral("grundbok.pdf"));
        ModalDriver driver;
        driver.file(file);
        QVERIFY(driver.run([&] { m_shell->controller.execute(CommandId::SaveAsPdf); }));
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray pdf = written.readAll();
        // An A4 page at 10 points holds far more than the stand-in's 20 lines.
        QVERIFY2(journal()->linesPerPage() > 40, qPrintable(QString::number(journal()->linesPerPage())));
        QCOMPARE(m_shell->controller.linesPerPage().lines, journal()->linesPerPage());
        QVERIFY(pdfPages(pdf) >= 1);
        // Qt writes the title as UTF-16 big-endian text.
        const auto utf16 = [](const QString& text) {
            QByteArray bytes;
            for (const QChar c : text) {
                bytes.append(static_cast<char>(c.unicode() >> 8))
                    .append(static_cast<char>(c.unicode() & 0xff));
            }
            return bytes;
        };
        const qsizetype title = pdf.indexOf("/Title (");
        QVERIFY(title >= 0);
        const QByteArray head = pdf.mid(title, 200);
        QVERIFY(head.contains(utf16(QStringLiteral("Grundbok"))));
        QVERIFY(head.contains(utf16(QStringLiteral(" - Föreningen"))));
        QVERIFY(!head.contains(utf16(QStringLiteral("*"))));
    }

    void theActiveReportIsExportedAsCsvOrExcelByItsEndingOrTheFilter() {
        QVERIFY(journal() != nullptr);
        const auto exported = [this](const QString& name, bool chooseExcel) {
            ModalDriver driver;
            const QString path = m_dir.filePath(name);
            driver.expect<QFileDialog>([&](QFileDialog& dialog) {
                if (chooseExcel) {
                    dialog.selectNameFilter(QStringLiteral("Excel-arbetsbok (*.xlsx)"));
                }
                dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
                QMetaObject::invokeMethod(&dialog, "accept");
            });
            driver.run([&] { m_shell->controller.execute(CommandId::ExportReport); });
        };
        exported(QStringLiteral("grundbok.csv"), false);
        QFile csv(m_dir.filePath(QStringLiteral("grundbok.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QByteArray text = csv.readAll();
        QVERIFY(text.startsWith("\xEF\xBB\xBFverifikat;transaktionsdag;"));
        QCOMPARE(text.count("\r\n"), 26); // the heading and the 25 voucher lines
        QVERIFY(text.contains(";1234567,89;"));
        for (const auto& [name, written, excel] :
             {std::tuple{"grundbok.xlsx", "grundbok.xlsx", false},
              std::tuple{"grundbok", "grundbok.xlsx", true}, std::tuple{"rader", "rader.csv", false}}) {
            exported(QString::fromUtf8(name), excel);
            QFile file(m_dir.filePath(QString::fromUtf8(written)));
            QVERIFY2(file.open(QIODevice::ReadOnly), written);
            QCOMPARE(file.read(2) == "PK", QString::fromUtf8(written).endsWith(QStringLiteral(".xlsx")));
        }
    }
};

} // namespace kv::test

QTEST_MAIN(kv::test::PrintingTest)
#include "PrintingTest.moc"
