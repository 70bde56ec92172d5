// "Arkiv → Skapa årsarkiv..." in the window program, chosen from the menu
// bar with the real file dialog and message boxes: the suggested name beside
// the company, the archive written in this process and checked, the save
// asked for first, and a failed write told in Swedish with nothing left.
#include "AssociationProgram.h"
#include "MenuItems.h"

#include "app/AppController.h"
#include "app/AppDialogViews.h"
#include "app/MainWindow.h"
#include "app/QtPrompter.h"
#include "archive/ArchiveFlow.h"
#include "archive/ArchivePlan.h"
#include "archive/ArchiveVerify.h"
#include "attachments/Attachments.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using kv::CommandId;

namespace {

struct Program : kv::test::AssociationProgram {
    Program() { QVERIFY(controller.openAtStartUp(path)); }
    QString file(const QString& name) const { return folder.filePath(name); }

    // Chooses the archive from the menu "Arkiv" with Return, as the keyboard does.
    bool chooseArchive() {
        return driver.run([&] { QVERIFY(kv::test::chooseFromMenu(*window, CommandId::YearArchive)); });
    }
};

} // namespace

class YearArchiveMenuTest : public QObject {
    Q_OBJECT

private slots:
    void theItemStandsInArkivAndNeedsACompany() {
        Program program;
        QMenu* menu = nullptr;
        QAction* item = kv::test::menuItemOf(*program.window, CommandId::YearArchive, &menu);
        QVERIFY(item != nullptr);
        menu->hide();
        QCOMPARE(item->text(), QStringLiteral("Skapa å&rsarkiv..."));
        QCOMPARE(menu->title(), QStringLiteral("&Arkiv"));
        QVERIFY(item->isEnabled());
        program.controller.execute(CommandId::CloseCompany);
        QVERIFY(!program.controller.companyOpen());
        QVERIFY(kv::test::menuItemOf(*program.window, CommandId::YearArchive) ==
                nullptr); // not without a company
    }

    void theArchiveIsWrittenBesideTheCompanyAndChecks() {
        Program program;
        QString offered;
        const QString chosen = program.file(QStringLiteral("Årsarkiv 2012"));
        program.driver.expect<QFileDialog>([&](QFileDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QString::fromUtf8(kv::kArchiveSaveTitle));
            QCOMPARE(QFileInfo(dialog.directory().absolutePath()).canonicalFilePath(),
                     QFileInfo(program.folder.path()).canonicalFilePath());
            offered = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
            dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(chosen);
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        const std::string written = (chosen + QStringLiteral(".zip")).toStdString();
        program.driver.box(kv::kMsgArkivSkapat + written, QStringLiteral("OK"));
        QVERIFY(program.chooseArchive());
        QCOMPARE(offered, QStringLiteral("Föreningen-2012.zip"));
        QVERIFY(QApplication::overrideCursor() == nullptr); // the wait cursor is gone again
        const kv::ArchiveCheck check = kv::verifyArchive(written);
        QVERIFY(check.ok);
        // Every report, and the SIE file.
        QCOMPARE(check.filesChecked, kv::plannedReports(program.controller.document()).size() + 1);
        QVERIFY(!program.controller.document().isModified());
    }

    void unsavedChangesAreAskedAboutFirst() {
        Program program;
        program.controller.document().setOnlyUsedAccounts(true); // a change not yet saved
        QVERIFY(program.controller.document().isModified());
        program.driver.box(kv::kMsgArkivSparaForst, QStringLiteral("Avbryt"));
        QVERIFY(program.chooseArchive());
        QVERIFY(program.controller.document().isModified());
        QCOMPARE(QDir(program.folder.path()).entryList({QStringLiteral("*.zip")}), QStringList());

        // OK saves the company, then the archive is written.
        program.driver.box(kv::kMsgArkivSparaForst, QStringLiteral("OK"));
        program.driver.file(program.file(QStringLiteral("arkiv.zip")));
        program.driver.box(kv::kMsgArkivSkapat + program.file(QStringLiteral("arkiv.zip")).toStdString(),
                           QStringLiteral("OK"));
        QVERIFY(program.chooseArchive());
        QVERIFY(!program.controller.document().isModified());
        QVERIFY(kv::verifyArchive(program.file(QStringLiteral("arkiv.zip")).toStdString()).ok);
    }

    void theVouchersReceiptsGoIntoTheArchive() {
        Program program;
        kv::CTallvingeDoc& doc = program.controller.document();
        kv::CVerifikatrad debit;
        debit.m_nKonto = 1930;
        debit.m_dDebet = 250;
        kv::CVerifikatrad credit;
        credit.m_nKonto = 3000;
        credit.m_dKredit = 250;
        const std::int32_t number =
            doc.registerVoucher(kv::makeVoucher(5, 3, 2012, "Kassa", {debit, credit}));
        QVERIFY(program.controller.save());
        const QString receipt = program.file(QStringLiteral("Kvitto mars.pdf"));
        {
            QFile file(receipt);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("%PDF-1.4\n% ett kvitto\n%%EOF\n");
        }
        kv::AttachmentStoring storing(doc.pathName());
        QCOMPARE(kv::attachToVoucher(doc, number, {receipt.toStdString()}, storing,
                                     [] { return kv::LocalTime{2026, 12, 10, 14, 3, 25}; })
                     .size(),
                 std::size_t{1});
        storing.keep();
        // The receipt is saved with the company first, as the question offers.
        program.driver.box(kv::kMsgArkivSparaForst, QStringLiteral("OK"));
        program.driver.file(program.file(QStringLiteral("arkiv.zip")));
        program.driver.box(kv::kMsgArkivSkapat + program.file(QStringLiteral("arkiv.zip")).toStdString(),
                           QStringLiteral("OK"));
        QVERIFY(program.chooseArchive());
        const kv::ArchiveCheck check =
            kv::verifyArchive(program.file(QStringLiteral("arkiv.zip")).toStdString());
        QVERIFY(check.ok);
        QCOMPARE(check.filesChecked,
                 kv::plannedReports(doc).size() + 2); // the reports, the SIE file, the receipt
        QFile zip(program.file(QStringLiteral("arkiv.zip")));
        QVERIFY(zip.open(QIODevice::ReadOnly));
        const QByteArray bytes = zip.readAll();
        const QByteArray entry =
            QStringLiteral("underlag/%1-1-kvitto-mars.pdf").arg(number, 4, 10, QLatin1Char('0')).toUtf8();
        QVERIFY2(bytes.contains(entry), entry.constData());
    }

    void aFailedWriteIsToldAndLeavesNothing() {
        Program program;
        // A name the folder can hold, but not with the temporary suffix the writing adds.
        const QString name = program.file(QString(240, QLatin1Char('a')) + QStringLiteral(".zip"));
        program.driver.file(name);
        program.driver.expect<QMessageBox>([](QMessageBox& box) {
            QVERIFY2(box.text().startsWith(QString::fromUtf8(kv::kMsgArkivKanEjSkapas)),
                     qPrintable(box.text()));
            QCOMPARE(box.icon(), QMessageBox::Critical);
            box.buttons().front()->click();
        });
        QVERIFY(program.chooseArchive());
        QVERIFY(QApplication::overrideCursor() == nullptr);
        const QStringList left = QDir(program.folder.path()).entryList(QDir::Files);
        for (const QString& file : left) {
            QVERIFY2(!file.startsWith(QStringLiteral("aaaa")), qPrintable(file));
        }
    }
};

QTEST_MAIN(YearArchiveMenuTest)
#include "YearArchiveMenuTest.moc"
