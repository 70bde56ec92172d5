// The list of "Säkerhetskopior" over its model: the rows, a damaged backup
// that cannot be opened, and "Öppna...". With KVISTORAN_SCREENSHOTS set to a
// folder, a picture of the dialog is kept there.
#include "backup/BackupListDialog.h"
#include "backup/BackupListModel.h"

#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

kv::BackupSummary backup(int day, int hour, std::size_t vouchers, std::string damage = {}) {
    kv::BackupSummary summary;
    summary.name = {{2024, 5, day, hour, 12, 5}, 1};
    summary.folder = "/hem/anna/Förening_säkerhetskopior/";
    summary.damage = std::move(damage);
    summary.franManad = 1;
    summary.franAr = 2024;
    summary.tillManad = 12;
    summary.tillAr = 2024;
    summary.voucherCount = vouchers;
    if (vouchers > 0) {
        summary.lastVoucher =
            kv::BackupVoucher{static_cast<std::int32_t>(vouchers), 28, 4, 2024, "Medlemsavgift Karlsson"};
    }
    return summary;
}

} // namespace

class BackupDialogTest : public QObject {
    Q_OBJECT
private slots:
    void theListShowsTheBackupsAndOpensAGoodOne() {
        kv::BackupListModel model(
            {backup(3, 16, 0, "Filen tar slut för tidigt; den är avkortad eller skadad."), backup(3, 9, 41),
             backup(2, 18, 40), backup(1, 11, 37)},
            "Förening");
        kv::ui::BackupListDialog dialog(model);
        QCOMPARE(dialog.windowTitle(), QString("Säkerhetskopior av Förening"));
        QTreeWidget* list = dialog.list();
        QCOMPARE(list->topLevelItemCount(), 4);
        QCOMPARE(list->headerItem()->text(3), QString("Senaste verifikat"));
        QCOMPARE(list->topLevelItem(1)->text(0), QString("2024-05-03 09:12:05"));
        QCOMPARE(list->topLevelItem(1)->text(1), QString("1.2024 - 12.2024"));
        QCOMPARE(list->topLevelItem(1)->text(3), QString("2024-04-28  Medlemsavgift Karlsson"));
        // The damaged one is listed, marked, and cannot be opened.
        QVERIFY(list->topLevelItem(0)->text(4).startsWith("Skadad, kan inte öppnas"));
        QVERIFY(list->topLevelItem(0)->foreground(0) != list->topLevelItem(1)->foreground(0));
        QCOMPARE(list->currentItem(), list->topLevelItem(1));
        QVERIFY(dialog.openButton()->isEnabled());
        list->setCurrentItem(list->topLevelItem(0));
        QVERIFY(!dialog.openButton()->isEnabled());

        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        list->setCurrentItem(list->topLevelItem(1));
        QVERIFY(dialog.openButton()->isEnabled());
        const QPixmap picture = dialog.grab();
        QVERIFY(!picture.isNull());
        const QString folder = qEnvironmentVariable("KVISTORAN_SCREENSHOTS");
        if (!folder.isEmpty()) {
            QDir().mkpath(folder);
            QVERIFY(picture.save(QDir(folder).filePath("backup-list.png")));
        }

        dialog.openButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(model.chosen().voucherCount, std::size_t{41});
    }

    void closingChoosesNothing() {
        kv::BackupListModel model({backup(3, 9, 41)}, "Förening");
        kv::ui::BackupListDialog dialog(model);
        QVERIFY(dialog.openButton()->isEnabled());
        dialog.closeButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!model.accepted());
    }
};

QTEST_MAIN(BackupDialogTest)
#include "BackupDialogTest.moc"
