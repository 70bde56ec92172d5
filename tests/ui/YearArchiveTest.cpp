// The year's archive drawn offscreen by the window program's print code: each
// report a PDF/A-1b file with its fonts embedded, the manifest matching the
// files, and a damaged report named by the check.
#include "../core/ReportTestCompany.h"

#include "archive/ArchivePlan.h"
#include "archive/ArchiveRendering.h"
#include "archive/ArchiveVerify.h"
#include "storage/CompanyFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace kv::test {

class YearArchiveTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    CTallvingeDoc m_doc;
    std::string m_archive;

private slots:
    void initTestCase() {
        buildReportCompany(m_doc, m_dir.path().toStdString());
        QVERIFY(saveCompany(m_doc, m_dir.filePath(QStringLiteral("Föreningen.bok")).toStdString()).ok);
        const QString receipt = m_dir.filePath(QStringLiteral("kvitto.pdf"));
        QFile file(receipt);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4 ett kvitto");
        file.close();
        m_archive = m_dir.filePath(QStringLiteral("arkiv.zip")).toStdString();
        ui::writeArchiveOf(m_doc, m_archive, {{1, "Kvitto mars.pdf", receipt.toStdString(), {}, 0}});
    }

    void everyReportIsPdfA1bWithEmbeddedFonts() {
        for (const PlannedReport& report : plannedReports(m_doc)) {
            const std::string pdf = ui::reportPdf(m_doc, report);
            const QByteArray bytes(pdf.data(), static_cast<qsizetype>(pdf.size()));
            QVERIFY2(bytes.startsWith("%PDF-1.4"), report.path.c_str());
            QVERIFY2(bytes.contains("pdfaid:part=\"1\"") && bytes.contains("pdfaid:conformance=\"B\""),
                     report.path.c_str());
            QVERIFY2(bytes.contains("/OutputIntents"), report.path.c_str());
            QVERIFY2(bytes.contains("/FontFile2"), report.path.c_str());
            // No font the reader must stand in for.
            QVERIFY2(!bytes.contains("/Subtype /Type1"), report.path.c_str());
        }
        // Where the listings name Arial, the same widths come embedded as Liberation Sans.
        const std::string journal = ui::reportPdf(m_doc, plannedReports(m_doc).front());
        QVERIFY(
            QByteArray(journal.data(), static_cast<qsizetype>(journal.size())).contains("LiberationSans"));
    }

    void theManifestMatchesItsFiles() {
        const ArchiveCheck check = verifyArchive(m_archive);
        QVERIFY(check.ok);
        // The reports (five and four quarters), the SIE file and the receipt.
        QCOMPARE(check.filesChecked, plannedReports(m_doc).size() + 2);
        QCOMPARE(plannedReports(m_doc).size(), std::size_t{9});
    }

    void aDamagedReportIsNamed() {
        // The PDF files are stored as they are: a byte of the journal changed in place.
        QFile file(QString::fromStdString(m_archive));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QByteArray bytes = file.readAll();
        const qsizetype at = bytes.indexOf("%PDF", bytes.indexOf("rapporter/grundbok-verifikat.pdf"));
        QVERIFY(at > 0);
        bytes[at + 200] = static_cast<char>(bytes[at + 200] ^ 0x20);
        file.seek(0);
        file.write(bytes);
        file.close();
        const ArchiveCheck check = verifyArchive(m_archive);
        QVERIFY(!check.ok);
        QCOMPARE(check.problems.size(), std::size_t{1});
        QVERIFY2(check.problems[0].rfind("rapporter/grundbok-verifikat.pdf: ", 0) == 0,
                 check.problems[0].c_str());
    }
};

} // namespace kv::test

QTEST_MAIN(kv::test::YearArchiveTest)
#include "YearArchiveTest.moc"
