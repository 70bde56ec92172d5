// The summary dialog of "Importera SIE-fil...": what it shows and which
// buttons it offers. With KVISTORAN_SCREENSHOTS set to a folder, a picture of
// each is kept there.
#include "KeepPicture.h"
#include "sie/SieImport.h"
#include "sie/SieSummaryDialog.h"

#include <QCheckBox>

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

using kv::test::keep;

kv::SieImportSummary summaryOf(const std::string& body) {
    const QTemporaryDir templates;
    const std::string file = "#FLAGGA 0\n#SIETYP 4\n#PROGRAM \"Annat program\" 3.1\n"
                             "#FNAMN \"Föreningen Kvisten\"\n#RAR 0 20240101 20241231\n" +
                             body;
    return kv::buildSieCompany(kv::readSieBooks(file),
                               {kv::kSieDefaultTemplate, templates.path().toStdString(), "kvisten.se"})
        .summary;
}

const std::string kBooks =
    "#KONTO 1935 \"Sparkonto\"\n#KONTO 3890 \"Övriga medlemsintäkter\"\n"
    "#IB 0 1930 1000.00\n#IB 0 2040 -1000.00\n#UB 0 2040 -1000.00\n#RES 0 3890 -1200.00\n"
    "#VER A 1 20240115 \"Avgifter\"\n{\n#TRANS 1930 {} 1200.00\n#TRANS 3890 {} -1200.00\n}\n";

QStringList listLines(const QListWidget& list) {
    QStringList lines;
    for (int i = 0; i < list.count(); ++i) {
        lines << list.item(i)->text();
    }
    return lines;
}

} // namespace

class SieDialogTest : public QObject {
    Q_OBJECT
private slots:
    void aCompanyThatAgreesWithItsFileMayBeMade() {
        const kv::SieImportSummary summary = summaryOf(kBooks + "#UB 0 1930 2200.00\n");
        bool taken = false;
        kv::ui::SieSummaryDialog dialog(summary.view(), &taken);
        QVERIFY(dialog.optionBox() == nullptr);
        QCOMPARE(dialog.windowTitle(), QString("Importera SIE-fil"));
        const auto lists = dialog.findChildren<QListWidget*>();
        QCOMPARE(lists.size(), 1);
        QCOMPARE(listLines(*lists.front()),
                 QStringList({"1935  Sparkonto  (tillgångar, efter 1930)",
                              "3890  Övriga medlemsintäkter  (resultaträkningen, före 3911)"}));
        keep(dialog, QStringLiteral("sie-import-summary.png"));
        QVERIFY(dialog.acceptButton() != nullptr);
        QCOMPARE(dialog.acceptButton()->text(), QString("Skapa företaget..."));
        dialog.acceptButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    // A company that disagrees with its file is made only once the user
    // ticks that the books are taken as they stand.
    void aCompanyThatDisagreesIsMadeOnlyWhenTakenAsItStands() {
        kv::SieImportSummary summary = summaryOf(kBooks + "#UB 0 1930 2000.00\n");
        bool taken = false;
        kv::ui::SieSummaryDialog dialog(summary.view(), &taken);
        const auto lists = dialog.findChildren<QListWidget*>();
        QCOMPARE(lists.size(), 2);
        QCOMPARE(listLines(*lists.back()),
                 QStringList({"#UB konto 1930 (rad 17): filen 2 000.00, bokföringen 2 200.00"}));
        keep(dialog, QStringLiteral("sie-import-mismatch.png"));
        QVERIFY(dialog.acceptButton() != nullptr);
        QVERIFY(!dialog.acceptButton()->isEnabled());
        QVERIFY(dialog.optionBox() != nullptr);
        dialog.optionBox()->click();
        QVERIFY(taken);
        QVERIFY(dialog.acceptButton()->isEnabled());
        summary.allowDifference = taken;
        QVERIFY(summary.canImport());
        dialog.acceptButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(SieDialogTest)
#include "SieDialogTest.moc"
