// The period commands in the window program with its real message boxes and
// dialogs: a new year from the menu, then the year before opened again from
// the period list. The modal windows are answered as they come up.
#include "ModalDriver.h"
#include "SavedCompany.h"

#include "app/AppController.h"
#include "app/AppDialogViews.h"
#include "app/MainWindow.h"
#include "app/NewCompany.h"
#include "app/QtPrompter.h"
#include "chart/ChartTemplates.h"
#include "periods/PeriodDialog.h"
#include "periods/PeriodListDialog.h"
#include "periods/PeriodTexts.h"
#include "storage/CompanyFiles.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

using kv::CommandId;

class PeriodWiringTest : public QObject {
    Q_OBJECT
private slots:
    void aNewYearAndThenTheYearBeforeFromTheMenus() {
        QStandardPaths::setTestModeEnabled(true);
        const QTemporaryDir folder;
        const std::string path = kv::test::savedAssociation(folder);
        QVERIFY(!path.empty());
        kv::ui::QtPrompter prompter{kv::ui::programDialogViews()};
        kv::AppController controller(prompter, folder.path().toStdString());
        auto window = std::make_unique<kv::ui::MainWindow>(controller);
        window->resize(1000, 700);
        window->show();
        prompter.setParent(window.get());
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(controller.openAtStartUp(path));
        QVERIFY(window->menuAction(CommandId::NewPeriod)->isEnabled());

        kv::test::ModalDriver driver;
        driver.box(kv::kMsgFilenSparas, QStringLiteral("OK"));
        driver.expect<kv::ui::PeriodDialog>([](kv::ui::PeriodDialog& dialog) {
            QCOMPARE(dialog.startYear()->text(), QString("2013"));
            QVERIFY(!dialog.startYear()->isEnabled());
            dialog.endYear()->selectAll();
            QTest::keyClicks(dialog.endYear(), "2013");
            dialog.okButton()->click();
        });
        QVERIFY(driver.run([&] { window->menuAction(CommandId::NewPeriod)->trigger(); }));
        QCOMPARE(controller.document().periodLabel(), std::string("1.2013 - 12.2013"));
        QVERIFY(window->window(kv::WindowKind::TrialBalance) != nullptr);

        driver.box(kv::kMsgFilenSparas, QStringLiteral("OK"));
        driver.expect<kv::ui::PeriodListDialog>([](kv::ui::PeriodListDialog& list) {
            QCOMPARE(list.list()->count(), 2);
            QCOMPARE(list.list()->currentRow(), 1);
            list.list()->setCurrentRow(0);
            const QString folderToKeep = qEnvironmentVariable("KVISTORAN_SCREENSHOTS");
            if (!folderToKeep.isEmpty()) {
                QDir().mkpath(folderToKeep);
                QVERIFY(list.grab().save(QDir(folderToKeep).filePath("period-list-in-program.png")));
            }
            list.okButton()->click();
        });
        QVERIFY(driver.run([&] { window->menuAction(CommandId::OpenPeriod)->trigger(); }));
        QCOMPARE(controller.document().periodLabel(), std::string("1.2012 - 12.2012"));
        QVERIFY(controller.document().isModified());
        const QString shots = qEnvironmentVariable("KVISTORAN_SCREENSHOTS");
        if (!shots.isEmpty()) {
            QVERIFY(window->grab().save(QDir(shots).filePath("period-opened-in-program.png")));
        }
        controller.document().savedInFull(); // nothing asks on the way out
        window.reset();
    }
};

QTEST_MAIN(PeriodWiringTest)
#include "PeriodWiringTest.moc"
